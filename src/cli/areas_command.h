#pragma once

#include <QStringList>

// `marlith3 areas SHAPEFILE --output-folder DIR [...]`, given the arguments after "areas".
// Runs without a display: the summary goes to stdout, errors to stderr. Returns 0 when a file
// was written, 1 on bad input, 2 on a usage error.
int runAreasCommand(const QStringList &arguments);
