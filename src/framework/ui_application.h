// The application object of the UI framework: one per process, created before the first window
// and destroyed after the last. Also sets what the embedded browser needs before it exists.
#pragma once
#include <memory>

namespace DuiLib {

class CUIApplication {
 public:
  // argc/argv must outlive the object.
  CUIApplication(int& argc, char** argv);
  ~CUIApplication();
  CUIApplication(const CUIApplication&) = delete;
  CUIApplication& operator=(const CUIApplication&) = delete;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace DuiLib
