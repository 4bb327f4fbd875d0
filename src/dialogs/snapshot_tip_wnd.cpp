#include "dialogs/snapshot_tip_wnd.h"

#include "dialogs/dialog_support.h"
#include "dialogs/preview_rect.h"
#include "settings/localization.h"

namespace korvane {

using namespace DuiLib;

std::string ImageForPath(const std::string& path) {
  // A bare path is read as a file name only while it holds no '='; file='...' ends at a quote.
  if (path.find('=') == std::string::npos) return path;
  if (path.find('\'') == std::string::npos) return "file='" + path + "'";
  return {};
}

void CDuiSnapshotTipWnd::InitWindow() {
  SetControlText(
      m_PaintManager, "titleLabel",
      ReadLanguageText(context_, kSnapshotInterfaceSection, "IDS_SSHOTVIEW") + ":" + imagePath);
  noAgainBox = FindControlAs<CCheckBoxUI>(m_PaintManager, "showBox");
  if (noAgainBox != nullptr) {
    noAgainBox->SetText(ReadLanguageText(context_, kSnapshotInterfaceSection, "IDS_NOAGAIN"));
  }
  previewer = FindControlAs<CContainerUI>(m_PaintManager, "SnapshotPreviewer");
  if (previewer == nullptr) return;

  const auto width = static_cast<std::uint32_t>(imageWidth);
  const auto height = static_cast<std::uint32_t>(imageHeight);
  // The file is opened only when the player gave no size (value_or would read it every time).
  const std::optional<PreviewRect> scaled = ScalePreview(width, height);
  const PreviewRect place = scaled ? *scaled : PlaceUnsizedPreview(ReadPngSize(imagePath));
  picture = new CControlUI;
  previewer->Add(picture);
  picture->SetBkImage(ImageForPath(imagePath));
  picture->SetFloat(true);
  // Relative to the previewer, and kept there when the previewer is laid out again.
  picture->SetPos(RECT{place.left, place.top, place.right, place.bottom}, true);
}

void CDuiSnapshotTipWnd::OnDestroy() {
  if (noAgainBox != nullptr && noAgainBox->GetCheck()) {
    SwitchOffTip(context_, kKeySnapshotPreview, context_.settings.snapshotPreview);
  }
  CXMLWnd::OnDestroy();
}

}  // namespace korvane
