// The icon strip the build draws (tools/make_editor_icons), compiled in as bitmap resource 200, and
// the application's icon and the grep window's icon, compiled in as icon resources 230 and 240.
#pragma once

// Registers the strip once per process.
void RegisterEditorIconStrip();
// Registers the application's icon (resource 230: 32 and 16 pixels) and the grep icon (resource
// 240, the same sizes) once per process.
void RegisterEditorAppIcon();
