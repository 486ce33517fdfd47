#include "palette.h"

#include <algorithm>
#include <map>
#include <unordered_map>

namespace gen {

namespace {

uint32_t pack(Rgb c) { return (uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | c.b; }
Rgb unpack(uint32_t v) { return Rgb{uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)}; }
int chan(uint32_t v, int k) { return int((v >> (16 - 8 * k)) & 0xFF); }

struct Box {
  std::vector<std::pair<uint32_t, uint32_t>> cols;
  int lo[3], hi[3];
  uint64_t count = 0;
  void measure() {
    for (int k = 0; k < 3; ++k) lo[k] = 255, hi[k] = 0;
    count = 0;
    for (auto& [c, n] : cols) {
      for (int k = 0; k < 3; ++k) lo[k] = std::min(lo[k], chan(c, k)), hi[k] = std::max(hi[k], chan(c, k));
      count += n;
    }
  }
  int longest() const {
    int best = 0;
    for (int k = 1; k < 3; ++k)
      if (hi[k] - lo[k] > hi[best] - lo[best]) best = k;
    return best;
  }
  double priority() const {
    int k = longest();
    return double(hi[k] - lo[k]) * double(count);
  }
};

}  // namespace

PaletteBuilder::PaletteBuilder(std::vector<Rgb> reserved, int maxColours)
    : reserved_(std::move(reserved)), max_(maxColours) {}

void PaletteBuilder::add(const Canvas& c) {
  std::unordered_map<uint32_t, uint32_t> local;
  for (const Rgb& p : c.pixels()) ++local[pack(p)];
  for (auto& kv : local) hist_.push_back(kv);
  merged_ = false;
}

std::vector<Rgb> PaletteBuilder::build() const {
  std::map<uint32_t, uint64_t> merged;
  for (auto& [c, n] : hist_) merged[c] += n;
  for (const Rgb& r : reserved_) merged.erase(pack(r));

  std::vector<Rgb> pal = reserved_;
  int room = max_ - int(reserved_.size());
  if (int(merged.size()) <= room) {
    for (auto& kv : merged) pal.push_back(unpack(kv.first));
    return pal;
  }
  std::vector<Box> boxes(1);
  for (auto& [c, n] : merged) boxes[0].cols.push_back({c, uint32_t(std::min<uint64_t>(n, 0xFFFFFFFF))});
  boxes[0].measure();
  while (int(boxes.size()) < room) {
    int pick = -1;
    double best = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
      if (boxes[i].cols.size() < 2) continue;
      double p = boxes[i].priority();
      if (pick < 0 || p > best) pick = int(i), best = p;
    }
    if (pick < 0) break;
    Box& b = boxes[pick];
    int k = b.longest();
    std::stable_sort(b.cols.begin(), b.cols.end(),
                     [k](auto& x, auto& y) { return chan(x.first, k) < chan(y.first, k); });
    uint64_t half = b.count / 2, acc = 0;
    size_t cut = 1;
    for (size_t i = 0; i < b.cols.size() - 1; ++i) {
      acc += b.cols[i].second;
      cut = i + 1;
      if (acc >= half) break;
    }
    Box nb;
    nb.cols.assign(b.cols.begin() + cut, b.cols.end());
    b.cols.resize(cut);
    b.measure();
    nb.measure();
    boxes.push_back(std::move(nb));
  }
  for (const Box& b : boxes) {
    double s[3] = {0, 0, 0};
    double n = 0;
    for (auto& [c, cnt] : b.cols) {
      for (int k = 0; k < 3; ++k) s[k] += double(chan(c, k)) * cnt;
      n += cnt;
    }
    pal.push_back(rgb(int(s[0] / n + 0.5), int(s[1] / n + 0.5), int(s[2] / n + 0.5)));
  }
  return pal;
}

Indexed toIndexed(const Canvas& c, const std::vector<Rgb>& palette, int reservedCount) {
  Indexed out;
  out.width = c.width();
  out.height = c.height();
  out.palette = palette;
  out.indices.resize(c.pixels().size());
  std::unordered_map<uint32_t, uint8_t> cache;
  for (size_t i = 0; i < c.pixels().size(); ++i) {
    Rgb p = c.pixels()[i];
    uint32_t key = pack(p);
    auto it = cache.find(key);
    if (it == cache.end()) {
      int best = -1;
      long bestD = 0;
      for (int k = 0; k < int(palette.size()); ++k) {
        const Rgb& q = palette[k];
        if (k < reservedCount) {
          if (q == p) {
            best = k;
            break;
          }
          continue;
        }
        long dr = p.r - q.r, dg = p.g - q.g, db = p.b - q.b;
        long d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (best < 0 || d < bestD) best = k, bestD = d;
      }
      if (best < 0) best = 0;
      it = cache.emplace(key, uint8_t(best)).first;
    }
    out.indices[i] = it->second;
  }
  return out;
}

Indexed quantize(const Canvas& c, const std::vector<Rgb>& reserved, int maxColours) {
  PaletteBuilder pb(reserved, maxColours);
  pb.add(c);
  return toIndexed(c, pb.build(), int(reserved.size()));
}

}  // namespace gen
