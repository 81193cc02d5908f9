#include "vcl/resstrings.h"

// The image base of the module being linked; constant, so the records below are
// usable while the program initialises.
extern "C" IMAGE_DOS_HEADER __ImageBase;
HMODULE HInstance = reinterpret_cast<HMODULE>(&__ImageBase);

AnsiString LoadResString(const TResStringRec* ResStringRec) {
  if (!ResStringRec) return AnsiString();
  if (ResStringRec->Identifier >= 0x10000) return AnsiString(reinterpret_cast<const char*>(ResStringRec->Identifier));
  // Read wide and converted through the program's one code page.
  const HMODULE module = ResStringRec->Module ? *ResStringRec->Module : nullptr;
  const WCHAR* text = nullptr;
  // A buffer size of 0 hands out the text in the resource itself.
  const int n = LoadStringW(module, static_cast<UINT>(ResStringRec->Identifier), reinterpret_cast<LPWSTR>(&text), 0);
  if (n <= 0 || !text) return AnsiString();
  return WideToAnsi(WideString(text, static_cast<size_t>(n)));
}

const TResStringRec SListIndexError{&HInstance, IDS_LIST_INDEX_ERROR};
const TResStringRec SDuplicateString{&HInstance, IDS_DUPLICATE_STRING};
const TResStringRec SSortedListError{&HInstance, IDS_SORTED_LIST_ERROR};
const TResStringRec SFCreateErrorEx{&HInstance, IDS_FCREATE_ERROR};
const TResStringRec SFOpenErrorEx{&HInstance, IDS_FOPEN_ERROR};
const TResStringRec SReadError{&HInstance, IDS_READ_ERROR};
const TResStringRec SWriteError{&HInstance, IDS_WRITE_ERROR};
const TResStringRec SInvalidProperty{&HInstance, IDS_INVALID_PROPERTY};
const TResStringRec SResNotFound{&HInstance, IDS_RES_NOT_FOUND};
const TResStringRec SNoMDIForm{&HInstance, IDS_NO_MDI_FORM};
const TResStringRec SLineTooLong{&HInstance, IDS_LINE_TOO_LONG};
const TResStringRec SInsertLineError{&HInstance, IDS_INSERT_LINE_ERROR};
const TResStringRec SWindowsVistaRequired{&HInstance, IDS_VISTA_REQUIRED};
const TResStringRec SMsgDlgWarning{&HInstance, IDS_MSGDLG_WARNING};
const TResStringRec SMsgDlgError{&HInstance, IDS_MSGDLG_ERROR};
const TResStringRec SMsgDlgInformation{&HInstance, IDS_MSGDLG_INFORMATION};
const TResStringRec SMsgDlgConfirm{&HInstance, IDS_MSGDLG_CONFIRM};
const TResStringRec SMsgDlgYes{&HInstance, IDS_MSGDLG_YES};
const TResStringRec SMsgDlgNo{&HInstance, IDS_MSGDLG_NO};
const TResStringRec SMsgDlgOK{&HInstance, IDS_MSGDLG_OK};
const TResStringRec SMsgDlgCancel{&HInstance, IDS_MSGDLG_CANCEL};
const TResStringRec SMsgDlgAbort{&HInstance, IDS_MSGDLG_ABORT};
const TResStringRec SMsgDlgRetry{&HInstance, IDS_MSGDLG_RETRY};
const TResStringRec SMsgDlgIgnore{&HInstance, IDS_MSGDLG_IGNORE};
const TResStringRec SMsgDlgAll{&HInstance, IDS_MSGDLG_ALL};
const TResStringRec SMsgDlgNoToAll{&HInstance, IDS_MSGDLG_NO_TO_ALL};
const TResStringRec SMsgDlgYesToAll{&HInstance, IDS_MSGDLG_YES_TO_ALL};
const TResStringRec SMsgDlgHelp{&HInstance, IDS_MSGDLG_HELP};
const TResStringRec SmkcShift{&HInstance, IDS_MKC_SHIFT};
const TResStringRec SmkcCtrl{&HInstance, IDS_MKC_CTRL};
const TResStringRec SmkcAlt{&HInstance, IDS_MKC_ALT};
const TResStringRec SmkcBkSp{&HInstance, IDS_MKC_BKSP};
const TResStringRec SmkcTab{&HInstance, IDS_MKC_TAB};
const TResStringRec SmkcEsc{&HInstance, IDS_MKC_ESC};
const TResStringRec SmkcEnter{&HInstance, IDS_MKC_ENTER};
const TResStringRec SmkcSpace{&HInstance, IDS_MKC_SPACE};
const TResStringRec SmkcPgUp{&HInstance, IDS_MKC_PGUP};
const TResStringRec SmkcPgDn{&HInstance, IDS_MKC_PGDN};
const TResStringRec SmkcEnd{&HInstance, IDS_MKC_END};
const TResStringRec SmkcHome{&HInstance, IDS_MKC_HOME};
const TResStringRec SmkcLeft{&HInstance, IDS_MKC_LEFT};
const TResStringRec SmkcUp{&HInstance, IDS_MKC_UP};
const TResStringRec SmkcRight{&HInstance, IDS_MKC_RIGHT};
const TResStringRec SmkcDown{&HInstance, IDS_MKC_DOWN};
const TResStringRec SmkcIns{&HInstance, IDS_MKC_INS};
const TResStringRec SmkcDel{&HInstance, IDS_MKC_DEL};
const TResStringRec SUnknownExtension{&HInstance, IDS_UNKNOWN_EXTENSION};
const TResStringRec SInvalidBitmap{&HInstance, IDS_INVALID_BITMAP};
const TResStringRec SInvalidIcon{&HInstance, IDS_INVALID_ICON};
const TResStringRec SChangeIconSize{&HInstance, IDS_CHANGE_ICON_SIZE};
const TResStringRec SAllFilter{&HInstance, IDS_ALL_FILTER};
const TResStringRec SVBitmaps{&HInstance, IDS_VBITMAPS};
const TResStringRec SVIcons{&HInstance, IDS_VICONS};
const TResStringRec SJPEGImageFile{&HInstance, IDS_JPEG_IMAGE_FILE};
const TResStringRec SScanLine{&HInstance, IDS_SCAN_LINE};
const TResStringRec SChangeJPGSize{&HInstance, IDS_CHANGE_JPEG_SIZE};
