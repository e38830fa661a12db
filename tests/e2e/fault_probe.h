// What the tests and fault_probe.dll share: a named block of memory that says which of the
// program's next allocations fails.
#pragma once

#include <windows.h>

constexpr char kFaultProbeMapping[] = "ZurimoFaultProbe";

struct FaultProbeControl {
    volatile LONG installed;  // 1 once the program's imports point at the probe, -1 on failure
    volatile LONG armed;      // nonzero: count down and fail
    volatile LONG countdown;  // the call that brings it to 0 fails
    volatile LONG calls;      // allocations the program asked for
    volatile LONG failures;   // allocations the probe failed
};
