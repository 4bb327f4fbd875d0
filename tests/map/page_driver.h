// Test helpers for map pages in a real browser control: wait for a page, read values back from it.
#pragma once
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QThread>
#include <QWidget>
#include <functional>
#include <ostream>
#include <string>

#include "framework/web_browser_ui.h"

namespace korvane::test {

// Runs the event loop until `done` holds or `timeoutMs` passed; returns `done()`.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 30000) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(1);
  }
  return true;
}

// A browser control with its view shown (offscreen), so the page has a size and draws.
class ShownBrowser {
 public:
  ShownBrowser() {
    browser.GetWidget()->resize(800, 600);
    browser.GetWidget()->show();
  }
  DuiLib::CWebBrowserUI browser;
};

inline bool WaitForPage(DuiLib::CWebBrowserUI& browser) {
  return PumpUntil([&] { return browser.IsPageReady(); });
}

// The value of `script` in the page, after every call made before it.
inline QJsonValue Evaluate(DuiLib::CWebBrowserUI& browser, const std::string& script) {
  bool done = false;
  std::string json;
  browser.RunScript(script, [&](const std::string& value) {
    json = value;
    done = true;
  });
  if (!PumpUntil([&] { return done; })) return QJsonValue(QJsonValue::Undefined);
  const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString("[" + json + "]"));
  return doc.array().at(0);
}

// The map page's own account of its route and marker (korvaneMapState in map_page.js).
inline QJsonObject MapState(DuiLib::CWebBrowserUI& browser) {
  return Evaluate(browser, "korvaneMapState()").toObject();
}

// A map name and a locale: together they name one of the four pages.
struct PageCase {
  const char* map;
  const char* locale;
};

inline void PrintTo(const PageCase& c, std::ostream* out) {
  *out << c.map << "/" << c.locale;
}

// The four pages, for INSTANTIATE_TEST_SUITE_P, and their names there.
inline auto AllFourPages() {
  return testing::Values(PageCase{"BaiduMap", "China"}, PageCase{"GoogleMap", "China"},
                         PageCase{"GoogleMap", "Oversea"}, PageCase{"YandexMap", "Oversea"});
}
inline std::string PageCaseName(const testing::TestParamInfo<PageCase>& info) {
  return std::string(info.param.map) + info.param.locale;
}

}  // namespace korvane::test
