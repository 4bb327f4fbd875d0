// Shared set-up for the dialog tests: an application context on a temporary settings file and the
// real language files and skins of the program folder, and helpers that drive a modal window.
#pragma once
#include <gtest/gtest.h>

#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <string>

#include "framework/UIlib.h"
#include "settings/application_context.h"
#include "settings/localization.h"
#include "support/file_text.h"
#include "support/framework_test_window.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"

namespace korvane::test {

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DuiLib::CPaintManagerUI::SetResourcePath(ProgramDir() + "skin/");
    context.programFolder = ProgramDir();
    context.dataFolder = dir.str();
    context.settingsPath = dir.str() + "Velmora.ini";
    UseLanguage("english.ini");
  }
  void UseLanguage(const std::string& file) {
    context.settings.languageFile = file;
    RebuildLanguagePath(context);
  }
  std::string SettingsText() const { return ReadFileText(context.settingsPath); }
  bool SettingsFileExists() const { return std::filesystem::exists(context.settingsPath); }

  TempDir dir;
  ApplicationContext context;
};

inline QPoint CenterOf(const DuiLib::CControlUI* control) {
  const DuiLib::RECT& rc = control->GetPos();
  return QPoint((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

// Clicks the control with the mouse, as a user would.
inline void ClickControl(DuiLib::CWindowWnd& window, const DuiLib::CControlUI* control) {
  ASSERT_NE(control, nullptr);
  MouseClick(window.GetWidget(), CenterOf(control));
}

// Runs `during` once the modal loop is running and returns ShowModal's code. A window that is
// still open after five seconds is closed with 99, so a broken test fails instead of hanging.
inline DuiLib::UINT RunModal(DuiLib::CWindowWnd& window, const std::function<void()>& during) {
  QWidget* widget = window.GetWidget();
  QTimer::singleShot(0, widget, during);
  QTimer::singleShot(5000, widget, [&window] { window.Close(99); });
  return window.ShowModal();
}

// Creates a dialog the way the main window does: popup with the skin's size, centred.
template <class Wnd>
DuiLib::WindowHandle CreateDialog(Wnd& wnd, const char* name) {
  using namespace DuiLib;
  const WindowHandle hwnd = wnd.Create(
      0, name, WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU,
      0, 0, 0, 0, 0, nullptr);
  if (hwnd != 0) wnd.CenterWindow();
  return hwnd;
}

}  // namespace korvane::test
