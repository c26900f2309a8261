#include "workfile/opening.h"
#include "workfile/work_file.h"
#include "workfile_samples.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

WorkState oddState()
{
    WorkState s = exampleState();
    s.latDeg = " 47 ";
    s.altitude = "Zürich 東京 \"quoted\" \\back\\  tab";
    s.lineType.clear();
    s.vtpCounter = "\u00e9\u20ac\U0001F600";
    s.lwm = {{"", "  ", "{\"not\": \"json\"}"}, 2};
    s.image.georeferenced = true;
    return s;
}

WorkState longState()
{
    WorkState s = exampleState();
    for (int i = 0; i < 100000; ++i)
        s.lwm.entries << QStringLiteral("LWMPoint %1, %2").arg(i % 256).arg(i / 256 % 256);
    s.vtp.entries = s.vtp.entries.mid(0, 4);
    for (int i = 0; i < 100000; ++i)
        s.vtp.entries << QStringLiteral("VTPWidePoint %1, 0, %2, 0").arg(4080 + i % 8160).arg(i);
    s.vtp.selected = 100003;
    return s;
}

TEST(WorkFile, RoundTripsTheWholeState)
{
    const WorkState states[] = {WorkState(), startState(), exampleState(), oddState(), longState()};
    for (const WorkState &s : states) {
        const QByteArray text = workFileText(s);
        EXPECT_EQ(readWorkFile(text), s) << text.left(400).toStdString();
    }
    const QJsonObject root = QJsonDocument::fromJson(workFileText(exampleState())).object();
    EXPECT_EQ(root["version"].toInt(), 2);
    EXPECT_EQ(root["calculated"]["longitude"].toString(), "-122.304166666667");
    EXPECT_EQ(root["lwm"]["selected"].toInt(), 1);
    EXPECT_FALSE(root.contains("controls")) << "domain keys, not control names";
}

// Every UTF-16 code unit between two letters, pairs and lone halves of surrogates, and the
// texts that stand for the lists while the rest of the document is written.
WorkState everyCodeUnitState()
{
    WorkState s = exampleState();
    s.lwm.entries.clear();
    for (int u = 0; u <= 0xffff; ++u)
        s.lwm.entries << QStringLiteral("a") + QChar(char16_t(u)) + u'b';
    s.vtp.entries = {"",
                     "\U0001F600",
                     QString(QChar(0xd83d)),
                     QString(QChar(0xde00)) + "x",
                     QString(QChar(0xd83d)) + QChar(0xd83d),
                     "marlith-entries-vtp",
                     "marlith-entries-lwm"};
    s.vtp.selected = 6;
    s.altitude = "marlith-entries-lwm";
    s.image.service = {{"entries", QJsonArray{"marlith-entries-vtp"}},
                       {"lwm", QJsonObject{{"entries", QJsonArray{"marlith-entries-lwm"}}}}};
    return s;
}

TEST(WorkFile, WritesTheBytesQtWritesForAnyText)
{
    WorkState oneEmpty = oddState();
    oneEmpty.vtp = {};
    const WorkState states[] = {startState(), exampleState(), oddState(), oneEmpty,
                                everyCodeUnitState()};
    for (const WorkState &s : states) {
        const QByteArray text = workFileText(s);
        const QJsonDocument parsed = QJsonDocument::fromJson(text);
        // What Qt writes of what it read is the text itself, so the text is Qt's own.
        EXPECT_EQ(parsed.toJson(QJsonDocument::Indented), text) << text.left(600).toStdString();
        EXPECT_EQ(parsed["lwm"]["entries"].toArray(), QJsonArray::fromStringList(s.lwm.entries));
        EXPECT_EQ(parsed["vtp"]["entries"].toArray(), QJsonArray::fromStringList(s.vtp.entries));
        EXPECT_EQ(parsed["image"]["service"].toObject(), s.image.service);
        EXPECT_EQ(parsed["lwm"]["altitude"].toString(), s.altitude);
    }
}

