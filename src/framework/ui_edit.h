// CEditUI: a one-line text field, hosting a QLineEdit so typing, selection and clipboard behave
// as users expect. "textchanged" is raised when the user edits the text.
#pragma once
#include "framework/ui_label.h"

namespace DuiLib {

class CEditUI : public CLabelUI {
 public:
  CEditUI();
  ~CEditUI() override;
  const char* GetClass() const override { return "EditUI"; }
  void* GetInterface(std::string_view name) override;

  void SetText(std::string_view text) override;
  CDuiString GetText() const override;
  void SetToolTip(std::string_view text) override;
  void SetReadOnly(bool readOnly);
  bool IsReadOnly() const { return readOnly_; }
  void SetMaxChar(int max);
  // Selects the whole text, as a field the user will most likely type over.
  void SetSelAll();
  void SetEnabled(bool enabled = true) override;

  void DoInit() override;
  void SetAttribute(std::string_view name, std::string_view value) override;
  RECT GetHostedRect() const override;
  void PaintText(HDC) override {}

 private:
  void StyleEditor();
  bool readOnly_ = false;
  int maxChar_ = 255;
};

}  // namespace DuiLib
