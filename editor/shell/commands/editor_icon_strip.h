// The icon strip the build draws (tools/make_editor_icons), compiled in as bitmap resource 200.
#pragma once

// Registers the strip once per process.
void RegisterEditorIconStrip();
