// The browser as a control of a skin-built window: the "WebBrowser" tag makes it, the window
// places its view, and a map page loaded through it draws the route.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QLabel>
#include <thread>

#include "map/select_map_loader.h"
#include "page_driver.h"
#include "support/framework_test_window.h"
#include "support/sample_paths.h"
#include "support/scoped_env.h"
#include "telemetry/coord_transform.h"
#include "telemetry/track_store.h"

namespace korvane {
namespace {

constexpr const char* kSkin = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="640,480">
  <VerticalLayout>
    <Control height="40"/>
    <WebBrowser name="WebMap"/>
  </VerticalLayout>
</Window>)";

TEST(WebBrowserControlTest, SkinTagMakesAControlThatHostsTheMapPage) {
  test::TestSkinWindow window{kSkin};
  ASSERT_NE(window.CreateHidden(), 0u);
  window.GetWidget()->resize(640, 480);
  window.ShowWindow(true, false);
  window.m_PaintManager.UpdateLayout(true);

  DuiLib::CControlUI* control = window.Find("WebMap");
  ASSERT_NE(control, nullptr);
  auto* browser = static_cast<DuiLib::CWebBrowserUI*>(control->GetInterface("WebBrowser"));
  ASSERT_NE(browser, nullptr);
  EXPECT_STREQ(browser->GetClass(), "WebBrowserUI");
  EXPECT_EQ(browser->GetWidget()->parentWidget(), window.m_PaintManager.GetPaintWidget());
  EXPECT_EQ(browser->GetWidget()->geometry().top(), 40);
  EXPECT_EQ(browser->GetWidget()->geometry().height(), 440);

  CMapDisplay display;
  std::uint8_t kind = 0;
  SelectMapLoader("GoogleMap", display, "Oversea", kind);
  display.LoadPage(browser, test::ProgramDir());
  CTrackStore store;
  for (int i = 0; i < 70; ++i) {
    TelemetryRecord r;
    r.valid = true;
    r.latitude = 48.85 + i * 0.0002;
    r.longitude = 2.35 + i * 0.0003;
    store.AppendNext(r);
  }
  for (std::int32_t c = 0; c < 2; ++c) {
    ConvertChunkForGoogle(store.chunk(c)->count, store.chunk(c)->points.data(), "Oversea");
  }
  store.MarkReady(2);
  display.UpdateRoute(browser, store, store.readyChunks());
  display.SetCarPosition(browser, 2.36, 48.86);
  ASSERT_TRUE(test::WaitForPage(*browser));
  const QJsonObject state = test::MapState(*browser);
  EXPECT_EQ(state["points"].toInt(), 70);
  EXPECT_NEAR(state["marker"].toArray()[0].toDouble(), 48.86, 1e-9);
  EXPECT_TRUE(state["carInView"].toBool());
}

// The web view is made by the first navigation, not with the control, so the window shows before
// the web engine starts; and where the engine cannot start, the map area says so and the rest goes
// on.
int WebViewsIn(QWidget* host) {
  int views = 0;
  for (QObject* child : host->findChildren<QWidget*>()) {
    if (std::string(child->metaObject()->className()) == "QWebEngineView") ++views;
  }
  return views;
}

struct SeenLoads : DuiLib::CWebBrowserEventHandler {
  void DocumentComplete(const std::string&, bool ok) override { results.push_back(ok); }
  std::vector<bool> results;
};

TEST(WebBrowserControlTest, ViewIsMadeByTheFirstNavigationAndAMissingEngineLeavesAMessage) {
  test::TestSkinWindow window{kSkin};
  ASSERT_NE(window.CreateHidden(), 0u);
  window.ShowWindow(true, false);
  auto* browser =
      static_cast<DuiLib::CWebBrowserUI*>(window.Find("WebMap")->GetInterface("WebBrowser"));
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(WebViewsIn(browser->GetWidget()), 0);

  test::ScopedEnv env;
  env.Set("QTWEBENGINEPROCESS_PATH", "/nonexistent/QtWebEngineProcess");
  SeenLoads loads;
  browser->SetWebBrowserEventHandler(&loads);
  browser->SetUnavailableText("no map here");
  std::vector<DuiLib::ScriptStatus> failures;
  const std::string argument = "1";
  // As the start-up worker does: navigate, then call before the page could load. The call waits
  // for the page, then learns it never came.
  std::thread worker([&] {
    browser->NavigateUrl(test::ProgramDir() + "Map/YandexMap.html");
    EXPECT_EQ(DuiLib::CWebBrowserUI::InvokeMethod(
                  browser->GetHtmlWindow(), "SetZoom", &argument, 1,
                  [&](DuiLib::ScriptStatus status) { failures.push_back(status); }),
              DuiLib::kScriptOk);
  });
  worker.join();
  ASSERT_TRUE(test::PumpUntil([&] { return !loads.results.empty(); }, 5000));

  EXPECT_EQ(loads.results, std::vector<bool>{false});
  EXPECT_EQ(failures, std::vector<DuiLib::ScriptStatus>{DuiLib::kScriptAborted});
  EXPECT_EQ(WebViewsIn(browser->GetWidget()), 0);
  auto* label = browser->GetWidget()->findChild<QLabel*>();
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), QStringLiteral("no map here"));
  EXPECT_FALSE(browser->IsPageReady());
  EXPECT_EQ(DuiLib::CWebBrowserUI::InvokeMethod(browser->GetHtmlWindow(), "SetZoom", &argument, 1),
            DuiLib::kScriptAborted);
  browser->SetWebBrowserEventHandler(nullptr);
}

}  // namespace
}  // namespace korvane
