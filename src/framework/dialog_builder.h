// CDialogBuilder: builds a control tree from a skin XML file (or an XML string). Tags it does not
// know go to the callback's CreateControl first, then to the tag table (control_factory.h); a
// tag neither knows becomes a plain placeholder control. The <Window> element's attributes
// (size, caption, sizebox, mininfo) and its <Font> and <Default> children go to the manager.
#pragma once
#include "framework/paint_manager.h"

namespace DuiLib {

class CDialogBuilder {
 public:
  // file: relative to the resource path unless absolute. Returns the root control, added to
  // parent when one is given; null when the file is missing or malformed (see GetLastError).
  CControlUI* Create(std::string_view file, std::string_view type = {},
                     IDialogBuilderCallback* callback = nullptr, CPaintManagerUI* manager = nullptr,
                     CControlUI* parent = nullptr);
  CControlUI* CreateFromString(std::string_view xml, IDialogBuilderCallback* callback = nullptr,
                               CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);
  // Why the last Create returned null ("file: line L, column C: reason"); empty after success.
  const CDuiString& GetLastError() const { return lastError_; }

 private:
  CDuiString lastError_;
};

}  // namespace DuiLib
