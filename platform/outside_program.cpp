#include "platform/outside_program.h"

namespace platform {

std::shared_ptr<OutsidePrograms> SystemOutsidePrograms() { return nullptr; }

}  // namespace platform
