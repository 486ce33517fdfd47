// Every data file the programs' code names (a literal "\folder\name" after DataDir)
// is in the generated sample set, matched as the platform matches paths: ignoring case.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "tests/data/sample_set.h"

namespace {

namespace fs = std::filesystem;

std::set<std::string> NamesInSources() {
  std::set<std::string> names;
  // Literals such as "\\animace\\h_01.avi" or "\\hudba\\h_menu.mid" in the C++ sources.
  std::regex literal(R"re(\\\\(hudba|zvuky|obrazky|animace|texty)\\\\([A-Za-z0-9_]+\.[A-Za-z0-9]+)")re",
                     std::regex::icase);
  fs::path root = fs::path(__FILE__).parent_path().parent_path().parent_path();
  for (const char* program : {"games", "rhymes", "songs", "shared"}) {
    if (!fs::is_directory(root / program)) continue;
    for (const auto& e : fs::recursive_directory_iterator(root / program)) {
      if (e.path().extension() != ".cpp") continue;
      std::ifstream in(e.path());
      std::stringstream text;
      text << in.rdbuf();
      std::string s = text.str();
      for (std::sregex_iterator it(s.begin(), s.end(), literal), end; it != end; ++it)
        names.insert((*it)[1].str() + "/" + (*it)[2].str());
    }
  }
  return names;
}

TEST(CodeNames, EveryFileTheCodeNamesIsInTheSampleSet) {
  auto folder = sample::dataFolder();
  if (!folder) GTEST_SKIP() << "TULIMBO_SAMPLE_DATA is not set";
  auto names = NamesInSources();
  ASSERT_FALSE(names.empty());
  for (const auto& name : names) EXPECT_TRUE(sample::resolve(*folder, name).has_value()) << name;
}

}  // namespace
