// Resource strings: texts of the program kept in string-table resources and named
// by a record of module and identifier. An identifier below 0x10000 is a
// string-table number; from 0x10000 on it is the address of an 8-bit
// zero-terminated literal (pointer width, so that it holds on x64).
#pragma once

#include "vcl/sysutils.h"
#include "vcl/vclres.h"

struct TResStringRec {
  HMODULE* Module;       // the module whose string table holds the text
  UINT_PTR Identifier;
};

// The module this code is linked into (the program, which carries the framework's
// string table).
extern HMODULE HInstance;

// The text as 8-bit text (ConversionCodePage); empty for null or a missing string.
AnsiString LoadResString(const TResStringRec* ResStringRec);

// The framework's texts (vcl/vcl.rc).
extern const TResStringRec SListIndexError;    // "List index out of bounds (%d)"
extern const TResStringRec SDuplicateString;   // "String list does not allow duplicates"
extern const TResStringRec SSortedListError;   // "Operation not allowed on sorted list"
extern const TResStringRec SFCreateErrorEx;    // "Cannot create file \"%s\". %s"
extern const TResStringRec SFOpenErrorEx;      // "Cannot open file \"%s\". %s"
extern const TResStringRec SReadError;         // "Stream read error"
extern const TResStringRec SWriteError;        // "Stream write error"
extern const TResStringRec SInvalidProperty;   // "Invalid property value"
extern const TResStringRec SResNotFound;       // "Resource %s not found"
extern const TResStringRec SNoMDIForm;         // "Cannot create form. No MDI forms are currently active"
extern const TResStringRec SLineTooLong;       // "Line too long"
extern const TResStringRec SInsertLineError;   // "Unable to insert a line"
extern const TResStringRec SWindowsVistaRequired;  // "%s requires Windows Vista or later"
extern const TResStringRec SMsgDlgWarning;
extern const TResStringRec SMsgDlgError;
extern const TResStringRec SMsgDlgInformation;
extern const TResStringRec SMsgDlgConfirm;
extern const TResStringRec SMsgDlgYes;
extern const TResStringRec SMsgDlgNo;
extern const TResStringRec SMsgDlgOK;
extern const TResStringRec SMsgDlgCancel;
extern const TResStringRec SMsgDlgAbort;
extern const TResStringRec SMsgDlgRetry;
extern const TResStringRec SMsgDlgIgnore;
extern const TResStringRec SMsgDlgAll;
extern const TResStringRec SMsgDlgNoToAll;
extern const TResStringRec SMsgDlgYesToAll;
extern const TResStringRec SMsgDlgHelp;
extern const TResStringRec SmkcShift;
extern const TResStringRec SmkcCtrl;
extern const TResStringRec SmkcAlt;
extern const TResStringRec SmkcBkSp;
extern const TResStringRec SmkcTab;
extern const TResStringRec SmkcEsc;
extern const TResStringRec SmkcEnter;
extern const TResStringRec SmkcSpace;
extern const TResStringRec SmkcPgUp;
extern const TResStringRec SmkcPgDn;
extern const TResStringRec SmkcEnd;
extern const TResStringRec SmkcHome;
extern const TResStringRec SmkcLeft;
extern const TResStringRec SmkcUp;
extern const TResStringRec SmkcRight;
extern const TResStringRec SmkcDown;
extern const TResStringRec SmkcIns;
extern const TResStringRec SmkcDel;
extern const TResStringRec SUnknownExtension;  // "Unknown picture file extension (.%s)"
extern const TResStringRec SInvalidBitmap;     // "Bitmap image is not valid"
extern const TResStringRec SInvalidIcon;       // "Icon image is not valid"
extern const TResStringRec SChangeIconSize;    // "Cannot change the size of an icon"
extern const TResStringRec SAllFilter;         // "All"
extern const TResStringRec SVBitmaps;          // "Bitmaps"
extern const TResStringRec SVIcons;            // "Icons"
extern const TResStringRec SJPEGImageFile;     // "JPEG Image File"
extern const TResStringRec SScanLine;          // "Scan line index out of range"
extern const TResStringRec SChangeJPGSize;     // "Cannot change the size of a JPEG image"
