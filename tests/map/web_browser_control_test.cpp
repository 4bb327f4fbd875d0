// The browser as a control of a skin-built window: the "WebBrowser" tag makes it, the window
// places its view, and a map page loaded through it draws the route.
#include <gtest/gtest.h>

#include <QJsonArray>

#include "map/select_map_loader.h"
#include "page_driver.h"
#include "support/framework_test_window.h"
#include "support/sample_paths.h"
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
  display.UpdateRoute(browser, store);
  display.SetCarPosition(browser, 2.36, 48.86);
  ASSERT_TRUE(test::WaitForPage(*browser));
  const QJsonObject state = test::MapState(*browser);
  EXPECT_EQ(state["points"].toInt(), 70);
  EXPECT_NEAR(state["marker"].toArray()[0].toDouble(), 48.86, 1e-9);
  EXPECT_TRUE(state["carInView"].toBool());
}

}  // namespace
}  // namespace korvane
