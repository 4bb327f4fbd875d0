// CDuiShowSnapsTipWnd: the modal note of where the snapshot just taken was saved
// ("ShowSnapshotPath.xml"), shown when the preview is off; the export's note of where the track
// went (or why it did not) uses it too. ShowModal gives 1 after its OK button.
//
// Use (UI thread): CDuiShowSnapsTipWnd tip(context); tip.savedPath = ...;
// tip.Create(parent, "ShowSnapsTipWindow", WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS |
// WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0, 0); tip.CenterWindow(); tip.ShowModal();
#pragma once
#include <string>

#include "framework/UIlib.h"
#include "framework/xml_wnd.h"
#include "settings/application_context.h"

namespace korvane {

inline constexpr char kShowSnapsTipSkin[] = "ShowSnapshotPath.xml";

class CDuiShowSnapsTipWnd : public CXMLWnd {
 public:
  explicit CDuiShowSnapsTipWnd(const ApplicationContext& context)
      : CXMLWnd(kShowSnapsTipSkin), context_(context) {}

  const char* GetWindowClassName() const override { return "ShowSnapsTipWindow"; }
  void InitWindow() override;
  void OnClick(DuiLib::TNotifyUI& msg) override;

  // Set by the caller before Create. An empty title reads "Snapshots are saved to:"; the export
  // gives its own.
  std::string savedPath;
  std::string title;

 private:
  const ApplicationContext& context_;
};

}  // namespace korvane
