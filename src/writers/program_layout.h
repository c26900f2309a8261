#pragma once

#include <QString>

// How a copy of the program is laid out on disk. A portable copy (the tarball, a build tree)
// keeps everything in the program's folder; an installed copy follows the system's layout,
// with the program in <prefix>/bin and its read-only files in <prefix>/share/marlith3.
enum class ProgramLayout {
    Portable,
    Installed,
};

// The folder Create writes to when the program starts. A portable copy writes beside itself,
// as it always did. An installed copy, whose own folder is the system's, writes where the
// user last picked (`remembered`), else into "Marlith" in the user's documents folder.
QString startOutputFolder(ProgramLayout layout, const QString &programFolder,
                          const QString &documentsFolder, const QString &remembered);

// The user's last pick of an output folder, kept in the settings that the window and the
// command line share; empty when there is none.
QString rememberedOutputFolder();
void rememberOutputFolder(const QString &folder);

// The folder that holds the help documents of a program in `programFolder`, with native
// separators and without a trailing one.
QString helpFolder(const QString &programFolder, ProgramLayout layout);

#ifdef _WIN32
// The installer leaves the file installerMarker beside the program; the portable zip has
// none. Both keep the help beside the program.
inline constexpr const char *installerMarker = "Installed.txt";
ProgramLayout windowsProgramLayout();
#endif
