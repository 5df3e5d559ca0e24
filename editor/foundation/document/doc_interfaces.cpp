#include "editor/foundation/document/doc_interfaces.h"

namespace {
IDocLauncher* g_launcher = nullptr;
DocViewsFactory g_viewsFactory = nullptr;
}  // namespace

IDocLauncher* GetDocLauncher() { return g_launcher; }
void SetDocLauncher(IDocLauncher* launcher) { g_launcher = launcher; }

DocViewsFactory GetDocViewsFactory() { return g_viewsFactory; }
void SetDocViewsFactory(DocViewsFactory factory) { g_viewsFactory = factory; }
