// The program's entry: one running instance per user, the program folder and the command line
// into the application context, then the main window's loop.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/application_context.h"

namespace korvane {

// The single-instance marker's name.
inline constexpr char kInstanceMutexName[] = "TesmarOrvixMutex";

// The window program in the program folder, which `korvane` becomes to open the window.
inline constexpr char kWindowProgramName[] = "korvane-window";

// The folder of the running executable, ending in "/"; empty when it cannot be found.
std::string ExecutableFolder();

// The files of a command line, made absolute (and free of "." and "..") against the current
// folder: every argument after the program's name that is not an option (which begins with "-"
// and is more than that "-").
std::vector<std::string> CommandLineFiles(int argc, char** argv);

// The line the window says when it has no display to open on: neither `display` (DISPLAY) nor
// `waylandDisplay` is set and `platform` (QT_QPA_PLATFORM) names no platform that needs none
// ("offscreen", "minimal", with options after ':', one of a ';' list). nullopt when it can open.
// Null and empty values are unset.
std::optional<std::string> NoDisplayLine(const char* display, const char* waylandDisplay,
                                         const char* platform);

// Returns 1 at once when another instance runs, after handing it the command line's files (it
// opens them as a drop), and 1 with NoDisplayLine on stderr when there is no display; otherwise
// fills the context's programFolder, commandLineFiles and handOverSocket, calls `runMainWindow`
// and returns its result. The main window's start-up calls PrepareDataFolder and LoadSettings
// itself.
int RunApplication(int argc, char** argv,
                   const std::function<int(ApplicationContext&)>& runMainWindow);

}  // namespace korvane
