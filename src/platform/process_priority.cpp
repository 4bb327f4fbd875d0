#include "platform/process_priority.h"

#include <linux/ioprio.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace korvane {

bool SetBackgroundPriority(pid_t pid) {
  const bool cpu = setpriority(PRIO_PROCESS, static_cast<id_t>(pid), 19) == 0;
  // glibc has no wrapper for the I/O priority.
  const bool io = syscall(SYS_ioprio_set, IOPRIO_WHO_PROCESS, pid,
                          IOPRIO_PRIO_VALUE(IOPRIO_CLASS_IDLE, 0)) == 0;
  return cpu && io;
}

}  // namespace korvane
