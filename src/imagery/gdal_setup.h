#pragma once

#include <QString>

// GDAL for this program: its drivers registered once, its messages kept from stderr (each
// thread reads its own last message), and no way to reach the network. Call it from the main
// thread before any other thread opens a dataset; later calls do nothing.
void setUpGdal();

// GDAL's last error message on this thread, or the empty text.
QString lastGdalError();

// True for a name GDAL would read from a network or a virtual file system (/vsicurl/,
// http://, ...). Such names are refused before GDAL sees them.
bool isRemoteName(const QString &name);
