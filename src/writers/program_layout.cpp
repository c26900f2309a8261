#include "writers/program_layout.h"

#include <QDir>

QString defaultOutputFolder(ProgramLayout layout, const QString &programFolder,
                            const QString &documentsFolder)
{
    if (layout == ProgramLayout::Portable)
        return programFolder;
    return QDir::toNativeSeparators(documentsFolder) + QDir::separator()
           + QStringLiteral("Marlith");
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
