// The channels of one moment: the files a multi-camera dash camera writes at the same moment, one
// per camera (front, rear, cabin, a car's side cameras), told apart by each camera family's naming
// rule, in one folder or in sibling folders ("Front" / "Back"). Pure rules on paths, no I/O.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

// In the order a moment's telemetry is taken from: the front first when several channels have it.
enum class CameraChannel {
  Front,
  Rear,
  Cabin,
  LeftRepeater,
  RightRepeater,
  LeftPillar,
  RightPillar
};

struct ClipMoment {
  // Equal for the files of one moment from one camera; the path itself for a name that fits no
  // family's rule, which stays a moment of its own.
  std::string moment;
  // Equal for every moment one camera's series writes into a folder (its moments' names without
  // their digits), so two cameras in one folder make trips of their own.
  std::string camera;
  CameraChannel channel = CameraChannel::Front;
  bool named = false;  // the name fits a family's rule (only then has it a channel mark)
};

// The moment, camera and channel of the clip at `clipPath`. Names are matched without regard to
// case; the extension only has to match in that sense too ("…F.MP4" and "…R.mp4" share a moment).
ClipMoment MomentOf(std::string_view clipPath);

// The channel a folder named for one stands for ("Front", "back", "Cabin"); nullopt for any
// other name.
std::optional<CameraChannel> ChannelOfFolder(std::string_view folderName);

// The small mark a channel's entry carries: "F", "R", "I" (cabin), "LR"/"RR" (the side repeaters),
// "LP"/"RP" (the pillars).
std::string_view ChannelMark(CameraChannel channel);

}  // namespace korvane
