// Background priority for a process: the lowest CPU priority (nice 19) and the idle I/O class, so
// work done for later never slows what the user watches now.
#pragma once
#include <sys/types.h>

namespace korvane {

// `pid` 0 is the calling process. False when either setting was refused (the other may hold).
bool SetBackgroundPriority(pid_t pid);

}  // namespace korvane
