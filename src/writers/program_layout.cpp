#include "writers/program_layout.h"

#include <QDir>
#include <QSettings>

QString startOutputFolder(ProgramLayout layout, const QString &programFolder,
                          const QString &documentsFolder, const QString &remembered)
{
    if (layout == ProgramLayout::Portable)
        return programFolder;
    if (!remembered.isEmpty())
        return QDir::toNativeSeparators(remembered);
    return QDir::toNativeSeparators(documentsFolder) + QDir::separator()
           + QStringLiteral("Marlith");
}

namespace {
const QString outputFolderKey = QStringLiteral("outputFolder");

// Named here rather than through the application's names, which the command line, running
// without an application object, does not set.
QSettings settings()
{
    return QSettings(QSettings::UserScope, QStringLiteral("Marlith"), QStringLiteral("Marlith3"));
}
} // namespace

QString rememberedOutputFolder()
{
    return settings().value(outputFolderKey).toString();
}

void rememberOutputFolder(const QString &folder)
{
    settings().setValue(outputFolderKey, folder);
}

QString helpFolder(const QString &programFolder, ProgramLayout layout)
{
    if (layout == ProgramLayout::Portable)
        return programFolder + QDir::separator() + QStringLiteral("htmfiles");
    // Relative to the program rather than to a fixed prefix, so that a package built for
    // /usr works as well when installed under /usr/local or /opt.
    return QDir::toNativeSeparators(QDir::cleanPath(
        QDir::fromNativeSeparators(programFolder) + QStringLiteral("/../share/marlith3/htmfiles")));
}
