#include "explorer/explorer_controls.h"

#include "explorer/shell_dir_tree.h"
#include "vcl/streaming.h"

void RegisterExplorerControls() { RegisterClasses({TShDirTree::StaticClass()}); }
