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
    s.txtlatdeg = " 47 ";
    s.txtaltitude = "Zürich 東京 \"quoted\" \\back\\ \t tab";
    s.cbovtptype.clear();
    s.lblx = "\u00e9\u20ac\U0001F600";
    s.lwmWarning = s.vtpWarning = true;
    s.lstLWM = {{"", "  ", "{\"not\": \"json\"}"}, 2};
    s.imageGeoreferenced = true;
    return s;
}

WorkState longState()
{
    WorkState s = exampleState();
    for (int i = 0; i < 100000; ++i)
        s.lstLWM.entries << QStringLiteral("LWMPoint %1, %2").arg(i % 256).arg(i / 256 % 256);
    s.lstVTP.entries = s.lstVTP.entries.mid(0, 4);
    for (int i = 0; i < 100000; ++i)
        s.lstVTP.entries << QStringLiteral("VTPWidePoint %1, 0, %2, 0").arg(4080 + i % 8160).arg(i);
    s.lstVTP.selected = 100003;
    return s;
}

TEST(WorkFile, RoundTripsTheWholeState)
{
    const WorkState states[] = {WorkState(), exampleState(), oddState(), longState()};
    for (const WorkState &s : states) {
        const QByteArray text = workFileText(s);
        EXPECT_EQ(readWorkFile(text), s) << text.left(400).toStdString();
    }
    const QJsonObject root = QJsonDocument::fromJson(workFileText(exampleState())).object();
    EXPECT_EQ(root["format"].toString(), "Marlith work");
    EXPECT_EQ(root["version"].toInt(), 1);
    EXPECT_EQ(root["controls"]["lbllongdd"].toString(), "-122.304166666667");
    EXPECT_EQ(root["lists"]["lstLWM"]["selected"].toInt(), 1);
}

TEST(WorkFile, ReadsNoOtherControlThanTheTables)
{
    // A state set through the tables only must equal the full state: no member is missed.
    const WorkState full = oddState();
    WorkState copy;
    for (const WorkControl &c : workControls)
        copy.*(c.text) = full.*(c.text);
    for (const WorkCounter &c : workCounters)
        copy.*(c.warning) = full.*(c.warning);
    for (const WorkList &l : workLists)
        copy.*(l.list) = full.*(l.list);
    copy.imagePath = full.imagePath;
    copy.imageGeoreferenced = full.imageGeoreferenced;
    EXPECT_EQ(copy, full);
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

void setList(QJsonObject &root, const QString &key, const QJsonValue &value)
{
    QJsonObject lists = root["lists"].toObject(), list = lists["lstVTP"].toObject();
    list[key] = value;
    lists["lstVTP"] = list;
    root["lists"] = lists;
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
        {edited([](QJsonObject &r) { r["version"] = 2; }), "written by a newer Marlith"},
        {edited([](QJsonObject &r) { r["version"] = "1"; }), "\"version\" should be a whole"},
        {edited([](QJsonObject &r) { r.remove("controls"); }), "\"controls\" is missing"},
        {edited([](QJsonObject &r) { setPath(r, "controls", "txtlatdeg", 47); }),
         "\"controls.txtlatdeg\" should be a text"},
        {edited([](QJsonObject &r) { setPath(r, "controls", "lblx", QJsonValue()); }),
         "\"controls.lblx\" should be a text"},
        {edited([](QJsonObject &r) { setPath(r, "controls", "cbolayer", "8\n9"); }),
         "\"controls.cbolayer\" holds a line break"},
        {edited([](QJsonObject &r) { setPath(r, "counterWarnings", "txtvtpnumber", 1); }),
         "\"counterWarnings.txtvtpnumber\" should be true or false"},
        {edited([](QJsonObject &r) {
             setList(r, "entries", QJsonArray{"a", 1});
         }),
         "entry 2 of \"lists.lstVTP.entries\" is not a text"},
        {edited([](QJsonObject &r) {
             setList(r, "entries", QJsonArray{"a", "b\rc"});
         }),
         "entry 2 of \"lists.lstVTP.entries\" holds a line break"},
        {edited([](QJsonObject &r) { setList(r, "entries", QJsonArray{QString(QChar(0))}); }),
         "holds a NUL character"},
        {edited([](QJsonObject &r) { setList(r, "selected", 7); }), "points outside its list"},
        {edited([](QJsonObject &r) { setList(r, "selected", -2); }), "points outside its list"},
        {edited([](QJsonObject &r) { setList(r, "selected", 1.5); }), "should be a whole number"},
        {edited([](QJsonObject &r) { setPath(r, "image", "georeferenced", "no"); }),
         "\"image.georeferenced\" should be true or false"},
    };
    for (const auto &c : cases)
        EXPECT_TRUE(faultOf([&] { readWorkFile(c.file); }).contains(QLatin1String(c.fault)))
            << c.fault << " -> " << faultOf([&] { readWorkFile(c.file); }).toStdString();
}

TEST(WorkFile, IgnoresKeysItDoesNotKnow)
{
    const QByteArray file = edited([](QJsonObject &r) {
        r["comment"] = "from a later version";
        setPath(r, "controls", "txtfuture", "x");
    });
    EXPECT_EQ(readWorkFile(file), exampleState());
}

TEST(WorkFile, RefusesTenMillionEntriesBeforeParsing)
{
    QByteArray file = "{\"format\": \"Marlith work\", \"version\": 1, \"lists\": {\"lstLWM\": "
                      "{\"entries\": [";
    file.reserve(10'000'000 * 5);
    for (int i = 0; i < 10'000'000; ++i)
        file += "\"\",\n";
    file += "\"\"]}}}";
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
        s.imagePath = dir.path();
        return s;
    }();
    const QString folderImage = dir.filePath("folder-image.marlith");
    ASSERT_TRUE(saveWorkFile(folderImage, picturesInWay).isEmpty());
    WorkState device = exampleState();
    device.imagePath = "/dev/zero";
    const QString deviceImage = dir.filePath("device-image.marlith");
    ASSERT_TRUE(saveWorkFile(deviceImage, device).isEmpty());

    const struct
    {
        QString path;
        const char *fault;
    } cases[] = {
        {dir.path(), "is a folder, not a file"},
        {"/dev/zero", "is not an ordinary file"},
        {dir.filePath("gone.marlith"), "There is no file"},
        {big, "larger than 256 MiB"},
        {folderImage, "The image of this work file"},
        {deviceImage, "is not an ordinary file"},
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
