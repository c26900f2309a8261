#pragma once

#include <QString>

// How a copy of the program is laid out on disk. A portable copy (the tarball, a build tree)
// keeps everything in the program's folder; an installed copy follows the system's layout,
// with the program in <prefix>/bin and its read-only files in <prefix>/share/marlith3.
enum class ProgramLayout {
    Portable,
    Installed,
};

// The folder that holds the help documents of a program in `programFolder`, with native
// separators and without a trailing one.
QString helpFolder(const QString &programFolder, ProgramLayout layout);
