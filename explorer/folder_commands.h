// The work behind the folder tree's commands, on paths: pasting a folder, the tree-size
// report, the folder-contents window, mapping and disconnecting network drives. The tree's
// commands (dir_tree_commands.h) choose the paths from its selection and rebuild it after.
#pragma once

#include "explorer/folder_contents_window.h"

// Copies (Mode kCopyMode, 0) or moves (kMoveMode, 2) the folder Source into TargetFolder
// through the shell. A failure is told in an error box ("File operation failed"); the
// result says whether the shell did it.
bool PasteFolderInto(const WideString& Source, const WideString& TargetFolder, int Mode);

// The label the tree-size report gives a path: the drive text and the path for a drive,
// the folder text and the quoted folder name below one.
WideString TreeSizeLabel(const WideString& Path, bool IsDrive);
// Measures the folder tree at Path under the hourglass, shows the report in an information
// box and answers the bytes.
double ShowFolderTreeSize(const WideString& Path, bool IsDrive);

// Opens the folder-contents window of Folder, captioned in the current language.
TFolderContentsWindow* ShowFolderContentsOf(const WideString& Folder, TFolderContentsWindow::TChosenEvent OnChosen);

// The map-network-drive dialog (owned by Owner), then the connection of its letter to its
// path. True when a drive was connected.
bool MapNetworkDrive(TComponent* Owner);
// The system's disconnect dialog; true when a drive was disconnected.
bool DisconnectNetworkDrive();
