// A skin-built test window for the framework tests: writes its skin to a temporary folder and
// records every notification and message it sees.
#pragma once
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <fstream>
#include <string>
#include <vector>

#include "framework/UIlib.h"
#include "support/temp_dir.h"

namespace korvane::test {

struct SeenMessage {
  DuiLib::UINT message;
  DuiLib::WPARAM wParam;
  DuiLib::LPARAM lParam;
  std::vector<std::string> dropped;
};

class TestSkinWindow : public DuiLib::WindowImplBase {
 public:
  explicit TestSkinWindow(const std::string& skinXml, std::string file = "test.xml")
      : file_(std::move(file)) {
    std::ofstream(dir_.str() + file_) << skinXml;
    DuiLib::CPaintManagerUI::SetResourcePath(dir_.str());
  }
  const char* GetWindowClassName() const override { return "TestSkinWindow"; }
  DuiLib::CDuiString GetSkinFolder() override { return ""; }
  DuiLib::CDuiString GetSkinFile() override { return file_; }
  void Notify(DuiLib::TNotifyUI& msg) override {
    notes.push_back(msg);
    WindowImplBase::Notify(msg);
  }
  void OnClick(DuiLib::TNotifyUI& msg) override {
    clicks.push_back(msg.pSender != nullptr ? msg.pSender->GetName() : "");
    WindowImplBase::OnClick(msg);
  }
  DuiLib::LRESULT HandleMessage(DuiLib::UINT uMsg, DuiLib::WPARAM wParam,
                                DuiLib::LPARAM lParam) override {
    const DuiLib::LRESULT base = WindowImplBase::HandleMessage(uMsg, wParam, lParam);
    SeenMessage seen{uMsg, wParam, lParam, {}};
    if (uMsg == DuiLib::WM_DROPFILES) {
      auto drop = reinterpret_cast<DuiLib::HDROP>(wParam);
      for (DuiLib::UINT i = 0; i < DuiLib::DragQueryFileCount(drop); ++i) {
        seen.dropped.push_back(DuiLib::DragQueryFilePath(drop, i));
      }
    }
    messages.push_back(seen);
    if (uMsg >= DuiLib::WM_USER) return static_cast<DuiLib::LRESULT>(uMsg) + lParam;
    return base;
  }
  void OnDestroy() override { destroyed = true; }

  DuiLib::WindowHandle CreateHidden() {
    return Create(0, "test", DuiLib::WS_POPUP, DuiLib::WS_EX_ACCEPTFILES, 0, 0, 400, 300);
  }
  DuiLib::CControlUI* Find(const char* name) { return m_PaintManager.FindControl(name); }
  int CountNotes(const std::string& type) const {
    int n = 0;
    for (const auto& m : notes) n += m.sType == type ? 1 : 0;
    return n;
  }

  std::vector<DuiLib::TNotifyUI> notes;
  std::vector<std::string> clicks;
  std::vector<SeenMessage> messages;
  bool destroyed = false;

 private:
  TempDir dir_;
  std::string file_;
};

inline void SendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button,
                      Qt::MouseButtons buttons) {
  QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}
inline void MousePress(QWidget* w, QPoint at) {
  SendMouse(w, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
}
inline void MouseMoveHeld(QWidget* w, QPoint at) {
  SendMouse(w, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
}
inline void MouseRelease(QWidget* w, QPoint at) {
  SendMouse(w, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}
inline void MouseClick(QWidget* w, QPoint at) {
  MousePress(w, at);
  MouseRelease(w, at);
}
inline void KeyClick(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier,
                     const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, mods, text);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, mods, text);
  QApplication::sendEvent(w, &release);
}

// Counts the key presses that reach a widget (after the application's filters).
class KeyCounter : public QObject {
 public:
  explicit KeyCounter(QWidget* widget) { widget->installEventFilter(this); }
  int presses = 0;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    presses += e->type() == QEvent::KeyPress ? 1 : 0;
    return false;
  }
};

// Processes queued events until pred() holds or about two seconds passed.
template <class Pred>
bool PumpUntil(Pred pred) {
  QElapsedTimer timer;
  timer.start();
  while (!pred() && timer.elapsed() < 5000) {
    QApplication::sendPostedEvents();
    QApplication::processEvents(QEventLoop::AllEvents, 5);
    QThread::msleep(1);
  }
  return pred();
}

}  // namespace korvane::test
