#include "framework/page_channel.h"

namespace DuiLib {

void CPageChannel::post(const QString& name, const QString& json) {
  if (!handler_ || name.size() > kMaxPageMessageName || json.size() > kMaxPageMessageText) return;
  // A handler may replace itself (a page reload); it runs from a copy.
  const Handler handler = handler_;
  handler(name.toStdString(), json.toStdString());
}

}  // namespace DuiLib
