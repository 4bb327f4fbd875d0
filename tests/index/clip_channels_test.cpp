// The camera families' naming rules: which files are the channels of one moment.
#include "index/clip_channels.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace korvane {
namespace {

struct ChannelFile {
  const char* path;
  CameraChannel channel;
};

// One family per row: the files of one moment with their channels, and a file of the same camera
// from another moment (or that only looks like one), which must not join.
struct FamilyCase {
  const char* family;
  std::vector<ChannelFile> moment;
  const char* otherMoment;
};

void PrintTo(const FamilyCase& c, std::ostream* os) {
  *os << c.family;
}

class CameraFamily : public testing::TestWithParam<FamilyCase> {};

TEST_P(CameraFamily, FindsTheChannelsOfOneMomentAndNoOther) {
  const FamilyCase& c = GetParam();
  const ClipMoment first = MomentOf(c.moment.front().path);
  for (const ChannelFile& file : c.moment) {
    const ClipMoment m = MomentOf(file.path);
    EXPECT_TRUE(m.named) << file.path;
    EXPECT_EQ(m.moment, first.moment) << file.path;
    EXPECT_EQ(m.camera, first.camera) << file.path;
    EXPECT_EQ(m.channel, file.channel) << file.path;
  }
  const ClipMoment other = MomentOf(c.otherMoment);
  EXPECT_NE(other.moment, first.moment) << c.otherMoment;
}

using enum CameraChannel;
INSTANTIATE_TEST_SUITE_P(
    Families, CameraFamily,
    testing::Values(
        // Each channel keeps a counter of its own; the date and time make the moment.
        FamilyCase{"Viofo",
                   {{"/card/Movie/2021_0105_101500_0001F.MP4", Front},
                    {"/card/Movie/2021_0105_101500_0002R.MP4", Rear},
                    {"/card/Movie/2021_0105_101500_0003I.mp4", Cabin}},
                   "/card/Movie/2021_0105_101600_0004F.MP4"},
        FamilyCase{"Viofo14",
                   {{"/card/20210105101500_000001F.MP4", Front},
                    {"/card/20210105101500_000001R.MP4", Rear}},
                   "/card/20210105101501_000002R.MP4"},
        // The mode letter (N, E, P, M) is part of the moment: an event copy is another file.
        FamilyCase{"BlackVue",
                   {{"/sd/Record/20210105_101500_NF.mp4", Front},
                    {"/sd/Record/20210105_101500_NR.mp4", Rear}},
                   "/sd/Record/20210105_101500_EF.mp4"},
        FamilyCase{"BlackVueParking",
                   {{"/sd/Record/20210105_101500_PF.mp4", Front},
                    {"/sd/Record/20210105_101500_PR.mp4", Rear}},
                   "/sd/Record/20210105_101500_MR.mp4"},
        // Front and rear in sibling folders, with counters of their own.
        FamilyCase{"70mai",
                   {{"/sd/Normal/Front/NO20210105-101500-000123F.mp4", Front},
                    {"/sd/Normal/Back/NO20210105-101500-000124B.mp4", Rear}},
                   "/sd/Event/Back/NO20210105-101500-000124B.mp4"},
        FamilyCase{"Thinkware",
                   {{"/sd/cont_rec/REC_2021_01_05_10_15_00_F.MP4", Front},
                    {"/sd/cont_rec/REC_2021_01_05_10_15_00_R.MP4", Rear}},
                   "/sd/evt_rec/REC_2021_01_05_10_15_00_R.MP4"},
        FamilyCase{
            "Tesla",
            {{"/usb/TeslaCam/RecentClips/2021-01-05_10-15-00-front.mp4", Front},
             {"/usb/TeslaCam/RecentClips/2021-01-05_10-15-00-back.mp4", Rear},
             {"/usb/TeslaCam/RecentClips/2021-01-05_10-15-00-left_repeater.mp4", LeftRepeater},
             {"/usb/TeslaCam/RecentClips/2021-01-05_10-15-00-right_repeater.mp4", RightRepeater},
             {"/usb/TeslaCam/RecentClips/2021-01-05_10-15-00-left_pillar.mp4", LeftPillar},
             {"/usb/TeslaCam/RecentClips/2021-01-05_10-15-00-right_pillar.mp4", RightPillar}},
            "/usb/TeslaCam/RecentClips/2021-01-05_10-16-00-front.mp4"},
        FamilyCase{"Words",
                   {{"/my clips/drive 1 Front.mp4", Front}, {"/my clips/drive 1_rear.MP4", Rear}},
                   "/my clips/drive 2 rear.mp4"},
        FamilyCase{"WordFolders",
                   {{"/sd/front/行车 001.mp4", Front}, {"/sd/Rear/行车 001.mp4", Rear}},
                   "/sd/rear/行车 002.mp4"}));

// Names that fit no family stay a moment of their own, and odd paths never throw.
TEST(CameraFamily, ANameThatFitsNoRuleIsAMomentOfItsOwn) {
  for (const char* path : {"/c/sample_drive.mp4", "/c/storefront.mp4", "/c/a_F.mp4", "F.mp4", "",
                           "/", "/c/\"q\" 'x'.mp4", "/c/_R", "/c/x_0001Q.mp4"}) {
    const ClipMoment m = MomentOf(path);
    EXPECT_FALSE(m.named) << path;
    EXPECT_EQ(m.moment, path);
    EXPECT_EQ(m.channel, CameraChannel::Front);
  }
  // Two unnamed clips of one series are one camera for the trips, not one moment.
  EXPECT_EQ(MomentOf("/c/clip001.mp4").camera, MomentOf("/c/clip002.mp4").camera);
  EXPECT_NE(MomentOf("/c/clip001.mp4").moment, MomentOf("/c/clip002.mp4").moment);
}

}  // namespace
}  // namespace korvane
