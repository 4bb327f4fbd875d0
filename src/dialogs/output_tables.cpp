#include "dialogs/output_tables.h"

#include <array>

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

// U+00A0, written as its UTF-8 bytes so no editor or compiler setting can turn it into a space.
#define NBSP "\xC2\xA0"

constexpr std::array<OptionRow, 12> kVideoEnglish{{
    {kGl0, " Direct3D(XP/Vista/Win7)"},
    {kGl0, " Direct3D(No Auto Color Range Fix)"},
    {kGl0, " DirectX(XP/Vista)"},
    {kDirectx, " DirectX(No Hardware Acceleration)"},
    {kGl2, " OpenGL(Win2K/XP/Vista)"},
    {kGlAuto, " OpenGL(Auto)"},
    {kGl3, " OpenGL(YUV3)"},
    {kGl4, " OpenGL(YUV4)"},
    {kGl1, " OpenGL(nVIDIA Only)"},
    {kGl5, " OpenGL(ATI Old Only)"},
    {kGl6, " OpenGL(YUV6)"},
    {kGl0, " OpenGL(Software YUV)"},
}};

constexpr std::array<OptionRow, 12> kVideoSimplified{{
    {kGl0, " Direct3D(XP/Vista/Win7)"},
    {kGl0, " Direct3D(禁用自动颜色修正)"},
    {kGl0, " DirectX(XP/Vista)"},
    {kDirectx, " DirectX(关闭硬件加速)"},
    {kGl2, " OpenGL(Win2K/XP/Vista)"},
    {kGlAuto, " OpenGL(自动检测)"},
    {kGl3, " OpenGL(YUV3)"},
    {kGl4, " OpenGL(YUV4)"},
    {kGl1, " OpenGL(nVIDIA 显卡专用)"},
    {kGl5, " OpenGL(ATI 旧显卡专用)"},
    {kGl6, " OpenGL(YUV6)"},
    {kGl0, " OpenGL(高兼容性)"},
}};

constexpr std::array<OptionRow, 12> kVideoTraditional{{
    {kGl0, " Direct3D(XP/Vista/Win7)"},
    {kGl0, " Direct3D(禁用自動顏色修正)"},
    {kGl0, " DirectX(XP/Vista)"},
    {kDirectx, " DirectX(關閉硬件加速)"},
    {kGl2, " OpenGL(Win2K/XP/Vista)"},
    {kGlAuto, " OpenGL(自動檢測)"},
    {kGl3, " OpenGL(YUV3)"},
    {kGl4, " OpenGL(YUV4)"},
    {kGl1, " OpenGL(nVIDIA 顯卡專用)"},
    {kGl5, " OpenGL(ATI 舊顯卡專用)"},
    {kGl6, " OpenGL(YUV6)"},
    {kGl0, " OpenGL(高兼容性)"},
}};

constexpr std::array<OptionRow, 12> kVideoRussian{{
    {kGl0, " Direct3D(XP/Vista/Win7)"},
    {kGl0, " Direct3D(Отключить цвета коррекция)"},
    {kGl0, " DirectX(XP/Vista)"},
    {kDirectx, " DirectX(закрыть Аппаратноеу скорение)"},
    {kGl2, " OpenGL(Win2K/XP/Vista)"},
    {kGlAuto, " OpenGL(автоматическое обнаружение)"},
    {kGl3, " OpenGL(YUV3)"},
    {kGl4, " OpenGL(YUV4)"},
    {kGl1, " OpenGL(nVIDIA Видеокарта" NBSP "специальный)"},
    {kGl5, " OpenGL(ATIстарые видеокарты специальный)"},
    {kGl6, " OpenGL(YUV6)"},
    {kGl0, " OpenGL(высокая" NBSP "совместимость)"},
}};

constexpr char kWin32[] = "win32";

constexpr std::array<OptionRow, 2> kSoundEnglish{{
    {kWin32, " Windows Waveout"},
    {kSoundCardOutput, " DirectSound"},
}};

constexpr std::array<OptionRow, 2> kSoundSimplified{{
    {kWin32, " 原生 Windows Waveout 音频输出"},
    {kSoundCardOutput, " DirectX DirectSound 音频输出"},
}};

constexpr std::array<OptionRow, 2> kSoundTraditional{{
    {kWin32, " 原生 Windows Waveout 音頻輸出"},
    {kSoundCardOutput, " DirectX DirectSound 音頻輸出"},
}};

constexpr std::array<OptionRow, 2> kSoundRussian{{
    {kWin32, " родной" NBSP "Windows Waveout Вывод звука"},
    {kSoundCardOutput, " DirectX DirectSound Вывод звука"},
}};

#undef NBSP

}  // namespace

OutputTables OutputTablesFor(std::string_view languageFile) {
  if (languageFile == "chinese.ini") return {kVideoSimplified, kSoundSimplified};
  if (languageFile == "big5chinese.ini") return {kVideoTraditional, kSoundTraditional};
  if (languageFile == "russian.ini") return {kVideoRussian, kSoundRussian};
  return {kVideoEnglish, kSoundEnglish};
}

int FindRowByValue(OptionTable table, std::string_view value) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (value == table[i].value) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace korvane
