// Whether visual themes are in use: uxtheme, loaded at run time while someone needs it, and
// the version of the common controls.
#pragma once

// One more user of the theme library; loads it when it is not loaded. True when loaded.
bool InitThemeLibrary();
// One user less; the last one frees the library.
void FreeThemeLibrary();
// The library is loaded and the application and the system both use themes.
bool UseThemes();
// comctl32.dll's file version, major in the high word and minor in the low word (read once);
// -1 when it cannot be read.
int GetComCtlVersion();
// Themes are drawn: the library was there at start, themes are on and the common controls
// are version 6 or later.
bool ThemeServicesActive();
