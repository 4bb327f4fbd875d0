// The pure rules behind the dialogs: preview scaling, PNG sizes, device texts and the player's
// device list, and what a missing, failing or hanging player program gives.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "dialogs/preview_rect.h"
#include "dialogs/sound_devices.h"
#include "rect_printer.h"
#include "support/file_text.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

struct ScaleCase {
  std::uint32_t width, height;
  PreviewRect expected;
};

class ScalePreviewRule : public testing::TestWithParam<ScaleCase> {};

TEST_P(ScalePreviewRule, KeepsTheAspectAndCentres) {
  const auto rect = ScalePreview(GetParam().width, GetParam().height);
  ASSERT_TRUE(rect.has_value());
  EXPECT_EQ(*rect, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ScalePreviewRule,
                         testing::Values(ScaleCase{1920, 1080, {0, 0, 600, 337}},
                                         ScaleCase{640, 480, {75, 0, 525, 338}},
                                         ScaleCase{720, 576, {89, 0, 511, 338}},
                                         ScaleCase{600, 338, {0, 0, 600, 338}},
                                         ScaleCase{100, 100, {131, 0, 469, 338}},
                                         ScaleCase{1, 100000, {300, 0, 300, 338}},
                                         ScaleCase{100000, 1, {0, 169, 600, 169}},
                                         ScaleCase{0xFFFFFFFFu, 0xFFFFFFFFu, {131, 0, 469, 338}}));

TEST(ScalePreviewRule, ZeroSizesHaveNoRatio) {
  EXPECT_FALSE(ScalePreview(0, 1080).has_value());
  EXPECT_FALSE(ScalePreview(1920, 0).has_value());
  EXPECT_FALSE(ScalePreview(0, 0).has_value());
}

TEST(PlaceUnsizedPreview, CentresSmallPicturesScalesLargeOnesAndFillsWhenUnknown) {
  using Size = std::pair<std::uint32_t, std::uint32_t>;
  EXPECT_EQ(PlaceUnsizedPreview(Size{320, 180}), (PreviewRect{140, 79, 460, 259}));
  EXPECT_EQ(PlaceUnsizedPreview(Size{600, 338}), (PreviewRect{0, 0, 600, 338}));
  EXPECT_EQ(PlaceUnsizedPreview(Size{1920, 1080}), (PreviewRect{0, 0, 600, 337}));
  EXPECT_EQ(PlaceUnsizedPreview(Size{500, 400}), (PreviewRect{89, 0, 511, 338}));
  EXPECT_EQ(PlaceUnsizedPreview(Size{0, 100}), (PreviewRect{0, 0, 600, 338}));
  EXPECT_EQ(PlaceUnsizedPreview(std::nullopt), (PreviewRect{0, 0, 600, 338}));
}

TEST(ReadPngSize, ReadsTheHeaderAndRejectsOtherFiles) {
  test::TempDir dir;
  std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x07\x80\0\0\x04\x38", 24);
  test::WriteFileText(dir.path() / "a.png", png + std::string(20, '\0'));
  EXPECT_EQ(ReadPngSize(dir.str() + "a.png"), std::make_pair(1920u, 1080u));
  test::WriteFileText(dir.path() / "short.png", png.substr(0, 20));
  EXPECT_EQ(ReadPngSize(dir.str() + "short.png"), std::nullopt);
  test::WriteFileText(dir.path() / "jpeg.png", "\xFF\xD8\xFF\xE0" + std::string(40, 'x'));
  EXPECT_EQ(ReadPngSize(dir.str() + "jpeg.png"), std::nullopt);
  EXPECT_EQ(ReadPngSize(dir.str() + "missing.png"), std::nullopt);
  EXPECT_EQ(ReadPngSize(dir.str()), std::nullopt);
}

TEST(SoundCardText, TrimsAndCollapsesSpacesBehindOneLeadingSpace) {
  const std::pair<const char*, const char*> cases[] = {{"  a  b  ", " a b"},
                                                       {"a b", " a b"},
                                                       {"", " "},
                                                       {"    ", " "},
                                                       {"Default (alsa)", " Default (alsa)"},
                                                       {"x\t y", " x\t y"},
                                                       {"中文  声卡 ", " 中文 声卡"}};
  for (const auto& [description, text] : cases) {
    EXPECT_EQ(SoundCardText(description), text) << '"' << description << '"';
  }
}

TEST(ParseAudioDeviceList, TakesTheDescriptionOfEveryWellFormedLine) {
  const std::string output =
      "0\tauto\tAutoselect device\n"
      "1\talsa\tDefault (alsa)\r\n"
      "garbage line\n"
      "\tno index\tx\n"
      "x1\tbad\tindex\n"
      "2\tpulse/sink  two\t  Speakers  (USB)  \n"
      "3\tnameonly\n"
      "4\tempty\t\n"
      "5\ttabs\tin\tdescription";
  EXPECT_EQ(ParseAudioDeviceList(output),
            (std::vector<std::string>{"Autoselect device", "Default (alsa)", "  Speakers  (USB)  ",
                                      "nameonly", "empty", "in\tdescription"}));
  EXPECT_TRUE(ParseAudioDeviceList("").empty());
}

TEST(ListPlayerAudioDevices, AMissingFailingOrHangingProgramGivesNoDevices) {
  test::TempDir dir;
  EXPECT_TRUE(ListPlayerAudioDevices(dir.str() + "none").empty());
  test::WriteFileText(dir.path() / "fails", "#!/bin/sh\necho '0\tx\ty'\nexit 3\n");
  test::WriteFileText(dir.path() / "hangs", "#!/bin/sh\necho '0\tx\ty'\nexec sleep 30\n");
  std::filesystem::permissions(dir.path() / "fails", std::filesystem::perms::owner_all);
  std::filesystem::permissions(dir.path() / "hangs", std::filesystem::perms::owner_all);
  EXPECT_TRUE(ListPlayerAudioDevices(dir.str() + "fails").empty());
  EXPECT_TRUE(ListPlayerAudioDevices(dir.str() + "hangs", 300).empty());
}

}  // namespace
}  // namespace korvane
