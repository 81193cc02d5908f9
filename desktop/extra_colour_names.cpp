#include "desktop/extra_colour_names.h"

namespace {

const TColorIdentName kExtraColourNames[] = {
    {0x003090, "clBrown"},       {0x003030, "clOliveGreen"},     {0x003000, "clDarkGreen"},
    {0x603000, "clDarkTeal"},    {0x903030, "clIndigo"},         {0x303030, "clNight"},
    {0x0068FF, "clOrange"},      {0x906060, "clBlueGray"},       {0x0098FF, "clLightOrange"},
    {0x609830, "clSeaGreen"},    {0xFF6830, "clLightBlue"},      {0x909090, "clMetal"},
    {0x00C8FF, "clGold"},        {0x603090, "clPlum"},           {0xD098FF, "clRose"},
    {0xA0C8FF, "clTan"},         {0x90FFFF, "clLightYellow"},    {0xD0FFD0, "clLightGreen"},
    {0xFFFFC0, "clLightTurquoise"}, {0xFFC890, "clPaleBlue"},    {0xFF98C0, "clLavender"},
};

// Registered as the program starts, the way the components' unit does it.
struct TExtraColourRegistration {
  TExtraColourRegistration() { RegisterExtraColourNames(); }
  ~TExtraColourRegistration() { UnregisterExtraColourNames(); }
} gExtraColourRegistration;

}  // namespace

std::span<const TColorIdentName> ExtraColourNames() { return kExtraColourNames; }

void RegisterExtraColourNames() { RegisterColorIdents(kExtraColourNames, std::size(kExtraColourNames)); }

void UnregisterExtraColourNames() { UnregisterColorIdents(kExtraColourNames); }
