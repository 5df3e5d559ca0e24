// Packs a folder into a packed archive, or scrambles one file.
//
//   vrelpack [-k pack|ex|dx] [-s] [-x] ARCHIVE FOLDER
//       every file below FOLDER into ARCHIVE (the archive of a folder is "<folder>.dat" beside
//       it); -k the archive kind (default dx), -s store without packing, -x scramble every file
//   vrelpack scramble INPUT OUTPUT
//       the scrambled form of INPUT
//
// A file that is already scrambled goes in as it is (the game unscrambles it once, loose or
// packed), and the tool says so.
//
// Paths on the command line are the system's own (UTF-8).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/file.h"
#include "platform/path.h"
#include "platform/sjis.h"
#include "sdk/framework/archive_writer.h"
#include "sdk/framework/file_buffer.h"
#include "sdk/framework/scramble.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: vrelpack [-k pack|ex|dx] [-s] [-x] ARCHIVE FOLDER\n"
               "       vrelpack scramble INPUT OUTPUT\n");
  return 2;
}

// A command-line path as a program path (absolute, so that the current directory does not matter).
bool ProgramPath(const char* host, std::string& program) {
  std::string absolute = host;
  if (absolute.empty()) return false;
  if (absolute.front() != '/') {
    std::string cwd;
    if (!platform::CurrentDirectory(cwd)) return false;
    absolute = platform::HostPath(cwd) + absolute;
  }
  if (!platform::ProgramPathFromHost(absolute, program)) {
    std::fprintf(stderr, "vrelpack: %s cannot be spelt in Shift-JIS\n", host);
    return false;
  }
  return true;
}

int Write(const std::string& program, const std::vector<unsigned char>& bytes, const char* host) {
  if (platform::WriteFileAtomically(program, bytes) != platform::WriteStatus::kOk) {
    std::fprintf(stderr, "vrelpack: cannot write %s\n", host);
    return 1;
  }
  return 0;
}

void SayAlreadyScrambled(const std::string& host) {
  std::printf("vrelpack: %s: already scrambled: stored as it is\n", host.c_str());
}

int Scramble(const char* inputHost, const char* outputHost) {
  std::string input, output;
  if (!ProgramPath(inputHost, input) || !ProgramPath(outputHost, output)) return 1;
  platform::ReadOnlyFile file;
  platform::FileStamp stamp;
  if (!file.Open(input) || !file.Stamp(stamp)) {
    std::fprintf(stderr, "vrelpack: cannot read %s\n", inputHost);
    return 1;
  }
  std::vector<unsigned char> plain(stamp.size);
  if (!file.ReadAt(0, plain)) {
    std::fprintf(stderr, "vrelpack: cannot read %s\n", inputHost);
    return 1;
  }
  if (HasScrambleMagic(plain)) {
    SayAlreadyScrambled(inputHost);
    return Write(output, plain, outputHost);
  }
  return Write(output, ScrambledFile(plain), outputHost);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "scramble") == 0) return Scramble(argv[2], argv[3]);
  PackOptions options;
  int i = 1;
  for (; i < argc && argv[i][0] == '-'; ++i) {
    const std::string flag = argv[i];
    if (flag == "-s") {
      options.compress = false;
    } else if (flag == "-x") {
      options.scramble = true;
    } else if (flag == "-k" && i + 1 < argc) {
      const std::string kind = argv[++i];
      if (kind == "pack") {
        options.kind = ArchiveKind::kPack;
      } else if (kind == "ex") {
        options.kind = ArchiveKind::kPackEx;
      } else if (kind == "dx") {
        options.kind = ArchiveKind::kPackDx;
      } else {
        return Usage();
      }
    } else {
      return Usage();
    }
  }
  if (argc - i != 2) return Usage();
  std::string archive, folder;
  if (!ProgramPath(argv[i], archive) || !ProgramPath(argv[i + 1], folder)) return 1;
  std::vector<PackInput> files;
  std::vector<unsigned char> image;
  std::string error;
  if (!CollectPackInputs(folder, files, error) || !BuildPackedArchive(files, options, image, error)) {
    std::fprintf(stderr, "vrelpack: %s\n", error.c_str());
    return 1;
  }
  for (const PackInput& f : files) {
    if (IsAlreadyScrambled(f)) SayAlreadyScrambled(platform::SjisToUtf8(f.name));
  }
  if (int r = Write(archive, image, argv[i]); r != 0) return r;
  std::printf("%s: %zu files, %zu bytes\n", argv[i], files.size(), image.size());
  return 0;
}
