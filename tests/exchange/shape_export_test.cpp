#include "canvas/point_capture.h"
#include "exchange/shape_export.h"
#include "exchange/shape_reader.h"
#include "exchange/vertex_presses.h"
#include "file_bytes.h"
#include "grid/point_geography.h"
#include "ogr_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const GridPlace seattle{123, 120, 3, 7};

const ShapeTexts texts{
    {"LWMPoint 12, 101", "typed text", "LWMPoint 40, 90", "LWMPoint 60, 70", "LWMPoint 0, 255"},
    {"VTPWidePoint 4857, 1, 5966, 0", "VTPWidePointWidth 1", "VTPWidePoint 4857, 1, 5966, 0",
     "VTPWidePointWidth 2.5", "VTPWidePoint 4857, 0, 5966, 0", "VTPWidePoint 4885, 0, 5955, 0",
     "VTPWidePoint 4905, 0, 5935, 0"},
    "120",
    "1024 - Road, Primary",
    "5"};

TEST(ShapeExport, TakesThePointEntriesAndMergesRepeats)
{
    const ExportShapes s = exportShapes(seattle, texts);
    ASSERT_EQ(s.polygon.size(), 4u);
    EXPECT_EQ(s.skippedLwm, 1);
    const GeoPoint corner = pixelGeoPoint(seattle, {0, 255});
    EXPECT_EQ(s.polygon[3].latitude, corner.latitude);
    EXPECT_EQ(s.polygon[3].longitude, corner.longitude);
    // The start group is one vertex; its two width entries are skipped.
    ASSERT_EQ(s.line.size(), 3u);
    EXPECT_EQ(s.skippedVtp, 2);
    EXPECT_EQ(s.widths, (QStringList{"1", "2.5"}));
    const GeoPoint first = gridGeoPoint(123, 120, {4857, 5966});
    EXPECT_EQ(s.line[0].latitude, first.latitude);
    EXPECT_EQ(s.line[0].longitude, first.longitude);
    const ExportShapes lineOnly =
        exportShapes(seattle, {{"LWMPoint 1, 1", "LWMPoint 2, 2"}, texts.vtpEntries, {}, {}, {}});
    EXPECT_FALSE(lineOnly.hasPolygon());
    // What was left out comes first, so that a narrow status line keeps it.
    const StatusText summary = exportSummary(lineOnly, "/x/out.kml");
    EXPECT_TRUE(summary.warning);
    EXPECT_EQ(summary.text, "No polygon: it needs three LWM points.  Exported the VTP line (3 "
                            "vertices) to out.kml. Skipped 2 VTP entries that are not points.");
    EXPECT_TRUE(exportSummary(s, "/x/out.kml")
                    .text.endsWith(" Skipped 1 LWM and 2 VTP entries that are not points."));
}

TEST(ShapeExport, TheNameOrTheFilterChoosesTheFormat)
{
    const struct
    {
        const char *name, *filter, *path;
        ShapeFormat format;
    } cases[] = {
        {"a.KML", "GPX (*.gpx)", "a.KML", ShapeFormat::Kml},
        {"a.json", "KML (*.kml)", "a.json", ShapeFormat::GeoJson},
        {"a", "GPX (*.gpx)", "a.gpx", ShapeFormat::Gpx},
        {"a.b", "GeoJSON (*.geojson *.json)", "a.b.geojson", ShapeFormat::GeoJson},
    };
    for (const auto &c : cases) {
        const ExportTarget t = exportTarget(c.name, c.filter);
        EXPECT_EQ(t.path, c.path);
        EXPECT_EQ(t.format, c.format) << c.name;
    }
    EXPECT_TRUE(exportFilter().startsWith("GeoJSON (*.geojson *.json);;KML (*.kml)"));
}

// The features OGR reads back, by name: the geometry's kind and the fields as texts.
std::map<std::string, std::map<std::string, std::string>> readBack(const QString &path)
{
    std::map<std::string, std::map<std::string, std::string>> found;
    GDALDatasetUniquePtr ds(GDALDataset::Open(path.toUtf8().constData(), GDAL_OF_VECTOR));
    for (OGRLayer *layer : ds->GetLayers()) {
        for (auto &f : *layer) {
            auto &fields = found[f->GetFieldAsString("name")];
            for (int i = 0; i < f->GetFieldCount(); ++i)
                fields[f->GetFieldDefnRef(i)->GetNameRef()] = f->GetFieldAsString(i);
            fields["kind"] = OGRGeometryTypeToName(f->GetGeometryRef()->getGeometryType());
        }
    }
    return found;
}

