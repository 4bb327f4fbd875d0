# The folder of ThreadSanitizer's reports for one test run (cmake -P, REPORTS=folder):
# ACTION=clear empties it before the first test; ACTION=check prints every report written into it
# since and fails when there is one.
if(ACTION STREQUAL "clear")
  file(REMOVE_RECURSE "${REPORTS}")
  file(MAKE_DIRECTORY "${REPORTS}")
elseif(ACTION STREQUAL "check")
  file(GLOB reports "${REPORTS}/report.*")
  foreach(report IN LISTS reports)
    file(READ "${report}" text)
    message("${report}:\n${text}")
  endforeach()
  list(LENGTH reports count)
  if(count GREATER 0)
    message(FATAL_ERROR "ThreadSanitizer reported races in ${count} processes (above)")
  endif()
else()
  message(FATAL_ERROR "ACTION must be clear or check")
endif()
