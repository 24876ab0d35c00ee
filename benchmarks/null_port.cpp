// A port library that takes every write and does nothing, so a benchmark
// measures the driver and its waits alone.
#include <cstdint>

extern "C" __attribute__((visibility("default"))) int32_t Inp32(int32_t) { return 0; }
extern "C" __attribute__((visibility("default"))) void Out32(int32_t, int32_t) {}
