// What the browser control needs of a web view, without the web engine's headers: the engine lives
// in a module of its own (libkorvane_webengine.so beside the program), loaded by the first
// navigation, so the program starts without loading the engine's libraries at all.
#pragma once
#include <QString>
#include <QUrl>
#include <QVariant>
#include <functional>

class QWidget;
class QWebChannel;

namespace DuiLib {

// What the view reports, on the UI thread. `destroying` comes first when the view goes, while it
// is still whole, so its owner stops using it before any of its parts is gone.
struct WebViewEvents {
  std::function<void()> loadStarted;
  std::function<void(bool ok)> loadFinished;
  std::function<void(const QString& title)> titleChanged;
  std::function<void(int level, const QString& message, int line, const QString& source)> console;
  std::function<void()> destroying;
};

class IWebView {
 public:
  virtual ~IWebView() = default;
  // The view widget; deleting it deletes this object too.
  virtual QWidget* Widget() = 0;
  virtual void SetUrl(const QUrl& url) = 0;
  virtual QUrl Url() const = 0;
  virtual bool IsLoading() const = 0;
  // `done` gets the script's value; it is not called once the view is gone.
  virtual void RunJavaScript(const QString& script, std::function<void(const QVariant&)> done) = 0;
  // Gives every page the channel's objects (QWebChannel's client library is put into each page
  // before its own scripts, so a page needs no reference to a program resource).
  virtual void SetWebChannel(QWebChannel* channel) = 0;
};

// The module's one entry: a view made as a child of `parent`.
using CreateWebViewFunction = IWebView* (*)(QWidget* parent, WebViewEvents events);
inline constexpr char kWebEngineModule[] = "libkorvane_webengine.so";
inline constexpr char kCreateWebViewSymbol[] = "KorvaneCreateWebView";

}  // namespace DuiLib
