// A fresh folder under the system's temporary folder, removed with everything in it at the end of
// the test.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

class ScopedTempDir {
 public:
  ScopedTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vrel-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    m_path = pattern;
  }
  ~ScopedTempDir() {
    std::error_code ec;
    // Read-only files made by a test must not keep the folder alive.
    for (auto& e : std::filesystem::recursive_directory_iterator(m_path, ec)) {
      std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ec);
    }
    std::filesystem::remove_all(m_path, ec);
  }
  ScopedTempDir(const ScopedTempDir&) = delete;
  ScopedTempDir& operator=(const ScopedTempDir&) = delete;

  const std::filesystem::path& path() const { return m_path; }
  std::string File(std::string_view name) const { return (m_path / name).string(); }

  void Write(std::string_view name, std::string_view bytes) const {
    std::ofstream(File(name), std::ios::binary) << bytes;
  }
  std::string Read(std::string_view name) const {
    std::ifstream in(File(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  bool Exists(std::string_view name) const { return std::filesystem::exists(m_path / name); }
  size_t EntryCount() const {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(m_path), {}));
  }

 private:
  std::filesystem::path m_path;
};
