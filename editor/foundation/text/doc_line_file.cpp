// Loading the document lines from a file and saving them back.
#include <new>
#include <optional>

#include "editor/foundation/text/char_codes.h"
#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/file_reader.h"
#include "editor/foundation/text/file_writer.h"
#include "editor/foundation/text/job_progress.h"
#include "editor/foundation/text/show_message_box.h"
#include "platform/file.h"
#include "platform/sjis_literal.h"

namespace {

constexpr char kCaption[] = "tovara";
constexpr int kLoadPumpLines = 512;
constexpr int kSavePumpLines = 1024;

// Why an open failed, told as the user needs it: missing, not readable, too large, or anything else
// (in use, a folder, a pipe).
void TellOpenFailure(HWND hWnd, const char* pszPath) {
  if (!CheckPathAccess(pszPath, 0)) {
    ShowMessageBox(hWnd, MB_OK | MB_ICONERROR, kCaption,
                   "%s\nというファイルを開けません。\nファイルが存在しません。"_sj, pszPath);
    return;
  }
  if (!CheckPathAccess(pszPath, 4)) {
    ShowMessageBox(hWnd, MB_OK | MB_ICONERROR, kCaption,
                   "'%s'\nというファイルを開けません。\n読み込みアクセス権がありません。"_sj, pszPath);
    return;
  }
  platform::PathStatus status;
  if (platform::StatPath(pszPath, platform::PathMode::kExact, status) && !status.folder &&
      status.stamp.size >= CFileReader::kMaxFileSize) {
    ShowMessageBox(hWnd, MB_OK | MB_ICONERROR, kCaption, "'%s'\nというファイルは大きすぎて開けません。"_sj, pszPath);
    return;
  }
  ShowMessageBox(hWnd, MB_OK | MB_ICONERROR, kCaption,
                 "'%s'\nというファイルを開けません。\n他のアプリケーションで使用されている可能性があります。"_sj,
                 pszPath);
}

void TellReadFailure(HWND hWnd, const char* pszPath) {
  ShowMessageBox(hWnd, MB_OK | MB_ICONERROR, kCaption,
                 "'%s'というファイルの読み込み中にエラーが発生しました。\nファイルの読み込みを中止します。"_sj,
                 pszPath);
}

// The old file is still there, untouched: the new version never replaced it.
void TellWriteFailure(HWND hWnd, const char* pszPath) {
  ShowMessageBox(hWnd, MB_OK | MB_ICONERROR, kCaption,
                 "'%s'\nファイルの書き込み中にエラーが発生しました。\n元のファイルは変更されていません。"_sj, pszPath);
}

// Shift-JIS to each code, in place; each gives the count of characters the code cannot hold.
constexpr int (CMemory::*kFromSjis[kCodeCount])() = {nullptr,
                                                     &CMemory::SJIStoJIS,
                                                     &CMemory::SJIStoEUC,
                                                     &CMemory::SJIStoUNICODE,
                                                     &CMemory::SJIStoUTF8,
                                                     &CMemory::SJIStoUTF7,
                                                     &CMemory::SJIStoUNICODEBE};

}  // namespace

bool CDocLineMgr::LoadFromFile(const char* pszPath, HWND hWndParent, CJobProgressBar* pcProgress, int nCharCode,
                               int64_t* pModifiedNs, bool bMimeDecode, bool* pbBomPresent) {
  if (!pszPath) pszPath = "";
  FreeAllLines();
  ResetList();
  if (!PumpJobMessages()) return false;
  CFileReader reader;
  int unconverted = 0;
  try {
    bool bom = false;
    reader.Open(pszPath, nCharCode, bMimeDecode ? CFileReader::kDecodeMimeHeaders : 0, &bom);
    if (pbBomPresent) *pbBomPresent = bom;
    if (pModifiedNs) reader.GetLastWriteTime(pModifiedNs);
    if (pcProgress) {
      pcProgress->SetRange(0, 100);
      pcProgress->SetPos(0);
    }
    int len = 0;
    CLineEnd eol;
    int count = 0;
    while (const char* line = reader.ReadLine(&len, &eol)) {
      const uint64_t failures = CMemory::GetAllocFailureCount();
      AppendLine(line, len, eol.GetCode());
      if (CMemory::GetAllocFailureCount() != failures) throw CError_FileRead();
      if (++count % kLoadPumpLines == 0) {
        if (pcProgress) pcProgress->SetPos(reader.GetProgressPercent());
        if (!PumpJobMessages()) return false;
      }
    }
    unconverted = reader.GetUnconvertedCount();
    reader.Close();
  } catch (const CError_FileOpen&) {
    TellOpenFailure(hWndParent, pszPath);
    return false;
  } catch (const CError_FileRead&) {
    FreeAllLines();
    ResetList();
    TellReadFailure(hWndParent, pszPath);
    return false;
  } catch (const std::bad_alloc&) {
    // Running out of memory on the way is told as a read error: what was read is dropped either way.
    FreeAllLines();
    ResetList();
    TellReadFailure(hWndParent, pszPath);
    return false;
  }
  if (pcProgress) pcProgress->SetPos(0);
  if (!PumpJobMessages()) return false;
  ClearModifiedFlags();
  if (unconverted > 0) {
    ShowMessageBox(hWndParent, MB_OK | MB_ICONWARNING, kCaption,
                   "'%s'\n%d 文字を変換できず、〓 で表示しています。\n保存すると〓として書き込まれます。"_sj, pszPath,
                   unconverted);
  }
  return true;
}

