#include "canvas/picture_loader.h"
#include "file_bytes.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xffffffffu;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int k = 0; k < 8; ++k)
            crc = crc & 1 ? (crc >> 1) ^ 0xedb88320u : crc >> 1;
    }
    return ~crc;
}

QByteArray bigEndian(quint32 value)
{
    const char bytes[] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    return QByteArray(bytes, 4);
}

QByteArray chunk(const QByteArray &typeAndData)
{
    return bigEndian(quint32(typeAndData.size() - 4)) + typeAndData + bigEndian(crc32(typeAndData));
}

// A PNG that claims a picture of that size, with no pixel data behind its header.
QByteArray pngHeader(quint32 width, quint32 height)
{
    return QByteArray("\x89PNG\r\n\x1a\n", 8)
           + chunk("IHDR" + bigEndian(width) + bigEndian(height) + QByteArray("\x08\x02\0\0\0", 5))
           + chunk("IDAT") + chunk("IEND");
}

TEST(PictureLoader, RefusesWhatItCannotShowAndSaysWhy)
{
    QTemporaryDir dir;
    const auto write = [&](const char *name, const QByteArray &bytes) {
        EXPECT_TRUE(writeFileBytes(dir.filePath(name), bytes));
        return dir.filePath(name);
    };
    QImage good(300, 200, QImage::Format_RGB32);
    good.fill(Qt::darkGreen);
    const QString goodPath = dir.filePath("good.png");
    ASSERT_TRUE(good.save(goodPath));
    QFile goodFile(goodPath);
    ASSERT_TRUE(goodFile.open(QIODevice::ReadOnly));
    const QByteArray goodBytes = goodFile.readAll();

    const struct
    {
        QString path;
        const char *failure;
    } cases[] = {
        {write("huge.png", pngHeader(60000, 60000)),
         "\u201chuge.png\u201d is 60000 \u00d7 60000 pixels, more than Marlith opens: at most 64 "
         "million pixels, such as 8000 \u00d7 8000."},
        {write("cut.png", goodBytes.left(40)),
         "\u201ccut.png\u201d cannot be shown: it is damaged, or not a BMP, JPEG, GIF or PNG "
         "picture."},
        {dir.filePath("gone.bmp"), "\u201cgone.bmp\u201d is no longer there."},
    };
    for (const auto &c : cases) {
        const PictureRead read = readPicture(c.path);
        EXPECT_TRUE(read.image.isNull()) << c.failure;
        EXPECT_EQ(read.failure, QString::fromUtf8(c.failure));
    }
    // Just within the limit, and an ordinary picture, are read.
    EXPECT_EQ(readPicture(goodPath).image.size(), QSize(300, 200));
    EXPECT_EQ(readPicture(write("edge.png", pngHeader(8000, 8000))).failure.contains("pixels"),
              false);
}

} // namespace

// The first entry is the active one: it must show every file that a later entry shows.
TEST(PictureLoader, ImageDialogOpensOnEveryUsableKind)
{
    const QStringList entries = imageDialogFilter().split(QStringLiteral(";;"));
    const auto patterns = [](const QString &entry) {
        return entry.section(u'(', -1).chopped(1).split(u' ');
    };
    ASSERT_GE(entries.size(), 4);
    EXPECT_EQ(entries[1], QStringLiteral("BMP, JPEG, GIF (*.gif *.jpg *.bmp)"));
    EXPECT_EQ(entries.last(), QStringLiteral("All files (*)"));
    const QStringList first = patterns(entries[0]);
    for (const char *georeferenced : {"*.tif", "*.png", "*.mbtiles", "*.gpkg", "*.jp2", "*.vrt"})
        EXPECT_TRUE(first.contains(QLatin1String(georeferenced))) << georeferenced;
    for (const QString &entry : entries.mid(1, entries.size() - 2)) {
        for (const QString &pattern : patterns(entry))
            EXPECT_TRUE(first.contains(pattern)) << entry.toStdString();
    }
}
