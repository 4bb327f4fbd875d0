// CDuiSnapshotTipWnd: the modal preview of the snapshot just taken ("Snapshot.xml"), scaled into
// the 600 x 338 preview area, with a "not again" box that turns the preview off on closing.
//
// Use (UI thread): CDuiSnapshotTipWnd tip(context); tip.imagePath = ...; tip.imageWidth = ...;
// tip.imageHeight = ...; tip.Create(parent, "SnapshotTipWnd", WS_POPUP | WS_VISIBLE |
// WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0, 0);
// tip.CenterWindow(); tip.ShowModal();   // the result is of no use
#pragma once
#include <cstdint>
#include <string>

#include "framework/UIlib.h"
#include "framework/xml_wnd.h"
#include "settings/application_context.h"

namespace korvane {

inline constexpr char kSnapshotTipSkin[] = "Snapshot.xml";

class CDuiSnapshotTipWnd : public CXMLWnd {
 public:
  explicit CDuiSnapshotTipWnd(ApplicationContext& context)
      : CXMLWnd(kSnapshotTipSkin), context_(context) {}

  const char* GetWindowClassName() const override { return "SnapshotTipWindow"; }
  void InitWindow() override;
  void OnDestroy() override;

  // Set by the caller before Create. A 0 width or height means "size unknown": the picture's own
  // size is read from the file.
  std::int32_t imageWidth = 0;
  std::int32_t imageHeight = 0;
  std::string imagePath;

  DuiLib::CContainerUI* previewer = nullptr;
  DuiLib::CCheckBoxUI* noAgainBox = nullptr;
  // The control showing the picture (owned by `previewer`); null before InitWindow.
  DuiLib::CControlUI* picture = nullptr;

 private:
  ApplicationContext& context_;
};

// The image description that draws the file at `path`, whatever characters the path holds.
std::string ImageForPath(const std::string& path);

}  // namespace korvane
