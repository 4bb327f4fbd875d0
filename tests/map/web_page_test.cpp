// The script bridge against a real page in QtWebEngine: answers, argument order and encoding,
// calls made while the page loads, and the error texts.
#include "map/web_page.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <fstream>
#include <thread>

#include "map/format_system_error.h"
#include "page_driver.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

using test::Evaluate;
using test::PumpUntil;

constexpr const char* kBridgePage = R"(<!DOCTYPE html><html><head><meta charset="utf-8"><script>
var calls = [];
function record(a, b) { calls.push([a, b]); }
function count() { calls.push(['count', arguments.length]); }
function boom() { throw new Error('boom'); }
</script></head><body></body></html>)";

class BridgeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.str() + "bridge.html";
    std::ofstream(path_) << kBridgePage;
  }
  void Load() {
    shown_.browser.NavigateUrl(path_);
    ASSERT_TRUE(test::WaitForPage(shown_.browser));
  }
  QJsonArray Calls() { return Evaluate(shown_.browser, "calls").toArray(); }
  DuiLib::CWebBrowserUI* browser() { return &shown_.browser; }

  test::TempDir dir_;
  std::string path_;
  test::ShownBrowser shown_;
  CWebPage page_;
};

TEST_F(BridgeTest, PassesArgumentsInListOrder) {
  Load();
  EXPECT_TRUE(CallPageFunction(browser(), "record", page_, {"A", "B"}));
  EXPECT_TRUE(CallPageFunction(browser(), "count", page_));
  const QJsonArray calls = Calls();
  ASSERT_EQ(calls.size(), 2);
  EXPECT_EQ(calls[0].toArray()[0].toString(), "A");
  EXPECT_EQ(calls[0].toArray()[1].toString(), "B");
  EXPECT_EQ(calls[1].toArray()[1].toInt(), 0);  // an empty list is a call with no arguments
  EXPECT_EQ(page_.GetLastError(), "");
}

TEST_F(BridgeTest, ArgumentsArriveVerbatimAndCannotInjectScript) {
  Load();
  const std::vector<std::string> hostile = {"\"); window.injected = 1; (\"",
                                            "</script><script>window.injected=2</script>",
                                            "back\\slash 'quote' \n\r\t",
                                            "\xe2\x80\xa8 line separator \xe2\x80\xa9",
                                            "\x01\x1f\x7f",
                                            "",
                                            "').split(''); window.injected = 3; ('",
                                            "Grüße 北京"};
  // A run of calls without a comma in any argument travels as one joined text, a run with one as
  // separate texts; both must arrive as they were sent.
  for (const std::string& comma : {std::string(), std::string("22,535656")}) {
    std::vector<std::string> texts = hostile;
    if (!comma.empty()) texts.push_back(comma);
    Evaluate(shown_.browser, "calls = []");
    for (const std::string& text : texts) {
      EXPECT_TRUE(CallPageFunction(browser(), "record", page_, {text, text}));
    }
    const QJsonArray calls = Calls();
    ASSERT_EQ(calls.size(), static_cast<int>(texts.size())) << comma;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      EXPECT_EQ(calls[static_cast<int>(i)].toArray()[0].toString().toStdString(), texts[i]) << i;
      EXPECT_EQ(calls[static_cast<int>(i)].toArray()[1].toString().toStdString(), texts[i]) << i;
    }
  }
  EXPECT_TRUE(Evaluate(shown_.browser, "window.injected === undefined").toBool());
}

TEST_F(BridgeTest, UndefinedFunctionAnswersFalseWithTheSystemText) {
  Load();
  EXPECT_FALSE(CallPageFunction(browser(), "noSuchFunction", page_, {"A"}));
  EXPECT_EQ(page_.GetLastError(),
            "JSCall Error:\n" + FormatSystemError(DuiLib::kScriptUnknownName));
  EXPECT_EQ(page_.GetLastError(), "JSCall Error:\nUnknown name.\n");
}

TEST_F(BridgeTest, NamesThatAreNotIdentifiersAreRefused) {
  Load();
  for (const char* name : {"", "alert(1)", "a b", "1abc", "calls.push", "record;record"}) {
    EXPECT_FALSE(CallPageFunction(browser(), name, page_)) << name;
    EXPECT_EQ(page_.GetLastError(), "JSCall Error:\nThe parameter is incorrect.\n");
  }
  EXPECT_EQ(Calls().size(), 0);
}

