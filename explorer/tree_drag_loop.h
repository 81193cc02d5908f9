// The mouse loop of a drag whose drop target is a folder tree: shared by folders dragged
// between trees and by file list rows dragged onto their tree.
#pragma once

#include <windows.h>

#include <functional>

class TObject;
class TShDirTree;

// Follows the mouse while Wnd holds the capture: the tree under it (when Eligible says it may
// be asked) is asked through DragOver, the cursor shows its answer, and when the left button
// comes up over a tree that accepts, that tree gets DragDrop. Escape, a right click or the
// loss of the capture ends the drag without a drop.
void FollowDragOntoTree(TObject* Source, HWND Wnd, const std::function<bool(TShDirTree*)>& Eligible);

// Follows the mouse, pressed at Origin (Wnd's client coordinates) and still down, until it
// has gone the system's drag distance plus Extra pixels from there along either axis: true
// then. False when the button comes up first (Wnd still gets the release), or Escape, a
// right click or the loss of the capture ends the wait.
bool FollowUntilDragDistance(HWND Wnd, POINT Origin, int Extra);
