// A fresh folder under the system's temporary folder, removed with everything in it at the end of
// the test.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

  // Writes a file (name may hold folders, "/" between levels; they are made).
  void Write(std::string_view name, std::string_view bytes) const {
    std::filesystem::create_directories(std::filesystem::path(File(name)).parent_path());
    std::ofstream(File(name), std::ios::binary) << bytes;
  }
  void Write(std::string_view name, std::span<const unsigned char> bytes) const {
    Write(name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }
  std::string Read(std::string_view name) const {
    std::ifstream in(File(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  bool Exists(std::string_view name) const { return std::filesystem::exists(m_path / name); }
  // Names of the entries of the folder (or of a folder below it), sorted.
  std::vector<std::string> List(std::string_view folder = {}) const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder.empty() ? m_path : m_path / folder)) {
      names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  size_t EntryCount() const {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(m_path), {}));
  }

 private:
  std::filesystem::path m_path;
};
