// Text and button controls: CLabelUI (one line), CTextUI (wrapping), CButtonUI ("click" on a
// release inside), COptionUI (selected state, optional group) and CCheckBoxUI.
#pragma once
#include "framework/ui_control.h"

namespace DuiLib {

class CLabelUI : public CControlUI {
 public:
  CLabelUI();
  const char* GetClass() const override { return "LabelUI"; }
  void* GetInterface(std::string_view name) override;

  void SetTextStyle(UINT style);
  UINT GetTextStyle() const { return textStyle_; }
  void SetTextColor(DWORD argb);
  DWORD GetTextColor() const { return textColor_; }
  void SetDisabledTextColor(DWORD argb);
  void SetFont(int index);
  int GetFont() const { return font_; }
  RECT GetTextPadding() const { return textPadding_; }
  void SetTextPadding(RECT rc);

  SIZE EstimateSize(SIZE available) override;
  void SetAttribute(std::string_view name, std::string_view value) override;
  void PaintText(HDC hDC) override;

 protected:
  void PaintTextIn(HDC hDC, DWORD argb);
  DWORD textColor_ = 0;
  DWORD disabledTextColor_ = 0;
  int font_ = -1;
  UINT textStyle_;
  RECT textPadding_;
  bool autoWidth_ = false;
};

class CTextUI : public CLabelUI {
 public:
  CTextUI();
  const char* GetClass() const override { return "TextUI"; }
  void* GetInterface(std::string_view name) override;
};

class CButtonUI : public CLabelUI {
 public:
  CButtonUI();
  const char* GetClass() const override { return "ButtonUI"; }
  void* GetInterface(std::string_view name) override;
  UINT GetControlFlags() const override;

  bool Activate() override;
  void SetEnabled(bool enabled = true) override;
  void DoEvent(TEventUI& event) override;

  void SetNormalImage(std::string_view image);
  void SetHotImage(std::string_view image);
  void SetPushedImage(std::string_view image);
  void SetDisabledImage(std::string_view image);
  void SetForeImage(std::string_view image);
  void SetHotTextColor(DWORD argb) { hotTextColor_ = argb; }
  void SetHotBkColor(DWORD argb) { hotBkColor_ = argb; }
  void SetPushedBkColor(DWORD argb) { pushedBkColor_ = argb; }

  void SetAttribute(std::string_view name, std::string_view value) override;
  void PaintBkColor(HDC hDC) override;
  void PaintStatusImage(HDC hDC) override;
  void PaintText(HDC hDC) override;

  bool IsHot() const { return hot_; }
  bool IsPushed() const { return pushed_; }

 protected:
  bool hot_ = false;
  bool pushed_ = false;
  bool captured_ = false;
  CDuiString normalImage_, hotImage_, pushedImage_, disabledImage_, foreImage_, hotForeImage_;
  DWORD hotTextColor_ = 0;
  DWORD pushedTextColor_ = 0;
  DWORD hotBkColor_ = 0;
  DWORD pushedBkColor_ = 0;
};

class COptionUI : public CButtonUI {
 public:
  ~COptionUI() override;
  const char* GetClass() const override { return "OptionUI"; }
  void* GetInterface(std::string_view name) override;

  bool Activate() override;
  bool IsSelected() const { return selected_; }
  // Raises "selectchanged" when the state changes and bTriggerEvent is set.
  virtual void Selected(bool selected, bool bTriggerEvent = true);
  const CDuiString& GetGroup() const { return group_; }
  void SetGroup(std::string_view group);
  void SetSelectedImage(std::string_view image) {
    selectedImage_ = image;
    Invalidate();
  }

  void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
  void SetAttribute(std::string_view name, std::string_view value) override;
  void PaintBkColor(HDC hDC) override;
  void PaintStatusImage(HDC hDC) override;
  void PaintText(HDC hDC) override;

 protected:
  bool selected_ = false;
  CDuiString group_;
  CDuiString selectedImage_, selectedHotImage_;
  DWORD selectedTextColor_ = 0;
  DWORD selectedBkColor_ = 0;
};

class CCheckBoxUI : public COptionUI {
 public:
  const char* GetClass() const override { return "CheckBoxUI"; }
  void* GetInterface(std::string_view name) override;
  bool GetCheck() const { return IsSelected(); }
  void SetCheck(bool check, bool bTriggerEvent = true) { Selected(check, bTriggerEvent); }
};

}  // namespace DuiLib
