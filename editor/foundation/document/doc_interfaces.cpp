#include "editor/foundation/document/doc_interfaces.h"

namespace {
IDocLauncher* g_launcher = nullptr;
}

IDocLauncher* GetDocLauncher() { return g_launcher; }
void SetDocLauncher(IDocLauncher* launcher) { g_launcher = launcher; }
