// Colour-name tables: the framework's twenty standard colours, the thirty system colours and
// a forty-colour palette, each colour with its constant name and a description to show.
#pragma once

#include <span>

#include "vcl/graphics.h"

struct TColourName {
  TColor Value;
  const char* Name;         // the constant's name, "clBlack"
  const char* Description;  // what a colour picker shows, "Black"
};

std::span<const TColourName> StandardColourNames();  // 20
std::span<const TColourName> SystemColourNames();    // 30
std::span<const TColourName> PaletteColourNames();   // 40

// The entry of a colour in a table by value; null when it is not there.
const TColourName* FindColourName(std::span<const TColourName> Table, TColor Value);
