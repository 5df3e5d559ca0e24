// Median-cut colour reduction: splits the colour space of a 24-bit picture into boxes at the
// median of their longest side and keeps the splits as a tree through which each pixel finds its
// palette index. The palette itself (each box's centre) is made by the caller.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class CMedianCut {
 public:
  static constexpr int kMaxBoxes = 260;

  // Axis numbers of the tree nodes.
  static constexpr int kLeaf = -1;
  static constexpr int kBlue = 0;
  static constexpr int kGreen = 1;
  static constexpr int kRed = 2;

  struct Node {
    int axis = kLeaf;
    int split = 0;
    Node* left = nullptr;
    Node* right = nullptr;
    int paletteIndex = 0;
  };

  struct Box {
    int32_t minRed = 0;
    int32_t minGreen = 0;
    int32_t minBlue = 0;
    int32_t extentRed = 0;  // maximum - minimum + 1
    int32_t extentGreen = 0;
    int32_t extentBlue = 0;
    int32_t count = 0;  // pixels inside
    Node* node = nullptr;
  };

  CMedianCut() = default;
  CMedianCut(const CMedianCut&) = delete;
  CMedianCut& operator=(const CMedianCut&) = delete;

  // pixels: width x height blue, green, red triples without padding. Afterwards the boxes and the
  // tree describe at most target colours (1 to kMaxBoxes); box i's leaf carries palette index i.
  // False for no pixels or a target outside that range.
  bool Build(const uint8_t* pixels, int width, int height, int target);

  // Appends a box with a new leaf; the first node made becomes the root. Returns its index.
  int AddBox(const Box& box);
  // The last box moves into the slot.
  void RemoveBox(int index);
  static int LongestSide(const Box& box);

  // The palette index of a colour, by walking the tree (0 before any build).
  int Lookup(uint8_t blue, uint8_t green, uint8_t red) const;

  int GetBoxCount() const { return static_cast<int>(m_boxes.size()); }
  const Box& GetBox(int index) const { return m_boxes[static_cast<size_t>(index)]; }
  const Node* GetRoot() const { return m_root; }

  // Forgets the boxes and the tree.
  void Release();

 private:
  using Pixel = uint8_t[3];  // blue, green, red
  struct Buckets;

  Node* NewNode();
  void Histogram(const Buckets& buckets, const Box& box, int axis, uint32_t* counts) const;
  void Shrink(const Buckets& buckets, Box& box) const;

  Node* m_root = nullptr;
  std::vector<std::unique_ptr<Node>> m_nodes;  // owns every node of the tree
  std::vector<Box> m_boxes;
};
