#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// What one answer of a service gives the mosaic.
struct TileAnswer
{
    enum Kind {
        Picture, // `image` is 256 x 256
        Missing, // the service has no such tile: grey, and counted
        Failure, // `failure` says why in one sentence; the area is not shown
    };
    Kind kind = Failure;
    QImage image;
    QString failure;
};

// From the HTTP status and the bytes of the answer. A picture of another size is scaled to
// the 256 pixels a tile stands for.
TileAnswer readTileAnswer(int httpStatus, const QByteArray &bytes);

// True when the picture is one colour all over, as a tile of open sea is.
bool isOneColour(const QImage &image);
