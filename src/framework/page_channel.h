// The page's way to the program: the script object "korvane" that every page of a browser control
// reaches through Qt WebChannel. Its post(name, json) hands the two texts on, unchanged and on the
// UI thread, to the control's page message handler; what they mean and whether they can be
// trusted is for the handler to decide. Internal to the framework (web_browser_ui.cpp).
#pragma once
#include <QObject>
#include <QString>
#include <functional>
#include <string>

namespace DuiLib {

// Longest texts a page may hand over; longer ones are dropped here, before any copy is made.
constexpr int kMaxPageMessageName = 64;
constexpr int kMaxPageMessageText = 4096;

class CPageChannel : public QObject {
  Q_OBJECT

 public:
  using Handler = std::function<void(const std::string& name, const std::string& json)>;

  explicit CPageChannel(QObject* parent) : QObject(parent) {}
  void SetHandler(Handler handler) { handler_ = std::move(handler); }

  // Called by the page's script. Texts beyond the limits, or no handler, drop the message.
  Q_INVOKABLE void post(const QString& name, const QString& json);

 private:
  Handler handler_;
};

}  // namespace DuiLib
