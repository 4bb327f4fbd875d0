// A child widget whose pixels another process draws (the player's video): black until then, made
// a native window only on request, and reporting a left double click.
#pragma once
#include <functional>

#include "framework/ui_defs.h"

class QWidget;

namespace DuiLib {

// A new surface (no parent yet: hand it to CControlUI::SetHostedWidget). onDoubleClick runs on
// the UI thread for each left double click on it.
QWidget* CreateNativeSurface(std::function<void()> onDoubleClick);
// UI thread only, and only once the window holding the surface has been shown: makes the surface
// a native window and returns its id (the X11 window id). 0 for null.
WindowHandle NativeWindowOf(QWidget* surface);

}  // namespace DuiLib
