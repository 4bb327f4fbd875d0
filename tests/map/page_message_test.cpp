// What the map page tells the program: the pure check of its messages, and the way there through
// the browser control's channel with a page of our own.
#include "map/page_message.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "page_driver.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

constexpr std::uint32_t kRoute = 7;
constexpr std::uint32_t kOverviewSet = 3;

struct MessageCase {
  const char* label;
  const char* name;
  const char* json;
  std::optional<PageEvent> event;
};

void PrintTo(const MessageCase& c, std::ostream* out) {
  *out << c.label;
}

class PageMessages : public testing::TestWithParam<MessageCase> {};

TEST_P(PageMessages, OnlyKnownNamesWithFiniteNumbersForTheCurrentRouteComeThrough) {
  EXPECT_EQ(ValidatePageMessage(GetParam().name, GetParam().json, kRoute, kOverviewSet),
            GetParam().event);
}

using K = PageEventKind;
INSTANTIATE_TEST_SUITE_P(
    Table, PageMessages,
    testing::Values(
        MessageCase{"Click", "routeClick", R"({"route":7,"t":23000})",
                    PageEvent{K::RouteClick, 23000}},
        MessageCase{"HoverWithBlanksAndOrder", "routeHover", " { \"t\" : 1.5e3 , \"route\" : 7 } ",
                    PageEvent{K::RouteHover, 1500}},
        MessageCase{"FractionCut", "routeClick", R"({"route":7,"t":999.9})",
                    PageEvent{K::RouteClick, 999}},
        MessageCase{"Leave", "routeLeave", R"({"route":7})", PageEvent{K::RouteLeave, 0}},
        MessageCase{"ExtraNumberIgnored", "routeClick", R"({"route":7,"t":5,"x":1})",
                    PageEvent{K::RouteClick, 5}},
        MessageCase{"Zero", "routeClick", R"({"route":7,"t":0})", PageEvent{K::RouteClick, 0}},
        MessageCase{"Latest", "routeClick", R"({"route":7,"t":2147483647})",
                    PageEvent{K::RouteClick, 2147483647}},
        // Dropped:
        MessageCase{"AnotherFilesPage", "routeClick", R"({"route":6,"t":23000})", std::nullopt},
        MessageCase{"Negative", "routeClick", R"({"route":7,"t":-1})", std::nullopt},
        MessageCase{"BeyondAnyClip", "routeClick", R"({"route":7,"t":2147483648})", std::nullopt},
        MessageCase{"Huge", "routeClick", R"({"route":7,"t":1e999})", std::nullopt},
        MessageCase{"NullFromNaN", "routeClick", R"({"route":7,"t":null})", std::nullopt},
        MessageCase{"Text", "routeClick", R"({"route":7,"t":"23000"})", std::nullopt},
        MessageCase{"NaNWord", "routeClick", R"({"route":7,"t":NaN})", std::nullopt},
        MessageCase{"Hex", "routeClick", R"({"route":7,"t":0x10})", std::nullopt},
        MessageCase{"LeadingZero", "routeClick", R"({"route":7,"t":010})", std::nullopt},
        MessageCase{"Nested", "routeClick", R"({"route":7,"t":{"v":1}})", std::nullopt},
        MessageCase{"MissingTime", "routeHover", R"({"route":7})", std::nullopt},
        MessageCase{"MissingRoute", "routeClick", R"({"t":5})", std::nullopt},
        MessageCase{"RepeatedKey", "routeClick", R"({"route":7,"t":5,"t":6})", std::nullopt},
        MessageCase{"TrailingText", "routeClick", R"({"route":7,"t":5} x)", std::nullopt},
        MessageCase{"Unclosed", "routeClick", R"({"route":7,"t":5)", std::nullopt},
        MessageCase{"Array", "routeClick", R"([7,5])", std::nullopt},
        MessageCase{"Empty", "routeClick", "", std::nullopt},
        MessageCase{"UnknownName", "seek", R"({"route":7,"t":5})", std::nullopt},
        MessageCase{"NameCaseMatters", "RouteClick", R"({"route":7,"t":5})", std::nullopt},
        MessageCase{"OverviewClick", "overviewClick", R"({"set":3,"clip":12,"t":4000.5})",
                    PageEvent{K::OverviewClick, 4000, 12}},
        MessageCase{"OverviewOfAnOldSet", "overviewClick", R"({"set":2,"clip":12,"t":4000})",
                    std::nullopt},
        MessageCase{"OverviewClipFraction", "overviewClick", R"({"set":3,"clip":1.5,"t":4})",
                    std::nullopt},
        MessageCase{"OverviewClipNegative", "overviewClick", R"({"set":3,"clip":-1,"t":4})",
                    std::nullopt},
        MessageCase{"OverviewClipHuge", "overviewClick", R"({"set":3,"clip":1e12,"t":4})",
                    std::nullopt},
        MessageCase{"OverviewWithoutClip", "overviewClick", R"({"set":3,"t":4})", std::nullopt},
        MessageCase{"OverviewWithoutTime", "overviewClick", R"({"set":3,"clip":1})", std::nullopt},
        MessageCase{"OverviewAsRoute", "overviewClick", R"({"route":7,"t":4})", std::nullopt},
        MessageCase{"ToggleOn", "overviewToggle", R"({"on":1})",
                    PageEvent{K::OverviewToggle, 0, 0, true}},
        MessageCase{"ToggleOff", "overviewToggle", R"({"on":0})",
                    PageEvent{K::OverviewToggle, 0, 0, false}},
        MessageCase{"ToggleHalf", "overviewToggle", R"({"on":0.5})", std::nullopt},
        MessageCase{"ToggleWithout", "overviewToggle", R"({})", std::nullopt},
        MessageCase{"ChoiceOfTheImport", "trackChoice", R"({"gpx":1})",
                    PageEvent{K::TrackChoice, 0, 0, true}},
        MessageCase{"ChoiceOfTheOwnTrack", "trackChoice", R"({"gpx":0})",
                    PageEvent{K::TrackChoice, 0, 0, false}},
        MessageCase{"ChoiceByTheToggleKey", "trackChoice", R"({"on":1})", std::nullopt},
        MessageCase{"ChoiceOfNeither", "trackChoice", R"({"gpx":2})", std::nullopt}),
    [](const testing::TestParamInfo<MessageCase>& info) { return std::string(info.param.label); });

