#include "dialogs/output_tables.h"

#include <array>
#include <cmath>
#include <cstdlib>

#include "settings/settings.h"

namespace korvane {
namespace {

// Rows 0, 1, 2 and 11 share one value, so selecting by value always lands on row 0.
constexpr char kGl0[] = "gl:yuv=0:force-pbo";
constexpr char kDirectx[] = "directx:noaccel";
constexpr char kGl2[] = "gl:yuv=2:force-pbo";
constexpr char kGlAuto[] = "gl:force-pbo";
constexpr char kGl3[] = "gl:yuv=3:force-pbo";
constexpr char kGl4[] = "gl:yuv=4:force-pbo";
constexpr char kGl1[] = "gl:yuv=1:force-pbo";
constexpr char kGl5[] = "gl:yuv=5:force-pbo";
constexpr char kGl6[] = "gl:yuv=6:force-pbo";

// What each row does here: "directx…" is libmpv's plain X11 output, every "gl…" value is OpenGL
// through libmpv with pixel buffer objects ("force-pbo"); the "yuv=N" mode and the old rows'
// purpose stay in the name so rows that now share an output remain apart. "win32" is ALSA and
// "dsound" the default sound server, the one output with a choice of device.
constexpr std::array<OptionRow, 12> kVideoEnglish{{
    {kGl0, " OpenGL — PBO"},
    {kGl0, " OpenGL — PBO, no colour-range fix"},
    {kGl0, " OpenGL — PBO, basic"},
    {kDirectx, " X11 — no hardware acceleration"},
    {kGl2, " OpenGL — PBO, YUV 2 (fragment program)"},
    {kGlAuto, " OpenGL — PBO, automatic"},
    {kGl3, " OpenGL — PBO, YUV 3"},
    {kGl4, " OpenGL — PBO, YUV 4"},
    {kGl1, " OpenGL — PBO, NVIDIA only"},
    {kGl5, " OpenGL — PBO, old ATI only"},
    {kGl6, " OpenGL — PBO, YUV 6"},
    {kGl0, " OpenGL — PBO, software YUV"},
}};

constexpr std::array<OptionRow, 12> kVideoSimplified{{
    {kGl0, " OpenGL — PBO"},
    {kGl0, " OpenGL — PBO，不修正色彩范围"},
    {kGl0, " OpenGL — PBO，基本"},
    {kDirectx, " X11 — 无硬件加速"},
    {kGl2, " OpenGL — PBO，YUV 2（片段程序）"},
    {kGlAuto, " OpenGL — PBO，自动检测"},
    {kGl3, " OpenGL — PBO，YUV 3"},
    {kGl4, " OpenGL — PBO，YUV 4"},
    {kGl1, " OpenGL — PBO，nVIDIA 显卡专用"},
    {kGl5, " OpenGL — PBO，ATI 旧显卡专用"},
    {kGl6, " OpenGL — PBO，YUV 6"},
    {kGl0, " OpenGL — PBO，软件 YUV"},
}};

constexpr std::array<OptionRow, 12> kVideoTraditional{{
    {kGl0, " OpenGL — PBO"},
    {kGl0, " OpenGL — PBO，不修正色彩範圍"},
    {kGl0, " OpenGL — PBO，基本"},
    {kDirectx, " X11 — 無硬體加速"},
    {kGl2, " OpenGL — PBO，YUV 2（片段程式）"},
    {kGlAuto, " OpenGL — PBO，自動檢測"},
    {kGl3, " OpenGL — PBO，YUV 3"},
    {kGl4, " OpenGL — PBO，YUV 4"},
    {kGl1, " OpenGL — PBO，nVIDIA 顯卡專用"},
    {kGl5, " OpenGL — PBO，ATI 舊顯卡專用"},
    {kGl6, " OpenGL — PBO，YUV 6"},
    {kGl0, " OpenGL — PBO，軟體 YUV"},
}};

constexpr std::array<OptionRow, 12> kVideoRussian{{
    {kGl0, " OpenGL — PBO"},
    {kGl0, " OpenGL — PBO, без коррекции цветового диапазона"},
    {kGl0, " OpenGL — PBO, базовый"},
    {kDirectx, " X11 — без аппаратного ускорения"},
    {kGl2, " OpenGL — PBO, YUV 2 (фрагментная программа)"},
    {kGlAuto, " OpenGL — PBO, автоматически"},
    {kGl3, " OpenGL — PBO, YUV 3"},
    {kGl4, " OpenGL — PBO, YUV 4"},
    {kGl1, " OpenGL — PBO, только nVIDIA"},
    {kGl5, " OpenGL — PBO, только старые ATI"},
    {kGl6, " OpenGL — PBO, YUV 6"},
    {kGl0, " OpenGL — PBO, программный YUV"},
}};

constexpr char kWin32[] = "win32";

constexpr std::array<OptionRow, 2> kSoundEnglish{{
    {kWin32, " ALSA"},
    {kSoundCardOutput, " Default sound server"},
}};

constexpr std::array<OptionRow, 2> kSoundSimplified{{
    {kWin32, " ALSA 音频输出"},
    {kSoundCardOutput, " 默认声音服务器"},
}};

constexpr std::array<OptionRow, 2> kSoundTraditional{{
    {kWin32, " ALSA 音訊輸出"},
    {kSoundCardOutput, " 預設聲音伺服器"},
}};

constexpr std::array<OptionRow, 2> kSoundRussian{{
    {kWin32, " ALSA"},
    {kSoundCardOutput, " Звуковой сервер по умолчанию"},
}};

}  // namespace

OutputTables OutputTablesFor(std::string_view languageFile) {
  if (languageFile == "chinese.ini") return {kVideoSimplified, kSoundSimplified};
  if (languageFile == "big5chinese.ini") return {kVideoTraditional, kSoundTraditional};
  if (languageFile == "russian.ini") return {kVideoRussian, kSoundRussian};
  return {kVideoEnglish, kSoundEnglish};
}

OptionTable EventThresholdRows() {
  static constexpr std::array<OptionRow, 11> kRows{{
      {"0.1", " 0.1 G"},
      {"0.2", " 0.2 G"},
      {"0.3", " 0.3 G"},
      {"0.4", " 0.4 G"},
      {"0.5", " 0.5 G"},
      {"0.6", " 0.6 G"},
      {"0.8", " 0.8 G"},
      {"1.0", " 1.0 G"},
      {"1.2", " 1.2 G"},
      {"1.5", " 1.5 G"},
      {"2.0", " 2.0 G"},
  }};
  return kRows;
}

namespace {

// The first row whose number is nearest `value`.
int NearestRow(OptionTable rows, double value) {
  int best = 0;
  for (std::size_t i = 1; i < rows.size(); ++i) {
    if (std::fabs(std::atof(rows[i].value) - value) <
        std::fabs(std::atof(rows[static_cast<std::size_t>(best)].value) - value)) {
      best = static_cast<int>(i);
    }
  }
  return best;
}

}  // namespace

int NearestThresholdRow(double thresholdG) {
  return NearestRow(EventThresholdRows(),
                    std::isfinite(thresholdG) ? thresholdG : kDefaultEventThresholdG);
}

OptionTable PictureWidthRows() {
  static constexpr std::array<OptionRow, 6> kRows{{
      {"20", " 20 %"},
      {"25", " 25 %"},
      {"30", " 30 %"},
      {"35", " 35 %"},
      {"40", " 40 %"},
      {"45", " 45 %"},
  }};
  static_assert(kMinPictureWidthPercent == 20 && kMaxPictureWidthPercent == 45,
                "the rows span the settings' range");
  return kRows;
}

int NearestPictureWidthRow(int percent) {
  return NearestRow(PictureWidthRows(), percent);
}

int FindRowByValue(OptionTable table, std::string_view value) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (value == table[i].value) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace korvane