TEST(WorkFile, ReadsTheFirstVersionIntoTheSameWork)
{
    EXPECT_EQ(readWorkFile(versionOneText(exampleState())), exampleState());
}

// The work file of the example with one key changed by `edit`.
QByteArray edited(const std::function<void(QJsonObject &)> &edit)
{
    QJsonObject root = QJsonDocument::fromJson(workFileText(exampleState())).object();
    edit(root);
    return QJsonDocument(root).toJson();
}

template <typename T>
void setPath(QJsonObject &root, const QString &a, const QString &b, const T &value)
{
    QJsonObject inner = root[a].toObject();
    inner[b] = value;
    root[a] = inner;
}

TEST(WorkFile, RefusesBadInputNamingTheFault)
{
    const struct
    {
        QByteArray file;
        const char *fault;
    } cases[] = {
        {"LWMPoint 1, 2", "it is not JSON"},
        {"{\"format\": \"Marlith work\", \"version\": 1", "it is not JSON"},
        {"[1, 2]", "JSON of another kind"},
        {"{\"type\": \"FeatureCollection\"}", "JSON of another kind"},
        {edited([](QJsonObject &r) { r["version"] = 3; }), "written by a newer Marlith"},
        {edited([](QJsonObject &r) { r["version"] = "1"; }), "\"version\" should be a whole"},
        {edited([](QJsonObject &r) { r.remove("position"); }), "\"position\" is missing"},
        {edited([](QJsonObject &r) { setPath(r, "position", "latitudeDegrees", 47); }),
         "\"position.latitudeDegrees\" should be a text"},
        {edited([](QJsonObject &r) {
             setPath(r, "vtp", "entries", QJsonArray{"a", 1});
         }),
         "entry 2 of \"vtp.entries\" is not a text"},
        {edited([](QJsonObject &r) { setPath(r, "vtp", "selected", 7); }),
         "points outside its list"},
        {edited([](QJsonObject &r) { setPath(r, "vtp", "selected", -2); }),
         "points outside its list"},
        {edited([](QJsonObject &r) { setPath(r, "vtp", "selected", 1.5); }),
         "should be a whole number"},
        {edited([](QJsonObject &r) { setPath(r, "image", "georeferenced", "no"); }),
         "\"image.georeferenced\" should be true or false"},
    };
    for (const auto &c : cases)
        EXPECT_TRUE(faultOf([&] { readWorkFile(c.file); }).contains(QLatin1String(c.fault)))
            << c.fault << " -> " << faultOf([&] { readWorkFile(c.file); }).toStdString();
}

TEST(WorkFile, TakesTypedTextAsAFieldWould)
{
    // A hand-edited line break or NUL must never become a line of a generated file.
    const QByteArray file = edited([](QJsonObject &r) {
        setPath(r, "vtp", "layer", "8\n9");
        setPath(r, "vtp", "entries", QJsonArray{"a\tb", "b\rc", QString(QChar(0)) + "d"});
        r["comment"] = "from a later version"; // unknown keys are ignored
    });
    const WorkState s = readWorkFile(file);
    EXPECT_EQ(s.layer, "89");
    EXPECT_EQ(s.vtp.entries, QStringList({"a b", "bc", "d"}));
}

TEST(WorkFile, RefusesTenMillionEntriesBeforeParsing)
{
    QByteArray file = "{\"format\": \"Marlith work\", \"version\": 2, \"lwm\": "
                      "{\"entries\": [";
    file.reserve(10'000'000 * 5);
    for (int i = 0; i < 10'000'000; ++i)
        file += "\"\",\n";
    file += "\"\"]}}";
    EXPECT_TRUE(faultOf([&] { readWorkFile(file); }).contains("more entries than Marlith keeps"));
}

