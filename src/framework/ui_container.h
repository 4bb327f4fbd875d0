// Containers and the two linear layouts. A container owns its children; children with a fixed
// size along the layout's direction get it, the others share what is left equally. "inset" is
// the container's inner margin, "padding" each child's outer margin, "childpadding" the gap
// between children; floating children are placed at their "pos" relative to the container.
#pragma once
#include <vector>

#include "framework/ui_control.h"

namespace DuiLib {

class IContainerUI {
 public:
  virtual ~IContainerUI() = default;
  virtual CControlUI* GetItemAt(int index) const = 0;
  virtual int GetItemIndex(CControlUI* control) const = 0;
  virtual bool SetItemIndex(CControlUI* control, int index) = 0;
  virtual int GetCount() const = 0;
  virtual bool Add(CControlUI* control) = 0;
  virtual bool AddAt(CControlUI* control, int index) = 0;
  virtual bool Remove(CControlUI* control) = 0;
  virtual bool RemoveAt(int index) = 0;
  virtual void RemoveAll() = 0;
};

class CContainerUI : public CControlUI, public IContainerUI {
 public:
  CContainerUI() = default;
  ~CContainerUI() override;

  const char* GetClass() const override { return "ContainerUI"; }
  void* GetInterface(std::string_view name) override;

  // Null / -1 / false for indexes out of range and controls that are not children.
  CControlUI* GetItemAt(int index) const override;
  int GetItemIndex(CControlUI* control) const override;
  bool SetItemIndex(CControlUI* control, int index) override;
  int GetCount() const override { return static_cast<int>(items_.size()); }
  // Takes ownership; false for null.
  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  // Removes and deletes the child.
  bool Remove(CControlUI* control) override;
  bool RemoveAt(int index) override;
  void RemoveAll() override;
  // Detaches without deleting; null when not a child.
  CControlUI* Detach(CControlUI* control);

  RECT GetInset() const { return inset_; }
  void SetInset(RECT rc);
  int GetChildPadding() const { return childPadding_; }
  void SetChildPadding(int padding);

  void SetVisible(bool visible = true) override;
  void SetInternVisible(bool visible = true) override;
  void SetEnabled(bool enabled = true) override;
  void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
  CControlUI* FindControl(FINDCONTROLPROC proc, void* data, UINT flags) override;
  void SetPos(RECT rc, bool bNeedInvalidate = true) override;
  void DoPaint(HDC hDC, const RECT& rcPaint) override;
  void SetAttribute(std::string_view name, std::string_view value) override;
  void DoEvent(TEventUI& event) override;

 protected:
  // Places a floating child at its fixed position relative to this container.
  void SetFloatPos(CControlUI* child);
  // True for a child that takes no part in the row or column: an invisible one, or a floating one,
  // which it places at its fixed position.
  bool PlacedOutsideFlow(CControlUI* child);
  RECT InnerRect() const;
  // Lays the visible children out in a column (vertical) or a row.
  void LayoutLine(bool vertical);

  std::vector<CControlUI*> items_;
  RECT inset_;
  int childPadding_ = 0;
};

class CVerticalLayoutUI : public CContainerUI {
 public:
  const char* GetClass() const override { return "VerticalLayoutUI"; }
  void* GetInterface(std::string_view name) override;
  void SetPos(RECT rc, bool bNeedInvalidate = true) override;
};

class CHorizontalLayoutUI : public CContainerUI {
 public:
  const char* GetClass() const override { return "HorizontalLayoutUI"; }
  void* GetInterface(std::string_view name) override;
  void SetPos(RECT rc, bool bNeedInvalidate = true) override;
};

}  // namespace DuiLib
