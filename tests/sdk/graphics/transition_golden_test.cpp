// Golden call logs: every catalogue entry at phases 1, 128 and 255 on a 13 x 7 source, so that
// odd sizes make border cells. The log was produced once by this implementation, checked family by
// family against the formulas, and is compared on every run. VREL_UPDATE_GOLDEN=1 rewrites it.
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "transition_test_util.h"

namespace {

using namespace transition_test;

const char* const kNames[kTransitionCount] = {"TransMirrorX",
                                              "TransMirrorX",
                                              "TransMirrorY",
                                              "TransBulgeRows",
                                              "TransBulgeColumns",
                                              "TransJitterRows",
                                              "TransNoiseCells",
                                              "TransRandomCells",
                                              "TransDissolveDown",
                                              "TransDissolveUp",
                                              "TransDissolveRight",
                                              "TransDissolveLeft",
                                              "TransSquareCentre",
                                              "TransSquareTopLeft",
                                              "TransSquareTopRight",
                                              "TransSquareBottomLeft",
                                              "TransSquareBottomRight",
                                              "TransInterlaceRows",
                                              "TransInterlaceColumns",
                                              "TransInterlaceRows4",
                                              "TransInterlaceColumns4",
                                              "TransDissolveCircle",
                                              "TransTearDown",
                                              "TransTearUp",
                                              "TransWave",
                                              "TransWaveInverse",
                                              "TransRipple",
                                              "TransRippleInverse",
                                              "TransCircleTop",
                                              "TransCircleBottom",
                                              "TransCircleLeft",
                                              "TransCircleRight",
                                              "TransCircleCentre",
                                              "TransGrowCells4",
                                              "TransGrowCells8",
                                              "TransGrowCells16",
                                              "TransBlindsX8",
                                              "TransBlindsX8Reverse",
                                              "TransBlindsX16",
                                              "TransBlindsX16Reverse",
                                              "TransBlindsY8",
                                              "TransBlindsY8Reverse",
                                              "TransBlindsY16",
                                              "TransBlindsY16Reverse",
                                              "TransSlant8",
                                              "TransSlant16",
                                              "TransDitherSpiral1",
                                              "TransDitherCentre1",
                                              "TransDitherSpiral2",
                                              "TransDitherCentre2",
                                              "TransDitherSpiral4",
                                              "TransDitherCentre4",
                                              "TransDitherSpiral8",
                                              "TransDitherCentre8",
                                              "TransCrossFade",
                                              "TransScatter",
                                              "TransExplode",
                                              "TransExplodeFine",
                                              "TransExplodeSwing",
                                              "TransRadialSwing",
                                              "TransRadialZoom",
                                              "TransRotate2",
                                              "TransRotate4",
                                              "TransRotate8",
                                              "TransRotateScatter",
                                              "TransBlockDrop8",
                                              "TransBlockDrop16",
                                              "TransSettle",
                                              "TransSettleFall",
                                              "TransMosaic",
                                              "TransInvert",
                                              "TransBandsRight16",
                                              "TransBandsLeft16",
                                              "TransBandsRight8",
                                              "TransBandsLeft8",
                                              "TransBandsDown16",
                                              "TransBandsUp16",
                                              "TransBandsDown8",
                                              "TransBandsUp8",
                                              "TransSmearLeft",
                                              "TransSmearRight",
                                              "TransSmearUp",
                                              "TransSmearDown"};

constexpr uint32_t kSeed = 20240601;
const std::string kPath = std::string(VREL_TEST_DATA) + "/transition_calls.txt";

using Sections = std::map<std::string, std::vector<std::string>>;

std::string Header(int entry, int phase) {
  return "== entry " + std::to_string(entry) + " " + kNames[entry] + " phase " + std::to_string(phase);
}

// The log of every entry, section by section, as it is drawn now.
std::vector<std::pair<std::string, std::vector<std::string>>> Current() {
  std::vector<std::pair<std::string, std::vector<std::string>>> out;
  for (int entry = 0; entry < kTransitionCount; ++entry)
    for (int phase : {1, 128, 255}) {
      Reseed(kSeed);
      const Recorded r = Record(entry, {.w = 13, .h = 7, .x = 5, .y = 3, .phase = phase});
      std::vector<std::string> lines;
      lines.push_back("result " + std::to_string(r.result) + " size queries " + std::to_string(r.sourceQueries) + "/" +
                      std::to_string(r.destQueries));
      for (const RecordedCall& c : r.calls) lines.push_back(c.ToString());
      out.emplace_back(Header(entry, phase), std::move(lines));
    }
  return out;
}

Sections Load() {
  Sections out;
  std::ifstream in(kPath);
  std::string line, current;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    if (line.rfind("== ", 0) == 0) {
      current = line;
      out[current];
    } else {
      out[current].push_back(line);
    }
  }
  return out;
}

TEST(TransitionGolden, EveryEntryDrawsTheRecordedCalls) {
  const auto now = Current();
  if (std::getenv("VREL_UPDATE_GOLDEN") != nullptr) {
    std::ofstream out(kPath);
    out << "# Drawing calls of every transition entry on a 13 x 7 source drawn at (5, 3) over a\n"
           "# 40 x 30 destination, mode 0, alpha 77, no clip; the transitions' generator reseeded\n"
           "# with "
        << kSeed
        << " before each run. Written by transition_golden_test with\n"
           "# VREL_UPDATE_GOLDEN=1. A line: operation, source rectangle (left, top, right,\n"
           "# bottom), destination point, [ratio], [destination size], clip.\n";
    for (const auto& [header, lines] : now) {
      out << header << "\n";
      for (const std::string& l : lines) out << l << "\n";
    }
    GTEST_SKIP() << "rewrote " << kPath;
  }
  const Sections golden = Load();
  ASSERT_EQ(golden.size(), now.size()) << "missing or incomplete " << kPath;
  for (const auto& [header, lines] : now) {
    const auto it = golden.find(header);
    ASSERT_NE(it, golden.end()) << header;
    const std::vector<std::string>& want = it->second;
    for (size_t i = 0; i < std::max(want.size(), lines.size()); ++i) {
      const std::string a = i < want.size() ? want[i] : "(none)";
      const std::string b = i < lines.size() ? lines[i] : "(none)";
      if (a != b) {
        ADD_FAILURE() << header << " line " << i << ": recorded " << a << ", drawn " << b;
        break;
      }
    }
  }
}

}  // namespace
