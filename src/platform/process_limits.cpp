#include "platform/process_limits.h"

#include <sys/resource.h>

namespace korvane {

bool SetAddressSpaceLimit(std::uint64_t bytes) {
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) != 0) return false;
  limit.rlim_cur =
      limit.rlim_max == RLIM_INFINITY || bytes < limit.rlim_max ? bytes : limit.rlim_max;
  return setrlimit(RLIMIT_AS, &limit) == 0;
}

bool SetProcessorTimeFromNow(int seconds) {
  rusage used{};
  rlimit limit{};
  if (getrusage(RUSAGE_SELF, &used) != 0 || getrlimit(RLIMIT_CPU, &limit) != 0) return false;
  // The kernel compares whole seconds of user and system time together.
  const auto now = static_cast<rlim_t>(used.ru_utime.tv_sec + used.ru_stime.tv_sec);
  const rlim_t wanted = now + static_cast<rlim_t>(seconds < 1 ? 1 : seconds);
  // Past the hard limit the soft one cannot go; the hard one, reached, kills outright.
  limit.rlim_cur =
      limit.rlim_max == RLIM_INFINITY || wanted < limit.rlim_max ? wanted : limit.rlim_max;
  return setrlimit(RLIMIT_CPU, &limit) == 0;
}

}  // namespace korvane
