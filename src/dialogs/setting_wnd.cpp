#include "dialogs/setting_wnd.h"

#include <cstdlib>
#include <memory>
#include <system_error>

#include "dialogs/dialog_support.h"
#include "platform/ascii_text.h"
#include "platform/window_message.h"
#include "settings/localization.h"
#include "settings/settings_store.h"

namespace korvane {
namespace {

using namespace DuiLib;

CDuiSettingWnd* g_currentSettingWnd = nullptr;

// The listing thread's message to the window: the sound cards have been listed.
constexpr UINT kMsgSoundDevicesListed = korvane::WM_USER + 20;
// The player program lists its devices in about 0.3 s; one that takes longer is stuck.
constexpr int kListDevicesTimeoutMs = 5000;

// Selects a row without raising "itemselect": the window sets the dependent states itself.
void SelectRow(CComboUI* combo, int row) {
  if (combo != nullptr && row >= 0) combo->SelectItem(row, false, false);
}

// The value of the combo's selected row; null when nothing is selected.
const char* SelectedValue(const CComboUI* combo, OptionTable table) {
  if (combo == nullptr) return nullptr;
  const int row = combo->GetCurSel();
  if (row < 0 || static_cast<std::size_t>(row) >= table.size()) return nullptr;
  return table[static_cast<std::size_t>(row)].value;
}

OptionTable LanguageRows() {
  static const std::vector<OptionRow> rows = [] {
    std::vector<OptionRow> out;
    for (const LanguageEntry& entry : kLanguages) out.push_back({entry.file, entry.displayName});
    return out;
  }();
  return rows;
}

CListLabelElementUI* NewItem(std::string_view text) {
  auto* item = new CListLabelElementUI;
  item->SetText(text);
  return item;
}

}  // namespace

std::string VersionText(std::string_view caption) {
  return std::string(caption) + KORVANE_VERSION;
}

bool FillCombo(CComboUI* combo, OptionTable table, bool horizontalScroll) {
  if (combo == nullptr) return false;
  for (const OptionRow& row : table) {
    CListLabelElementUI* item = NewItem(row.displayName);
    if (horizontalScroll) item->SetAttribute("hscrollbar", "true");
    combo->Add(item);
  }
  if (horizontalScroll) combo->SetAttribute("hscrollbar", "true");
  return true;
}

CDuiSettingWnd::CDuiSettingWnd(ApplicationContext& context, SoundDeviceSource soundDevices)
    : CXMLWnd(kSettingSkin), context_(context), listDevices_(std::move(soundDevices)) {
  if (!listDevices_) {
    const std::string player = PlayerProgramPath(context_.programFolder);
    listDevices_ = [player, listing = listing_] {
      return ListPlayerAudioDevices(player, kListDevicesTimeoutMs, &listing->cancel);
    };
  }
}

CDuiSettingWnd::~CDuiSettingWnd() {
  listing_->cancel = true;
  if (listThread_.joinable()) listThread_.join();
  if (g_currentSettingWnd == this) g_currentSettingWnd = nullptr;
}

void CDuiSettingWnd::StartDeviceListing() {
  const korvane::WindowHandle self = GetHWND();
  try {
    listThread_ = std::thread([listing = listing_, list = listDevices_, self] {
      std::vector<std::string> devices = list();
      {
        std::lock_guard lock(listing->mutex);
        listing->devices = std::move(devices);
      }
      PostWindowMessage(self, kMsgSoundDevicesListed, 0, 0);
    });
  } catch (const std::system_error&) {
    // No thread, no list: the combo stays empty, as with no sound card.
  }
}

void CDuiSettingWnd::ShowListedDevices() {
  std::vector<std::string> devices;
  {
    std::lock_guard lock(listing_->mutex);
    devices.swap(listing_->devices);
  }
  for (const std::string& description : devices) OnSoundDeviceFound(description);
  if (soundCardCombo != nullptr) {
    for (std::size_t i = 0; i < soundDevices_.size(); ++i) {
      if (soundDevices_[i]->number == context_.settings.soundDevice) {
        SelectRow(soundCardCombo, int(i));
      }
    }
  }
  soundDevicesListed_ = true;
}

DuiLib::LRESULT CDuiSettingWnd::HandleMessage(DuiLib::UINT uMsg, DuiLib::WPARAM wParam,
                                              DuiLib::LPARAM lParam) {
  if (uMsg == kMsgSoundDevicesListed) {
    ShowListedDevices();
    return 0;
  }
  return CXMLWnd::HandleMessage(uMsg, wParam, lParam);
}

CDuiSettingWnd* CDuiSettingWnd::Current() {
  return g_currentSettingWnd;
}

std::string CDuiSettingWnd::MainText(std::string_view key) const {
  return ReadLanguageText(context_, kMainInterfaceSection, key);
}

void CDuiSettingWnd::InitWindow() {
  // The skin draws the caption, so the framework made the window frameless, and it has already
  // initialised the paint manager with this window as pre-message filter and notifier.
  g_currentSettingWnd = this;
  const Settings& settings = context_.settings;

  languageCombo = FindControlAs<CComboUI>(m_PaintManager, "LanguangeCombo");
  videoCombo = FindControlAs<CComboUI>(m_PaintManager, "VideoCombo");
  soundCombo = FindControlAs<CComboUI>(m_PaintManager, "SoundCombo");
  soundCardCombo = FindControlAs<CComboUI>(m_PaintManager, "SoundCardCombo");
  okButton = FindControlAs<CButtonUI>(m_PaintManager, "OKButton");
  cancelButton = FindControlAs<CButtonUI>(m_PaintManager, "CancleButton");
  languageLabel = FindControlAs<CLabelUI>(m_PaintManager, "LanguangeLabel");
  videoLabel = FindControlAs<CLabelUI>(m_PaintManager, "VideoLabel");
  soundLabel = FindControlAs<CLabelUI>(m_PaintManager, "SoundLabel");
  soundCardLabel = FindControlAs<CLabelUI>(m_PaintManager, "SoundCardLabel");
  versionLabel = FindControlAs<CLabelUI>(m_PaintManager, "VersionLabel");
  generalOption = m_PaintManager.FindControl("GeneralOption");

  SetControlText(m_PaintManager, "OKButton", MainText("IDS_OK"));
  SetControlText(m_PaintManager, "CancleButton", MainText("IDS_CANCEL"));
  SetControlText(m_PaintManager, "LanguangeLabel", MainText("IDS_LANGUAGE"));

  const OptionTable languages = LanguageRows();
  FillCombo(languageCombo, languages);
  SelectRow(languageCombo, FindRowByValue(languages, settings.languageFile));

  const OutputTables tables = OutputTablesFor(settings.languageFile);
  videoTable = tables.video;
  soundTable = tables.sound;

  SetControlText(m_PaintManager, "VideoLabel", MainText("IDS_VIDEO"));
  FillCombo(videoCombo, videoTable, true);
  SelectRow(videoCombo, FindRowByValue(videoTable, settings.videoOutput));

  SetControlText(m_PaintManager, "SoundLabel", MainText("IDS_SOUND"));
  FillCombo(soundCombo, soundTable);
  SelectRow(soundCombo, FindRowByValue(soundTable, settings.audioOutput));

  SetControlText(m_PaintManager, "SoundCardLabel", MainText("IDS_SOUNDCARD"));
  nextDeviceNumber_ = 0;
  soundDevices_.clear();
  if (soundCardCombo != nullptr) {
    soundCardCombo->SetEnabled(settings.audioOutput == kSoundCardOutput);
  }
  StartDeviceListing();

  SetControlText(m_PaintManager, "VersionLabel", VersionText(MainText("IDS_VERSION")));

  SetControlText(m_PaintManager, "GeneralOption", MainText("IDS_PLAYER"));
  previewCheck = FindControlAs<CCheckBoxUI>(m_PaintManager, "showBox");
  if (previewCheck != nullptr) {
    previewCheck->SetText(MainText("IDS_SHOWSHOT"));
    previewCheck->SetCheck(settings.snapshotPreview, false);
  }
  stampCheck = FindControlAs<CCheckBoxUI>(m_PaintManager, "stampBox");
  if (stampCheck != nullptr) {
    stampCheck->SetText(
        ReadLanguageTextOrEnglish(context_, kMainInterfaceSection, "IDS_STAMPSHOT"));
    stampCheck->SetCheck(settings.snapshotStamp, false);
  }
  stampedCopyCheck = FindControlAs<CCheckBoxUI>(m_PaintManager, "stampedCopyBox");
  if (stampedCopyCheck != nullptr) {
    stampedCopyCheck->SetText(
        ReadLanguageTextOrEnglish(context_, kMainInterfaceSection, "IDS_STAMPEDCOPY"));
    stampedCopyCheck->SetCheck(settings.stampedCopy, false);
  }
  SetControlText(m_PaintManager, "EventLabel",
                 ReadLanguageTextOrEnglish(context_, kEventInterfaceSection, "IDS_EVENTLIMIT"));
  eventCombo = FindControlAs<CComboUI>(m_PaintManager, "EventCombo");
  FillCombo(eventCombo, EventThresholdRows());
  shownThresholdRow_ = NearestThresholdRow(settings.eventThresholdG);
  SelectRow(eventCombo, shownThresholdRow_);
  flipCheck = FindControlAs<CCheckBoxUI>(m_PaintManager, "flipBox");
  if (flipCheck != nullptr) {
    flipCheck->SetText(
        ReadLanguageTextOrEnglish(context_, kEventInterfaceSection, "IDS_EVENTFLIP"));
    flipCheck->SetCheck(settings.eventFlipY, false);
  }

  speedUnitCombo = FindControlAs<CComboUI>(m_PaintManager, "SpeedUnitCombo");
  speedUnitLabel = FindControlAs<CLabelUI>(m_PaintManager, "SpeedUnitLabel");
  SetControlText(m_PaintManager, "SpeedUnitLabel",
                 ReadLanguageTextOrEnglish(context_, kMainInterfaceSection, "IDS_SPEEDUNIT"));
  FillCombo(speedUnitCombo, kSpeedUnitRows);
  SelectRow(speedUnitCombo, FindRowByValue(kSpeedUnitRows, SpeedUnitValue(settings.speedUnit)));

  SetControlText(m_PaintManager, "PictureCornerLabel",
                 ReadLanguageTextOrEnglish(context_, kMainInterfaceSection, "IDS_PICTURECORNER"));
  pictureCornerCombo = FindControlAs<CComboUI>(m_PaintManager, "PictureCornerCombo");
  if (pictureCornerCombo != nullptr) {
    for (const char* key : {"IDS_CORNER_TOPLEFT", "IDS_CORNER_TOPRIGHT", "IDS_CORNER_BOTTOMLEFT",
                            "IDS_CORNER_BOTTOMRIGHT"}) {
      pictureCornerCombo->Add(
          NewItem(" " + ReadLanguageTextOrEnglish(context_, kMainInterfaceSection, key)));
    }
  }
  SelectRow(pictureCornerCombo, static_cast<int>(PictureCornerOf(settings.pictureCorner)));
  SetControlText(m_PaintManager, "PictureWidthLabel",
                 ReadLanguageTextOrEnglish(context_, kMainInterfaceSection, "IDS_PICTUREWIDTH"));
  pictureWidthCombo = FindControlAs<CComboUI>(m_PaintManager, "PictureWidthCombo");
  FillCombo(pictureWidthCombo, PictureWidthRows());
  shownWidthRow_ = NearestPictureWidthRow(settings.pictureWidthPercent);
  SelectRow(pictureWidthCombo, shownWidthRow_);
  m_PaintManager.AddNotifier(this);
}

void CDuiSettingWnd::OnSoundDeviceFound(std::string_view description) {
  if (Current() != nullptr && soundCardCombo != nullptr) {
    soundCardCombo->Add(NewItem(SoundCardText(description)));
  }
  auto device = std::make_unique<SoundDevice>();
  device->number = nextDeviceNumber_++;
  device->name = " " + std::string(description);
  soundDevices_.push_back(std::move(device));
}

void CDuiSettingWnd::ApplyChoices() {
  Settings& settings = context_.settings;
  if (const char* video = SelectedValue(videoCombo, videoTable)) {
    settings.videoOutput = video;
    WriteSettingString(context_, kSettingsSection, kKeyVideoOutput, video);
  }
  if (const char* audio = SelectedValue(soundCombo, soundTable)) {
    settings.audioOutput = audio;
    WriteSettingString(context_, kSettingsSection, kKeyAudioOutput, audio);
  }
  if (settings.audioOutput == kSoundCardOutput && soundCardCombo != nullptr) {
    const int row = soundCardCombo->GetCurSel();
    if (row >= 0 && static_cast<std::size_t>(row) < soundDevices_.size()) {
      settings.soundDevice = soundDevices_[static_cast<std::size_t>(row)]->number;
      WriteSettingInt(context_, kSettingsSection, kKeySoundDevice, settings.soundDevice);
    }
  }
  if (const char* language = SelectedValue(languageCombo, LanguageRows())) {
    settings.languageFile = language;
    WriteSettingString(context_, kSettingsSection, kKeyLanguage, language);
  }
  if (previewCheck != nullptr && previewCheck->GetCheck() != settings.snapshotPreview) {
    settings.snapshotPreview = previewCheck->GetCheck();
    WriteSettingInt(context_, kSettingsSection, kKeySnapshotPreview,
                    settings.snapshotPreview ? 1 : 0);
  }
  if (stampCheck != nullptr && stampCheck->GetCheck() != settings.snapshotStamp) {
    settings.snapshotStamp = stampCheck->GetCheck();
    WriteSettingInt(context_, kSettingsSection, kKeySnapshotStamp, settings.snapshotStamp ? 1 : 0);
  }
  if (stampedCopyCheck != nullptr && stampedCopyCheck->GetCheck() != settings.stampedCopy) {
    settings.stampedCopy = stampedCopyCheck->GetCheck();
    WriteSettingInt(context_, kSettingsSection, kKeyStampedCopy, settings.stampedCopy ? 1 : 0);
  }
  // A threshold the list does not hold exactly stays as it is unless another row was picked.
  if (eventCombo != nullptr && eventCombo->GetCurSel() != shownThresholdRow_) {
    if (const char* threshold = SelectedValue(eventCombo, EventThresholdRows())) {
      settings.eventThresholdG = ParseEventThreshold(threshold);
      WriteSettingString(context_, kSettingsSection, kKeyEventThreshold, threshold);
    }
  }
  if (flipCheck != nullptr && flipCheck->GetCheck() != settings.eventFlipY) {
    settings.eventFlipY = flipCheck->GetCheck();
    WriteSettingInt(context_, kSettingsSection, kKeyEventFlipY, settings.eventFlipY ? 1 : 0);
  }
  // Like the check boxes, the unit is written only when it changed.
  const char* unit = SelectedValue(speedUnitCombo, kSpeedUnitRows);
  if (unit != nullptr && SpeedUnitFromValue(unit) != settings.speedUnit) {
    settings.speedUnit = SpeedUnitFromValue(unit);
    WriteSettingString(context_, kSettingsSection, kKeySpeedUnit, unit);
  }
  // A corner text the file spells otherwise, or not at all, is kept while it names the same corner.
  if (const int row = pictureCornerCombo != nullptr ? pictureCornerCombo->GetCurSel() : -1;
      row >= 0 && static_cast<std::size_t>(row) < kPictureCornerValues.size() &&
      PictureCorner(row) != PictureCornerOf(settings.pictureCorner)) {
    settings.pictureCorner = kPictureCornerValues[static_cast<std::size_t>(row)];
    WriteSettingString(context_, kSettingsSection, kKeyPictureCorner, settings.pictureCorner);
  }
  // As with the threshold, a width the list lacks stays unless another row was picked.
  if (pictureWidthCombo != nullptr && pictureWidthCombo->GetCurSel() != shownWidthRow_) {
    if (const char* width = SelectedValue(pictureWidthCombo, PictureWidthRows())) {
      settings.pictureWidthPercent = std::atoi(width);
      WriteSettingString(context_, kSettingsSection, kKeyPictureWidth, width);
    }
  }
}

void CDuiSettingWnd::OnClick(TNotifyUI& msg) {
  const CDuiString name = msg.pSender != nullptr ? msg.pSender->GetName() : CDuiString{};
  if (name == "OKButton") {
    ApplyChoices();
    Close(1);
  } else if (name == "CancleButton") {
    Close(2);
  }
  CXMLWnd::OnClick(msg);
}

void CDuiSettingWnd::Notify(TNotifyUI& msg) {
  if (msg.sType == DUI_MSGTYPE_ITEMSELECT && msg.pSender != nullptr && msg.pSender == soundCombo &&
      soundCardCombo != nullptr) {
    const char* audio = SelectedValue(soundCombo, soundTable);
    soundCardCombo->SetEnabled(audio != nullptr &&
                               EqualsIgnoringAsciiCase(audio, kSoundCardOutput));
  }
  CXMLWnd::Notify(msg);
}

}  // namespace korvane
