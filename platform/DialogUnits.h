// Dialog units to pixels, as for an 8-point "MS Sans Serif" dialog at 96 dpi
// (base units 6 x 13): x times 6/4, y times 13/8, each rounded like the
// platform's MulDiv (halves away from zero). Qt scales the result for HiDPI.
#pragma once

namespace dashvell {

constexpr int MulDivRound(int value, int mul, int div) {
  long long p = (long long)value * mul;
  long long q = p >= 0 ? (p + div / 2) / div : -((-p + div / 2) / div);
  return int(q);
}

constexpr int DialogXToPixels(int x) { return MulDivRound(x, 6, 4); }
constexpr int DialogYToPixels(int y) { return MulDivRound(y, 13, 8); }

static_assert(DialogXToPixels(493) == 740);
static_assert(DialogYToPixels(311) == 505);

}  // namespace dashvell
