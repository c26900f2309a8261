#pragma once

#include <QImage>
#include <QString>

#include <optional>

// Reads a BMP, JPEG, GIF or PNG by its content; nothing for a missing, unreadable or broken
// file.
std::optional<QImage> loadPicture(const QString &path);

// The open dialog's filter for a picture: one entry, the active one.
inline const QString pictureFilter = QStringLiteral("BMP, JPEG, GIF (*.gif *.jpg *.bmp)");
