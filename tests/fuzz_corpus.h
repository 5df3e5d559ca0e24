// The inputs kept in the fuzzing corpus (fuzz/corpus/<target>/<what it found>), for the tests that
// replay them.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

inline std::string FuzzCorpusPath(std::string_view target, std::string_view name) {
  // Beside tests/ in the source tree.
  const std::filesystem::path root = std::filesystem::path(VREL_TEST_DATA).parent_path().parent_path();
  return (root / "fuzz" / "corpus" / target / name).string();
}

// The bytes of one kept input; empty when it is missing.
inline std::vector<uint8_t> FuzzCorpusBytes(std::string_view target, std::string_view name) {
  std::ifstream in(FuzzCorpusPath(target, name), std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}
