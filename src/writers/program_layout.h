#pragma once

#include <QString>

// How a copy of the program is laid out on disk. A portable copy (the tarball, a build tree)
// keeps everything in the program's folder; an installed copy follows the system's layout,
// with the program in <prefix>/bin and its read-only files in <prefix>/share/marlith3.
enum class ProgramLayout {
    Portable,
    Installed,
};

// Where Create writes unless the user picked another folder: beside a portable program, as
// it always did, and into "Marlith" in the user's documents folder for an installed one,
// whose own folder is the system's.
QString defaultOutputFolder(ProgramLayout layout, const QString &programFolder,
                            const QString &documentsFolder);

// The folder that holds the help documents of a program in `programFolder`, with native
// separators and without a trailing one.
QString helpFolder(const QString &programFolder, ProgramLayout layout);
