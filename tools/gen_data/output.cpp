#include "output.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <stdexcept>

#include "bmp_writer.h"
#include "byte_writer.h"
#include "palette.h"

namespace gen {

namespace {

void makeDirs(const std::string& path) {
  for (size_t p = 1; p <= path.size(); ++p) {
    if (p == path.size() || path[p] == '/') {
      std::string part = path.substr(0, p);
      if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) throw std::runtime_error("cannot create folder " + part);
    }
  }
}

std::string folderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

Output::Output(std::string dataDir, std::string resDir, Speech& speech)
    : dataDir_(std::move(dataDir)), resDir_(std::move(resDir)), speech_(speech) {
  for (const char* d : {"hudba", "zvuky", "obrazky", "animace", "texty"}) makeDirs(dataDir_ + "/" + d);
  for (const char* d : {"games", "rhymes", "songs", "common"}) makeDirs(resDir_ + "/" + d);
}

void Output::data(const std::string& rel, const std::vector<uint8_t>& bytes) {
  std::string path = dataDir_ + "/" + rel;
  makeDirs(folderOf(path));
  writeFile(path, bytes);
  std::lock_guard<std::mutex> lock(mu_);
  ++dataCount_;
  dataBytes_ += bytes.size();
}

void Output::res(const std::string& rel, const std::vector<uint8_t>& bytes, const std::string& purpose) {
  std::string path = resDir_ + "/" + rel;
  makeDirs(folderOf(path));
  writeFile(path, bytes);
  std::lock_guard<std::mutex> lock(mu_);
  manifest_.push_back({rel, bytes.size(), purpose});
}

void Output::dataBmp8(const std::string& rel, const Canvas& c, const std::vector<Rgb>& reserved) {
  data(rel, bmp8(quantize(c, reserved)));
}

void Output::resBmp8(const std::string& rel, const Canvas& c, const std::string& purpose,
                     const std::vector<Rgb>& reserved) {
  res(rel, bmp8(quantize(c, reserved)), purpose);
}

void Output::writeManifest() {
  std::vector<Entry> list;
  {
    std::lock_guard<std::mutex> lock(mu_);
    list = manifest_;
  }
  std::sort(list.begin(), list.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
  std::string text =
      "# Compiled-in resources of the three programs, made by tools/gen_data.\n"
      "# Each line: file (relative to this folder), size in bytes, purpose.\n"
      "# Pictures are named <form object>.<component>[.<property>].bmp after the form\n"
      "# description that holds them; cursors cursor.<resource name>.cur.\n";
  for (const Entry& e : list) text += e.name + "\t" + std::to_string(e.size) + "\t" + e.purpose + "\n";
  writeFile(resDir_ + "/MANIFEST.txt", text);
}

}  // namespace gen
