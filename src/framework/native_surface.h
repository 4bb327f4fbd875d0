// A child widget whose pixels another process draws (the player's video): black until then, made
// a native window only on request, and reporting a left click and a left double click.
#pragma once
#include <functional>

#include "framework/ui_defs.h"

class QWidget;

namespace DuiLib {

// A new surface (no parent yet: hand it to CControlUI::SetHostedWidget). onDoubleClick runs on
// the UI thread for each left double click on it.
// onClick, when given, runs for each left button release on it (a double click's second press
// included).
QWidget* CreateNativeSurface(std::function<void()> onDoubleClick,
                             std::function<void()> onClick = {});
// Puts a surface the caller owns into `parent` at `rc` (client coordinates), shown or hidden, and
// above its siblings when shown, so a small picture stays over the main one. Null does nothing.
void PlaceSurface(QWidget* surface, QWidget* parent, const RECT& rc, bool visible);
// Deletes a surface the caller owns; null does nothing.
void DeleteSurface(QWidget* surface);
// UI thread only, and only once the window holding the surface has been shown: makes the surface
// a native window and returns its id (the X11 window id). 0 for null.
WindowHandle NativeWindowOf(QWidget* surface);

}  // namespace DuiLib
