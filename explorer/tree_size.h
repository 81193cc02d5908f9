// The size of a folder tree: every file below a folder, summed, and the report the folder
// tree shows for it.
#pragma once

#include "vcl/sysutils.h"

// The bytes of every file in Folder and in all its sub-folders (0 when the folder cannot
// be read). Links and junctions (reparse points) are not followed and a folder reached a
// second time by another way is counted once, so a tree that links back into itself (as
// Wine's Z: drive does: it is the whole Unix tree) is measured in bounded time. Folders
// deeper than kMaxTreeSizeDepth below Folder are left out.
double FolderTreeSize(const WideString& Folder);
constexpr int kMaxTreeSizeDepth = 128;

// A number as Format's "%.*n" writes it: the user locale's thousands separator and decimal
// sign, Decimals digits after it.
WideString FormatThousands(double Value, int Decimals);

// The texts the report is made of, in the tree's language.
struct TTreeSizeTexts {
  WideString Title;       // "TREE SIZE"
  WideString SubFolders;  // "and all its Sub-Folders "
};

// The size line of the report: KB with two decimals (a non-empty tree under 1 KB counts as
// 1 KB), MB above 99999 KB.
WideString TreeSizeText(double Total);
// The whole report: the title, the measured folder's label, the exact bytes and the size.
WideString TreeSizeReport(const TTreeSizeTexts& Texts, const WideString& Label, double Total);
