#include "imagery/area_cut.h"

#include "grid/grid_constants.h"
#include "imagery/gdal_setup.h"
#include "test_rasters.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gdal_priv.h>
#include <gtest/gtest.h>

namespace {

const GridPlace seattle{123, 120, 2, 27};

class AreaCutTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { setUpGdal(); }
    QString file(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

// Red and green of every cut pixel near the ramps' edges, four units per pixel: within one
// unit is within a quarter pixel of where the pixel belongs.
::testing::AssertionResult rampsHold(const QImage &image, bool rows)
{
    for (int q = 0; q <= lod::lastPixel; ++q) {
        for (int p = 0; p <= lod::lastPixel; ++p) {
            const QRgb c = image.pixel(p, q);
            const int t = rows ? q : p;
            const int red = t <= 50 ? rampFromNear(t) : qRed(c);
            const int green = t >= 205 ? rampFromFar(t) : qGreen(c);
            if (qAlpha(c) != 255 || std::abs(qRed(c) - red) > 1 || std::abs(qGreen(c) - green) > 1)
                return ::testing::AssertionFailure()
                       << "pixel " << p << ", " << q << ": rgba " << qRed(c) << " " << qGreen(c)
                       << " " << qBlue(c) << " " << qAlpha(c) << ", expected red " << red
                       << " green " << green;
        }
    }
    return ::testing::AssertionSuccess();
}

TEST_F(AreaCutTest, PixelCentresSitOnTheGridFromEveryKindOfGeoreferencing)
{
    struct Case
    {
        const char *name;
        RampRaster raster;
        CrsOrigin origin;
    };
    const Case cases[] = {
        {"geotiff.tif", {"GTiff", 4326}, CrsOrigin::File},
        {"mercator.tif", {"GTiff", 3857, RampRaster::Embedded, 1.3}, CrsOrigin::File},
        {"degrees.png", {"PNG", 4326, RampRaster::WorldFile}, CrsOrigin::AssumedDegrees},
        {"metres.png", {"PNG", 3857, RampRaster::WorldFile, 0.7}, CrsOrigin::AssumedWebMercator},
        {"utm.png", {"PNG", 32610, RampRaster::WorldFileAndPrj}, CrsOrigin::ProjectionFile},
        {"aux.png", {"PNG", 32610, RampRaster::AuxXml}, CrsOrigin::File},
        {"rotated.bmp", {"BMP", 4326, RampRaster::WorldFile, 1.5, 10}, CrsOrigin::AssumedDegrees},
        {"overviews.tif",
         {"GTiff", 4326, RampRaster::Embedded, 6, 0, {-8, -8, 271, 271}, false, 3},
         CrsOrigin::File},
        {"wld.png",
         {"PNG", 4326, RampRaster::WorldFile, 2, 0, {-8, -8, 271, 271}, false, 0, ".wld"},
         CrsOrigin::AssumedDegrees},
    };
    for (const Case &c : cases) {
        for (bool rows : {false, true}) {
            RampRaster raster = c.raster;
            raster.rows = rows;
            const QString path = file((rows ? QStringLiteral("rows-") : QStringLiteral("columns-"))
                                      + QLatin1String(c.name));
            writeRampRaster(path, seattle, raster);
            EXPECT_EQ(probeImage(path).kind, ImageProbe::Georeferenced) << c.name;
            const AreaCut cut = cutArea(path, seattle);
            ASSERT_TRUE(cut.ok()) << c.name << ": " << cut.failure.toStdString();
            EXPECT_EQ(cut.image.size(), QSize(256, 256)) << c.name;
            EXPECT_TRUE(rampsHold(cut.image, rows)) << c.name << (rows ? " rows" : " columns");
            EXPECT_EQ(cut.coveredShare, 1.0) << c.name;
            EXPECT_EQ(cut.crsOrigin, c.origin) << c.name;
            EXPECT_NEAR(cut.sourceMetresPerPixel * raster.fineness / cut.cutMetresPerPixel, 1, 0.05)
                << c.name;
        }
    }
}

TEST_F(AreaCutTest, SummaryNamesTheFileItsSystemBothResolutionsAndTheCover)
{
    const QString path = file(QStringLiteral("harbour.tif"));
    writeRampRaster(path, seattle, {"GTiff", 32610, RampRaster::Embedded, 4});
    const AreaCut cut = cutArea(path, seattle);
    ASSERT_TRUE(cut.ok()) << cut.failure.toStdString();
    // At 47.5 degrees north a cut pixel is 4.3 m across and 4.8 m down.
    EXPECT_EQ(cutSummary(path, cut).toStdString(),
              "harbour.tif in WGS 84 / UTM zone 10N (EPSG:32610): 1.1 m per pixel, cut at 4.5 m "
              "per pixel; covers 100 %.");
}

TEST_F(AreaCutTest, WhatTheImageDoesNotCoverStaysTransparent)
{
    struct Case
    {
        const char *name;
        QRectF extent;
        int lastCovered; // the last covered column; -1 for none
    };
    const Case cases[] = {
        {"west half", {-8, -8, 135.5, 271}, 127},
        {"west tenth", {-8, -8, 33.7, 271}, 25},
        {"east of the area", {300, -8, 50, 271}, -1},
        {"north of the area", {-8, -100, 271, 60}, -1},
    };
    for (const Case &c : cases) {
        RampRaster raster;
        raster.extent = c.extent;
        const QString path = writeRampRaster(
            file(QStringLiteral("%1.tif").arg(QLatin1String(c.name))), seattle, raster);
        const AreaCut cut = cutArea(path, seattle);
        if (c.lastCovered < 0) {
            EXPECT_FALSE(cut.ok()) << c.name;
            EXPECT_EQ(cut.failure, QStringLiteral("%1.tif does not reach area 2, 27 of cell 123, "
                                                  "120.")
                                       .arg(QLatin1String(c.name)));
            continue;
        }
        ASSERT_TRUE(cut.ok()) << c.name;
        EXPECT_EQ(cut.coveredShare, (c.lastCovered + 1) / 256.0) << c.name;
        for (int q : {0, 128, 255}) {
            EXPECT_EQ(qAlpha(cut.image.pixel(c.lastCovered, q)), 255) << c.name;
            EXPECT_EQ(cut.image.pixel(c.lastCovered + 1, q), 0u) << c.name;
        }
        EXPECT_TRUE(cutSummary(path, cut).endsWith(
            QStringLiteral("covers %1 %: the rest is grey.").arg((c.lastCovered + 1) * 100 / 256)))
            << cutSummary(path, cut).toStdString();
    }
}

TEST_F(AreaCutTest, OneBandSourcesComeOutInTheirColours)
{
    const GeoBounds area = areaBounds(seattle);
    const double dx = lod::areaWidth / lod::areaPitch;
    GDALDriver *memory = GetGDALDriverManager()->GetDriverByName("MEM");
    for (const char *driver : {"GIF", "PNG"}) {
        // Left half index (or grey) 10, right half 200, split at the area's middle.
        GDALDatasetUniquePtr image(memory->Create("", 300, 10, 1, GDT_Byte, nullptr));
        std::vector<GByte> values(300 * 10);
        for (int i = 0; i < 3000; ++i)
            values[i] = i % 300 < 150 ? 10 : 200;
        ASSERT_EQ(image->GetRasterBand(1)->RasterIO(GF_Write, 0, 0, 300, 10, values.data(), 300, 10,
                                                    GDT_Byte, 0, 0, nullptr),
                  CE_None);
        const bool paletted = QByteArray(driver) == "GIF";
        if (paletted) {
            GDALColorTable palette;
            for (int i = 0; i < 256; ++i) {
                const GDALColorEntry e{short(i == 10 ? 255 : 0), 0, short(i == 200 ? 255 : 0), 255};
                palette.SetColorEntry(i, &e);
            }
            image->GetRasterBand(1)->SetColorTable(&palette);
        }
        const QString path =
            file(QStringLiteral("one-band.") + QString::fromLatin1(driver).toLower());
        GDALDatasetUniquePtr(GetGDALDriverManager()->GetDriverByName(driver)->CreateCopy(
            path.toUtf8().constData(), image.get(), FALSE, nullptr, nullptr, nullptr));
        // 300 columns over 300 cut pixels from 22 west of the area; 10 rows over its height.
        const std::array<double, 6> gt{area.west - 22.5 * dx,
                                       dx,
                                       0,
                                       area.north + 0.5 * lod::areaHeight / 255,
                                       0,
                                       -(lod::areaHeight + lod::areaHeight / 255) / 10};
        writeText(path.left(path.size() - 3) + (paletted ? "gfw" : "pgw"), worldFileText(gt));

        const AreaCut cut = cutArea(path, seattle);
        ASSERT_TRUE(cut.ok()) << driver << ": " << cut.failure.toStdString();
        const QRgb left = paletted ? qRgb(255, 0, 0) : qRgb(10, 10, 10);
        const QRgb right = paletted ? qRgb(0, 0, 255) : qRgb(200, 200, 200);
        EXPECT_EQ(cut.image.pixel(0, 128), left) << driver;
        EXPECT_EQ(cut.image.pixel(255, 128), right) << driver;
    }
}

// Every bad input leaves no picture, and one sentence saying why, quickly.
TEST_F(AreaCutTest, BadInputsGiveOneSentenceWhy)
{
    const QString good = writeRampRaster(file(QStringLiteral("good.tif")), seattle, {});
    const QString png = writeRampRaster(file(QStringLiteral("plain.png")), seattle,
                                        {"PNG", 4326, RampRaster::WorldFile});
    QFile::remove(file(QStringLiteral("plain.pgw")));
    QByteArray goodBytes;
    if (QFile f(good); f.open(QIODevice::ReadOnly))
        goodBytes = f.readAll();

    // A file beside the plain PNG, named as GDAL looks for it, with the given text.
    const auto pngWith = [&](const char *name, const char *ext, const QByteArray &text) {
        const QString path = file(QStringLiteral("%1.png").arg(QLatin1String(name)));
        QFile::copy(png, path);
        writeText(file(QLatin1String(name) + QLatin1String(ext)), text);
        return path;
    };
    const auto bytes = [&](const char *name, const QByteArray &content) {
        writeText(file(QLatin1String(name)), content);
        return file(QLatin1String(name));
    };
    const QByteArray degrees = "0.0001\n0\n0\n-0.0001\n-122.3\n47.5\n";
    // A header that promises 100 000 x 100 000 pixels over the area, with nothing behind it.
    const auto huge = [&](const char *name, bool truncated) {
        GDALDriver *tiff = GetGDALDriverManager()->GetDriverByName("GTiff");
        const QString path = file(QLatin1String(name));
        const char *const options[] = {"SPARSE_OK=YES", "TILED=YES", "BLOCKXSIZE=1024",
                                       "BLOCKYSIZE=1024", nullptr};
        GDALDatasetUniquePtr ds(tiff->Create(path.toUtf8().constData(), 100000, 100000, 3, GDT_Byte,
                                             const_cast<char **>(options)));
        const GeoBounds a = areaBounds(seattle);
        double gt[6] = {a.west, lod::areaWidth / 1e5, 0, a.north, 0, -lod::areaHeight / 1e5};
        ds->SetGeoTransform(gt);
        OGRSpatialReference wgs84;
        wgs84.importFromEPSG(4326);
        ds->SetSpatialRef(&wgs84);
        ds.reset();
        if (truncated)
            QFile(path).resize(QFile(path).size() / 3);
        return path;
    };

    struct Case
    {
        const char *what;
        QString path;
        ImageProbe::Kind probe;
        const char *because;
    };
    // A JPEG cut short, with its world file: libjpeg would fill the rest with grey.
    const QString jpeg = writeRampRaster(file(QStringLiteral("short.jpg")), seattle,
                                         {"JPEG", 4326, RampRaster::WorldFile});
    QFile(jpeg).resize(QFile(jpeg).size() * 2 / 3);
    // UTM metres in a world file, with no .prj to say so.
    const QString utm = writeRampRaster(file(QStringLiteral("utm.jpg")), seattle,
                                        {"JPEG", 32610, RampRaster::WorldFile});
    const Case cases[] = {
        {"truncated TIFF", bytes("truncated.tif", goodBytes.left(goodBytes.size() / 2)),
         ImageProbe::Georeferenced, "\u201ctruncated.tif\u201d is damaged: part of its picture"},
        {"truncated JPEG", jpeg, ImageProbe::Georeferenced, "\u201cshort.jpg\u201d is damaged"},
        {"UTM without .prj", utm, ImageProbe::Georeferenced,
         "in WGS 84 / Pseudo-Mercator (EPSG:3857), the coordinate system assumed for a world "
         "file in metres: if it is in another one, put a .prj file naming it beside utm.jpg."},
        {"corrupt TIFF", bytes("corrupt.tif", "II*\0garbage garbage garbage"), ImageProbe::Plain,
         "\u201ccorrupt.tif\u201d is damaged: it starts as an image does"},
        {"not an image", bytes("notes.tif", "just some words"), ImageProbe::Plain,
         "notes.tif is not an image GDAL reads"},
        {"world file of two lines", pngWith("two", ".pgw", "0.0001\n0\n"), ImageProbe::Refused,
         "The world file two.pgw cannot be used"},
        {"zero pixel size", pngWith("zero", ".pgw", "0\n0\n0\n-0.0001\n-122.3\n47.5\n"),
         ImageProbe::Refused, "The world file zero.pgw cannot be used"},
        {"NaN pixel size", pngWith("nan", ".pgw", "nan\n0\n0\n-0.0001\n-122.3\n47.5\n"),
         ImageProbe::Refused, "nan.png holds numbers that place it nowhere on the globe"},
        {"absurd numbers", pngWith("absurd", ".wld", "1e300\n0\n0\n-1e300\n-1e300\n1e300\n"),
         ImageProbe::Refused, "absurd.png holds numbers that place it nowhere on the globe"},
        {"unknown .prj", pngWith("unknown", ".prj", "PROJCS[\"Nowhere\",GEOGCS[\"None\"]]"),
         ImageProbe::Refused, "The projection file unknown.prj names no coordinate system"},
        {"system whose name holds blanks of other kinds",
         pngWith("local", ".prj", "LOCAL_CS[\"Site\n\tgrid\",UNIT[\"metre\",1]]"),
         ImageProbe::Refused, "in a coordinate system (Site grid) that cannot be turned"},
        {"header of 100 000 x 100 000", huge("huge.tif", false), ImageProbe::Georeferenced,
         "huge.tif would need 10"},
        {"that header cut short", huge("short.tif", true), ImageProbe::Plain, "short.tif"},
        {"folder", dir.path(), ImageProbe::Refused, "is a folder, not an image"},
        {"vanished file", file(QStringLiteral("gone.tif")), ImageProbe::Refused,
         "gone.tif is no longer there"},
        {"curl name", QStringLiteral("/vsicurl/http://127.0.0.1:9/x.tif"), ImageProbe::Refused,
         "is a network address"},
        {"web address", QStringLiteral("http://127.0.0.1:9/x.tif"), ImageProbe::Refused,
         "is a network address"},
    };
    // The world files above need their PNG to stay plain but for them.
    writeText(file(QStringLiteral("unknown.pgw")), degrees);
    writeText(file(QStringLiteral("local.pgw")), degrees);

    for (const Case &c : cases) {
        QElapsedTimer clock;
        clock.start();
        const ImageProbe probe = probeImage(c.path);
        const AreaCut cut = cutArea(c.path, seattle);
        EXPECT_LT(clock.elapsed(), 1000) << c.what;
        EXPECT_EQ(probe.kind, c.probe) << c.what << ": " << probe.reason.toStdString();
        EXPECT_FALSE(cut.ok()) << c.what;
        EXPECT_TRUE(cut.failure.contains(QString::fromUtf8(c.because)))
            << c.what << ": " << cut.failure.toStdString();
        EXPECT_TRUE(cut.failure.endsWith(u'.') && !cut.failure.contains(u'\n')
                    && cut.failure.count(QStringLiteral(". ")) == 0)
            << c.what << ": " << cut.failure.toStdString();
    }
}

TEST_F(AreaCutTest, AFileThatCannotBeOpenedIsRefused)
{
    const QString path = writeRampRaster(file(QStringLiteral("locked.tif")), seattle, {});
    QFile::setPermissions(path, QFileDevice::Permissions());
    // Root, and Windows, where no permission bit keeps the owner out, read it all the same.
    if (QFile probe(path); probe.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "this user reads the file without permissions";
    EXPECT_EQ(probeImage(path).kind, ImageProbe::Refused);
    EXPECT_TRUE(cutArea(path, seattle)
                    .failure.startsWith(QStringLiteral("locked.tif cannot be "
                                                       "read")));
}

TEST_F(AreaCutTest, APlainImageIsNotCut)
{
    const QString path = file(QStringLiteral("photo.png"));
    QImage(64, 64, QImage::Format_RGB32).save(path);
    const ImageProbe probe = probeImage(path);
    EXPECT_EQ(probe.kind, ImageProbe::Plain);
    EXPECT_TRUE(probe.reason.isEmpty());
    EXPECT_EQ(cutArea(path, seattle).failure, QStringLiteral("photo.png holds no georeferencing."));
}

// A cut no longer wanted stops at the first step after it is told, whichever step that is,
// and never returns an image.
TEST_F(AreaCutTest, ACancelledCutStopsBetweenItsSteps)
{
    const QString path = writeRampRaster(file(QStringLiteral("slow.tif")), seattle, {});
    int asked = 0;
    ASSERT_TRUE(cutArea(path, seattle, [&] { return ++asked < 0; }).ok());
    // Before and after opening, before and during the warp, before the image.
    EXPECT_GE(asked, 5);
    // The first steps, the warp's progress, and the last two answers.
    for (const int n : {0, 1, 2, 3, asked / 2, asked - 2, asked - 1}) {
        asked = 0;
        const AreaCut cut = cutArea(path, seattle, [&] { return ++asked > n; });
        EXPECT_TRUE(cut.stopped && !cut.ok()) << n;
        EXPECT_EQ(cut.failure, QStringLiteral("The cut of slow.tif was stopped.")) << n;
        EXPECT_EQ(asked, n + 1) << "asked again after the answer was yes, at " << n;
    }
    // Nothing is opened for a cut stopped before it began.
    EXPECT_TRUE(cutArea(file(QStringLiteral("gone.tif")), seattle, [] { return true; }).stopped);
}

} // namespace
