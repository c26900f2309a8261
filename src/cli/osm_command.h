#pragma once

#include <QStringList>

// `marlith3 osm EXTRACT --output-folder DIR [...]`, given the arguments after "osm". Runs
// without a display: the summary goes to stdout, errors to stderr. Returns 0 when a file was
// written, 1 on bad input, 2 on a usage error.
int runOsmCommand(const QStringList &arguments);
