// A pane over an empty document and a temporary folder tree to grep: files are written by their
// host names (UTF-8), the run's output is the document's text.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "editor/view/pane/view_fixture.h"
#include "platform/path.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"

class GrepTreeFixture : public ViewFixture {
 protected:
  struct Options {
    bool sub = true;
    bool loHiCase = true;
    bool regexp = false;
    int code = 0;
    bool outputLine = true;
    bool word = false;
    int style = 1;
  };

  void SetUp() override {
    ViewFixture::SetUp();
    common().bGrepRealTime = 0;
  }

  // The tree's folder as the editor names it, ending with "/".
  std::string Folder() const {
    std::string folder;
    EXPECT_TRUE(platform::ExactPathFromHost(tree.path().string() + "/", folder));
    return folder;
  }
  void Write(std::string_view name, std::string_view bytes) const { tree.Write(name, bytes); }
  void MakeFolder(std::string_view name) const { std::filesystem::create_directories(tree.path() / name); }
  void Link(std::string_view name, std::string_view target) const {
    std::filesystem::create_symlink(target, tree.path() / name);
  }

  int Run(std::string_view key, std::string_view files, const Options& o) {
    const std::string k(key), f(files), folder = Folder();
    return view->RunGrep(k.c_str(), f.c_str(), folder.c_str(), o.sub, o.loHiCase, o.regexp, o.code, o.outputLine, o.word,
                         o.style);
  }
  // The output after the header (the header ends with two empty lines).
  std::string Body() {
    const std::string all = DocBytes();
    const size_t at = all.find("\r\n\r\n\r\n");
    return at == std::string::npos ? all : all.substr(at + 6);
  }

  ScopedTempDir tree;
};
