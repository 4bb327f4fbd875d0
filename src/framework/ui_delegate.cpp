#include "framework/ui_delegate.h"

#include <algorithm>

namespace DuiLib {

void CEventSource::operator-=(const CDelegateBase& d) {
  auto it = std::find_if(delegates_.begin(), delegates_.end(),
                         [&](const auto& mine) { return mine->Equals(d); });
  if (it != delegates_.end()) delegates_.erase(it);
}

bool CEventSource::operator()(void* param) {
  // A handler may add or remove delegates; iterate over a snapshot of copies.
  std::vector<std::unique_ptr<CDelegateBase>> snapshot;
  snapshot.reserve(delegates_.size());
  for (const auto& d : delegates_) snapshot.push_back(d->Copy());
  for (auto& d : snapshot) {
    if (!d->Invoke(param)) return false;
  }
  return true;
}

}  // namespace DuiLib
