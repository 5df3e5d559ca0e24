#include "editor/foundation/text/program_output.h"

#include "editor/foundation/text/memory.h"

namespace {

// Far beyond any tool's messages, and far below the buffer's limit however a conversion grows it.
constexpr size_t kMaxConverted = size_t{256} << 20;

}  // namespace

std::string ProgramOutputToSjis(std::string_view output) {
  if (output.empty() || output.size() >= kMaxConverted) return std::string(output);
  CMemory text(output.data(), static_cast<int>(output.size()));
  text.AutoToSJIS();
  return std::string(text.View());
}
