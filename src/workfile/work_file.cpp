#include "workfile/work_file.h"

#include "text/typed_text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const QString formatName = QStringLiteral("Marlith work");

[[noreturn]] void fault(const QString &text)
{
    throw OpenFault{text};
}

// The number of JSON strings, counted without parsing: a file with millions of entries is
// refused before the parser spends a gigabyte on it.
qsizetype stringCount(const QByteArray &bytes)
{
    qsizetype strings = 0;
    bool inString = false, escaped = false;
    for (const char c : bytes) {
        if (escaped)
            escaped = false;
        else if (inString && c == '\\')
            escaped = true;
        else if (c == '"') {
            inString = !inString;
            strings += inString;
        }
    }
    return strings;
}

// Reads one level of the document, naming every fault by its key path.
class Level
{
public:
    Level(const QJsonObject &object, const QString &path) : m_object(object), m_path(path) {}

    Level object(const QString &key) const
    {
        const QJsonValue v = value(key);
        if (!v.isObject())
            mistyped(key, QStringLiteral("an object"));
        return Level(v.toObject(), name(key));
    }
    // The object as it is, or an empty one when the key is missing.
    QJsonObject optionalObject(const QString &key) const
    {
        if (!m_object.contains(key))
            return {};
        const QJsonValue v = value(key);
        if (!v.isObject())
            mistyped(key, QStringLiteral("an object"));
        return v.toObject();
    }
    QString text(const QString &key) const
    {
        const QJsonValue v = value(key);
        if (!v.isString())
            mistyped(key, QStringLiteral("a text"));
        return checkedText(v.toString(), u'"' + name(key) + u'"');
    }
    bool flag(const QString &key) const
    {
        const QJsonValue v = value(key);
        if (!v.isBool())
            mistyped(key, QStringLiteral("true or false"));
        return v.toBool();
    }
    double number(const QString &key) const
    {
        const QJsonValue v = value(key);
        if (!v.isDouble() || v.toDouble() != std::floor(v.toDouble()))
            mistyped(key, QStringLiteral("a whole number"));
        return v.toDouble();
    }
    QStringList texts(const QString &key) const
    {
        const QJsonValue v = value(key);
        if (!v.isArray())
            mistyped(key, QStringLiteral("a list of texts"));
        const QJsonArray array = v.toArray();
        if (array.size() > maxListEntries)
            fault(QStringLiteral("\"%1\" holds %2 entries; Marlith keeps at most %3 in a list.")
                      .arg(name(key))
                      .arg(array.size())
                      .arg(maxListEntries));
        QStringList list;
        list.reserve(array.size());
        for (qsizetype i = 0; i < array.size(); ++i) {
            const QString where = QStringLiteral("entry %1 of \"%2\"").arg(i + 1).arg(name(key));
            if (!array[i].isString())
                fault(where + QStringLiteral(" is not a text."));
            list << checkedText(array[i].toString(), where);
        }
        return list;
    }
    QString name(const QString &key) const { return m_path.isEmpty() ? key : m_path + u'.' + key; }

private:
    QJsonValue value(const QString &key) const
    {
        const auto at = m_object.constFind(key);
        if (at == m_object.constEnd())
            fault(QStringLiteral("\"%1\" is missing.").arg(name(key)));
        return *at;
    }
    [[noreturn]] void mistyped(const QString &key, const QString &kind) const
    {
        fault(QStringLiteral("\"%1\" should be %2.").arg(name(key), kind));
    }
    // What comes in obeys the rule for typed text, so a hand-edited line break can never
    // become two lines of a generated file.
    static QString checkedText(const QString &text, const QString &) { return typedText(text); }

    QJsonObject m_object;
    QString m_path;
};

} // namespace

