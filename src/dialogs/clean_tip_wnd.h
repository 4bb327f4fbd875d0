// CDuiCleanTipWnd: the modal question before the playlist is cleared ("CleanTipWnd.xml").
// ShowModal gives 1 for "clear" (CleanOKButton) and 2 for Cancel; anything but 1 means keep the
// list. A ticked "not again" box turns the question off however the window closes.
//
// Use (UI thread): CDuiCleanTipWnd tip(context); tip.Create(parent, "CleanTipWindow", WS_POPUP |
// WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0, 0);
// tip.CenterWindow(); if (tip.ShowModal() == 1) { ...clear... }
#pragma once
#include "framework/UIlib.h"
#include "framework/xml_wnd.h"
#include "settings/application_context.h"

namespace korvane {

inline constexpr char kCleanTipSkin[] = "CleanTipWnd.xml";

class CDuiCleanTipWnd : public CXMLWnd {
 public:
  explicit CDuiCleanTipWnd(ApplicationContext& context)
      : CXMLWnd(kCleanTipSkin), context_(context) {}

  const char* GetWindowClassName() const override { return "CleanTipWindow"; }
  void InitWindow() override;
  void OnClick(DuiLib::TNotifyUI& msg) override;
  void OnDestroy() override;

  DuiLib::CCheckBoxUI* noAgainBox = nullptr;

 private:
  // Turns the question off when the box is ticked.
  void SaveChoice();

  ApplicationContext& context_;
};

}  // namespace korvane
