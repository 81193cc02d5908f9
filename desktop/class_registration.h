// Registration of the desktop component classes with the stored form descriptions.
#pragma once

#include <initializer_list>

#include "vcl/classes.h"

// Registers Class unless a class of its name is registered already (by anyone).
void RegisterDesktopClass(const TMetaClass* Class);
void RegisterDesktopClasses(std::initializer_list<const TMetaClass*> Classes);
