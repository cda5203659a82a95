#pragma once
// The busy flag for the length of a scope: set when made, dropped when the
// scope ends, however it ends, so no exception leaves the program busy.
#include "model/EnvDef.h"

class BusyRun {
public:
    BusyRun() { JobDef.Busy = 1; }
    ~BusyRun() { JobDef.Busy = 0; }
    BusyRun(const BusyRun&) = delete;
    BusyRun& operator=(const BusyRun&) = delete;
};
