// The pane as drop target and drag source.
#include "editor/view/pane/edit_view.h"