namespace {

// Each text of the work under its key in version 2 and its control's name in version 1.
struct TextKey
{
    const char *group, *key, *control;
    QString WorkState::*text;
};

constexpr TextKey textKeys[] = {
    {"position", "latitudeDegrees", "txtlatdeg", &WorkState::latDeg},
    {"position", "latitudeMinutes", "txtlatmin", &WorkState::latMin},
    {"position", "longitudeDegrees", "txtlongdeg", &WorkState::longDeg},
    {"position", "longitudeMinutes", "txtlongmin", &WorkState::longMin},
    {"calculated", "latitude", "lbllatdd", &WorkState::latDecimal},
    {"calculated", "longitude", "lbllongdd", &WorkState::lngDecimal},
    {"calculated", "cellColumn", "lblcellx", &WorkState::cellX},
    {"calculated", "cellRow", "lblcelly", &WorkState::cellY},
    {"calculated", "areaColumn", "lblareax", &WorkState::areaX},
    {"calculated", "areaRow", "lblareay", &WorkState::areaY},
    {"lwm", "altitude", "txtaltitude", &WorkState::altitude},
    {"lwm", "counter", "txtlwmnumber", &WorkState::lwmCounter},
    {"vtp", "lineType", "cbovtptype", &WorkState::lineType},
    {"vtp", "width", "txtvtplinewidth", &WorkState::vtpWidth},
    {"vtp", "layer", "cbolayer", &WorkState::layer},
    {"vtp", "counter", "txtvtpnumber", &WorkState::vtpCounter},
};

struct ListKey
{
    const char *group, *control;
    ListState WorkState::*list;
};

constexpr ListKey listKeys[] = {
    {"lwm", "lstLWM", &WorkState::lwm},
    {"vtp", "lstVTP", &WorkState::vtp},
};

constexpr struct
{
    const char *key;
    QString TypedPosition::*text;
} positionKeys[] = {
    {"latitudeDegrees", &TypedPosition::latDeg},
    {"latitudeMinutes", &TypedPosition::latMin},
    {"longitudeDegrees", &TypedPosition::longDeg},
    {"longitudeMinutes", &TypedPosition::longMin},
};

void readList(const Level &list, ListState &to)
{
    to.entries = list.texts(QStringLiteral("entries"));
    const double selected = list.number(QStringLiteral("selected"));
    if (selected < -1 || selected >= double(to.entries.size()))
        fault(QStringLiteral("\"%1\" points outside its list.")
                  .arg(list.name(QStringLiteral("selected"))));
    to.selected = int(selected);
}

// Version 1 kept each control's text under the control's name.
void readVersion1(const Level &top, WorkState &s)
{
    const Level controls = top.object(QStringLiteral("controls"));
    for (const TextKey &k : textKeys)
        s.*(k.text) = controls.text(QLatin1String(k.control));
    const Level lists = top.object(QStringLiteral("lists"));
    for (const ListKey &k : listKeys)
        readList(lists.object(QLatin1String(k.control)), s.*(k.list));
    // It kept no record of what Calculate read: the fields are the best guess.
    s.calculatedFrom = {s.latDeg, s.latMin, s.longDeg, s.longMin};
}

void readVersion2(const Level &top, WorkState &s)
{
    for (const TextKey &k : textKeys)
        s.*(k.text) = top.object(QLatin1String(k.group)).text(QLatin1String(k.key));
    for (const ListKey &k : listKeys)
        readList(top.object(QLatin1String(k.group)), s.*(k.list));
    const Level from = top.object(QStringLiteral("calculated")).object(QStringLiteral("from"));
    for (const auto &k : positionKeys)
        s.calculatedFrom.*(k.text) = from.text(QLatin1String(k.key));
}

} // namespace

namespace {

// Qt writes the elements of a list's "entries" one a line at this indent.
constexpr int entryIndent = 12;

// The one element that stands for a list's entries while Qt writes the rest of the document:
// Qt takes about half a microsecond an entry, more than the disk does.
QString entriesMarker(const char *group)
{
    return QStringLiteral("marlith-entries-") + QLatin1String(group);
}

// The marker's element as Qt writes it, with the key before it: no text anywhere else in
// the document can match, as a string's own quotes and line breaks are escaped.
QByteArray markerLine(const char *group)
{
    return "\"entries\": [\n" + QByteArray(entryIndent, ' ') + '"' + entriesMarker(group).toLatin1()
           + '"';
}

// Copies `text` byte for character and tells whether QJsonDocument writes it so: printable
// ASCII, no quote or backslash. The loop has no early exit, so that the compiler handles many
// characters at once.
bool copiedPlain(QStringView text, char *to)
{
    const char16_t *from = text.utf16();
    unsigned odd = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = from[i];
        odd |= (u - 0x20u >= 0x60u) | (u == u'"') | (u == u'\\');
        to[i] = char(u);
    }
    return !odd;
}

// The work file's bytes, put together in a buffer sized for plain entries.
class Text
{
public:
    explicit Text(qsizetype expected) : m_bytes(expected, Qt::Uninitialized) {}

    void append(QByteArrayView bytes)
    {
        std::copy_n(bytes.data(), bytes.size(), room(bytes.size()));
    }

    // The entries as QJsonDocument writes an array's elements: one a line, a comma after all
    // but the last. Qt itself writes any entry that needs escaping or UTF-8.
    void appendEntries(const QStringList &entries)
    {
        for (qsizetype i = 0; i < entries.size(); ++i) {
            const QString &entry = entries[i];
            const QByteArrayView comma = i + 1 < entries.size() ? ",\n" : "";
            char *line = room(entryIndent + entry.size() + 2 + comma.size());
            char *quoted = std::fill_n(line, entryIndent, ' ');
            *quoted = '"';
            if (copiedPlain(entry, quoted + 1)) {
                quoted[entry.size() + 1] = '"';
                std::copy_n(comma.data(), comma.size(), quoted + entry.size() + 2);
                continue;
            }
            m_size = line + entryIndent - m_bytes.data();
            const QByteArray array = // ["..."]
                QJsonDocument(QJsonArray{entry}).toJson(QJsonDocument::Compact);
            append(QByteArrayView(array).sliced(1, array.size() - 2));
            append(comma);
        }
    }

    QByteArray take() &&
    {
        m_bytes.resize(m_size);
        return std::move(m_bytes);
    }

private:
    // `n` bytes at the end, counted as written.
    char *room(qsizetype n)
    {
        if (m_size + n > m_bytes.size())
            m_bytes.resize(std::max(2 * m_bytes.size(), m_size + n));
        char *at = m_bytes.data() + m_size;
        m_size += n;
        return at;
    }

