// The web view on QtWebEngine, built as the module the browser control loads on its first
// navigation. Holds the page settings the map pages need and the map profile.
#include <QFile>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <memory>

#include "framework/web_view_port.h"

namespace DuiLib {
namespace {

QWebEngineProfile* MapProfile() {
  static QWebEngineProfile* profile = [] {
    // Tile requests carry no borrowed Referer: Chromium cancels a request whose Referer does not
    // fit the page that makes it ("invalid referrer"), which a local page's tile requests would be.
    QWebEngineProfile* p = QWebEngineProfile::defaultProfile();
    p->setHttpUserAgent(p->httpUserAgent() + QStringLiteral(" KORVANE/" KORVANE_VERSION));
    return p;
  }();
  return profile;
}

// Qt's client library of QWebChannel as a script run in every page before its own.
QWebEngineScript ChannelLibraryScript() {
  QFile library(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
  QWebEngineScript script;
  if (!library.open(QIODevice::ReadOnly)) return script;
  script.setName(QStringLiteral("qwebchannel"));
  script.setSourceCode(QString::fromUtf8(library.readAll()));
  script.setInjectionPoint(QWebEngineScript::DocumentCreation);
  script.setWorldId(QWebEngineScript::MainWorld);
  script.setRunsOnSubFrames(false);
  return script;
}

class BrowserPage : public QWebEnginePage {
 public:
  BrowserPage(QWebEngineProfile* profile, QObject* parent, const WebViewEvents& events)
      : QWebEnginePage(profile, parent), events_(events) {}

 protected:
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                int line, const QString& source) override {
    if (events_.console) events_.console(static_cast<int>(level), message, line, source);
  }

 private:
  const WebViewEvents& events_;
};

class WebEngineView final : public QWebEngineView, public IWebView {
 public:
  WebEngineView(QWidget* parent, WebViewEvents events)
      : QWebEngineView(parent), events_(std::move(events)) {
    setContextMenuPolicy(Qt::NoContextMenu);
    // Files dropped on the map go to the window's one route for drops (a GPX track imported,
    // clips to the playlist); the page would otherwise open a dropped file in place of the map.
    setAcceptDrops(false);
    auto* page = new BrowserPage(MapProfile(), this, events_);
    QWebEngineSettings* settings = page->settings();
    // Local pages draw tiles from the map services.
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
    setPage(page);
    QObject::connect(page, &QWebEnginePage::loadStarted, this, [this] {
      if (events_.loadStarted) events_.loadStarted();
    });
    QObject::connect(page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
      if (events_.loadFinished) events_.loadFinished(ok);
    });
    QObject::connect(page, &QWebEnginePage::titleChanged, this, [this](const QString& title) {
      if (events_.titleChanged) events_.titleChanged(title);
    });
  }

  ~WebEngineView() override {
    // The page answers its waiting script calls from inside this destructor: nobody may use the
    // view from then on, and nothing it says reaches its owner any more.
    *alive_ = false;
    if (events_.destroying) events_.destroying();
    QObject::disconnect(page(), nullptr, this, nullptr);
    events_ = {};
  }

  QWidget* Widget() override { return this; }
  void SetUrl(const QUrl& url) override { setUrl(url); }
  QUrl Url() const override { return url(); }
  bool IsLoading() const override { return page()->isLoading(); }
  void SetWebChannel(QWebChannel* channel) override {
    page()->setWebChannel(channel, QWebEngineScript::MainWorld);
    if (const QWebEngineScript library = ChannelLibraryScript(); !library.sourceCode().isEmpty()) {
      page()->scripts().insert(library);
    }
  }
  void RunJavaScript(const QString& script, std::function<void(const QVariant&)> done) override {
    page()->runJavaScript(script, [alive = alive_, done = std::move(done)](const QVariant& value) {
      if (*alive && done) done(value);
    });
  }

 private:
  WebViewEvents events_;
  // Cleared when the view starts to go; the page still answers waiting calls after that.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace
}  // namespace DuiLib

extern "C" __attribute__((visibility("default"))) DuiLib::IWebView* KorvaneCreateWebView(
    QWidget* parent, DuiLib::WebViewEvents events) {
  return new DuiLib::WebEngineView(parent, std::move(events));
}