bool CDocLineMgr::SaveToFile(const char* pszPath, HWND hWndParent, CJobProgressBar* pcProgress, int nCharCode,
                             int64_t* pModifiedNs, int nSaveLineEnd, bool bBomExist) {
  if (!pszPath) pszPath = "";
  if (nCharCode < 0 || nCharCode >= kCodeCount) nCharCode = kCodeSjis;
  const CLineEnd saveEol(nSaveLineEnd >= CLineEnd::NONE && nSaveLineEnd < CLineEnd::CODEMAX ? nSaveLineEnd
                                                                                            : CLineEnd::NONE);
  CMemory work;  // a line being converted
  if (pcProgress) {
    pcProgress->SetRange(0, 100);
    pcProgress->SetPos(0);
  }
  std::optional<CFileWriter> writer;
  try {
    writer.emplace(pszPath);
  } catch (const CError_FileOpen&) {
    ShowMessageBox(
        hWndParent, MB_OK | MB_ICONERROR, kCaption,
        "'%s'\nファイルを保存できません。\nパスが存在しないか、他のアプリケーションで使用されている可能性があります。"_sj,
        pszPath);
    return false;
  } catch (const std::bad_alloc&) {
    TellWriteFailure(hWndParent, pszPath);
    return false;
  }
  // A quit asked for while saving must not leave half a file: the save goes on to its end and the
  // request stays pending for the loop that asked (the pump put it back).
  bool quitSeen = false;
  int unconverted = 0;
  try {
    if (bBomExist) {
      if (nCharCode == kCodeUtf16Le) writer->Write("\xFF\xFE", 2);
      if (nCharCode == kCodeUtf8) writer->Write("\xEF\xBB\xBF", 3);
      if (nCharCode == kCodeUtf16Be) writer->Write("\xFE\xFF", 2);
    }
    const int64_t count = GetLineCount();
    int64_t number = 0;
    for (CDocLine* line = m_pHead; line; line = line->m_pNext) {
      ++number;
      if (number % kSavePumpLines == 0 && pcProgress) {
        pcProgress->SetPos(static_cast<int32_t>(number * 100 / count));
        if (!quitSeen && !PumpJobMessages()) quitSeen = true;
      }
      int textLen = 0;
      const char* text = line->GetText(&textLen);
      const int bodyLen = line->GetLengthWithoutEol();
      const CLineEnd& own = line->m_cLineEnd;
      const CLineEnd& eol = own.GetCode() == CLineEnd::NONE || saveEol.GetCode() == CLineEnd::NONE ? own : saveEol;
      if (nCharCode == kCodeSjis) {
        if (eol == own) {
          writer->Write(text, textLen);
        } else {
          writer->Write(text, bodyLen);
          writer->Write(eol.GetBytes(), eol.GetLen());
        }
        continue;
      }
      const uint64_t failures = CMemory::GetAllocFailureCount();
      work.Assign(text, bodyLen);
      unconverted += (work.*kFromSjis[nCharCode])();
      // A conversion that ran out of memory left Shift-JIS behind; that must not reach the file.
      if (CMemory::GetAllocFailureCount() != failures) throw CError_FileWrite();
      writer->Write(work.GetPtr(), work.GetLength());
      if (nCharCode == kCodeUtf16Le) {
        writer->Write(eol.GetBytesUtf16Le(), eol.GetLen() * 2);
      } else if (nCharCode == kCodeUtf16Be) {
        writer->Write(eol.GetBytesUtf16Be(), eol.GetLen() * 2);
      } else {
        writer->Write(eol.GetBytes(), eol.GetLen());
      }
    }
    // The question comes when the count is known, with everything written to the new version and
    // the old file still in place: "No" simply drops the new version.
    if (unconverted > 0 && ShowMessageBox(hWndParent, MB_YESNO | MB_ICONQUESTION | MB_TOPMOST, kCaption,
                                          "%d 文字は %s で保存できないため〓になります。\n保存しますか？"_sj,
                                          unconverted, kCodeLongNames[nCharCode]) != IDYES) {
      return false;
    }
    writer->Commit();
  } catch (const CError_FileWrite&) {
    writer.reset();
    TellWriteFailure(hWndParent, pszPath);
    return false;
  } catch (const std::bad_alloc&) {
    writer.reset();
    TellWriteFailure(hWndParent, pszPath);
    return false;
  }
  writer.reset();
  if (pModifiedNs) GetFileWriteTime(pszPath, pModifiedNs);
  if (pcProgress) pcProgress->SetPos(0);
  if (!quitSeen) PumpJobMessages();
  return true;
}
