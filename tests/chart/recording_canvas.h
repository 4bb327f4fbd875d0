// A canvas that writes down what is drawn, one readable line per operation, in order.
#pragma once
#include <string>
#include <vector>

#include "chart/chart_canvas.h"

namespace DuiLib::test {

class RecordingCanvas : public IChartCanvas {
 public:
  void Save() override { ops.push_back("save"); }
  void Restore() override { ops.push_back("restore"); }
  void Fill(const RECT& r, DWORD c) override { ops.push_back("fill " + Rect(r) + " " + Hex(c)); }
  void SetPen(const Pen& p) override {
    ops.push_back("pen " + Hex(p.color) + " w" + std::to_string(p.width) + " s" +
                  std::to_string(p.style));
  }
  void SetFont(const LOGFONT& f) override {
    ops.push_back("font " + f.lfFaceName + " " + std::to_string(f.lfHeight));
  }
  void SetTextColor(COLORREF c) override { ops.push_back("textcolor " + Hex(c)); }
  int TextHeight() override { return textHeight; }
  // Half the text height a character.
  int TextWidth(const std::string& text) override {
    return static_cast<int>(text.size()) * textHeight / 2;
  }
  void Lines(const POINT* ends, std::size_t count) override {
    for (std::size_t i = 0; i < count; ++i) {
      ops.push_back("line " + Point(ends[2 * i]) + " " + Point(ends[2 * i + 1]));
    }
  }
  void Text(POINT at, const std::string& text) override {
    ops.push_back("text " + Point(at) + " '" + text + "'");
  }
  void RemoveClip() override { ops.push_back("noclip"); }

  // The operations that start with `prefix`, in order.
  std::vector<std::string> Only(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& op : ops) {
      if (op.rfind(prefix, 0) == 0) out.push_back(op);
    }
    return out;
  }

  static std::string Point(POINT p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
  static std::string Rect(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
  }
  static std::string Hex(COLORREF c) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%06X", c);
    return buffer;
  }

  int textHeight = 16;
  std::vector<std::string> ops;
};

}  // namespace DuiLib::test
