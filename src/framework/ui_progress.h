// CProgressUI (integer value between min and max, drawn as a filled bar, with a tinted span and
// ticks marked over it) and CSliderUI (the same with a thumb the user drags; "valuechanged" is
// raised each time the value changes while dragging, and on release).
#pragma once
#include <vector>

#include "framework/ui_label.h"

namespace DuiLib {

// Marks over a bar, as shares 0..1 of its range (outside values are held at the ends): a span
// tinted in "spancolor" (none when from is not before to) and short upright ticks in "tickcolor"
// reaching above and below the track.
struct BarMarks {
  double spanFrom = 0;
  double spanTo = 0;
  std::vector<double> ticks;
  friend bool operator==(const BarMarks&, const BarMarks&) = default;
};

class CProgressUI : public CLabelUI {
 public:
  CProgressUI();
  const char* GetClass() const override { return "ProgressUI"; }
  void* GetInterface(std::string_view name) override;

  bool IsHorizontal() const { return horizontal_; }
  void SetHorizontal(bool horizontal = true);
  int GetMinValue() const { return min_; }
  // A max below min is raised to min; the value is kept inside the range.
  void SetMinValue(int min);
  int GetMaxValue() const { return max_; }
  void SetMaxValue(int max);
  int GetValue() const { return value_; }
  // Clamped to [min, max].
  void SetValue(int value);
  void SetForeImage(std::string_view image);
  void SetForeColor(DWORD argb) {
    foreColor_ = argb;
    Invalidate();
  }

  // Repaints only on a change.
  void SetMarks(BarMarks marks);
  const BarMarks& GetMarks() const { return marks_; }

  void SetAttribute(std::string_view name, std::string_view value) override;
  void PaintStatusImage(HDC hDC) override;

 protected:
  // The bar's track rectangle (the slider leaves room for the thumb at both ends).
  virtual RECT TrackRect() const;
  // The filled part of the track.
  RECT FilledRect() const;

  bool horizontal_ = true;
  int min_ = 0;
  int max_ = 100;
  int value_ = 0;
  CDuiString foreImage_;
  DWORD foreColor_ = 0;
  DWORD trackColor_ = 0;
  int trackHeight_ = 0;  // 0: the whole control

 private:
  void PaintMarks(HDC hDC) const;

  BarMarks marks_;
  DWORD spanColor_ = 0;
  DWORD tickColor_ = 0;
};

class CSliderUI : public CProgressUI {
 public:
  CSliderUI();
  const char* GetClass() const override { return "SliderUI"; }
  void* GetInterface(std::string_view name) override;
  UINT GetControlFlags() const override;

  void SetThumbSize(SIZE size) { thumbSize_ = size; }
  RECT GetThumbRect() const;
  bool IsDragging() const { return dragging_; }
  // Step for the keyboard and the wheel.
  void SetChangeStep(int step) { step_ = step; }

  void SetEnabled(bool enabled = true) override;
  void DoEvent(TEventUI& event) override;
  void SetAttribute(std::string_view name, std::string_view value) override;
  void PaintStatusImage(HDC hDC) override;

 protected:
  RECT TrackRect() const override;
  // Value under the point, clamped to the range.
  int ValueAt(POINT pt) const;
  // Sets the value and raises "valuechanged" when it changed.
  void ChangeValue(int value, bool always = false);

  SIZE thumbSize_{12, 12};
  bool dragging_ = false;
  bool hot_ = false;
  int step_ = 1;
  CDuiString thumbImage_, thumbHotImage_, thumbPushedImage_;
  DWORD thumbColor_ = 0;
  DWORD thumbHotColor_ = 0;
};

}  // namespace DuiLib
