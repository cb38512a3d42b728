// The process's resident memory as the system counts it. Linux only; the
// benchmarks alone read it.
#pragma once

#include <cstdint>

namespace bench {

// Hands freed heap memory back to the system, then starts the peak over
// from the present resident size.
void StartPeakFromHere();
int64_t ResidentBytes();
int64_t PeakResidentBytes();

}  // namespace bench
