// CXMLWnd: a window whose layout comes from one named skin file in the resource folder. The main
// window, the settings window and the tip windows derive from it.
#pragma once
#include <string>

#include "framework/window_wnd.h"

namespace korvane {

class CXMLWnd : public DuiLib::WindowImplBase {
 public:
  explicit CXMLWnd(std::string skinFile) : skinFile_(std::move(skinFile)) {}

  const char* GetWindowClassName() const override { return "XMLWnd"; }
  // Skin files lie directly in the resource folder the entry point sets.
  DuiLib::CDuiString GetSkinFolder() override { return ""; }
  DuiLib::CDuiString GetSkinFile() override { return skinFile_; }

 private:
  const std::string skinFile_;
};

}  // namespace korvane