TEST_F(BridgeTest, CallsMadeWhileLoadingAreDeliveredInOrderOnceLoaded) {
  shown_.browser.NavigateUrl(path_);
  ASSERT_FALSE(shown_.browser.IsPageReady());
  for (int i = 0; i < 5; ++i) {
    EXPECT_TRUE(CallPageFunction(browser(), "record", page_, {std::to_string(i), "x"}));
  }
  // Unknown until the page has loaded: accepted now, dropped then with the error text.
  EXPECT_TRUE(CallPageFunction(browser(), "missingOnPage", page_));
  EXPECT_TRUE(CallPageFunction(browser(), "record", page_, {"5", "x"}));
  ASSERT_TRUE(test::WaitForPage(shown_.browser));
  const QJsonArray calls = Calls();
  ASSERT_EQ(calls.size(), 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(calls[i].toArray()[0].toString(), QString::number(i));
  EXPECT_EQ(page_.GetLastError(), "JSCall Error:\nUnknown name.\n");
}

// The start-up worker loads the page from its own thread; a route handed over on the UI thread
// before that load has even started must wait for the page too.
TEST_F(BridgeTest, CallsAfterANavigationFromAnotherThreadWaitForThePage) {
  std::thread worker([&] { shown_.browser.NavigateUrl(path_); });
  worker.join();
  EXPECT_TRUE(CallPageFunction(browser(), "record", page_, {"early", "call"}));
  ASSERT_TRUE(test::WaitForPage(shown_.browser));
  const QJsonArray calls = Calls();
  ASSERT_EQ(calls.size(), 1);
  EXPECT_EQ(calls[0].toArray()[0].toString(), "early");
}

TEST_F(BridgeTest, AThrowingFunctionIsReportedAndLaterCallsStillRun) {
  Load();
  EXPECT_TRUE(CallPageFunction(browser(), "boom", page_));
  EXPECT_TRUE(CallPageFunction(browser(), "record", page_, {"after", "boom"}));
  ASSERT_EQ(Calls().size(), 1);
  EXPECT_TRUE(PumpUntil([&] { return !page_.GetLastError().empty(); }));
  EXPECT_EQ(page_.GetLastError(), "JSCall Error:\nException occurred.\n");
}

TEST_F(BridgeTest, WithoutAnyPageOrBrowserTheCallFails) {
  EXPECT_FALSE(CallPageFunction(browser(), "record", page_, {"A", "B"}));
  EXPECT_EQ(page_.GetLastError(),
            "JSCall Error:\nThe data necessary to complete this operation is not yet available.\n");
  CWebPage other;
  EXPECT_FALSE(CallPageFunction(nullptr, "record", other, {"A", "B"}));
  EXPECT_EQ(other.GetLastError(), "JSCall Error:\nThe parameter is incorrect.\n");
}

TEST_F(BridgeTest, AMissingPageFileLoadsAsAPageWithoutFunctions) {
  shown_.browser.NavigateUrl(dir_.str() + "absent.html");
  EXPECT_TRUE(CallPageFunction(browser(), "record", page_, {"A", "B"}));
  ASSERT_TRUE(test::WaitForPage(shown_.browser));
  EXPECT_EQ(page_.GetLastError(), "JSCall Error:\nUnknown name.\n");
  EXPECT_FALSE(CallPageFunction(browser(), "record", page_, {"A", "B"}));
}

TEST_F(BridgeTest, AFailureTheBrowserLearnsAfterThePageObjectIsGoneIsHarmless) {
  shown_.browser.NavigateUrl(path_);
  {
    CWebPage shortLived;
    EXPECT_TRUE(CallPageFunction(browser(), "missingOnPage", shortLived));
  }
  ASSERT_TRUE(test::WaitForPage(shown_.browser));
  EXPECT_EQ(Calls().size(), 0);
}

TEST(FormatSystemErrorTest, KnownCodesHaveTextAndOthersTheFallback) {
  EXPECT_EQ(FormatSystemError(DuiLib::kScriptUnknownName), "Unknown name.\n");
  EXPECT_EQ(FormatSystemError(DuiLib::kScriptException), "Exception occurred.\n");
  for (std::int32_t code : {1, -1, 12345, static_cast<std::int32_t>(0x80001234)}) {
    EXPECT_EQ(FormatSystemError(code), "FormatMessage Netive Error") << code;
  }
}

TEST(CWebPageTest, UnknownStatusGivesTheFallbackText) {
  CWebPage page;
  EXPECT_EQ(page.GetLastError(), "");
  page.SetLastError(0x0BADC0DE);
  EXPECT_EQ(page.GetLastError(), "JSCall Error:\nFormatMessage Netive Error");
}

}  // namespace
}  // namespace korvane
