// The few drawing operations the chart paints with. The control maps them onto the UI
// framework's drawing context; tests record them.
#pragma once
#include <cstddef>
#include <string>

#include "chart/chart_math.h"
#include "chart/chart_model.h"
#include "framework/draw_context.h"

namespace DuiLib {

class IChartCanvas {
 public:
  virtual ~IChartCanvas() = default;
  // Keeps the current pen, font, text colour and clip until Restore.
  virtual void Save() = 0;
  virtual void Restore() = 0;
  // Fills left..right-1 by top..bottom-1 with an ARGB colour (0xAARRGGBB); alpha 0 fills nothing.
  virtual void Fill(const RECT& rect, DWORD argb) = 0;
  virtual void SetPen(const Pen& pen) = 0;
  virtual void SetFont(const LOGFONT& font) = 0;
  virtual void SetTextColor(COLORREF color) = 0;
  // Cell height of the current font in pixels.
  virtual int TextHeight() = 0;
  // Width of `text` in the current font in pixels.
  virtual int TextWidth(const std::string& text) = 0;
  // `count` separate lines with the current pen, line i from ends[2i] to ends[2i + 1].
  virtual void Lines(const POINT* ends, std::size_t count) = 0;
  // Text with the top-left corner of its cell at `at`, in the current text colour.
  virtual void Text(POINT at, const std::string& text) = 0;
  // Lets what follows draw outside the control.
  virtual void RemoveClip() = 0;

  void Line(POINT from, POINT to) {
    const POINT ends[2] = {from, to};
    Lines(ends, 1);
  }
};

}  // namespace DuiLib
