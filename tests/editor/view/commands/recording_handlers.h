// Handlers that record every call, put into the process's command table for the ids a test names
// and taken out again (the table's own handlers back in) when the test ends.
#pragma once

#include <functional>
#include <initializer_list>
#include <map>
#include <vector>

#include "editor/view/commands/command_handler_table.h"
#include "editor/view/pane/edit_view.h"

class RecordingHandlers {
 public:
  struct Call {
    CEditView* view;
    CommandCall call;
  };

  explicit RecordingHandlers(std::initializer_list<int> ids) {
    for (const int id : ids) {
      m_saved[id] = CCommandHandlerTable::Get().Replace(id, [this](CEditView& view, const CommandCall& call) {
        calls.push_back({&view, call});
        const auto it = actions.find(call.nCommand);
        if (it != actions.end()) it->second(view, call);
        const auto result = results.find(call.nCommand);
        return result == results.end() ? LRESULT{1} : result->second;
      });
    }
  }
  ~RecordingHandlers() {
    for (auto& [id, handler] : m_saved) CCommandHandlerTable::Get().Replace(id, std::move(handler));
  }
  RecordingHandlers(const RecordingHandlers&) = delete;
  RecordingHandlers& operator=(const RecordingHandlers&) = delete;

  // The ids called, in order.
  std::vector<int> Ids() const {
    std::vector<int> ids;
    for (const Call& c : calls) ids.push_back(c.call.nCommand);
    return ids;
  }

  std::vector<Call> calls;
  // What a handler does besides recording (by id), and what it returns (1 when not given).
  std::map<int, std::function<void(CEditView&, const CommandCall&)>> actions;
  std::map<int, LRESULT> results;

 private:
  std::map<int, CCommandHandlerTable::Handler> m_saved;
};
