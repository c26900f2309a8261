#pragma once

#include <QString>
#include <QStringList>

// GDAL for this program: its drivers registered once, its messages kept from stderr (each
// thread reads its own last message), and no way to reach the network. Call it from the main
// thread before any other thread opens a dataset; later calls do nothing.
void setUpGdal();

// GDAL's last error message on this thread, or the empty text.
QString lastGdalError();

// Every message GDAL gives on this thread while this lives, not only the last: a driver's
// first message often says why (with the setting that would help), the last only that it
// failed. Scopes nest; the innermost one collects.
class GdalMessages
{
public:
    GdalMessages();
    ~GdalMessages();
    GdalMessages(const GdalMessages &) = delete;
    GdalMessages &operator=(const GdalMessages &) = delete;

    // The distinct failure messages in order, as sentences, or the empty text.
    QString text() const;

    QStringList failures;
};

// True for a name GDAL would read from a network or a virtual file system (/vsicurl/,
// http://, ...). Such names are refused before GDAL sees them.
bool isRemoteName(const QString &name);
