#include <time.h>

#include "platform/local_time.h"

namespace platform {

bool LocalTime(std::time_t time, std::tm* local) { return localtime_r(&time, local) != nullptr; }

}  // namespace platform
