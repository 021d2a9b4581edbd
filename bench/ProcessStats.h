// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

// What a benchmark reads about its own process: clocks, CPU time and peak memory.
namespace bench {

// Now, in nanoseconds on CLOCK_BOOTTIME.
qint64 bootTimeNs();
// When this process was started, on the same clock. The kernel keeps it in clock ticks
// (/proc/self/stat, field 22), so it is floored to 1/CLK_TCK, usually 10 ms.
qint64 processStartNs();
// The length of one clock tick, in nanoseconds.
qint64 clockTickNs();
// Peak resident set size (VmHWM of /proc/self/status) in KiB; -1 when it cannot be read.
qint64 peakResidentKb();
// User plus system CPU time used by this process so far, in microseconds.
qint64 cpuTimeUs();
// Voluntary context switches so far: about the number of times the process went to sleep.
qint64 voluntarySwitches();

} // namespace bench
