// The generated sample data set holds every file the programs open, under the
// names their code uses, and nothing else.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

#include "data_inventory.h"
#include "sample_set.h"

namespace {

std::string lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

TEST(SampleDataInventory, EveryFileTheProgramsOpenIsFoundIgnoringCase) {
  REQUIRE_SAMPLE_SET(root);
  for (const sample::DataFile& f : sample::dataInventory()) {
    auto path = sample::resolve(root, f.folder + "/" + f.name);
    EXPECT_TRUE(path.has_value()) << f.folder << "/" << f.name << " is missing";
  }
}

TEST(SampleDataInventory, HoldsTheMarkerFoldersOfAllThreePrograms) {
  REQUIRE_SAMPLE_SET(root);
  // The games program looks for ZVUKY, the rhymes and songs programs for HUDBA.
  for (const char* marker : {"ZVUKY", "HUDBA"}) {
    auto path = sample::resolve(root, marker);
    ASSERT_TRUE(path.has_value()) << marker;
    EXPECT_TRUE(sample::isFolder(*path)) << marker;
  }
}

TEST(SampleDataInventory, HoldsTheInventoryAndNoOtherFile) {
  REQUIRE_SAMPLE_SET(root);
  std::set<std::string> expected;
  for (const sample::DataFile& f : sample::dataInventory()) expected.insert(lower(f.folder + "/" + f.name));
  // 265 distinct files: "k1_end.WAV" and "k1_end.wav" name one file.
  EXPECT_EQ(expected.size(), 265u);
  std::set<std::string> present;
  for (const char* folder : {"hudba", "zvuky", "obrazky", "animace", "texty"}) {
    auto dir = sample::resolve(root, folder);
    ASSERT_TRUE(dir.has_value()) << folder;
    for (const std::string& name : sample::listFolder(*dir)) {
      std::string key = lower(std::string(folder) + "/" + name);
      EXPECT_TRUE(present.insert(key).second) << key << " exists twice in different case";
      EXPECT_TRUE(expected.count(key)) << key << " is not a file the programs open";
    }
  }
  EXPECT_EQ(present.size(), expected.size());
}

TEST(SampleDataInventory, StaysUnderFortyMegabytes) {
  REQUIRE_SAMPLE_SET(root);
  size_t total = 0;
  for (const sample::DataFile& f : sample::dataInventory()) {
    auto path = sample::resolve(root, f.folder + "/" + f.name);
    if (path) total += sample::readFile(*path).size();
  }
  // k1_end counts twice above; it is small.
  EXPECT_LT(total, 40u * 1000 * 1000);
}

}  // namespace
