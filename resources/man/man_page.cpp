#include "man_page.h"

#include <vector>

#include "framework/ui_defs.h"
#include "framework/ui_notify.h"
#include "ui/player_keys.h"

namespace korvane {

namespace {

// roff reads "\" as an escape, "-" as a hyphen it may break at, and "." or "'" at a line's start
// as a request.
std::string Escaped(std::string_view text) {
  std::string out;
  if (!text.empty() && (text[0] == '.' || text[0] == '\'')) out += "\\&";
  for (char c : text) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
  }
  return out;
}

std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::string Plural(int n, const char* one) {
  return std::to_string(n) + " " + one + (n == 1 ? "" : "s");
}

// What a key does, as the page says it; every action of the table is named here (the switch has
// no default, so a new action is a compiler warning until it is).
std::string ActionText(const PlayerKey& key) {
  const bool back = key.amount < 0;
  const int n = back ? -key.amount : key.amount;
  switch (key.action) {
    case KeyAction::kNone:
      return {};
    case KeyAction::kFullScreenOn:
      return "Full screen.";
    case KeyAction::kFullScreenOff:
      return "Leave full screen.";
    case KeyAction::kSnapshot:
      return "Snapshot of the current frame into the data folder.";
    case KeyAction::kPlayPause:
      return "Play or pause.";
    case KeyAction::kSeek:
      return std::string(back ? "Seek back " : "Seek forward ") + Plural(n, "second") + ".";
    case KeyAction::kVolume:
      return std::string(back ? "Volume down " : "Volume up ") + Plural(n, "step") +
             " of the 0 to 100 scale.";
    case KeyAction::kMute:
      return "Mute or unmute.";
    case KeyAction::kFrameStep:
      return back ? "One frame back." : "One frame forward.";
    case KeyAction::kSpeedStep:
      return back ? "Play slower (one rung)." : "Play faster (one rung).";
    case KeyAction::kEvent:
      return back ? "Previous driving event." : "Next driving event.";
    case KeyAction::kMarkStart:
      return "Mark the start of the stretch to save at the playing moment.";
    case KeyAction::kMarkEnd:
      return "Mark the end of the stretch to save at the playing moment; with both marks set, the "
             "stretch is saved.";
    case KeyAction::kSaveMoment:
      return "Save this moment: " + Plural(kMomentSeconds, "second") + " before to " +
             Plural(kMomentSeconds, "second") + " after the playing moment.";
    case KeyAction::kCancelSave:
      return "Cancel the running save; nothing is left behind.";
    case KeyAction::kSwapPicture:
      return "Make the next camera of the moment the main picture.";
    case KeyAction::kSmallPictures:
      return "Hide or show the small pictures of the moment's other cameras.";
  }
  return {};
}

std::string TaggedParagraph(const std::string& tag, const std::string& text) {
  return ".TP\n.B " + Escaped(tag) + "\n" + Escaped(text) + "\n";
}

}  // namespace

std::string KeyName(unsigned key) {
  using namespace DuiLib;
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, char(key));
  if (key >= VK_F1 && key <= VK_F12) return "F" + std::to_string(key - VK_F1 + 1);
  struct Named {
    WPARAM key;
    const char* name;
  };
  static constexpr Named kNames[] = {
      {VK_BACK, "Backspace"}, {VK_TAB, "Tab"},       {VK_RETURN, "Enter"},   {VK_ESCAPE, "Escape"},
      {VK_SPACE, "Space"},    {VK_PRIOR, "Page Up"}, {VK_NEXT, "Page Down"}, {VK_END, "End"},
      {VK_HOME, "Home"},      {VK_LEFT, "Left"},     {VK_UP, "Up"},          {VK_RIGHT, "Right"},
      {VK_DOWN, "Down"},      {VK_DELETE, "Delete"}, {VK_OEM_COMMA, ","},    {VK_OEM_PERIOD, "."},
      {VK_OEM_4, "["},        {VK_OEM_6, "]"},
  };
  for (const Named& named : kNames) {
    if (named.key == key) return named.name;
  }
  return {};
}

std::string KeysSection() {
  std::string out;
  for (unsigned key = 1; key < 256; ++key) {
    const PlayerKey plain = PlayerKeyOf(key, 0);
    const PlayerKey shifted = PlayerKeyOf(key, static_cast<LPARAM>(DuiLib::MK_SHIFT));
    if (plain.action == KeyAction::kNone && shifted.action == KeyAction::kNone) continue;
    const std::string name = KeyName(key);
    if (name.empty()) return {};
    if (plain.action != KeyAction::kNone) out += TaggedParagraph(name, ActionText(plain));
    if (shifted.action != KeyAction::kNone && !(shifted == plain)) {
      out += TaggedParagraph("Shift+" + name, ActionText(shifted));
    }
  }
  return out;
}

std::string ManPage(std::string_view help, std::string_view version) {
  const std::string keys = KeysSection();
  if (keys.empty()) return {};
  std::vector<std::string> lines;
  while (!help.empty()) {
    const auto end = help.find('\n');
    lines.emplace_back(help.substr(0, end));
    help.remove_prefix(end == std::string_view::npos ? help.size() : end + 1);
  }
  std::string out = ".TH KORVANE 1 \"\" \"korvane " + Escaped(version) +
                    "\" \"User Commands\"\n"
                    ".SH NAME\n"
                    "korvane \\- dash\\-camera clip player with the route on a map and the "
                    "G\\-sensor curves\n"
                    ".SH SYNOPSIS\n";
  std::size_t i = 0;
  constexpr std::string_view kUsage = "Usage: ";
  for (bool first = true; i < lines.size() && !Trimmed(lines[i]).empty(); ++i, first = false) {
    std::string_view line = lines[i];
    if (line.substr(0, kUsage.size()) == kUsage) line.remove_prefix(kUsage.size());
    out += (first ? "" : ".br\n") + Escaped(Trimmed(line)) + "\n";
  }
  out += ".SH DESCRIPTION\n";
  // A block runs from a line that begins with an option (or the first line) to the next one.
  std::string tag, text;
  const auto flush = [&] {
    if (!tag.empty()) {
      out += TaggedParagraph(tag, text);
    } else if (!text.empty()) {
      out += ".PP\n" + Escaped(text) + "\n";
    }
    tag.clear();
    text.clear();
  };
  for (; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.rfind("--", 0) == 0) {
      flush();
      const auto gap = line.find("  ");
      const auto space = line.find(' ');
      if (gap != std::string::npos && gap == space) {
        tag = line.substr(0, gap);
        text = Trimmed(line.substr(gap));
        continue;
      }
    }
    const std::string part = Trimmed(line);
    if (part.empty()) {
      flush();
    } else {
      text += (text.empty() ? "" : " ") + part;
    }
  }
  flush();
  out +=
      ".SH KEYS\nThe window keeps these keys wherever the focus is inside it, except in a text "
      "field and with Control or Alt held.\n" +
      keys +
      ".SH FILES\n"
      ".TP\n.I /usr/lib/korvane/\n"
      "The program folder: the player and indexer programs, skins, language files, map pages "
      "and the default settings.\n"
      ".TP\n.I ~/Documents/KORVANE/\n"
      "The data folder: the user's settings (conf/Velmora.ini) and snapshots.\n"
      ".TP\n.I $XDG_CACHE_HOME/korvane/index.sqlite\n"
      "The telemetry index.\n"
      ".SH SEE ALSO\n"
      ".BR ffmpeg (1)\n";
  return out;
}

}  // namespace korvane
