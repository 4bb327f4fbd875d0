// The drawing context own controls paint with (the GDI stand-in), and CRenderEngine, the
// framework's helpers for colours, images and text. Implemented on QPainter.
//
// A control paints by overriding the virtual paint hooks of CControlUI (DoPaint, or the steps it
// calls: PaintBkColor, PaintBkImage, PaintStatusImage, PaintText, PaintBorder), each receiving
// HDC, a pointer to the CDrawContext of the window being painted. The context starts every control
// clipped to the control's rectangle; SelectClipRgn(nullptr) lifts the clip for the rest of that
// control's paint. Pens, fonts and text colour are values: Select* returns the previous one so a
// control can put it back. Colours here are COLORREF (0x00BBGGRR, see RGB()).
#pragma once
#include <string>
#include <string_view>

#include "framework/ui_defs.h"

class QPainter;

namespace DuiLib {

class CPaintManagerUI;

constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_DASHDOTDOT = 4;
constexpr int PS_NULL = 5;

struct Pen {
  int style = PS_SOLID;
  int width = 1;  // 0 draws one pixel wide, as GDI does
  COLORREF color = 0;
  friend bool operator==(const Pen&, const Pen&) = default;
};

// The font description (LOGFONT stand-in). Height in pixels; a negative height means the same.
struct LOGFONT {
  int lfHeight = 16;
  int lfEscapement = 0;  // tenths of a degree, counter-clockwise
  int lfWeight = 400;    // 700 = bold
  bool lfItalic = false;
  bool lfUnderline = false;
  std::string lfFaceName = "DejaVu Sans";
  friend bool operator==(const LOGFONT&, const LOGFONT&) = default;
};

struct TEXTMETRIC {
  int tmHeight = 0;
  int tmAscent = 0;
  int tmDescent = 0;
  int tmAveCharWidth = 0;
};

// Text layout flags for DrawText (DT_*).
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_END_ELLIPSIS = 0x8000;

class CDrawContext {
 public:
  // The painter must outlive the context; manager may be null (no skin fonts or images).
  CDrawContext(QPainter& painter, CPaintManagerUI* manager);
  ~CDrawContext();
  CDrawContext(const CDrawContext&) = delete;
  CDrawContext& operator=(const CDrawContext&) = delete;

  // Pen for MoveTo/LineTo/Rectangle; returns the previous pen.
  Pen SelectPen(const Pen& pen);
  Pen GetPen() const { return pen_; }
  // Font for TextOut/DrawText/GetTextMetrics; returns the previous font.
  LOGFONT SelectFont(const LOGFONT& font);
  LOGFONT GetFont() const { return font_; }
  COLORREF SetTextColor(COLORREF color);
  COLORREF GetTextColor() const { return textColor_; }

  void MoveTo(int x, int y);
  // Draws from the current point to (x, y), excluding the end pixel as GDI does, and moves there.
  void LineTo(int x, int y);
  // `count` separate lines with the current pen, line i from ends[2i] to ends[2i + 1]: what as many
  // MoveTo/LineTo pairs draw, with the pen set up once. Null or 0 draws nothing. The current
  // point ends at the last end.
  void DrawLines(const POINT* ends, std::size_t count);
  POINT GetCurrentPosition() const { return current_; }
  void DrawLine(int x1, int y1, int x2, int y2) {
    MoveTo(x1, y1);
    LineTo(x2, y2);
  }
  // Outline with the current pen (right and bottom edges exclusive).
  void FrameRect(const RECT& rc);
  void FillSolidRect(const RECT& rc, COLORREF color);
  // Text whose top-left corner is (x, y), in the current font and text colour; UTF-8.
  void TextOut(int x, int y, std::string_view text);
  void DrawText(const RECT& rc, std::string_view text, UINT format);
  TEXTMETRIC GetTextMetrics() const;
  int MeasureText(std::string_view text) const;

  void SetClip(const RECT& rc);
  // Lifts any clip (SelectClipRgn(hdc, NULL)).
  void SelectClipRgn(std::nullptr_t) { ClearClip(); }
  void ClearClip();
  bool HasClip() const;

  QPainter& Painter() { return painter_; }
  CPaintManagerUI* GetManager() const { return manager_; }

 private:
  void ApplyFont();
  void ApplyPen();
  QPainter& painter_;
  CPaintManagerUI* manager_;
  Pen pen_;
  LOGFONT font_;
  COLORREF textColor_ = 0;
  POINT current_;
};

using HDC = CDrawContext*;

// Helpers the controls share. ARGB colours (0xAARRGGBB) with alpha 0 draw nothing.
class CRenderEngine {
 public:
  static void DrawColor(HDC hDC, const RECT& rc, DWORD argb);
  static void DrawGradient(HDC hDC, const RECT& rc, DWORD argb1, DWORD argb2, bool vertical);
  static void DrawRect(HDC hDC, const RECT& rc, int size, DWORD argb);
  static void DrawRoundRect(HDC hDC, const RECT& rc, int size, int radius, DWORD argb,
                            DWORD fillArgb);
  static void DrawLine(HDC hDC, const RECT& rc, int size, DWORD argb);
  // Draws an image description ("file.png" or "file='x.svg' source='l,t,r,b' dest='l,t,r,b'
  // corner='l,t,r,b'") into rcItem. False (nothing drawn) when the image cannot be loaded.
  static bool DrawImageString(HDC hDC, CPaintManagerUI* manager, const RECT& rcItem,
                              const RECT& rcPaint, std::string_view image);
  // Text in a font of the manager (font id, -1 = default) with DT_* format; ARGB colour.
  static void DrawText(HDC hDC, CPaintManagerUI* manager, const RECT& rc, std::string_view text,
                       DWORD argb, int font, UINT style);
  static SIZE MeasureText(CPaintManagerUI* manager, std::string_view text, int font);
  // Skins may tint colours; this framework keeps them as given.
  static DWORD GetAdjustColor(DWORD argb) { return argb; }
};

// Parses "#AARRGGBB", "#RRGGBB" (opaque) or a decimal/0x number; 0 for garbage.
DWORD ParseColor(std::string_view text);
// Parses "l,t,r,b"; missing numbers are 0.
RECT ParseRect(std::string_view text);
SIZE ParseSize(std::string_view text);

}  // namespace DuiLib
