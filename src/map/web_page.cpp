#include "map/web_page.h"

#include "map/format_system_error.h"

namespace korvane {

namespace {
std::string ErrorText(std::int32_t status) {
  return "JSCall Error:\n" + FormatSystemError(status);
}
}  // namespace

CWebPage::CWebPage() : lastError_(std::make_shared<std::string>()) {}

CWebPage::~CWebPage() = default;

std::string CWebPage::GetLastError() const {
  return *lastError_;
}

void CWebPage::SetLastError(std::int32_t status) {
  *lastError_ = ErrorText(status);
}

DuiLib::ScriptFailureSink CWebPage::FailureSink() const {
  std::weak_ptr<std::string> weak = lastError_;
  return [weak](DuiLib::ScriptStatus status) {
    if (auto text = weak.lock()) *text = ErrorText(status);
  };
}

bool CallPageFunction(DuiLib::CWebBrowserUI* browser, const std::string& function, CWebPage& page,
                      const std::vector<std::string>& arguments) {
  const DuiLib::ScriptStatus status =
      browser ? DuiLib::CWebBrowserUI::InvokeMethod(
                    browser->GetHtmlWindow(), function, arguments.data(),
                    static_cast<int>(arguments.size()), page.FailureSink())
              : DuiLib::kScriptInvalidArg;
  if (status >= 0) return true;
  page.SetLastError(status);
  return false;
}

}  // namespace korvane
