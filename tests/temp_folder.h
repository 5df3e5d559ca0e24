// A fresh folder under the system's temporary folder for one test, removed with everything in it
// afterwards; and a scope that makes it the file layer's current directory.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vrel-test-XXXXXX").string();
    if (::mkdtemp(pattern.data())) m_host = pattern;
  }
  ~TempFolder() {
    if (m_host.empty()) return;
    std::error_code ec;
    // Folders made read-only by a test must be writable again to be emptied.
    for (auto it = std::filesystem::recursive_directory_iterator(m_host, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      if (it->is_directory(ec)) ::chmod(it->path().c_str(), 0700);
    }
    ::chmod(m_host.c_str(), 0700);
    std::filesystem::remove_all(m_host, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  bool ok() const { return !m_host.empty(); }
  // UTF-8 path without a trailing separator.
  const std::string& host() const { return m_host; }
  // UTF-8 path of a file below the folder ("/" between levels).
  std::string Host(std::string_view relativeUtf8) const { return m_host + "/" + std::string(relativeUtf8); }

  // Writes a file (UTF-8 relative path), making its folders.
  void Put(std::string_view relativeUtf8, std::span<const unsigned char> bytes) const {
    std::filesystem::path p = Host(relativeUtf8);
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                             static_cast<std::streamsize>(bytes.size()));
  }
  void Put(std::string_view relativeUtf8, std::string_view text) const {
    Put(relativeUtf8, std::span(reinterpret_cast<const unsigned char*>(text.data()), text.size()));
  }
  // The whole file, or "<missing>".
  std::string Get(std::string_view relativeUtf8) const {
    std::ifstream in(Host(relativeUtf8), std::ios::binary);
    if (!in) return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  bool Exists(std::string_view relativeUtf8) const { return std::filesystem::exists(Host(relativeUtf8)); }
  // Names of the entries of a folder below this one, sorted.
  std::vector<std::string> List(std::string_view relativeUtf8 = {}) const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(relativeUtf8.empty() ? m_host : Host(relativeUtf8))) {
      names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::string m_host;
};
