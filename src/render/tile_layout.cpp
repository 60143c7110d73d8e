#include "render/tile_layout.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "render/display_list.h"

namespace kivo {
namespace {

constexpr double kTurn = 2.0 * std::numbers::pi;
// Keys are stored in 16 bits; spare tiles grow on areas that would need too many.
constexpr int kMostSpareTiles = 4096;

// A number in [0, 4) that grows with the angle of (dx, dy) as that goes round clockwise on
// the screen from the right: ordered like atan2, without its cost for every ring pixel.
double PseudoAngle(double dx, double dy) {
  const double sum = std::abs(dx) + std::abs(dy);
  if (sum == 0) return 0;
  const double across = dx / sum;  // 1 to the right, 0 straight down or up, -1 to the left
  return dy >= 0 ? 1 - across : 3 + across;
}

// The sectors' edges as pseudo-angles in ascending order, each with its sector.
class SectorEdges {
 public:
  explicit SectorEdges(const RingSectors& sectors) {
    for (int k = 0; k < sectors.count; ++k) {
      const double angle = sectors.start + k * kTurn / sectors.count;
      edges_.emplace_back(PseudoAngle(std::cos(angle), std::sin(angle)), k);
    }
    std::sort(edges_.begin(), edges_.end());
  }
  // The sector whose edge comes last at or before the pseudo-angle, going round.
  int Of(double pseudoAngle) const {
    const auto after =
        std::upper_bound(edges_.begin(), edges_.end(), pseudoAngle,
                         [](double value, const auto& edge) { return value < edge.first; });
    return after == edges_.begin() ? edges_.back().second : std::prev(after)->second;
  }

