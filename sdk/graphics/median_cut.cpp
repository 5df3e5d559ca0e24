#include "sdk/graphics/median_cut.h"

#include <algorithm>
#include <array>
#include <bit>

namespace {

constexpr int kBucketSide = 16;

struct Bounds {
  int lo[3];  // by axis: blue, green, red
  int hi[3];  // inclusive
};

// The smallest bounds that hold the pixels given to Add.
struct Extent {
  int lo[3] = {255, 255, 255};
  int hi[3] = {0, 0, 0};
  bool any = false;
  void Add(const uint8_t* p) {
    any = true;
    for (int axis = 0; axis < 3; ++axis) {
      lo[axis] = std::min<int>(lo[axis], p[axis]);
      hi[axis] = std::max<int>(hi[axis], p[axis]);
    }
  }
  void To(CMedianCut::Box& box) const {
    box.minBlue = lo[CMedianCut::kBlue];
    box.minGreen = lo[CMedianCut::kGreen];
    box.minRed = lo[CMedianCut::kRed];
    box.extentBlue = hi[CMedianCut::kBlue] - lo[CMedianCut::kBlue] + 1;
    box.extentGreen = hi[CMedianCut::kGreen] - lo[CMedianCut::kGreen] + 1;
    box.extentRed = hi[CMedianCut::kRed] - lo[CMedianCut::kRed] + 1;
  }
};

Bounds BoundsOf(const CMedianCut::Box& b) {
  return Bounds{{b.minBlue, b.minGreen, b.minRed},
                {b.minBlue + b.extentBlue - 1, b.minGreen + b.extentGreen - 1, b.minRed + b.extentRed - 1}};
}

}  // namespace

// The coarse 16 x 16 x 16 grid that keeps each split from visiting the whole picture.
struct CMedianCut::Buckets {
  std::vector<std::array<uint8_t, 3>> lists[kBucketSide * kBucketSide * kBucketSide];

  static int IndexOf(int red, int green, int blue) { return (red / 16) * 256 + (green / 16) * 16 + blue / 16; }

  // Calls f for every stored pixel inside the bounds, visiting only the buckets that meet them.
  template <typename F>
  void ForEachIn(const Bounds& b, F f) const {
    for (int r = b.lo[kRed] / 16; r <= b.hi[kRed] / 16; ++r)
      for (int g = b.lo[kGreen] / 16; g <= b.hi[kGreen] / 16; ++g)
        for (int bl = b.lo[kBlue] / 16; bl <= b.hi[kBlue] / 16; ++bl)
          for (const auto& p : lists[r * 256 + g * 16 + bl]) {
            bool inside = true;
            for (int axis = 0; axis < 3; ++axis) inside = inside && p[axis] >= b.lo[axis] && p[axis] <= b.hi[axis];
            if (inside) f(p);
          }
  }
};

CMedianCut::Node* CMedianCut::NewNode() {
  m_nodes.push_back(std::make_unique<Node>());
  return m_nodes.back().get();
}

int CMedianCut::AddBox(const Box& box) {
  Box added = box;
  added.node = NewNode();
  if (!m_root) m_root = added.node;
  m_boxes.push_back(added);
  return static_cast<int>(m_boxes.size()) - 1;
}

void CMedianCut::RemoveBox(int index) {
  m_boxes[static_cast<size_t>(index)] = m_boxes.back();
  m_boxes.pop_back();
}

int CMedianCut::LongestSide(const Box& box) { return std::max({box.extentRed, box.extentGreen, box.extentBlue}); }

void CMedianCut::Release() {
  m_boxes.clear();
  m_root = nullptr;
  m_nodes.clear();
}

int CMedianCut::Lookup(uint8_t blue, uint8_t green, uint8_t red) const {
  const uint8_t channel[3] = {blue, green, red};
  const Node* n = m_root;
  if (!n) return 0;
  while (n->axis != kLeaf) n = channel[n->axis] < n->split ? n->left : n->right;
  return n->paletteIndex;
}

