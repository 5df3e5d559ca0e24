// A document on a record of the test's own with fake windows around it (doc_fixture.h), plus the
// fake macros port the command rules and menus read.
#pragma once

#include "editor/foundation/text/ope_blk.h"
#include "tests/editor/foundation/document/caption_fakes.h"
#include "tests/editor/foundation/document/doc_fixture.h"

class WindowFixture : public DocFixture {
 protected:
  explicit WindowFixture(const char* recordStem) : DocFixture(recordStem) {}
  void SetUp() override {
    DocFixture::SetUp();
    Bind();
  }
  // Hands the fake windows and the fake macros to the (new) document.
  void Bind() {
    DocPorts bound = ports.Ports();
    bound.macros = &macros;
    doc->SetPorts(bound);
  }
  void Fresh() {
    NewDocument();
    macros = FakeMacros();
    Bind();
  }
  FakePane& pane() { return ports.panes[0]; }
  // One step the document can undo.
  void MakeUndoable() { doc->m_cUndoBuffer.AppendBlock(new COpeBlk); }

  FakeMacros macros;
};
