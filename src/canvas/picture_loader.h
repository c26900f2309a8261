#pragma once

#include <QImage>
#include <QString>

#include <optional>

// The most pixels a picture may have: a quarter of a gigabyte decoded, far more than an area
// needs, and little enough that a false header cannot exhaust the memory.
inline constexpr qint64 mostPicturePixels = 64'000'000;

// A picture read by its content (BMP, JPEG, GIF or PNG), or why not, in one sentence that
// names the file: missing, damaged, or larger than mostPicturePixels, with its size.
struct PictureRead
{
    QImage image; // null when the picture was refused
    QString failure;
};
PictureRead readPicture(const QString &path);

// The same, without the reason.
std::optional<QImage> loadPicture(const QString &path);

// The image dialog's filter: first every picture the program can use, plain or georeferenced;
// then the plain pictures' own entry, one entry per kind, and all files.
QString imageDialogFilter();