TEST(ShapeExport, EachFormatReadsBackWithItsProperties)
{
    const ExportShapes shapes = exportShapes(seattle, texts);
    // GDAL's KML reader leaves ExtendedData out and its GPX reader guesses the types of
    // extensions, so their properties are looked for in the text.
    const struct
    {
        const char *file;
        const char *polygonKind, *lineKind;
        std::vector<const char *> texts;
    } cases[] = {
        {"s.geojson", "Polygon", "Line String", {}},
        {"s.kml",
         "Polygon",
         "Line String",
         {"<SimpleData name=\"altitude\">120</SimpleData>",
          "<SimpleData name=\"line_type\">1024 - Road, Primary</SimpleData>",
          "<SimpleData name=\"widths\">1; 2.5</SimpleData>",
          "<SimpleData name=\"area_y\">7</SimpleData>"}},
        {"s.gpx",
         "Line String",
         "Multi Line String",
         {"<ogr:altitude>120</ogr:altitude>", "<ogr:line_type>1024 - Road, Primary</ogr:line_type>",
          "<ogr:layer>5</ogr:layer>", "<ogr:cell_x>123</ogr:cell_x>"}},
    };
    for (const auto &c : cases) {
        QTemporaryDir dir;
        const ExportTarget target = exportTarget(dir.filePath(c.file), {});
        ASSERT_EQ(writeShapes(target, shapes), "") << c.file;
        auto found = readBack(target.path);
        EXPECT_EQ(found["LWM polygon"]["kind"], c.polygonKind) << c.file;
        EXPECT_EQ(found["VTP line"]["kind"], c.lineKind) << c.file;
        QFile file(target.path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        for (const char *expected : c.texts)
            EXPECT_TRUE(text.contains(expected)) << c.file << ": " << expected;
        if (target.format != ShapeFormat::GeoJson)
            continue;
        auto &polygon = found["LWM polygon"], &line = found["VTP line"];
        EXPECT_EQ(polygon["altitude"], "120");
        EXPECT_EQ(line["line_type"], "1024 - Road, Primary");
        EXPECT_EQ(line["layer"], "5");
        EXPECT_EQ(line["widths"], "1; 2.5");
        EXPECT_EQ(polygon["cell_x"] + polygon["cell_y"], "123120");
        EXPECT_EQ(line["area_x"] + line["area_y"], "37");
    }
}

// Each pixel of the polygon comes back through the file and the press's own steps, for
// every format, whatever the texts hold; a GPX route repeats the first vertex at its end.
TEST(ShapeExport, ExportedPixelsComeBackAsTheSamePresses)
{
    ShapeTexts square{{"LWMPoint 0, 0", "LWMPoint 255, 0", "LWMPoint 255, 255", "LWMPoint 7, 254"},
                      {},
                      "http://www.opengis.net/gml\x01\r\n<&>",
                      "\t\x7f",
                      {}};
    for (const char *file : {"r.geojson", "r.kml", "r.gpx"}) {
        QTemporaryDir dir;
        const ExportTarget target = exportTarget(dir.filePath(file), {});
        ASSERT_EQ(writeShapes(target, exportShapes(seattle, square)), "");
        const ShapeListing listing = listShapes(target.path);
        ASSERT_EQ(listing.candidates.size(), 1u) << file;
        const ShapeVertices shape = readShape(target.path, listing.candidates[0]);
        const VertexPresses presses = vertexPresses(seattle, shape.vertices);
        EXPECT_EQ(presses.outsideArea, 0) << file;
        QStringList expected = square.lwmEntries;
        if (target.format == ShapeFormat::Gpx)
            expected << expected.first();
        EXPECT_EQ(captureRun(presses.positions, 3, 7, "", "0", 0, 0).lwmEntries, expected) << file;
    }
}

TEST(ShapeExport, AFailedExportLeavesNoFileAndTheEarlierOneWhole)
{
    QTemporaryDir dir;
    const ExportShapes shapes = exportShapes(seattle, texts);
    const QString path = dir.filePath("s.geojson");
    // Longer than the export: nothing of it may stay.
    ASSERT_TRUE(writeFileBytes(path, QByteArray(100000, 'x')));
    ASSERT_EQ(writeShapes({path, ShapeFormat::GeoJson}, shapes), "");
    EXPECT_TRUE(fileBytes(path).endsWith("]\n}\n"));

    QDir(dir.path()).mkdir("folder.kml");
    for (const QString &bad : {dir.filePath("folder.kml"), dir.filePath("missing/s.gpx")}) {
        const QString failure = writeShapes(exportTarget(bad, {}), shapes);
        EXPECT_TRUE(failure.contains("was not written")) << failure.toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"s.geojson"});
}

} // namespace
