#include "games/src/kim_round.h"

#include <utility>

#include "platform/core/sysutils.h"

namespace tq {

using tlb::IntToStr;
using tlb::Random;

void ClearRoundData(KimRoundData& d) {
  for (auto& used : d.PictureUsed) used = 0;
  for (auto& name : d.PictureNames) name.clear();
  for (auto& column : d.GridNames)
    for (auto& name : column) name.clear();
}

void ChoosePictures(KimRoundData& d, int n) {
  for (int v = 1; v <= 20; ++v) d.PictureUsed[v] = 0;
  for (int i = 1; i <= n * n; ++i) {
    // 1..19 take 1000 of the 19999 outcomes each, 20 takes 999. A number already
    // taken is drawn again; at most 16 of the 20 are ever taken, so this ends.
    for (;;) {
      int v = Random(19999) / 1000 + 1;
      d.PictureNames[i] = IntToStr(v);
      if (!d.PictureUsed[v]) {
        d.PictureUsed[v] = 1;
        break;
      }
    }
  }
}

void FillGridNames(KimRoundData& d, int n) {
  for (int c = 1; c <= n; ++c)
    for (int r = 1; r <= n; ++r) d.GridNames[c][r] = d.PictureNames[(c - 1) * n + r];
}

void ShuffleTargets(const KimRoundData& d, int n, std::string (&shuffled)[17]) {
  for (int i = 1; i <= 16; ++i) shuffled[i] = d.PictureNames[i];
  for (int k = 0; k < 1745; ++k) {
    // Both formulas give 0..n*n; a 0 counts as 1. The draw for a comes first.
    int a = Random(n * n * 10 + 9) / 10;
    int b = Random(n * n * 1000 + 999) / 1000;
    if (a == 0) a = 1;
    if (b == 0) b = 1;
    std::swap(shuffled[a], shuffled[b]);
  }
}

std::string CardFaceFile(const std::string& picture) { return "\\obrazky\\k_" + picture + ".bmp"; }
std::string MarkedFaceFile(const std::string& picture) { return "\\obrazky\\nk_" + picture + ".bmp"; }

std::string CardName(int c, int r) { return "kim_" + IntToStr(c) + IntToStr(r); }

}  // namespace tq
