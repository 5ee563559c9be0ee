// The stored look of each instrument kind: one row of plain data per instrument
// (ranges, marks, bands, texts, colours, font sizes), fixed when the window is
// created and never changed at run time.
#pragma once

#include <array>
#include <cstdint>

namespace dashvell {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  constexpr bool operator==(const Rgb&) const = default;
};

namespace colors {
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kLime{0, 255, 0};
inline constexpr Rgb kAqua{0, 255, 255};
inline constexpr Rgb kDarkBlue{0, 0, 160};
inline constexpr Rgb kNavy{0, 0, 128};
inline constexpr Rgb kOrange{255, 128, 64};
inline constexpr Rgb kBrown{128, 64, 64};
inline constexpr Rgb kMagenta{255, 0, 255};
inline constexpr Rgb kSilver{192, 192, 192};
// "The control's default" for a gauge's last band and the cruise lamp.
inline constexpr Rgb kGaugeDefaultBand{255, 0, 0};
inline constexpr Rgb kLampDefaultLit{0, 255, 0};
// Window-text colour.
inline constexpr Rgb kWindowText{0, 0, 0};
}  // namespace colors

struct GaugeBand {
  double from = 0, to = 0;
  Rgb color;
};

struct GaugeLook {
  double min = 0, max = 100;
  double rest = 0;        // where the pointer stands before the first write
  int majorMarks = 11;    // count of major marks, both ends included
  int minorPerMajor = 4;  // minor marks between two majors
  std::array<GaugeBand, 4> bands{};
  int bandCount = 0;
  const char* label1 = "";
  const char* label2 = "";
  int label1Offset = 0;  // below the dial's centre, in the control's pixels
  int label2Offset = 0;
  bool large = false;  // heavier pointer and hub
  // Font sizes in pixels; 0 picks one from the dial's radius.
  int markLabelPixels = 0;  // the white numbers at the major marks
  int labelPixels = 0;      // the two yellow labels
  Rgb face = colors::kBlack;
  Rgb pointer = colors::kWhite;
  Rgb hub = colors::kMagenta;
  Rgb majorMark = colors::kWhite;
  Rgb minorMark = colors::kSilver;
  Rgb markLabel = colors::kWhite;
  Rgb labelColor = colors::kYellow;
};

struct DisplayLook {
  const char* units = "";  // follows the number; begins with one space
  int digitPixels = 13;    // height of the digits
  int decimals = 1;        // digits after the point
  Rgb digitColor = colors::kAqua;
  Rgb background = colors::kBlack;
  bool bold = true;
};

struct LampLook {
  const char* text = "";
  Rgb lit = colors::kRed;
  Rgb textColor = colors::kBlack;
  int textPixels = 13;
  bool bold = true;
  bool raisedBevel = true;
  int darkPercent = 25;  // dark colour = lit colour at this brightness; 0 = black
};

struct OdometerLook {
  int digits = 7;
  int decimals = 0;     // how many of the digits are after the point (0 or more)
  int digitPixels = 0;  // 0 picks one from the control's height
  Rgb digitColor = colors::kWhite;
  Rgb background = colors::kBlack;
};

struct LabelLook {
  const char* caption = "";
  int textPixels = 11;
  Rgb textColor = colors::kYellow;
  Rgb background = colors::kBlack;
  bool bold = false;
};

}  // namespace dashvell