TEST(PageMessagesOverview, NoLinesShownTakesNoOverviewClick) {
  EXPECT_EQ(ValidatePageMessage("overviewClick", R"({"set":0,"clip":1,"t":4})", kRoute, 0),
            std::nullopt);
}

// A page that posts through the channel once it has connected, as the map pages do.
constexpr const char* kPostingPage = R"(<!DOCTYPE html><html><head><meta charset="utf-8"><script>
var channelReady = false;
new QWebChannel(qt.webChannelTransport, function (c) { window.program = c.objects.korvane;
  channelReady = true; });
function send(name, text) { program.post(name, text); return true; }
</script></head><body></body></html>)";

TEST(PageChannel, HandsThePagesTextsOverAsTheyCameAndDropsOverlongOnes) {
  test::TempDir dir;
  const std::string path = dir.str() + "posting.html";
  std::ofstream(path) << kPostingPage;
  test::ShownBrowser shown;
  std::vector<std::pair<std::string, std::string>> received;
  shown.browser.SetPageMessageHandler(
      [&](const std::string& name, const std::string& json) { received.emplace_back(name, json); });
  shown.browser.NavigateUrl(path);
  ASSERT_TRUE(test::WaitForPage(shown.browser));
  ASSERT_TRUE(test::PumpUntil([&] {
    return test::Evaluate(shown.browser, "channelReady").toBool();
  })) << "the channel library is part of the page";
  test::Evaluate(shown.browser, R"(send('routeClick', '{"route":1,"t":5}'))");
  test::Evaluate(shown.browser, "send('x'.repeat(65), '{}')");
  test::Evaluate(shown.browser, "send('big', ' '.repeat(5000))");
  test::Evaluate(shown.browser, "send('ünïcode', '{\"t\":\"日本\"}')");
  ASSERT_TRUE(test::PumpUntil([&] { return received.size() >= 2; }, 5000));
  test::PumpUntil([] { return false; }, 200);  // anything more would have come by now
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0],
            (std::pair<std::string, std::string>{"routeClick", R"({"route":1,"t":5})"}));
  EXPECT_EQ(received[1].first, "ünïcode");
  EXPECT_EQ(received[1].second, "{\"t\":\"日本\"}");
}

}  // namespace
}  // namespace korvane
