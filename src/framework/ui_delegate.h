// Delegates and event sources: a control's notification listeners (`control->OnNotify +=
// MakeDelegate(this, &CViewManager::OnVolume)`). A handler gets the TNotifyUI* as void*.
#pragma once
#include <functional>
#include <memory>
#include <vector>

namespace DuiLib {

class CDelegateBase {
 public:
  virtual ~CDelegateBase() = default;
  virtual std::unique_ptr<CDelegateBase> Copy() const = 0;
  // The handler's answer; false stops the remaining delegates of the source.
  virtual bool Invoke(void* param) = 0;
  // Identity of object and member, so `-=` can remove what `+=` added.
  virtual bool Equals(const CDelegateBase& other) const = 0;
  bool operator()(void* param) { return Invoke(param); }
};

class CDelegateStatic : public CDelegateBase {
 public:
  using Fn = bool (*)(void*);
  explicit CDelegateStatic(Fn fn) : fn_(fn) {}
  std::unique_ptr<CDelegateBase> Copy() const override {
    return std::make_unique<CDelegateStatic>(fn_);
  }
  bool Invoke(void* param) override { return fn_ == nullptr || fn_(param); }
  bool Equals(const CDelegateBase& other) const override {
    auto* o = dynamic_cast<const CDelegateStatic*>(&other);
    return o != nullptr && o->fn_ == fn_;
  }

 private:
  Fn fn_;
};

template <class O, class T = O>
class CDelegate : public CDelegateBase {
 public:
  using Fn = bool (T::*)(void*);
  CDelegate(O* obj, Fn fn) : obj_(obj), fn_(fn) {}
  std::unique_ptr<CDelegateBase> Copy() const override {
    return std::make_unique<CDelegate>(obj_, fn_);
  }
  bool Invoke(void* param) override { return obj_ == nullptr || (obj_->*fn_)(param); }
  bool Equals(const CDelegateBase& other) const override {
    auto* o = dynamic_cast<const CDelegate*>(&other);
    return o != nullptr && o->obj_ == obj_ && o->fn_ == fn_;
  }

 private:
  O* obj_;
  Fn fn_;
};

template <class O, class T>
CDelegate<O, T> MakeDelegate(O* obj, bool (T::*fn)(void*)) {
  return CDelegate<O, T>(obj, fn);
}
inline CDelegateStatic MakeDelegate(bool (*fn)(void*)) {
  return CDelegateStatic(fn);
}

class CEventSource {
 public:
  CEventSource() = default;
  CEventSource(const CEventSource&) = delete;
  CEventSource& operator=(const CEventSource&) = delete;

  void operator+=(const CDelegateBase& d) { delegates_.push_back(d.Copy()); }
  void operator+=(bool (*fn)(void*)) { *this += CDelegateStatic(fn); }
  void operator-=(const CDelegateBase& d);
  void operator-=(bool (*fn)(void*)) { *this -= CDelegateStatic(fn); }
  // Calls the delegates in the order added; false as soon as one returns false.
  bool operator()(void* param);
  bool IsEmpty() const { return delegates_.empty(); }
  void Clear() { delegates_.clear(); }

 private:
  std::vector<std::unique_ptr<CDelegateBase>> delegates_;
};

}  // namespace DuiLib