 private:
  std::vector<std::pair<double, int>> edges_;
};

// The bounds of a set of pixels, gathered one pixel at a time.
struct Bounds {
  int left = std::numeric_limits<int>::max(), top = std::numeric_limits<int>::max();
  int right = std::numeric_limits<int>::min(), bottom = std::numeric_limits<int>::min();
  void Add(int x, int y) {
    left = std::min(left, x);
    right = std::max(right, x + 1);
    top = std::min(top, y);
    bottom = std::max(bottom, y + 1);
  }
  PixelRect Rect() const {
    return right > left ? PixelRect{left, top, right - left, bottom - top} : PixelRect{};
  }
};

// At least one sector: every ring pixel needs one to go to.
RingSectors AtLeastOne(const RingSectors& sectors) {
  return {sectors.start, std::max(sectors.count, 1)};
}

std::vector<PixelRect> RectsOf(const std::vector<Bounds>& bounds) {
  std::vector<PixelRect> rects(bounds.size());
  std::transform(bounds.begin(), bounds.end(), rects.begin(),
                 [](const Bounds& b) { return b.Rect(); });
  return rects;
}

}  // namespace

TileLayoutBuilder::TileLayoutBuilder(const PixelRect& area, const std::vector<TileClaim>& claims,
                                     RingPieces ring)
    : area_(area), ring_(std::move(ring)) {
  if (area_.empty()) return;
  int groups = 0;
  for (const TileClaim& claim : claims) groups = std::max(groups, claim.group + 1);
  const auto cells = [&](int size) {
    return ((area_.width + size - 1) / size) * ((area_.height + size - 1) / size);
  };
  while (cells(spareSize_) > kMostSpareTiles) spareSize_ *= 2;
  const int columns = (area_.width + spareSize_ - 1) / spareSize_;
  sectorBase_ = groups + cells(spareSize_);

  constexpr std::uint16_t kUnclaimed = 0xFFFE;
  keys_.assign(static_cast<std::size_t>(area_.width) * static_cast<std::size_t>(area_.height),
               kUnclaimed);
  for (const TileClaim& claim : claims) {
    const PixelRect r = Intersection(claim.rect, area_);
    const auto key = claim.group >= 0 ? static_cast<std::uint16_t>(claim.group) : kRingPixel;
    for (int y = r.top; y < r.bottom(); ++y) {
      std::uint16_t* row = keys_.data() + static_cast<std::size_t>(y - area_.top) *
                                              static_cast<std::size_t>(area_.width);
      for (int x = r.left - area_.left; x < r.right() - area_.left; ++x) {
        if (row[x] == kUnclaimed) row[x] = key;
      }
    }
  }
  std::vector<Bounds> bounds(static_cast<std::size_t>(sectorBase_));
  std::size_t pixel = 0;
  for (int y = area_.top; y < area_.bottom(); ++y) {
    for (int x = area_.left; x < area_.right(); ++x, ++pixel) {
      std::uint16_t& key = keys_[pixel];
      if (key == kRingPixel) continue;
      if (key == kUnclaimed) {
        key = static_cast<std::uint16_t>(groups + ((y - area_.top) / spareSize_) * columns +
                                         (x - area_.left) / spareSize_);
      }
      bounds[key].Add(x, y);
    }
  }
  keyBoxes_ = RectsOf(bounds);
}

template <typename Visit>
void TileLayoutBuilder::ForEachRingPixel(const RingSectors& sectors, Visit&& visit) const {
  const SectorEdges edges(sectors);
  std::size_t pixel = 0;
  for (int y = area_.top; y < area_.bottom(); ++y) {
    for (int x = area_.left; x < area_.right(); ++x, ++pixel) {
      if (keys_[pixel] != kRingPixel) continue;
      // The pixel's centre, so that a sector edge through a slot's centre halves it.
      visit(pixel, x, y, edges.Of(PseudoAngle(x + 0.5 - ring_.cx, y + 0.5 - ring_.cy)));
    }
  }
}

TileLayout TileLayoutBuilder::Build(const RingSectors& requested) const {
  const RingSectors sectors = AtLeastOne(requested);
  TileLayout layout;
  layout.area = area_;
  if (area_.empty()) return layout;
  std::vector<PixelRect> boxes = keyBoxes_;
  std::vector<Bounds> sectorBounds(static_cast<std::size_t>(sectors.count));
  layout.owner = keys_;
  ForEachRingPixel(sectors, [&](std::size_t pixel, int x, int y, int sector) {
    layout.owner[pixel] = static_cast<std::uint16_t>(sectorBase_ + sector);
    sectorBounds[static_cast<std::size_t>(sector)].Add(x, y);
  });
  const std::vector<PixelRect> sectorBoxes = RectsOf(sectorBounds);
  boxes.insert(boxes.end(), sectorBoxes.begin(), sectorBoxes.end());
  // Keys whose tile owns no pixel get no tile; the others are numbered in order.
  std::vector<std::uint16_t> tileOf(boxes.size(), 0);
  for (std::size_t key = 0; key < boxes.size(); ++key) {
    if (boxes[key].empty()) continue;
    tileOf[key] = static_cast<std::uint16_t>(layout.tiles.size());
    layout.tiles.push_back(boxes[key]);
  }
  for (std::uint16_t& owner : layout.owner) owner = tileOf[owner];
  return layout;
}

long long TileLayoutBuilder::HoverCost(const RingSectors& requested) const {
  const RingSectors sectors = AtLeastOne(requested);
  const std::size_t count = ring_.magnified.size();
  if (count < 2 || area_.empty()) return 0;
  // Only the sectors depend on the candidate; the other tiles are the same for all.
  std::vector<Bounds> sectorBounds(static_cast<std::size_t>(sectors.count));
  ForEachRingPixel(sectors, [&](std::size_t, int x, int y, int sector) {
    sectorBounds[static_cast<std::size_t>(sector)].Add(x, y);
  });
  const SectorEdges edges(sectors);
  const std::vector<PixelRect> sectorBoxes = RectsOf(sectorBounds);
  const auto boxOf = [&](int key) -> const PixelRect& {
    return key < sectorBase_ ? keyBoxes_[static_cast<std::size_t>(key)]
                             : sectorBoxes[static_cast<std::size_t>(key - sectorBase_)];
  };
  long long cost = 0;
  std::vector<int> presented;
  for (std::size_t i = 0; i < count; ++i) {
    presented.clear();
    for (const PixelRect& square : {ring_.magnified[i], ring_.magnified[(i + 1) % count]}) {
      const PixelRect r = Intersection(square, area_);
      for (int y = r.top; y < r.bottom(); ++y) {
        for (int x = r.left; x < r.right(); ++x) {
          const std::uint16_t fixed = keys_[static_cast<std::size_t>(y - area_.top) *
                                                static_cast<std::size_t>(area_.width) +
                                            static_cast<std::size_t>(x - area_.left)];
          const int key =
              fixed != kRingPixel
                  ? fixed
                  : sectorBase_ + edges.Of(PseudoAngle(x + 0.5 - ring_.cx, y + 0.5 - ring_.cy));
          if (std::find(presented.begin(), presented.end(), key) == presented.end()) {
            presented.push_back(key);
          }
        }
      }
    }
    for (const int key : presented) {
      const PixelRect& box = boxOf(key);
      cost += kWindowCostInPixels + static_cast<long long>(box.width) * box.height;
    }
  }
  return cost;
}

std::vector<RingSectors> TileLayoutBuilder::SectorCandidates() const {
  const int slots = static_cast<int>(ring_.magnified.size());
  if (slots == 0) return {};
  const PixelRect& first = ring_.magnified.front();
  double firstAngle = std::atan2(first.top + first.height / 2.0 - ring_.cy,
                                 first.left + first.width / 2.0 - ring_.cx);
  if (firstAngle < 0) firstAngle += kTurn;
  const double step = kTurn / slots;
  std::vector<RingSectors> candidates;
  for (const int perSector : {1, 2, 3, 4, 6}) {
    if (perSector > slots) break;
    const int count =
        std::max(1, static_cast<int>(std::lround(static_cast<double>(slots) / perSector)));
    // Edges through slot centres suit rings whose magnified squares overlap their
    // neighbours' (a boundary slot then changes both sectors only when it is involved);
    // edges between slots suit sparse rings.
    for (const double phase : {0.0, -step / 2}) candidates.push_back({firstAngle + phase, count});
  }
  return candidates;
}

std::vector<long long> TileLayoutBuilder::HoverCosts(
    const std::vector<RingSectors>& candidates) const {
  std::vector<long long> costs(candidates.size(), 0);
  const std::size_t count = ring_.magnified.size();
  if (count < 2 || area_.empty()) return costs;
  const auto keyAt = [this](int x, int y) {
    return keys_[static_cast<std::size_t>(y - area_.top) * static_cast<std::size_t>(area_.width) +
                 static_cast<std::size_t>(x - area_.left)];
  };
  // Along a row the pixel centres' angle changes monotonically (the centre lies on no
  // pixel centre's row), so a run of ring pixels splits into sectors at a few points that
  // a binary search finds: the ring's pixels are visited as runs, not one by one.
  struct Run {
    int y, left, right;  // pixels [left, right) of row y
  };
  std::vector<Run> runs;
  for (int y = area_.top; y < area_.bottom(); ++y) {
    for (int x = area_.left; x < area_.right();) {
      if (keyAt(x, y) != kRingPixel) {
        ++x;
        continue;
      }
      const int left = x;
      while (x < area_.right() && keyAt(x, y) == kRingPixel) ++x;
      runs.push_back({y, left, x});
    }
  }
  // For each step from a slot to the next: the fixed tiles its two squares touch, and the
  // pieces of ring runs inside them.
  std::vector<std::vector<int>> fixedKeys(count);
  std::vector<std::vector<Run>> stepRuns(count);
  for (std::size_t i = 0; i < count; ++i) {
    for (const PixelRect& square : {ring_.magnified[i], ring_.magnified[(i + 1) % count]}) {
      const PixelRect r = Intersection(square, area_);
      for (int y = r.top; y < r.bottom(); ++y) {
        for (int x = r.left; x < r.right(); ++x) {
          if (const std::uint16_t key = keyAt(x, y); key != kRingPixel) fixedKeys[i].push_back(key);
        }
      }
      for (const Run& run : runs) {
        const int left = std::max(run.left, r.left), right = std::min(run.right, r.right());
        if (run.y >= r.top && run.y < r.bottom() && left < right) {
          stepRuns[i].push_back({run.y, left, right});
        }
      }
    }
    std::sort(fixedKeys[i].begin(), fixedKeys[i].end());
    fixedKeys[i].erase(std::unique(fixedKeys[i].begin(), fixedKeys[i].end()), fixedKeys[i].end());
  }
  const auto area = [](const PixelRect& box) {
    return kWindowCostInPixels + static_cast<long long>(box.width) * box.height;
  };

  for (std::size_t c = 0; c < candidates.size(); ++c) {
    const RingSectors sectors = AtLeastOne(candidates[c]);
    std::vector<std::pair<double, int>> edges;  // as SectorEdges orders them
    for (int k = 0; k < sectors.count; ++k) {
      const double angle = sectors.start + k * kTurn / sectors.count;
      edges.emplace_back(PseudoAngle(std::cos(angle), std::sin(angle)), k);
    }
    std::sort(edges.begin(), edges.end());
    // How many edges lie at or before the angle of pixel (x, y): monotonic along a row.
    // A pixel belongs to the last of those edges; with none, to the last edge of all.
    const auto passed = [&](int x, int y) {
      const double angle = PseudoAngle(x + 0.5 - ring_.cx, y + 0.5 - ring_.cy);
      return static_cast<int>(
          std::upper_bound(edges.begin(), edges.end(), angle,
                           [](double value, const auto& edge) { return value < edge.first; }) -
          edges.begin());
    };
    const auto sectorOf = [&](int passedEdges) {
      return passedEdges == 0 ? edges.back().second
                              : edges[static_cast<std::size_t>(passedEdges - 1)].second;
    };
    // Calls piece(sector, left, right) for each stretch of the run in one sector.
    const auto forEachPiece = [&](const Run& run, auto&& piece) {
      for (int x = run.left; x < run.right;) {
        const int here = passed(x, run.y);
        int low = x + 1, high = run.right;  // the first pixel past this stretch
        while (low < high) {
          const int middle = low + (high - low) / 2;
          if (passed(middle, run.y) == here) {
            low = middle + 1;
          } else {
            high = middle;
          }
        }
        piece(sectorOf(here), x, low);
        x = low;
      }
    };
    std::vector<Bounds> sectorBounds(static_cast<std::size_t>(sectors.count));
    for (const Run& run : runs) {
      forEachPiece(run, [&](int sector, int left, int right) {
        Bounds& bounds = sectorBounds[static_cast<std::size_t>(sector)];
        bounds.Add(left, run.y);
        bounds.Add(right - 1, run.y);
      });
    }
    const std::vector<PixelRect> sectorBoxes = RectsOf(sectorBounds);
    long long cost = 0;
    std::vector<bool> touched(static_cast<std::size_t>(sectors.count));
    for (std::size_t i = 0; i < count; ++i) {
      for (const int key : fixedKeys[i]) cost += area(keyBoxes_[static_cast<std::size_t>(key)]);
      std::fill(touched.begin(), touched.end(), false);
      for (const Run& run : stepRuns[i]) {
        forEachPiece(
            run, [&](int sector, int, int) { touched[static_cast<std::size_t>(sector)] = true; });
      }
      for (std::size_t k = 0; k < touched.size(); ++k) {
        if (touched[k]) cost += area(sectorBoxes[k]);
      }
    }
    costs[c] = cost;
  }
  return costs;
}

RingSectors TileLayoutBuilder::ChooseSectors() const {
  const std::vector<RingSectors> candidates = SectorCandidates();
  if (candidates.empty()) return {};
  const std::vector<long long> costs = HoverCosts(candidates);
  const auto best = std::min_element(costs.begin(), costs.end()) - costs.begin();
  return candidates[static_cast<std::size_t>(best)];
}

}  // namespace kivo
