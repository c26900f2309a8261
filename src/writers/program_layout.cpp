#include "writers/program_layout.h"

#include "text/user_settings.h"

#include <QDir>

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

QString helpFolder(const QString &programFolder, ProgramLayout layout)
{
    if (layout == ProgramLayout::Portable)
        return programFolder + QDir::separator() + QStringLiteral("htmfiles");
    // Relative to the program rather than to a fixed prefix, so that a package built for
    // /usr works as well when installed under /usr/local or /opt.
    return QDir::toNativeSeparators(QDir::cleanPath(
        QDir::fromNativeSeparators(programFolder) + QStringLiteral("/../share/marlith3/htmfiles")));
}
