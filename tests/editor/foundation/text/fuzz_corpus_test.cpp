// The editor's fuzzing seeds, replayed through the same calls as the fuzz targets.
#include "fuzz_corpus.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "editor/foundation/text/char_codes.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/settings/share_data.h"
#include "scoped_temp_dir.h"

namespace {

std::vector<std::vector<uint8_t>> Inputs(std::string_view target) {
  std::vector<std::vector<uint8_t>> inputs;
  const std::filesystem::path folder = std::filesystem::path(FuzzCorpusPath(target, "")).parent_path();
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    inputs.push_back(FuzzCorpusBytes(target, entry.path().filename().string()));
  return inputs;
}

TEST(EditorFuzzCorpus, SeedsRunCleanly) {
  const auto detect = Inputs("editor_detect_code");
  const auto convert = Inputs("editor_code_convert");
  const auto decode = Inputs("editor_base64_uu");
  ASSERT_FALSE(detect.empty());
  ASSERT_FALSE(convert.empty());
  ASSERT_FALSE(decode.empty());
  for (const auto& in : detect) {
    const int code = CMemory::DetectCode(reinterpret_cast<const char*>(in.data()), static_cast<int>(in.size()));
    EXPECT_TRUE(code >= kCodeSjis && code < kCodeCount);
  }
  using Convert = int (CMemory::*)();
  const Convert all[] = {&CMemory::SJIStoJIS,     &CMemory::SJIStoEUC,     &CMemory::EUCtoSJIS,
                         &CMemory::SJIStoUNICODE, &CMemory::UNICODEtoSJIS, &CMemory::UNICODEBEtoSJIS,
                         &CMemory::SJIStoUTF8,    &CMemory::UTF8toSJIS,    &CMemory::SJIStoUTF7,
                         &CMemory::UTF7toSJIS,    &CMemory::AutoToSJIS};
  for (const auto& in : convert) {
    for (Convert c : all) {
      CMemory m(reinterpret_cast<const char*>(in.data()), static_cast<int>(in.size()));
      (m.*c)();
      ASSERT_NE(m.GetPtr(), nullptr);
      EXPECT_EQ(m.GetPtr()[m.GetLength()], '\0');
    }
    CMemory j(reinterpret_cast<const char*>(in.data()), static_cast<int>(in.size()));
    j.JIStoSJIS(true);
  }
  for (const auto& in : decode) {
    CMemory b(reinterpret_cast<const char*>(in.data()), static_cast<int>(in.size()));
    b.Base64Decode();
    EXPECT_LE(b.GetLength(), static_cast<int>(in.size()));
    CMemory u(reinterpret_cast<const char*>(in.data()), static_cast<int>(in.size()));
    std::string name;
    u.Uudecode(name);
  }
}

// A settings file read into a fresh record, written, and read again gives the same file.
TEST(EditorFuzzCorpus, SettingsSeedsRoundTrip) {
  const auto seeds = Inputs("editor_settings");
  ASSERT_FALSE(seeds.empty());
  ScopedTempDir dir;
  const auto loadAndSave = [](const std::string& in, const std::string& out) {
    auto record = std::make_unique<SharedSettings>();
    CShareData::InitDefaults(*record);
    CShareData share;
    share.Attach(record.get());
    return share.IOSettings(true, in) && share.IOSettings(false, out);
  };
  for (const auto& in : seeds) {
    dir.Write("in.ini", std::string_view(reinterpret_cast<const char*>(in.data()), in.size()));
    ASSERT_TRUE(loadAndSave(dir.File("in.ini"), dir.File("1.ini")));
    ASSERT_TRUE(loadAndSave(dir.File("1.ini"), dir.File("2.ini")));
    EXPECT_EQ(dir.Read("1.ini"), dir.Read("2.ini"));
  }
}

}  // namespace
