// CZellChartUI: the acceleration chart control created for the skin tag "ZellChart". It holds the
// chart model (curves, scale state, appearance) and paints it in its background steps.
#pragma once
#include <string_view>

#include "chart/chart_model.h"
#include "framework/ui_control.h"

namespace DuiLib {

inline constexpr const char* kChartClick = "chartclick";
inline constexpr const char* kChartHover = "charthover";
inline constexpr const char* kChartLeave = "chartleave";

class CZellChartUI : public CControlUI, public CChartModel {
 public:
  CZellChartUI();
  ~CZellChartUI() override;

  const char* GetClass() const override;
  // This control for "ZellChart" (exact), else what the base answers.
  void* GetInterface(std::string_view name) override;
  // "inset" (exact) reads the plot margins "left,top,right,bottom"; other names go to the base.
  void SetAttribute(std::string_view name, std::string_view value) override;
  // Background and plot area; nothing before the chart is set up.
  void PaintBkColor(HDC hDC) override;
  // Grid, curves, frame, ticks, axis and labels; nothing before the chart is set up.
  void PaintBkImage(HDC hDC) override;

  // Invalidates the control. From another thread (the start-up worker's set-up) the window is not
  // touched there: the invalidation is handed to the UI thread.
  void RequestRepaint() override;

  // The mouse over the chart: a left press raises "chartclick", a move "charthover", leaving
  // "chartleave", each with the pixel column in wParam.
  void DoEvent(TEventUI& event) override;
};

}  // namespace DuiLib
