#include "workfile/opening.h"

#include "workfile/source_reading.h"
#include "workfile/work_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

[[noreturn]] void fault(const QString &text)
{
    throw OpenFault{text};
}

QString shownPath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// A work file names a picture; one that is there but is no ordinary file would hang or
// flood the image reader.
void checkImagePath(const QString &path)
{
    if (path.isEmpty())
        return;
    const QFileInfo image(path);
    if (image.isDir())
        fault(QStringLiteral("The image of this work file, %1, is a folder.").arg(shownPath(path)));
    if (image.exists() && !image.isFile())
        fault(QStringLiteral("The image of this work file, %1, is not an ordinary file.")
                  .arg(shownPath(path)));
}

bool startsAsJson(const QByteArray &bytes)
{
    for (const char c : bytes) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            return c == '{';
    }
    return false;
}

} // namespace

Opened openBytes(const QByteArray &bytes, const QString &name, const WorkState &current,
                 const QLocale &locale)
{
    if (const std::optional<SourceKind> kind = sourceKind(bytes)) {
        Opened opened{OpenedKind::LwmSource, current};
        if (*kind == SourceKind::Lwm) {
            const LwmReading r = readLwmSource(bytes, locale);
            putLwmSource(opened.state, r.inputs, locale);
            opened.lfOnly = r.lfOnly;
        } else {
            const VtpReading r = readVtpSource(bytes, locale);
            putVtpSource(opened.state, r.inputs, locale);
            opened.kind = OpenedKind::VtpSource;
            opened.lfOnly = r.lfOnly;
        }
        return opened;
    }
    if (!startsAsJson(bytes) && !name.endsWith(QStringLiteral(".marlith"), Qt::CaseInsensitive))
        fault(QStringLiteral("This file is neither a Marlith work file nor an LWMSource.asm or "
                             "VTPSource.asm as Marlith writes them: line 1 does not begin with "
                             "\";----> FS Coordinates:\"."));
    WorkState state = readWorkFile(bytes);
    checkImagePath(state.imagePath);
    return {OpenedKind::WorkFile, state};
}

Opened openFile(const QString &path, const WorkState &current, const QLocale &locale)
{
    const QFileInfo info(path);
    if (info.isDir())
        fault(QStringLiteral("%1 is a folder, not a file.").arg(shownPath(path)));
    if (!info.exists())
        fault(QStringLiteral("There is no file %1.").arg(shownPath(path)));
    if (!info.isFile())
        fault(QStringLiteral("%1 is not an ordinary file.").arg(shownPath(path)));
    const QString tooLarge =
        QStringLiteral("The file is larger than %1 MiB; Marlith does not read it.")
            .arg(maxOpenBytes >> 20);
    if (info.size() > maxOpenBytes)
        fault(tooLarge);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fault(QStringLiteral("%1 could not be read: %2.").arg(shownPath(path), file.errorString()));
    // At most one byte past the limit, in case the file grew since it was measured.
    const QByteArray bytes = file.read(maxOpenBytes + 1);
    if (file.error() != QFileDevice::NoError)
        fault(QStringLiteral("%1 could not be read: %2.").arg(shownPath(path), file.errorString()));
    if (bytes.size() > maxOpenBytes)
        fault(tooLarge);
    return openBytes(bytes, info.fileName(), current, locale);
}

QString saveWorkFile(const QString &path, const WorkState &s)
{
    return replaceFile(path, workFileText(s));
}
