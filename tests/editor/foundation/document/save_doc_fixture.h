// A document over a settings record of its own (every default, no backups, no lock, no questions
// about backups) in a temporary folder, with helpers to give it text and to answer message boxes
// by their captions.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/ope_blk.h"
#include "platform/message_box.h"
#include "scoped_temp_dir.h"

class SaveDocFixture : public testing::Test {
 protected:
  SaveDocFixture() : record(std::make_unique<SharedSettings>()) {
    CShareData::InitDefaults(*record);
    share.Attach(record.get());
    Common().bBackUp = 0;
    Common().bBackUpDialog = 0;
    Common().nFileShareMode = 0;
    Common().bBackUpType2_Opt1 &= ~0x40;  // no auto-save unless a test asks
    m_previousHook = platform::SetMessageBoxHook([this](const platform::MessageBoxRequest& r) {
      boxes.push_back(r);
      if (onBox) onBox(r);
      const auto answer = answers.find(r.caption);
      return answer != answers.end() ? answer->second : IDOK;
    });
  }
  ~SaveDocFixture() override { platform::SetMessageBoxHook(m_previousHook); }

  CommonSettings& Common() { return record->Common; }

  // A document of the lines (each ending in CR LF) for the file, modified, with one undo step.
  std::unique_ptr<CEditDoc> MakeDoc(const std::string& path, const std::vector<std::string>& lines) {
    auto doc = std::make_unique<CEditDoc>();
    for (const std::string& line : lines) {
      const std::string text = line + "\r\n";
      doc->m_cDocLineMgr.AppendLine(text.data(), static_cast<int>(text.size()), CLineEnd::CRLF);
    }
    doc->SetFilePath(path.c_str());
    doc->m_nCharCode = 0;
    doc->m_bIsModified = true;
    doc->m_cUndoBuffer.AppendBlock(new COpeBlk());
    return doc;
  }

  // The captions of the boxes shown so far.
  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    for (const auto& b : boxes) captions.push_back(b.caption);
    return captions;
  }

  ScopedTempDir dir;
  std::unique_ptr<SharedSettings> record;
  CShareData share;
  std::vector<platform::MessageBoxRequest> boxes;
  std::map<std::string, int> answers;  // caption -> button; IDOK for any other
  std::function<void(const platform::MessageBoxRequest&)> onBox;

 private:
  platform::MessageBoxHook m_previousHook;
};