    QByteArray m_bytes;
    qsizetype m_size = 0;
};

// Qt's text with each marker replaced by its list's entries; empty if a marker is missing.
QByteArray withEntries(const QByteArray &skeleton, const WorkState &s)
{
    struct Splice
    {
        qsizetype at, length;
        const QStringList *entries;
    };
    std::vector<Splice> splices;
    qsizetype size = skeleton.size();
    for (const ListKey &k : listKeys) {
        const QStringList &entries = (s.*(k.list)).entries;
        if (entries.isEmpty())
            continue;
        const QByteArray line = markerLine(k.group);
        const qsizetype at = skeleton.indexOf(line);
        if (at < 0)
            return {};
        const qsizetype element = line.size() - entryIndent - entriesMarker(k.group).size() - 2;
        splices.push_back({at + element, line.size() - element, &entries});
        for (const QString &entry : entries)
            size += entryIndent + entry.size() + 4;
    }
    std::sort(splices.begin(), splices.end(),
              [](const Splice &a, const Splice &b) { return a.at < b.at; });
    Text text(size);
    qsizetype copied = 0;
    for (const Splice &splice : splices) {
        text.append(QByteArrayView(skeleton).sliced(copied, splice.at - copied));
        text.appendEntries(*splice.entries);
        copied = splice.at + splice.length;
    }
    text.append(QByteArrayView(skeleton).sliced(copied));
    return std::move(text).take();
}

} // namespace

QByteArray workFileText(const WorkState &s)
{
    QJsonObject root{
        {QStringLiteral("format"), formatName},
        {QStringLiteral("version"), workFileVersion},
    };
    const auto group = [&](const char *name) { return root.value(QLatin1String(name)).toObject(); };
    for (const TextKey &k : textKeys) {
        QJsonObject g = group(k.group);
        g.insert(QLatin1String(k.key), s.*(k.text));
        root.insert(QLatin1String(k.group), g);
    }
    for (const ListKey &k : listKeys) {
        QJsonObject g = group(k.group);
        const ListState &list = s.*(k.list);
        g.insert(QStringLiteral("entries"),
                 list.entries.isEmpty() ? QJsonArray() : QJsonArray{entriesMarker(k.group)});
        g.insert(QStringLiteral("selected"), list.selected);
        root.insert(QLatin1String(k.group), g);
    }
    QJsonObject calculated = group("calculated"), from;
    for (const auto &k : positionKeys)
        from.insert(QLatin1String(k.key), s.calculatedFrom.*(k.text));
    calculated.insert(QStringLiteral("from"), from);
    root.insert(QStringLiteral("calculated"), calculated);
    QJsonObject image{{QStringLiteral("path"), s.image.path},
                      {QStringLiteral("georeferenced"), s.image.georeferenced}};
    if (!s.image.service.isEmpty())
        image.insert(QStringLiteral("service"), s.image.service);
    root.insert(QStringLiteral("image"), image);
    const QByteArray skeleton = QJsonDocument(root).toJson(QJsonDocument::Indented);
    if (QByteArray text = withEntries(skeleton, s); !text.isEmpty())
        return text;
    // A Qt that lays its text out otherwise writes the lists itself.
    for (const ListKey &k : listKeys) {
        QJsonObject g = group(k.group);
        g.insert(QStringLiteral("entries"), QJsonArray::fromStringList((s.*(k.list)).entries));
        root.insert(QLatin1String(k.group), g);
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

WorkState readWorkFile(const QByteArray &bytes)
{
    // Both lists and the fields; a few more strings than that are keys.
    if (stringCount(bytes) > 2 * maxListEntries + 1000)
        fault(QStringLiteral("The file holds more entries than Marlith keeps (at most %1 in a "
                             "list).")
                  .arg(maxListEntries));
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (document.isNull())
        fault(QStringLiteral("This is not a Marlith work file: it is not JSON (%1 at byte %2).")
                  .arg(error.errorString())
                  .arg(error.offset));
    const QJsonObject root = document.object();
    if (!document.isObject() || root.value(QStringLiteral("format")).toString() != formatName)
        fault(QStringLiteral("This is not a Marlith work file: it is JSON of another kind."));
    const Level top(root, QString());
    const double version = top.number(QStringLiteral("version"));
    if (version > workFileVersion)
        fault(QStringLiteral("This work file was written by a newer Marlith (version %1 of the "
                             "format); this Marlith reads up to version %2.")
                  .arg(version, 0, 'f', 0)
                  .arg(workFileVersion));
    if (version < 1)
        fault(QStringLiteral("\"version\" should be 1 or more."));

    WorkState s;
    if (version < 2)
        readVersion1(top, s);
    else
        readVersion2(top, s);
    const Level image = top.object(QStringLiteral("image"));
    s.image.path = image.text(QStringLiteral("path"));
    s.image.georeferenced = image.flag(QStringLiteral("georeferenced"));
    s.image.service = image.optionalObject(QStringLiteral("service"));
    return s;
}
