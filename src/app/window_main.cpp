// The window program, korvane-window: the player's main window on the toolkit. `korvane` becomes
// it (same process, same arguments) when its command line asks for the window; given an option
// that needs no window, it runs that as `korvane` does.
#include <stdlib.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "app/entry_point.h"
#include "app/startup_worker.h"
#include "framework/UIlib.h"
#include "platform/instance_hand_over.h"
#include "ui/player_frame_wnd.h"

int main(int argc, char** argv) {
  // As `korvane` does: a file-size limit fails a write instead of killing the program, and an
  // option that needs no window runs without one.
  std::signal(SIGXFSZ, SIG_IGN);
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (const auto exitCode =
          korvane::RunCommandLine(korvane::ParseCommandLine(args), korvane::ExecutableFolder())) {
    return *exitCode;
  }

  // The player draws into an X11 window id: under Wayland run on XWayland.
  if (getenv("WAYLAND_DISPLAY") != nullptr) setenv("QT_QPA_PLATFORM", "xcb", 1);
  // The map view is composed in software: with OpenGL composition every repaint of the window
  // goes through the GL path (a software rasteriser where there is no GPU, several per cent of a
  // core while playing) and the toolkit re-creates the native children, the video window among
  // them. A value the user set is kept.
  setenv("QT_QUICK_BACKEND", "software", 0);
  // With software composition nothing in this process draws with OpenGL (the player draws in its
  // own process), yet the web engine asks the toolkit for a shared OpenGL context before the
  // application object exists. Creating it loads the system's GL stack: 300-400 ms of start-up
  // before the window can show, with a software rasteriser. Without the toolkit's GL integration
  // that step fails at once and the map draws as before. Values the user set are kept.
  const char* backend = getenv("QT_QUICK_BACKEND");
  if (backend != nullptr && std::string_view(backend) == "software") {
    setenv("QT_XCB_GL_INTEGRATION", "none", 0);
  }

  return korvane::RunApplication(argc, argv, [&](korvane::ApplicationContext& context) {
    DuiLib::CUIApplication application(argc, argv);
    DuiLib::CPaintManagerUI::SetInstance(context.programFolder);
    DuiLib::CPaintManagerUI::SetResourcePath(context.programFolder + "skin");
    korvane::CPlayerFrameWnd frame(
        context, [](korvane::StartupTargets& targets) { korvane::StartupWorker(targets); });
    if (frame.CreateMainWindow() == 0) return 1;
    // Files a second start hands over are opened by the window as a drop; the send waits until the
    // window has taken them, and returns at once once the window is gone.
    korvane::FileHandOverServer handOver;
    if (!context.handOverSocket.empty()) {
      const korvane::WindowHandle window = frame.GetHWND();
      handOver.Start(context.handOverSocket, [window](const std::vector<std::string>& files) {
        korvane::SendWindowMessage(window, korvane::kMsgHandedFiles, 0,
                                   reinterpret_cast<korvane::LPARAM>(&files));
      });
    }
    frame.ShowModal();
    return 0;
  });
}
