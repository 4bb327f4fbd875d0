// CDuiSettingWnd: the modal settings window on "Setting.xml" (language, video and sound output,
// sound card, the small pictures' corner and width, snapshot preview, snapshot stamp, version). OK
// writes the choices to the settings record and file and ends ShowModal with 1; Cancel ends it with
// 2; the skin's close button and Escape with 2 (IDCANCEL) and write nothing.
//
// The sound cards are listed on a thread of the window's own (the player program answers in about
// 0.3 s, or never when it hangs) and fill their combo when they arrive.
//
// Use (UI thread): CDuiSettingWnd wnd(context); wnd.Create(parent, "SettingWnd", WS_POPUP |
// WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0, 0, 0); wnd.CenterWindow();
// if (wnd.ShowModal() == 1) { ...language may have changed... }
#pragma once
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "dialogs/output_tables.h"
#include "dialogs/sound_devices.h"
#include "framework/UIlib.h"
#include "framework/xml_wnd.h"
#include "settings/application_context.h"

namespace korvane {

inline constexpr char kSettingSkin[] = "Setting.xml";

class CDuiSettingWnd : public CXMLWnd {
 public:
  // `soundDevices` lists the sound cards (on another thread); empty: the player program in the
  // program folder.
  explicit CDuiSettingWnd(ApplicationContext& context, SoundDeviceSource soundDevices = {});
  ~CDuiSettingWnd() override;  // ends the listing (a player program still listing is killed)

  void InitWindow() override;
  DuiLib::LRESULT HandleMessage(DuiLib::UINT uMsg, DuiLib::WPARAM wParam,
                                DuiLib::LPARAM lParam) override;
  // True once the listed sound cards are in their combo (an empty list included).
  bool soundDevicesListed() const { return soundDevicesListed_; }
  void OnClick(DuiLib::TNotifyUI& msg) override;
  void Notify(DuiLib::TNotifyUI& msg) override;

  // The settings window being shown, for the sound card listing; null when none.
  static CDuiSettingWnd* Current();
  // Adds one listed sound card (numbered from 0 in call order) to the window.
  void OnSoundDeviceFound(std::string_view description);

  const std::vector<std::unique_ptr<SoundDevice>>& soundDevices() const { return soundDevices_; }

  DuiLib::CComboUI* languageCombo = nullptr;
  DuiLib::CComboUI* videoCombo = nullptr;
  DuiLib::CComboUI* soundCombo = nullptr;
  DuiLib::CComboUI* soundCardCombo = nullptr;
  DuiLib::CComboUI* speedUnitCombo = nullptr;
  DuiLib::CButtonUI* okButton = nullptr;
  DuiLib::CButtonUI* cancelButton = nullptr;
  DuiLib::CLabelUI* languageLabel = nullptr;
  DuiLib::CLabelUI* videoLabel = nullptr;
  DuiLib::CLabelUI* soundLabel = nullptr;
  DuiLib::CLabelUI* soundCardLabel = nullptr;
  DuiLib::CLabelUI* speedUnitLabel = nullptr;
  DuiLib::CLabelUI* versionLabel = nullptr;
  DuiLib::CControlUI* generalOption = nullptr;
  DuiLib::CCheckBoxUI* previewCheck = nullptr;
  DuiLib::CCheckBoxUI* stampCheck = nullptr;        // "stampBox": stamp snapshots with the GPS line
  DuiLib::CCheckBoxUI* stampedCopyCheck = nullptr;  // "stampedCopyBox": saves add a stamped copy
  DuiLib::CComboUI* eventCombo = nullptr;           // "EventCombo": the driving-event threshold
  DuiLib::CCheckBoxUI* flipCheck = nullptr;         // "flipBox": braking and acceleration swapped
  DuiLib::CComboUI* pictureCornerCombo = nullptr;   // "PictureCornerCombo": rows as PictureCorner
  DuiLib::CComboUI* pictureWidthCombo = nullptr;    // "PictureWidthCombo": PictureWidthRows()
  OptionTable videoTable;
  OptionTable soundTable;

 private:
  // What the listing thread hands to the window; shared, so it outlives whichever ends last.
  struct DeviceListing {
    std::atomic<bool> cancel{false};
    std::mutex mutex;
    std::vector<std::string> devices;
  };

  void StartDeviceListing();
  void ShowListedDevices();
  // Writes the choices in the order "VO", "AO", "DEVICE", "Language", "SSPreview", "SSStamp",
  // "EventThreshold", "EventFlipY", "SpeedUnit", "PictureCorner", "PictureWidth"; from
  // "SSPreview" on, each only when changed.
  void ApplyChoices();
  std::string MainText(std::string_view key) const;

  ApplicationContext& context_;
  SoundDeviceSource listDevices_;
  std::shared_ptr<DeviceListing> listing_ = std::make_shared<DeviceListing>();
  std::thread listThread_;
  bool soundDevicesListed_ = false;
  std::vector<std::unique_ptr<SoundDevice>> soundDevices_;
  int nextDeviceNumber_ = 0;
  int shownThresholdRow_ = -1;  // the threshold row shown when the window opened
  int shownWidthRow_ = -1;      // the picture width row shown when the window opened
};

// "IDS_VERSION" caption followed directly by the program's version.
std::string VersionText(std::string_view caption);

// Fills `combo` with one item per row (display names as they stand), with "hscrollbar" on the
// items and the combo when asked; false when combo is null.
bool FillCombo(DuiLib::CComboUI* combo, OptionTable table, bool horizontalScroll = false);

}  // namespace korvane