void CMedianCut::Histogram(const Buckets& buckets, const Box& box, int axis, uint32_t* counts) const {
  buckets.ForEachIn(BoundsOf(box), [&](const std::array<uint8_t, 3>& p) { ++counts[p[axis]]; });
}

void CMedianCut::Shrink(const Buckets& buckets, Box& box) const {
  Extent e;
  buckets.ForEachIn(BoundsOf(box), [&](const std::array<uint8_t, 3>& p) { e.Add(p.data()); });
  if (e.any) e.To(box);
}

bool CMedianCut::Build(const uint8_t* pixels, int width, int height, int target) {
  Release();
  if (!pixels || width <= 0 || height <= 0 || target < 1 || target > kMaxBoxes) return false;
  const size_t total = static_cast<size_t>(width) * static_cast<size_t>(height);
  if (total > static_cast<size_t>(INT32_MAX)) return false;

  auto buckets = std::make_unique<Buckets>();
  Extent all;
  for (size_t i = 0; i < total; ++i) {
    const uint8_t* p = pixels + 3 * i;
    buckets->lists[Buckets::IndexOf(p[2], p[1], p[0])].push_back({p[0], p[1], p[2]});
    all.Add(p);
  }
  Box first;
  all.To(first);
  first.count = static_cast<int32_t>(total);
  AddBox(first);

  while (GetBoxCount() < target && GetBoxCount() > 0) {
    // Only a box that has two values on some axis can be split; a box of one colour, however
    // many pixels it holds, must not end the build while others could still be divided.
    int chosen = -1;
    int64_t best = -1;
    for (int i = 0; i < GetBoxCount(); ++i) {
      const Box& b = m_boxes[static_cast<size_t>(i)];
      if (LongestSide(b) < 2) continue;
      const int64_t score = int64_t{std::bit_width(static_cast<uint32_t>(b.count))} * LongestSide(b);
      if (score > best) {
        best = score;
        chosen = i;
      }
    }
    if (chosen < 0) break;
    const Box box = m_boxes[static_cast<size_t>(chosen)];
    const int longest = LongestSide(box);
    const int axis = box.extentRed == longest ? kRed : box.extentGreen == longest ? kGreen : kBlue;
    const int minimum = axis == kRed ? box.minRed : axis == kGreen ? box.minGreen : box.minBlue;
    const int extent = axis == kRed ? box.extentRed : axis == kGreen ? box.extentGreen : box.extentBlue;
    const int largest = minimum + extent - 1;

    uint32_t counts[256] = {};
    Histogram(*buckets, box, axis, counts);
    uint64_t n = 0;
    for (int v = minimum; v <= largest; ++v) n += counts[v];
    if (n == 0) {
      RemoveBox(chosen);
      continue;
    }
    uint64_t k = counts[minimum];
    int s = minimum + 1;
    while (s < largest && 2 * k < n) k += counts[s++];

    Box lower = box, upper = box;
    lower.count = static_cast<int32_t>(k);
    upper.count = static_cast<int32_t>(n - k);
    int32_t* lowerExtent = axis == kRed ? &lower.extentRed : axis == kGreen ? &lower.extentGreen : &lower.extentBlue;
    int32_t* upperMin = axis == kRed ? &upper.minRed : axis == kGreen ? &upper.minGreen : &upper.minBlue;
    int32_t* upperExtent = axis == kRed ? &upper.extentRed : axis == kGreen ? &upper.extentGreen : &upper.extentBlue;
    *lowerExtent = s - minimum;
    *upperMin = s;
    *upperExtent = minimum + extent - s;
    Shrink(*buckets, lower);
    Shrink(*buckets, upper);

    RemoveBox(chosen);
    const int li = AddBox(lower);
    Node* lowerLeaf = m_boxes[static_cast<size_t>(li)].node;
    const int ui = AddBox(upper);
    Node* upperLeaf = m_boxes[static_cast<size_t>(ui)].node;
    box.node->axis = axis;
    box.node->split = s;
    box.node->left = lowerLeaf;
    box.node->right = upperLeaf;
  }
  for (int i = 0; i < GetBoxCount(); ++i) m_boxes[static_cast<size_t>(i)].node->paletteIndex = i;
  return true;
}
