#include "editor/view/search/tags_make.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <optional>

#include "editor/foundation/text/command_arguments.h"
#include "editor/foundation/text/program_output.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/ui/cancel_dialog.h"
#include "editor/foundation/ui/system_utils.h"
#include "platform/folder_listing.h"
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

std::vector<std::string> TagsProgramArguments(const TagsMakeRequest& request, std::string* refused) {
  std::vector<std::string> arguments = {"--excmd=n"};
  if (request.options & 1) arguments.emplace_back("-R");
  for (std::string& option : SplitCommandArguments(request.extraOptions)) arguments.push_back(std::move(option));

  std::string hostFolder;
  std::vector<platform::FolderEntry> entries;
  if (!platform::ExactHostPath(request.folder, hostFolder) || !platform::ListFolder(hostFolder, entries)) return arguments;
  // The listing is in byte order of the names, so the run does not depend on the file system.
  for (const platform::FolderEntry& entry : entries) {
    if (entry.name.empty() || entry.name[0] == '.') continue;
    std::string exact;
    if (platform::ExactPathFromHost(entry.name, exact)) {
      arguments.push_back(std::move(exact));
    } else if (refused) {
      // A lossy spelling would hand the program another file's name.
      *refused += "\r\n\"" + platform::Utf8ToSjis(entry.name) + "\"";
    }
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
  std::string refused;
  run.arguments = TagsProgramArguments(request, &refused);
  if (!refused.empty()) {
    ShowMessageBox(owner, MB_OK | MB_ICONEXCLAMATION, kCaption,
                   "次のファイル名はShift-JISで表せない文字を含むため、タグ作成に渡しません。%s"_sj, refused.c_str());
  }
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
    std::string shown = ProgramOutputToSjis(output);
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
