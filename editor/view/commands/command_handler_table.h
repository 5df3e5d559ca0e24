// The process's table of command handlers: every family's registration table, made into one lookup
// by id at first use. Tests put handlers of their own in for single ids and take them out again.
// GUI thread only.
#pragma once

#include <functional>
#include <map>
#include <vector>

#include "editor/view/commands/command_handler.h"

class CCommandHandlerTable {
 public:
  using Handler = std::function<LRESULT(CEditView& view, const CommandCall& call)>;

  static CCommandHandlerTable& Get();

  // The handler of an id; null when the id has none.
  const Handler* Find(int id) const;
  // Puts a handler in for an id (an empty one takes the id's handler out) and gives back the one
  // it replaced (empty when there was none).
  Handler Replace(int id, Handler handler);
  // Ids that a second family registered again (the first family keeps them); none in a sound build.
  const std::vector<int>& DuplicateIds() const { return m_duplicates; }

 private:
  CCommandHandlerTable();

  std::map<int, Handler> m_handlers;
  std::vector<int> m_duplicates;
};
