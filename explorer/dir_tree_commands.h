// The folder tree's commands on its selected folder: cut, copy and paste of folders, the
// tree-size report, the folder-contents window, mapping and disconnecting network drives,
// and the shell's property sheet. The tree's pop-up menu and its keys call them.
#pragma once

#include "explorer/folder_contents_window.h"

class TShDirTree;

// Remembers the selected folder for a paste: Mode kCopyMode (0) copies, kMoveMode (2)
// moves. Without a selected folder nothing waits to be pasted afterwards.
void CutOrCopyFolder(TShDirTree* Tree, int Mode);
// Copies or moves the folder of the last cut or copy (in this tree) into the selected
// folder; the tree is rebuilt and opened on the target. The same source can be pasted again.
void PasteFolder(TShDirTree* Tree);
// Measures the selected drive or folder and shows the report; answers the bytes (0, and no
// report, when the root or nothing is selected).
double ShowTreeSize(TShDirTree* Tree);
// Opens the folder-contents window on the selected folder. OK there makes the chosen file
// the tree's SelectedFile (telling OnFileChange) and opens the tree on the folder again.
TFolderContentsWindow* ShowFolderContents(TShDirTree* Tree);
// The map-network-drive dialog, then the connection; the tree selects the new drive.
void ConnectNetDrive(TShDirTree* Tree);
// The system's disconnect dialog; after a disconnection the tree starts again at
// "My Computer".
void DisconnectNetDrive(TShDirTree* Tree);
// The shell's property sheet of the selected folder.
void ShowProperties(TShDirTree* Tree);
