#include "chart/zell_chart_ui.h"

#include "chart/chart_canvas.h"
#include "chart/chart_painter.h"
#include "framework/paint_manager.h"

namespace DuiLib {
namespace {

// The chart's canvas on the framework's drawing context.
class DrawContextCanvas : public IChartCanvas {
 public:
  explicit DrawContextCanvas(CDrawContext& dc) : dc_(dc) {}
  void Save() override {
    pen_ = dc_.GetPen();
    font_ = dc_.GetFont();
    textColor_ = dc_.GetTextColor();
  }
  void Restore() override {
    dc_.SelectPen(pen_);
    dc_.SelectFont(font_);
    dc_.SetTextColor(textColor_);
  }
  void Fill(const RECT& rect, DWORD argb) override {
    CRenderEngine::DrawColor(&dc_, rect, CRenderEngine::GetAdjustColor(argb));
  }
  void SetPen(const Pen& pen) override { dc_.SelectPen(pen); }
  void SetFont(const LOGFONT& font) override { dc_.SelectFont(font); }
  void SetTextColor(COLORREF color) override { dc_.SetTextColor(color); }
  int TextHeight() override { return dc_.GetTextMetrics().tmHeight; }
  int TextWidth(const std::string& text) override { return dc_.MeasureText(text); }
  void Lines(const POINT* ends, std::size_t count) override { dc_.DrawLines(ends, count); }
  void Text(POINT at, const std::string& text) override { dc_.TextOut(at.x, at.y, text); }
  void RemoveClip() override { dc_.ClearClip(); }

 private:
  CDrawContext& dc_;
  Pen pen_;
  LOGFONT font_;
  COLORREF textColor_ = 0;
};

}  // namespace

CZellChartUI::CZellChartUI() = default;
CZellChartUI::~CZellChartUI() = default;

const char* CZellChartUI::GetClass() const {
  return "ZellChartUI";
}

void* CZellChartUI::GetInterface(std::string_view name) {
  if (name == "ZellChart") return this;
  return CControlUI::GetInterface(name);
}

void CZellChartUI::SetAttribute(std::string_view name, std::string_view value) {
  if (name == "inset") {
    inset = ParseInset(value);
    return;
  }
  CControlUI::SetAttribute(name, value);
}

void CZellChartUI::PaintBkColor(HDC hDC) {
  if (!hDC || !ready) return;
  plotRect = PlotRect(rcItem_, inset);
  DrawContextCanvas canvas(*hDC);
  PaintChartBackground(*this, rcItem_, bkColor_, bkColor2_, canvas);
}

void CZellChartUI::PaintBkImage(HDC hDC) {
  if (!hDC || !ready) return;
  DrawContextCanvas canvas(*hDC);
  PaintChartContent(*this, plotRect, canvas);
}

void CZellChartUI::RequestRepaint() {
  InvalidateFromAnyThread();
}

void CZellChartUI::DoEvent(TEventUI& event) {
  const char* type = nullptr;
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
      type = kChartClick;
      break;
    case UIEVENT_MOUSEMOVE:
      type = kChartHover;
      break;
    case UIEVENT_MOUSELEAVE:
      type = kChartLeave;
      break;
    default:
      CControlUI::DoEvent(event);
      return;
  }
  if (ready && manager_ != nullptr) {
    manager_->SendNotify(this, type, static_cast<WPARAM>(event.ptMouse.x));
  }
}

}  // namespace DuiLib
