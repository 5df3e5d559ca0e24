// A document on a shared record of the test's own (every default), with fake windows around it and
// every message box answered.
#pragma once

#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/settings/recent_menus.h"
#include "editor/foundation/settings/share_data.h"
#include "fake_ports.h"
#include "scoped_named_objects.h"

class DocFixture : public testing::Test {
 protected:
  explicit DocFixture(const char* recordStem = "CEditDoc-test") : names(recordStem) {}
  void SetUp() override {
    CShareData::InitDefaults(*record);
    share.Attach(record.get(), names.c_str());
    doc = std::make_unique<CEditDoc>();
    ports.Bind(*doc);
  }
  void TearDown() override { doc.reset(); }

  // A fresh document with the same fake windows (the record and its lists stay).
  void NewDocument() {
    doc = std::make_unique<CEditDoc>();
    ports = FakePorts();
    ports.Bind(*doc);
  }
  CommonSettings& common() { return record->Common; }
  // The recent file of this path, when there is one.
  bool RecentRecord(const char* path, RecentFileRecord* out) {
    return CRecentFileMenu(&share).GetRecordByPath(path, out);
  }

  const ScopedNamedObjects names;
  std::unique_ptr<SharedSettings> record = std::make_unique<SharedSettings>();
  CShareData share;
  FakePorts ports;
  std::unique_ptr<CEditDoc> doc;
};
