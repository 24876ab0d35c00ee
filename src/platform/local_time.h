// Converting the wall clock to local time for the log's time stamps. The
// unit tests link this real implementation, set a known time zone, and read
// the wall clock from the simulated one (clock.h).
#ifndef PLATFORM_LOCAL_TIME_H
#define PLATFORM_LOCAL_TIME_H

#include <ctime>

namespace platform {

// The reentrant form: the C library's plain localtime re-reads the time zone
// on every call, and may allocate while doing so.
bool LocalTime(std::time_t time, std::tm* local);

}  // namespace platform

#endif  // PLATFORM_LOCAL_TIME_H