TEST(Opening, RefusesWhatIsNoOrdinaryFileOrTooLarge)
{
    QTemporaryDir dir;
    const QString big = dir.filePath("big.marlith");
    QFile sparse(big);
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly) && sparse.resize(maxOpenBytes + 1));
    sparse.close();
    const WorkState picturesInWay = [&] {
        WorkState s = exampleState();
        s.image.path = dir.path();
        return s;
    }();
    const QString folderImage = dir.filePath("folder-image.marlith");
    ASSERT_TRUE(saveWorkFile(folderImage, picturesInWay).isEmpty());
    WorkState device = exampleState();
    device.image.path = "/dev/zero";
    const QString deviceImage = dir.filePath("device-image.marlith");
    ASSERT_TRUE(saveWorkFile(deviceImage, device).isEmpty());

    const struct
    {
        QString path;
        const char *fault;
    } cases[] = {
        {dir.path(), "is a folder, not a file"},
#ifndef Q_OS_WIN // where no device is seen as a file
        {"/dev/zero", "is not an ordinary file"},
#endif
        {dir.filePath("gone.marlith"), "There is no file"},
        {big, "larger than 256 MiB"},
        {folderImage, "The image of this work file"},
#ifndef Q_OS_WIN
        {deviceImage, "is not an ordinary file"},
#endif
    };
    for (const auto &c : cases)
        EXPECT_TRUE(faultOf([&] {
                        openFile(c.path, WorkState(), QLocale::c());
                    }).contains(QLatin1String(c.fault)))
            << c.fault;
}

TEST(Opening, SavesWholeOrLeavesTheEarlierFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("work.marlith");
    ASSERT_TRUE(saveWorkFile(path, exampleState()).isEmpty());
    const Opened opened = openFile(path, oddState(), QLocale::c());
    EXPECT_EQ(opened.kind, OpenedKind::WorkFile);
    EXPECT_EQ(opened.state, exampleState());

    ASSERT_TRUE(QDir(dir.path()).mkdir("in-the-way.marlith"));
    EXPECT_FALSE(saveWorkFile(dir.filePath("in-the-way.marlith"), exampleState()).isEmpty());
    QFile::setPermissions(path, QFile::ReadOwner);
    EXPECT_EQ(saveWorkFile(path, oddState()), "the file is read-only");
    EXPECT_EQ(openFile(path, WorkState(), QLocale::c()).state, exampleState());
}

TEST(Opening, RefusesCalculatedValuesThePositionDoesNotGive)
{
    const struct
    {
        QString WorkState::*text;
        const char *value, *fault; // no fault: it opens
    } cases[] = {
        {&WorkState::cellX, "9999", "\"calculated.cellColumn\" is 9999"},
        {&WorkState::areaY, "26", "\"calculated.areaRow\" is 26"},
        {&WorkState::latDecimal, "47.5", "\"calculated.latitude\""},
        {&WorkState::cellX, "", nullptr},                       // not calculated yet
        {&WorkState::lngDecimal, "-122,304166666667", nullptr}, // saved in a comma locale
        {&WorkState::latDeg, "48", nullptr}, // typed after Calculate: Create reads it as typed
    };
    QTemporaryDir dir;
    for (const auto &c : cases) {
        WorkState s = exampleState();
        s.*(c.text) = QString::fromUtf8(c.value);
        const QString path = dir.filePath("edited.marlith");
        ASSERT_TRUE(saveWorkFile(path, s).isEmpty());
        const QString fault = faultOf([&] { openFile(path, WorkState(), QLocale::c()); });
        if (c.fault)
            EXPECT_TRUE(fault.contains(QString::fromUtf8(c.fault))) << fault.toStdString();
        else
            EXPECT_EQ(fault, "<no fault>");
    }
}

TEST(Opening, TellsTheFormsApart)
{
    EXPECT_TRUE(faultOf([] {
                    openBytes("hello\r\n", "notes.asm", WorkState(), QLocale::c());
                }).contains("neither a Marlith work file nor"));
    EXPECT_TRUE(faultOf([] {
                    openBytes("hello", "notes.marlith", WorkState(), QLocale::c());
                }).contains("it is not JSON"));
    EXPECT_TRUE(faultOf([] {
                    openBytes("", "empty.txt", WorkState(), QLocale::c());
                }).contains("neither a Marlith work file nor"));
}

} // namespace
