// The attribute filter of the folder tree's and the file list's searches.
#pragma once

#include "vcl/typinfo.h"

enum TFileTypeItem { ftReadOnly, ftHidden, ftSystem, ftVolumeID, ftDirectory, ftArchive, ftNormal };
VCL_ENUM_INFO(TFileTypeItem, "ftReadOnly", "ftHidden", "ftSystem", "ftVolumeID", "ftDirectory", "ftArchive",
              "ftNormal")

// A set of TFileTypeItem: bit n is the member of ordinal n.
using TFileType = unsigned;
constexpr TFileType FileTypeOf(std::initializer_list<TFileTypeItem> Members) {
  TFileType set = 0;
  for (TFileTypeItem m : Members) set |= 1u << m;
  return set;
}
constexpr bool HasFileAttribute(TFileType Set, TFileTypeItem Member) { return (Set >> Member) & 1u; }
