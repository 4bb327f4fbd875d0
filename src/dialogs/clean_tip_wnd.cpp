#include "dialogs/clean_tip_wnd.h"

#include "dialogs/dialog_support.h"
#include "settings/localization.h"

namespace korvane {

using namespace DuiLib;

void CDuiCleanTipWnd::InitWindow() {
  auto snapshotText = [&](const char* key) {
    return ReadLanguageText(context_, kSnapshotInterfaceSection, key);
  };
  auto mainText = [&](const char* key) {
    return ReadLanguageText(context_, kMainInterfaceSection, key);
  };
  SetControlText(m_PaintManager, "CleanTitleLabel", snapshotText("IDS_CLEANTITLE"));
  noAgainBox = dynamic_cast<CCheckBoxUI*>(
      SetControlText(m_PaintManager, "ShowAgainCheckBox", snapshotText("IDS_NOAGAIN")));
  SetControlText(m_PaintManager, "CleanContentLabelOne", snapshotText("IDS_CLEANTIPCONTENT"));
  SetControlText(m_PaintManager, "CleanContentLabelTwo", snapshotText("IDS_CLEANTIPCONTENTTWO"));
  SetControlText(m_PaintManager, "CleanOKButton", mainText("IDS_OK"));
  SetControlText(m_PaintManager, "CleanCancleButton", mainText("IDS_CANCEL"));
}

void CDuiCleanTipWnd::SaveChoice() {
  if (noAgainBox != nullptr && noAgainBox->GetCheck()) {
    SwitchOffTip(context_, kKeyCleanTip, context_.settings.cleanTip);
  }
}

void CDuiCleanTipWnd::OnClick(TNotifyUI& msg) {
  const CDuiString name = msg.pSender != nullptr ? msg.pSender->GetName() : CDuiString{};
  if (name == "CleanOKButton") {
    SaveChoice();
    Close(1);
  } else if (name == "CleanCancleButton") {
    Close(2);
  }
  CXMLWnd::OnClick(msg);
}

void CDuiCleanTipWnd::OnDestroy() {
  SaveChoice();
  CXMLWnd::OnDestroy();
}

}  // namespace korvane
