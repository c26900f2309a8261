#pragma once

#include "text/runtime_error.h"

// The number of the run-time error a call throws, 0 when it throws none.
int errorOf(auto &&call)
{
    try {
        call();
    } catch (const RuntimeError &e) {
        return e.number();
    }
    return 0;
}
