// CComboUI: a drop-down list of CListLabelElementUI items (children of the combo, not laid out
// inside it); choosing an item raises "itemselect" (wParam new index, lParam old index).
#pragma once
#include "framework/ui_container.h"
#include "framework/ui_label.h"

namespace DuiLib {

class CComboUI;

class CListLabelElementUI : public CLabelUI {
 public:
  const char* GetClass() const override { return "ListLabelElementUI"; }
  void* GetInterface(std::string_view name) override;
  int GetIndex() const;
  bool IsSelected() const;
  // Selects this item in its combo; false when it is in none.
  bool Select(bool select = true);
  void SetAttribute(std::string_view name, std::string_view value) override;

 private:
  CComboUI* Owner() const;
};

class CComboUI : public CContainerUI {
 public:
  CComboUI();
  const char* GetClass() const override { return "ComboUI"; }
  void* GetInterface(std::string_view name) override;
  UINT GetControlFlags() const override;

  int GetCurSel() const { return curSel_; }
  // -1 clears the selection. False for other out-of-range indexes.
  bool SelectItem(int index, bool bTakeFocus = false, bool bTriggerEvent = true);
  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  bool Remove(CControlUI* control) override;
  bool RemoveAt(int index) override;
  void RemoveAll() override;
  CDuiString GetText() const override;

  // Opens the list (the popup is modal to the combo until an item is chosen or it is closed).
  virtual void ShowDropDown();

  void SetPos(RECT rc, bool bNeedInvalidate = true) override;
  void DoEvent(TEventUI& event) override;
  void SetAttribute(std::string_view name, std::string_view value) override;
  void DoPaint(HDC hDC, const RECT& rcPaint) override;
  void PaintStatusImage(HDC hDC) override;
  void PaintText(HDC hDC) override;
  CControlUI* FindControl(FINDCONTROLPROC proc, void* data, UINT flags) override;

 private:
  int curSel_ = -1;
  bool hot_ = false;
  CDuiString normalImage_, hotImage_, pushedImage_, disabledImage_;
  DWORD textColor_ = 0xFFDDDDDD;
  DWORD popupBkColor_ = 0xFF2A2D33;
  DWORD popupHotColor_ = 0xFF2F80ED;
  int font_ = -1;
  RECT textPadding_{8, 0, 24, 0};
};

}  // namespace DuiLib
