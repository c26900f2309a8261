#include "workfile/work_file.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

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
    // Every control and list holds a single line; a line break would become two lines of a
    // generated file, and a NUL would end the text early in other programs.
    static QString checkedText(const QString &text, const QString &where)
    {
        for (const QChar c : text) {
            if (c == u'\n' || c == u'\r')
                fault(where + QStringLiteral(" holds a line break."));
            if (c == QChar::Null)
                fault(where + QStringLiteral(" holds a NUL character."));
        }
        return text;
    }

    QJsonObject m_object;
    QString m_path;
};

} // namespace

QByteArray workFileText(const WorkState &s)
{
    QJsonObject controls, warnings, lists;
    for (const WorkControl &c : workControls)
        controls.insert(QLatin1String(c.name), s.*(c.text));
    for (const WorkCounter &c : workCounters)
        warnings.insert(QLatin1String(c.name), s.*(c.warning));
    for (const WorkList &l : workLists) {
        const ListState &list = s.*(l.list);
        lists.insert(
            QLatin1String(l.name),
            QJsonObject{{QStringLiteral("entries"), QJsonArray::fromStringList(list.entries)},
                        {QStringLiteral("selected"), list.selected}});
    }
    const QJsonObject root{
        {QStringLiteral("format"), formatName},
        {QStringLiteral("version"), workFileVersion},
        {QStringLiteral("controls"), controls},
        {QStringLiteral("counterWarnings"), warnings},
        {QStringLiteral("lists"), lists},
        {QStringLiteral("image"),
         QJsonObject{{QStringLiteral("path"), s.imagePath},
                     {QStringLiteral("georeferenced"), s.imageGeoreferenced}}},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

WorkState readWorkFile(const QByteArray &bytes)
{
    // Both lists and the controls; a few more strings than that are keys.
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
    const Level controls = top.object(QStringLiteral("controls"));
    for (const WorkControl &c : workControls)
        s.*(c.text) = controls.text(QLatin1String(c.name));
    const Level warnings = top.object(QStringLiteral("counterWarnings"));
    for (const WorkCounter &c : workCounters)
        s.*(c.warning) = warnings.flag(QLatin1String(c.name));
    const Level lists = top.object(QStringLiteral("lists"));
    for (const WorkList &l : workLists) {
        const Level list = lists.object(QLatin1String(l.name));
        ListState &to = s.*(l.list);
        to.entries = list.texts(QStringLiteral("entries"));
        const double selected = list.number(QStringLiteral("selected"));
        if (selected < -1 || selected >= double(to.entries.size()))
            fault(QStringLiteral("\"%1\" points outside its list.")
                      .arg(list.name(QStringLiteral("selected"))));
        to.selected = int(selected);
    }
    const Level image = top.object(QStringLiteral("image"));
    s.imagePath = image.text(QStringLiteral("path"));
    s.imageGeoreferenced = image.flag(QStringLiteral("georeferenced"));
    return s;
}
