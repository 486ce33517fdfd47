#pragma once
// The round data both memory games draw the same way: n*n different pictures
// out of 20, the order in which the first game asks for them, and the picture
// on each card of the grid. The draws go through the runtime's generator, in
// the exact order and with the exact formulas that make a seeded round repeat.
#include <cstdint>
#include <string>

namespace tq {

// Indexes start at 1, as the games count them; index 0 of each array is unused.
struct KimRoundData {
  uint8_t PictureUsed[21] = {};   // 1..20: the picture number is taken in this round
  std::string PictureNames[17];   // 1..16: the chosen numbers as decimal text, in the order of choice
  std::string GridNames[5][5];    // [c][r], 1..4: the picture number on card kim_<c><r>
};

// Clears the flags and all 16 names of the choice and of the grid.
void ClearRoundData(KimRoundData& d);
// Draws n*n different numbers 1..20 into PictureNames[1..n*n].
void ChoosePictures(KimRoundData& d, int n);
// GridNames[c][r] := PictureNames[(c-1)*n + r], column by column.
void FillGridNames(KimRoundData& d, int n);
// The first game's order of targets: all 16 names copied, then 1745 exchanges
// among the first n*n of them.
void ShuffleTargets(const KimRoundData& d, int n, std::string (&shuffled)[17]);

// "\obrazky\k_<p>.bmp" and the marked "\obrazky\nk_<p>.bmp", under the data folder.
std::string CardFaceFile(const std::string& picture);
std::string MarkedFaceFile(const std::string& picture);

// The component name of card (c, r): "kim_" followed by the two digits.
std::string CardName(int c, int r);

}  // namespace tq
