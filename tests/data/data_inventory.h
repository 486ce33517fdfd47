#pragma once
// Every data file that the three programs open, spelled as their code
// spells it (k1_end appears twice: one form opens "k1_end.WAV", the other
// "k1_end.wav"), with the kind of file it must be.
#include <string>
#include <vector>

namespace sample {

struct DataFile {
  std::string folder;  // hudba, animace, obrazky, zvuky, texty
  std::string name;
  std::string kind;    // what the checks expect: "card", "tile", "sound", ...
};

std::vector<DataFile> dataInventory();

}  // namespace sample
