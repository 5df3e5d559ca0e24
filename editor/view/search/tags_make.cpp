#include "editor/view/search/tags_make.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

#include "editor/foundation/text/show_message_box.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/text_utils.h"
#include "editor/foundation/ui/cancel_dialog.h"
#include "editor/foundation/ui/system_utils.h"
#include "platform/path.h"
#include "platform/sjis.h"
#include "platform/sjis_literal.h"

namespace {

constexpr const char* kCaption = "tovara";
constexpr int kCancelTemplate = 191;
constexpr int kCancelMessage = 1330;
constexpr auto kPollPeriod = std::chrono::milliseconds(200);
// What the failure message shows of the program's output.
constexpr int kShownOutput = 1022;

bool IsExecutableFile(const std::string& hostPath) {
  struct stat st;
  return ::stat(hostPath.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0111) != 0;
}

// The user's options split at blanks outside double quotes, the quotes removed.
std::vector<std::string> SplitOptions(const std::string& text) {
  std::vector<std::string> out;
  std::string buffer = text;
  int pos = 0;
  while (char* token = NextTokenOutsideQuotes(buffer.data(), static_cast<int>(buffer.size()), &pos, " \t")) {
    std::string argument;
    const auto* p = reinterpret_cast<const unsigned char*>(token);
    const int len = static_cast<int>(std::strlen(token));
    for (int i = 0; i < len;) {
      const int step = SjisCharSize(p, len, i);
      if (!(step == 1 && p[i] == '"')) argument.append(token + i, static_cast<size_t>(step));
      i += step;
    }
    out.push_back(std::move(argument));
  }
  return out;
}

// The program's output in Shift-JIS: UTF-8 (what the tools print in a UTF-8 locale) is converted;
// anything else is taken as Shift-JIS already.
std::string OutputToSjis(const std::string& output) {
  const std::string converted = platform::Utf8ToSjis(output);
  return platform::SjisToUtf8(converted) == output ? converted : output;
}

}  // namespace

std::string FindTagsProgram(const TagsProgramLookup& lookup) {
  if (lookup.name.empty()) return {};
  if (lookup.name.find('/') != std::string::npos) {
    std::string host;
    return platform::ExactHostPath(lookup.name, host) && IsExecutableFile(host) ? lookup.name : std::string();
  }
  std::string host;
  if (!platform::ExactHostPath(lookup.name, host)) return {};
  std::string search = lookup.searchPath;
  if (search.empty()) {
    const char* env = std::getenv("PATH");
    search = env ? env : "";
  }
  size_t start = 0;
  while (start <= search.size()) {
    size_t end = search.find(':', start);
    if (end == std::string::npos) end = search.size();
    const std::string folder = search.substr(start, end - start);
    start = end + 1;
    // An empty entry would mean the current folder, which is not where a system program lives.
    if (folder.empty() || folder[0] != '/') continue;
    const std::string candidate = folder + (folder.back() == '/' ? "" : "/") + host;
    std::string exact;
    if (IsExecutableFile(candidate) && platform::ExactPathFromHost(candidate, exact)) return exact;
  }
  return {};
}

std::vector<std::string> TagsProgramArguments(const TagsMakeRequest& request) {
  std::vector<std::string> arguments = {"--excmd=n"};
  if (request.options & 1) arguments.emplace_back("-R");
  for (std::string& option : SplitOptions(request.extraOptions)) arguments.push_back(std::move(option));

  std::string hostFolder;
  if (!platform::ExactHostPath(request.folder, hostFolder)) return arguments;
  std::vector<std::string> names;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(hostFolder, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    if (!name.empty() && name[0] != '.') names.push_back(std::move(name));
  }
  // Name order by bytes, so that the run does not depend on the file system's order.
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    std::string exact;
    if (platform::ExactPathFromHost(name, exact)) arguments.push_back(std::move(exact));
  }
  return arguments;
}

std::string TagsCommandLineText(std::string_view program, const std::vector<std::string>& arguments) {
  std::string text(program);
  for (const std::string& argument : arguments) {
    text += ' ';
    if (argument.empty() || argument.find_first_of(" \t") != std::string::npos) {
      text += '"';
      text += argument;
      text += '"';
    } else {
      text += argument;
    }
  }
  return text;
}

void RunTagsMake(HWND owner, const TagsMakeRequest& request, platform::OutsidePrograms& programs,
                 const TagsProgramLookup& lookup) {
  const std::string program = FindTagsProgram(lookup);
  if (program.empty()) {
    ShowMessageBox(owner, MB_OK | MB_ICONEXCLAMATION, kCaption, "%s",
                   "タグ作成コマンド実行は失敗しました。\n\nCTAGS.EXE が見つかりません。"_sj);
    return;
  }
  platform::ProgramRequest run;
  run.program = program;
  run.arguments = TagsProgramArguments(request);
  run.folder = request.folder;
  const std::string commandLine = TagsCommandLineText(program, run.arguments);

  std::string errorText;
  std::unique_ptr<platform::RunningProgram> child = programs.Start(run, &errorText);
  if (!child) {
    ShowMessageBox(owner, MB_OK | MB_ICONEXCLAMATION, kCaption, "タグ作成コマンド実行は失敗しました。\n\n%s"_sj,
                   commandLine.c_str());
    return;
  }

  std::string output;
  bool cancelled = false;
  {
    CCancelDialog cancel;
    const HWND hwndCancel = cancel.DoModeless(nullptr, owner, kCancelTemplate);
    SetDlgItemText(hwndCancel, kCancelMessage, "タグファイルを作成中です。"_sj);
    for (;;) {
      child->Poll(kPollPeriod);
      // A quit request ends the run as a cancel does; the loop outside then ends the program.
      const bool quit = !PumpPendingMessages(hwndCancel);
      if (quit || cancel.m_bCanceled) {
        child->Terminate();
        cancelled = true;
        break;
      }
      const bool ended = child->Ended();
      child->Read(&output);
      if (!output.empty() || ended) break;
    }
  }

  if (!output.empty()) {
    std::string shown = OutputToSjis(output);
    shown.resize(static_cast<size_t>(WholeCharsPrefixLength(shown.data(), static_cast<int>(shown.size()), kShownOutput)));
    ShowMessageBox(owner, MB_OK | MB_ICONEXCLAMATION, kCaption,
                   "\"tags\" はタグファイルではないため上書き出来ません。\nタグ作成コマンド実行は失敗しました。\n\n%s"_sj,
                   shown.c_str());
    // Whatever it was doing, it has been told of: it neither outlives the command nor stays a zombie.
    child->Terminate();
    return;
  }
  const std::optional<int> status = child->ExitStatus();
  if (!cancelled && status && *status != 0) {
    ShowMessageBox(owner, MB_OK | MB_ICONEXCLAMATION, kCaption, "タグ作成コマンド実行は失敗しました。\n\n%s"_sj,
                   commandLine.c_str());
    return;
  }
  ShowMessageBox(owner, MB_OK | MB_ICONINFORMATION, kCaption, "%s", "タグファイルの作成が終了しました。"_sj);
}
