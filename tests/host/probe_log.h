// probe_log.h: what the probe module records of the calls the host makes,
// read by the loader tests through the module's `probe_log` symbol.
#pragma once

#include "host_interface.h"

#define PROBE_TRACE_MAX 32

typedef struct ProbeLog {
    int startups;
    int shutdowns;
    void *shutdownData;       // what shutdown was given
    int activations;
    int activationVersion;    // as the host passed them
    GlobalFunc activationGlobal;
    void *activationServerData;
    int dones;
    char trace[PROBE_TRACE_MAX + 1]; // one letter per mouse callback: S start, D down, M move, U up
    int deltaX[PROBE_TRACE_MAX];
    int deltaY[PROBE_TRACE_MAX];
    int viewport[PROBE_TRACE_MAX];
    int flags[PROBE_TRACE_MAX];
} ProbeLog;
