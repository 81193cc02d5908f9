// The desktop components' own colour names ("clBrown", "clGold"...), known to stored form
// descriptions while registered.
#pragma once

#include <span>

#include "vcl/graphics.h"

std::span<const TColorIdentName> ExtraColourNames();

// Registers them ahead of the standard names (done when the program starts); unregistering
// takes them away again.
void RegisterExtraColourNames();
void UnregisterExtraColourNames();
