#include "writers/program_layout.h"

#include "text/user_settings.h"

#include <QDir>
#include <QFileInfo>

#ifdef _WIN32
#include <windows.h>

#include <iterator>
#endif

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
} // namespace

QString rememberedOutputFolder()
{
    return userSetting(outputFolderKey).toString();
}

void rememberOutputFolder(const QString &folder)
{
    setUserSetting(outputFolderKey, folder);
}

#ifdef _WIN32
ProgramLayout windowsProgramLayout()
{
    // Asked before any QCoreApplication exists, so from Windows itself.
    wchar_t path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, path, DWORD(std::size(path)));
    if (length == 0 || length >= std::size(path))
        return ProgramLayout::Portable;
    const QString program = QString::fromWCharArray(path, int(length));
    return QFileInfo::exists(QFileInfo(program).absolutePath() + u'/'
                             + QLatin1String(installerMarker))
               ? ProgramLayout::Installed
               : ProgramLayout::Portable;
}
#endif

QString helpFolder(const QString &programFolder, ProgramLayout layout)
{
#ifdef _WIN32
    // The installer keeps the Windows layout: the help beside the program.
    layout = ProgramLayout::Portable;
#endif
    if (layout == ProgramLayout::Portable)
        return programFolder + QDir::separator() + QStringLiteral("htmfiles");
    // Relative to the program rather than to a fixed prefix, so that a package built for
    // /usr works as well when installed under /usr/local or /opt.
    return QDir::toNativeSeparators(QDir::cleanPath(
        QDir::fromNativeSeparators(programFolder) + QStringLiteral("/../share/marlith3/htmfiles")));
}
