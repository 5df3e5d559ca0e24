// A drawing target that draws nothing and logs every drawing call it receives (operation, source
// rectangle, point, ratio, destination size, clip) and counts the questions for its size: the
// transition effects are checked by the calls they make.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sdk/graphics/draw_target.h"

struct RecordedCall {
  std::string op;
  int x = 0;
  int y = 0;
  std::optional<int> ratio;
  std::optional<RECT> rect;
  std::optional<RECT> clip;
  bool hasSize = false;
  int size[2] = {0, 0};
  int blockSize = 0;  // MosaicBlt

  std::string ToString() const {
    auto r = [](const std::optional<RECT>& v) {
      if (!v) return std::string("-");
      return std::to_string(v->left) + "," + std::to_string(v->top) + "," + std::to_string(v->right) + "," +
             std::to_string(v->bottom);
    };
    std::string s = op;
    if (op == "MosaicBlt") return s + " block=" + std::to_string(blockSize) + " rect=" + r(rect);
    if (op == "FlushBlt") return s + " rect=" + r(rect);
    s += " src=" + r(rect) + " at=" + std::to_string(x) + "," + std::to_string(y);
    if (ratio) s += " ratio=" + std::to_string(*ratio);
    if (hasSize) s += " size=" + std::to_string(size[0]) + "," + std::to_string(size[1]);
    s += " clip=" + r(clip);
    return s;
  }
};

class RecordingTarget : public CDrawTarget {
 public:
  static constexpr int kResult = 7;  // what every drawing call gives, to see results passed on

  RecordingTarget(int w, int h) : m_w(w), m_h(h) {}

  std::vector<RecordedCall> calls;
  mutable int sizeQueries = 0;
  // Set: every call is handed here instead of being kept (for runs of millions of calls).
  std::function<void(const RecordedCall&)> onCall;
  bool hasAlpha = false;

  std::vector<std::string> Lines() const {
    std::vector<std::string> out;
    for (const RecordedCall& c : calls) out.push_back(c.ToString());
    return out;
  }
  void Reset() {
    calls.clear();
    sizeQueries = 0;
  }

  int Blt(CDrawTarget*, int x, int y, const RECT* r, const int* s, RECT* c) override {
    return Log("Blt", x, y, {}, r, s, c);
  }
  int BltFast(CDrawTarget*, int x, int y, const RECT* r, const int* s, RECT* c) override {
    return Log("BltFast", x, y, {}, r, s, c);
  }
  int BlendBltRatio(CDrawTarget*, int x, int y, int ratio, const RECT* r, const int* s, RECT* c) override {
    return Log("BlendBltRatio", x, y, ratio, r, s, c);
  }
  int BlendBltFastRatio(CDrawTarget*, int x, int y, int ratio, const RECT* r, const int* s, RECT* c) override {
    return Log("BlendBltFastRatio", x, y, ratio, r, s, c);
  }
  int BlendBltAlphaRatio(CDrawTarget*, int x, int y, int ratio, const RECT* r, const int* s, RECT* c) override {
    return Log("BlendBltAlphaRatio", x, y, ratio, r, s, c);
  }
  int BlendBltNatural(CDrawTarget*, int x, int y, int ratio, const RECT* r, const int* s, RECT* c) override {
    return Log("BlendBltNatural", x, y, ratio, r, s, c);
  }
  int BltNatural(CDrawTarget*, int x, int y, const RECT* r, const int* s, RECT* c) override {
    return Log("BltNatural", x, y, {}, r, s, c);
  }
  int BlendBlt(CDrawTarget*, int x, int y, uint32_t, uint32_t, const RECT* r, const int* s, RECT* c) override {
    return Log("BlendBlt", x, y, {}, r, s, c);
  }
  int BlendBltFast(CDrawTarget*, int x, int y, uint32_t, uint32_t, const RECT* r, const int* s, RECT* c) override {
    return Log("BlendBltFast", x, y, {}, r, s, c);
  }
  int BlendBltAlphaSimple(CDrawTarget*, int x, int y, int ratio) override {
    return Log("BlendBltAlphaSimple", x, y, ratio, nullptr, nullptr, nullptr);
  }
  int MosaicBlt(int blockSize, const RECT* rect) override {
    RecordedCall call;
    call.op = "MosaicBlt";
    call.blockSize = blockSize;
    if (rect) call.rect = *rect;
    Keep(std::move(call));
    return kResult;
  }
  int FlushBlt(const RECT* rect) override {
    RecordedCall call;
    call.op = "FlushBlt";
    if (rect) call.rect = *rect;
    Keep(std::move(call));
    return kResult;
  }
  void GetSize(int* width, int* height) const override {
    ++sizeQueries;
    *width = m_w;
    *height = m_h;
  }
  bool IsLoaded() const override { return true; }
  bool HasAlpha() const override { return hasAlpha; }
  int Clear(const RECT*) override { return 0; }
  int Load(std::string_view, int, double) override { return 0; }
  int LoadByDepth(std::string_view, std::string_view, int) override { return 0; }
  void Release() override {}
  int SetColorKey(int, int, int) override { return 0; }
  int SetColorKeyPos(int, int) override { return 0; }

 private:
  int Log(const char* op, int x, int y, std::optional<int> ratio, const RECT* r, const int* s, const RECT* c) {
    RecordedCall call;
    call.op = op;
    call.x = x;
    call.y = y;
    call.ratio = ratio;
    if (r) call.rect = *r;
    if (c) call.clip = *c;
    if (s) {
      call.hasSize = true;
      call.size[0] = s[0];
      call.size[1] = s[1];
    }
    Keep(std::move(call));
    return kResult;
  }
  void Keep(RecordedCall&& call) {
    if (onCall)
      onCall(call);
    else
      calls.push_back(std::move(call));
  }

  int m_w;
  int m_h;
};
