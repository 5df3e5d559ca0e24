#include "editor/foundation/document/doc_interfaces.h"

namespace {
IDocLauncher* g_launcher = nullptr;
platform::OutsidePrograms* g_outsidePrograms = nullptr;
DocViewsFactory g_viewsFactory = nullptr;
}  // namespace

IDocLauncher* GetDocLauncher() { return g_launcher; }
void SetDocLauncher(IDocLauncher* launcher) { g_launcher = launcher; }

platform::OutsidePrograms* GetOutsidePrograms() {
  if (g_outsidePrograms) return g_outsidePrograms;
  // Made on first use and kept for the process: the runner holds no state between runs.
  static const std::shared_ptr<platform::OutsidePrograms> system = platform::SystemOutsidePrograms();
  return system.get();
}
void SetOutsidePrograms(platform::OutsidePrograms* programs) { g_outsidePrograms = programs; }

DocViewsFactory GetDocViewsFactory() { return g_viewsFactory; }
void SetDocViewsFactory(DocViewsFactory factory) { g_viewsFactory = factory; }
