// The program's entry: one running instance per user, the program folder and the command line
// into the application context, then the main window's loop.
#pragma once
#include <functional>
#include <string>

#include "settings/application_context.h"

namespace korvane {

// The single-instance marker's name.
inline constexpr char kInstanceMutexName[] = "TesmarOrvixMutex";

// The folder of the running executable, ending in "/"; empty when it cannot be found.
std::string ExecutableFolder();

// Returns 1 at once when another instance runs (nothing else is done); otherwise fills the
// context's programFolder and commandLineFiles, calls `runMainWindow` and returns its result.
// The main window's start-up calls PrepareDataFolder and LoadSettings itself.
int RunApplication(int argc, char** argv,
                   const std::function<int(ApplicationContext&)>& runMainWindow);

}  // namespace korvane
