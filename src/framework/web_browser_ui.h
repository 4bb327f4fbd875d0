// The framework's web browser control (skin tag "WebBrowser"): hosts a QWebEngineView, made on the
// first navigation, loads a page
// and calls the page's global script functions by name. Owns the view, the page's script object and
// the calls waiting for the page to finish loading.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "framework/ui_control.h"

class QWidget;

namespace DuiLib {

// Outcome of a script call in the platform's status form: negative is a failure.
using ScriptStatus = std::int32_t;
constexpr ScriptStatus kScriptOk = 0;
constexpr ScriptStatus kScriptUnknownName =
    static_cast<ScriptStatus>(0x80020006);  // no such function
constexpr ScriptStatus kScriptException =
    static_cast<ScriptStatus>(0x80020009);  // the function threw
constexpr ScriptStatus kScriptNotLoaded = static_cast<ScriptStatus>(0x8000000A);  // no page yet
constexpr ScriptStatus kScriptAborted = static_cast<ScriptStatus>(0x80004004);    // page went away
constexpr ScriptStatus kScriptInvalidArg =
    static_cast<ScriptStatus>(0x80070057);  // bad name or arguments
constexpr ScriptStatus kScriptOutOfMemory =
    static_cast<ScriptStatus>(0x8007000E);  // too many waiting calls

// Told later when a call that InvokeMethod accepted could not be made after all (the page turned
// out not to define the function, the function threw, or the page was left first).
using ScriptFailureSink = std::function<void(ScriptStatus)>;

// Notifications of the browser control. Every default does nothing.
class CWebBrowserEventHandler {
 public:
  virtual ~CWebBrowserEventHandler() = default;
  virtual void BeforeNavigate2(const std::string& /*url*/) {}
  // The page and its scripts have loaded; `ok` is false when the page could not be loaded.
  virtual void DocumentComplete(const std::string& /*url*/, bool /*ok*/) {}
  virtual void TitleChange(const std::string& /*title*/) {}
  // A message the page wrote to its console (level 0 info, 1 warning, 2 error).
  virtual void ConsoleMessage(int /*level*/, const std::string& /*text*/, int /*line*/,
                              const std::string& /*source*/) {}
};

// A message a page sent to the program: its name and its JSON text, both as the page wrote them.
using PageMessageHandler = std::function<void(const std::string& name, const std::string& json)>;

// The loaded page's script object, as GetHtmlWindow hands it out.
class CHtmlWindow;

class CWebBrowserUI : public CControlUI {
 public:
  CWebBrowserUI();
  ~CWebBrowserUI() override;

  const char* GetClass() const override { return "WebBrowserUI"; }
  // This control for "WebBrowser"; the base's answer otherwise.
  void* GetInterface(std::string_view name) override;

  // Loads a URL, or a local file when `url` has no scheme. Safe from any thread: off the UI thread
  // the load is handed to it. An empty url does nothing.
  void NavigateUrl(const std::string& url);
  // The handler gets this control's notifications (nullptr: none). Safe from any thread.
  void SetWebBrowserEventHandler(CWebBrowserEventHandler* handler);
  CWebBrowserEventHandler* GetWebBrowserEventHandler() const;

  // The script object of the current page; never null once the control exists.
  CHtmlWindow* GetHtmlWindow() const;

  // Receives, on the UI thread, what the page posts through its "korvane" channel object:
  // `korvane.post(name, jsonText)` once the page has connected with QWebChannel (its library is
  // put into every page before the page's own scripts run). Texts too long are dropped; nothing
  // else is checked. An empty handler drops everything.
  void SetPageMessageHandler(PageMessageHandler handler);

  // Calls the global function `method` of the page with `count` text arguments, in order.
  // Answers at once although the page runs the call later: kScriptOk when the call is made or,
  // while the page is still loading, queued to be made in order once it has loaded;
  // kScriptUnknownName when the loaded page has no such function, kScriptNotLoaded when nothing
  // was ever navigated to, kScriptInvalidArg for a null window, a name that is not a script
  // identifier or a negative count. A queued call that cannot be made later reports to `onFailure`.
  static ScriptStatus InvokeMethod(CHtmlWindow* window, const std::string& method,
                                   const std::string* arguments, int count,
                                   ScriptFailureSink onFailure = {});

  // Runs a script after every call made so far; `done` gets the script's value as JSON text
  // ("null" when there is none or the page went away). For tests and measurements.
  void RunScript(const std::string& script, std::function<void(const std::string&)> done);
  // True once the current page has loaded and its functions are known.
  bool IsPageReady() const;

  // What the map area says when the web engine cannot start (its helper program is missing);
  // an English sentence until set.
  void SetUnavailableText(const std::string& text);

  // The hosted widget (the control places it in its window; tests may show it on its own). The
  // web view is made inside it by the first navigation, on the UI thread.
  QWidget* GetWidget() const;

 private:
  std::unique_ptr<CHtmlWindow> window_;
};

}  // namespace DuiLib
