// Plain routines the desktop components share: integers and rectangles, 1-based string
// positions and replacement, paths, wildcard destinations and file-name checks.
#pragma once

#include <windows.h>

#include "vcl/controls.h"
#include "vcl/keyboard.h"
#include "vcl/stdctrls.h"
#include "vcl/strings.h"
#include "vcl/sysutils.h"

// --- integers and rectangles
int Max(int A, int B);
int Min(int A, int B);

// Source's size placed inside Bounds: horizontally at its left, centre or right, vertically
// at its top, centre or bottom (centring truncates toward zero).
RECT AlignRect(const RECT& Source, const RECT& Bounds, TAlignment Horizontal, TTextLayout Vertical);

// The modifier keys held now.
TShiftState ShiftStateNow();

// --- strings (positions count from 1; 0 means "not found")
// Sub in S at or after Start; 0 when absent, Sub empty or Start leaves too little room.
int PosFrom(const AnsiString& Sub, const AnsiString& S, int Start);
// The last Sub in S that begins at or before From, and over the whole of S.
int LastPos(const AnsiString& Sub, const AnsiString& S, int From);
int LastPos(const AnsiString& Sub, const AnsiString& S);
// Deletes OldText's length at Position and inserts NewText there.
void ReplaceAt(AnsiString& S, int Position, const AnsiString& OldText, const AnsiString& NewText);
// Every OldText by NewText; the search goes on after each inserted text, so that text is
// never searched again ("a" by "aa" ends).
AnsiString ReplaceAll(const AnsiString& S, const AnsiString& OldText, const AnsiString& NewText);
void ReplaceChar(AnsiString& S, char OldChar, char NewChar);
// S with only the characters that appear in Allowed.
AnsiString KeepChars(const AnsiString& S, const AnsiString& Allowed);
// The parts of S between Separators, one line each, into Lines.
void SplitToStrings(const AnsiString& S, const AnsiString& Separator, TStrings* Lines);
// "a|b" with separator '|' becomes "a\0b\0\0": the list of names the shell's file
// operations take.
AnsiString JoinForShell(const AnsiString& Names, char Separator);

// --- paths
// After the last "\", ":" or "/"; the part up to and including it; the name without its
// extension.
AnsiString PathFileName(const AnsiString& Path);
AnsiString PathFolder(const AnsiString& Path);
AnsiString FileNameWithoutExt(const AnsiString& Path);
// The extension of the name part, with its dot ("" when none).
AnsiString PathExtension(const AnsiString& Path);
AnsiString ReduceDoubleBackslashes(const AnsiString& Path);
// A path without a drive (and not a network path) taken relative to Base.
AnsiString AbsolutePath(const AnsiString& Path, const AnsiString& Base);
// The system folder with a trailing backslash.
AnsiString SystemFolder();
// True for an existing file, and for a name under which a file can be created (tried with a
// file that is removed again); false for an empty name.
bool IsCreatableFileName(const AnsiString& Name);
// Where Source goes for a destination pattern such as "D:\out\*.mp4" or "new.*".
AnsiString WildcardDestination(const AnsiString& Source, const AnsiString& Pattern);

// The program's path with the extension ".log", and its folder (with the separator).
const AnsiString& LogFileName();
const AnsiString& ProgramFolder();
