#pragma once

#include "writers/program_layout.h"

#include <QStringList>

// `marlith3 create WORKFILE [--output-folder DIR]`, given the arguments after "create": the
// window's two Create buttons after opening WORKFILE (a work file or a generated source),
// for each list that holds points. Without --output-folder the files go where the window of
// a copy of this `layout` would write them. Returns 0 when a file was written, 1 on a
// run-time error or when nothing could be written, 2 on a usage error.
int runCreateCommand(const QStringList &arguments, ProgramLayout layout);
