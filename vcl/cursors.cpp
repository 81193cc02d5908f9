#include "vcl/cursors.h"

#include <cstring>

namespace {

struct TCursorEntry {
  TCursor Cursor;
  const char* Ident;
  LPCSTR SystemId;  // null: no system cursor
};

const TCursorEntry kCursors[] = {
    {crDefault, "crDefault", IDC_ARROW},     {crNone, "crNone", nullptr},
    {crArrow, "crArrow", IDC_ARROW},         {crCross, "crCross", IDC_CROSS},
    {crIBeam, "crIBeam", IDC_IBEAM},         {crSizeNESW, "crSizeNESW", IDC_SIZENESW},
    {crSizeNS, "crSizeNS", IDC_SIZENS},      {crSizeNWSE, "crSizeNWSE", IDC_SIZENWSE},
    {crSizeWE, "crSizeWE", IDC_SIZEWE},      {crUpArrow, "crUpArrow", IDC_UPARROW},
    {crHourGlass, "crHourGlass", IDC_WAIT},  {crNo, "crNo", IDC_NO},
    {crAppStart, "crAppStart", IDC_APPSTARTING}, {crHelp, "crHelp", IDC_HELP},
    {crHandPoint, "crHandPoint", IDC_HAND},  {crSizeAll, "crSizeAll", IDC_SIZEALL},
};

}  // namespace

const TIntegerIdents* CursorIdents() {
  static const TIntegerIdents idents{
      [](const AnsiString& ident, int64_t& value) {
        for (const TCursorEntry& e : kCursors)
          if (_stricmp(e.Ident, ident.c_str()) == 0) {
            value = e.Cursor;
            return true;
          }
        return false;
      },
      [](int64_t value, AnsiString& ident) {
        for (const TCursorEntry& e : kCursors)
          if (e.Cursor == value) {
            ident = e.Ident;
            return true;
          }
        return false;
      }};
  return &idents;
}

HCURSOR StandardCursor(TCursor Cursor) {
  for (const TCursorEntry& e : kCursors)
    if (e.Cursor == Cursor) return e.SystemId ? LoadCursorA(nullptr, e.SystemId) : nullptr;
  return nullptr;
}
