// Whole-file reads through the file layer: a plain file, a stored and an LZSS-packed entry of a
// large archive, against the baseline of reading the same plain file with stdio.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/path.h"
#include "sdk/framework/archive_writer.h"
#include "sdk/framework/file_buffer.h"
#include "sdk/framework/lzss_decoder.h"
#include "sdk/framework/lzss_encoder.h"
#include "sdk/framework/packed_archive.h"
#include "sdk/framework/path_functions.h"

namespace {

constexpr size_t kFileSize = 256 * 1024;
constexpr int kEntries = 2000;

// Picture-like data: runs and repeats with some noise, so that LZSS packs it about as well as it
// packs the game's pictures.
std::vector<unsigned char> SampleData(unsigned seed) {
  std::mt19937 random(seed);
  std::vector<unsigned char> data;
  while (data.size() < kFileSize) {
    if (data.size() > 64 && random() % 3 != 0) {
      const size_t from = data.size() - 1 - random() % 64;
      for (int k = 0; k < 12 && data.size() < kFileSize; ++k) data.push_back(data[from + k]);
    } else {
      data.push_back(static_cast<unsigned char>(random()));
    }
  }
  return data;
}

void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

// The game folder of the benchmark: data/plain.bin, and stored.dat and packed.dat holding
// kEntries files each.
class Fixture {
 public:
  Fixture() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vrel-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    m_host = pattern;
    std::filesystem::create_directories(m_host + "/data");
    m_sample = SampleData(1);
    WriteFile(m_host + "/data/plain.bin", m_sample);
    std::vector<PackInput> files;
    for (int i = 0; i < kEntries; ++i) {
      files.push_back({"dir\\file" + std::to_string(i) + ".bin", i == kEntries / 2 ? m_sample : std::vector<unsigned char>(64, 'x')});
    }
    for (bool compress : {false, true}) {
      std::vector<unsigned char> image;
      std::string error;
      if (!BuildPackedArchive(files, PackOptions{ArchiveKind::kPackDx, compress, false}, image, error)) std::abort();
      WriteFile(m_host + (compress ? "/packed.dat" : "/stored.dat"), image);
    }
    std::string program;
    platform::ProgramPathFromHost(m_host, program);
    SetCurrentDir(program);
  }
  ~Fixture() { std::filesystem::remove_all(m_host); }

  const std::string& host() const { return m_host; }
  const std::vector<unsigned char>& sample() const { return m_sample; }

 private:
  std::string m_host;
  std::vector<unsigned char> m_sample;
};

Fixture& Game() {
  static Fixture fixture;
  return fixture;
}

const std::string kMiddle = "\\dir\\file" + std::to_string(kEntries / 2) + ".bin";

void ReadThroughFileBuffer(benchmark::State& state, const std::string& name) {
  Game();
  for (auto _ : state) {
    CFileBuffer f;
    if (f.Read(name) != 0) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(f.GetData());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kFileSize);
}

void BM_StdioPlainFile(benchmark::State& state) {
  const std::string path = Game().host() + "/data/plain.bin";
  std::vector<unsigned char> buffer(kFileSize + 1);
  for (auto _ : state) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f || std::fread(buffer.data(), 1, kFileSize, f) != kFileSize) state.SkipWithError("read failed");
    if (f) std::fclose(f);
    benchmark::DoNotOptimize(buffer.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kFileSize);
}
BENCHMARK(BM_StdioPlainFile);

void BM_PlainFile(benchmark::State& state) { ReadThroughFileBuffer(state, "data\\plain.bin"); }
BENCHMARK(BM_PlainFile);

void BM_PlainFileOtherCase(benchmark::State& state) { ReadThroughFileBuffer(state, "DATA\\Plain.BIN"); }
BENCHMARK(BM_PlainFileOtherCase);

void BM_StoredEntry(benchmark::State& state) { ReadThroughFileBuffer(state, "stored" + kMiddle); }
BENCHMARK(BM_StoredEntry);

// The same read when the archive's entry table is not remembered from an earlier read.
void BM_StoredEntryTableUnknown(benchmark::State& state) {
  Game();
  for (auto _ : state) {
    ForgetArchiveIndexes();
    CFileBuffer f;
    if (f.Read("stored" + kMiddle) != 0) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(f.GetData());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kFileSize);
}
BENCHMARK(BM_StoredEntryTableUnknown);

void BM_PackedEntry(benchmark::State& state) { ReadThroughFileBuffer(state, "packed" + kMiddle); }
BENCHMARK(BM_PackedEntry);

void BM_LzssDecodeOnly(benchmark::State& state) {
  const std::vector<unsigned char> packed = LzssEncode(Game().sample());
  std::vector<unsigned char> out(kFileSize);
  CLzssDecoder decoder;
  for (auto _ : state) {
    unsigned char* p = out.data();
    decoder.Decode(packed.data(), static_cast<uint32_t>(packed.size()), p, kFileSize, false);
    benchmark::DoNotOptimize(p);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kFileSize);
  state.counters["ratio"] = static_cast<double>(packed.size()) / kFileSize;
}
BENCHMARK(BM_LzssDecodeOnly);

}  // namespace

BENCHMARK_MAIN();
