// Limits a process sets on itself (setrlimit): how much address space it may map, and how much
// processor time it may use from now on. A program that reads untrusted files sets them, so a
// file that makes it allocate or loop without end ends it instead of the machine's memory or time.
#pragma once
#include <cstdint>

namespace korvane {

// Built with a sanitizer, whose shadow memory maps terabytes of address space: an address-space
// limit would stop the program before it starts.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool kSanitizerBuild = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
inline constexpr bool kSanitizerBuild = true;
#else
inline constexpr bool kSanitizerBuild = false;
#endif
#else
inline constexpr bool kSanitizerBuild = false;
#endif

// At most `bytes` of address space; beyond it allocations fail (std::bad_alloc, a null malloc).
// False when refused (a lower hard limit stands).
bool SetAddressSpaceLimit(std::uint64_t bytes);

// SIGXCPU once the process has used `seconds` more of processor time than it has now (whole
// seconds, as the kernel counts them; at least 1). Called again, it moves the limit on, so a
// long-running process gives each piece of work its own budget. False when refused.
bool SetProcessorTimeFromNow(int seconds);

}  // namespace korvane
