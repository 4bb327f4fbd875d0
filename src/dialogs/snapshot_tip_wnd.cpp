#include "dialogs/snapshot_tip_wnd.h"

#include "app/localization.h"
#include "dialogs/dialog_support.h"
#include "dialogs/preview_rect.h"

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
  const PreviewRect place =
      ScalePreview(width, height).value_or(PlaceUnsizedPreview(ReadPngSize(imagePath)));
  picture = new CControlUI;
  previewer->Add(picture);
  picture->SetBkImage(ImageForPath(imagePath));
  picture->SetFloat(true);
  // Fixed offset and size keep the place when the previewer is laid out again.
  picture->SetFixedXY(SIZE{place.left, place.top});
  picture->SetFixedWidth(place.right - place.left);
  picture->SetFixedHeight(place.bottom - place.top);
  const RECT origin = previewer->GetPos();
  picture->SetPos(RECT{origin.left + place.left, origin.top + place.top, origin.left + place.right,
                       origin.top + place.bottom},
                  true);
}

void CDuiSnapshotTipWnd::OnDestroy() {
  if (noAgainBox != nullptr && noAgainBox->GetCheck()) {
    SwitchOffTip(context_, kKeySnapshotPreview, context_.settings.snapshotPreview);
  }
  CXMLWnd::OnDestroy();
}

}  // namespace korvane
