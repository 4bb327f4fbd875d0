// The bridge between the map loaders and the page in the browser control: CallPageFunction calls
// one global function of the page; CWebPage keeps the text of the last failed call.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "framework/web_browser_ui.h"

namespace korvane {

class CWebPage {
 public:
  CWebPage();
  virtual ~CWebPage();

  // "JSCall Error:\n" and the system's text for the last failure; empty while none failed.
  std::string GetLastError() const;
  void SetLastError(std::int32_t status);

  // Records a failure that is only known after the call was accepted (a call that waited for the
  // page). Stays safe to call after this page object is gone.
  DuiLib::ScriptFailureSink FailureSink() const;

 private:
  std::shared_ptr<std::string> lastError_;
};

// The event handler every map loader installs; it keeps the control's default answers.
class CWebMapEventHandler : public DuiLib::CWebBrowserEventHandler {};

// Calls `function` of the page in `browser` with `arguments` in list order, each passed as a
// string. True when the call is made, or waits for the page that is loading; false (and the
// page's last error set) for a null browser, an unloaded control or a function the page lacks.
bool CallPageFunction(DuiLib::CWebBrowserUI* browser, const std::string& function, CWebPage& page,
                      const std::vector<std::string>& arguments = {});

}  // namespace korvane
