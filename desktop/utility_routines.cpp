#include "desktop/utility_routines.h"

namespace {

bool IsPathSeparator(char c) { return c == '\\' || c == ':' || c == '/'; }

size_t NamePartStart(const AnsiString& Path) {
  for (size_t i = Path.size(); i > 0; --i)
    if (IsPathSeparator(Path[i - 1])) return i;
  return 0;
}

bool HasWildcard(const AnsiString& S) { return S.find_first_of("*?") != AnsiString::npos; }

AnsiString ProgramPath() {
  char path[MAX_PATH * 2] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  return AnsiString(path, n);
}

}  // namespace

int Max(int A, int B) { return A > B ? A : B; }
int Min(int A, int B) { return A < B ? A : B; }

RECT AlignRect(const RECT& Source, const RECT& Bounds, TAlignment Horizontal, TTextLayout Vertical) {
  const int w = Source.right - Source.left, h = Source.bottom - Source.top;
  RECT r{};
  switch (Horizontal) {
    case taLeftJustify: r.left = Bounds.left; break;
    case taCenter: r.left = Bounds.left + (Bounds.right - Bounds.left - w) / 2; break;
    case taRightJustify: r.left = Bounds.right - w; break;
  }
  switch (Vertical) {
    case tlTop: r.top = Bounds.top; break;
    case tlCenter: r.top = Bounds.top + (Bounds.bottom - Bounds.top - h) / 2; break;
    case tlBottom: r.top = Bounds.bottom - h; break;
  }
  r.right = r.left + w;
  r.bottom = r.top + h;
  return r;
}

TShiftState ShiftStateNow() {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

int PosFrom(const AnsiString& Sub, const AnsiString& S, int Start) {
  if (Sub.empty() || Start < 1) return 0;
  const size_t from = static_cast<size_t>(Start - 1);
  if (from + Sub.size() > S.size()) return 0;
  size_t p = S.find(Sub, from);
  return p == AnsiString::npos ? 0 : static_cast<int>(p) + 1;
}

int LastPos(const AnsiString& Sub, const AnsiString& S, int From) {
  if (Sub.empty() || From < 1 || Sub.size() > S.size()) return 0;
  size_t p = S.rfind(Sub, static_cast<size_t>(From - 1));
  return p == AnsiString::npos ? 0 : static_cast<int>(p) + 1;
}

int LastPos(const AnsiString& Sub, const AnsiString& S) { return LastPos(Sub, S, static_cast<int>(S.size())); }

void ReplaceAt(AnsiString& S, int Position, const AnsiString& OldText, const AnsiString& NewText) {
  if (Position < 1 || static_cast<size_t>(Position - 1) > S.size()) return;
  const size_t at = static_cast<size_t>(Position - 1);
  S.erase(at, OldText.size());
  S.insert(at, NewText);
}

AnsiString ReplaceAll(const AnsiString& S, const AnsiString& OldText, const AnsiString& NewText) {
  AnsiString result = S;
  if (OldText.empty()) return result;
  int p = PosFrom(OldText, result, 1);
  while (p > 0) {
    ReplaceAt(result, p, OldText, NewText);
    p = PosFrom(OldText, result, p + static_cast<int>(NewText.size()));
  }
  return result;
}

void ReplaceChar(AnsiString& S, char OldChar, char NewChar) {
  for (char& c : S)
    if (c == OldChar) c = NewChar;
}

AnsiString KeepChars(const AnsiString& S, const AnsiString& Allowed) {
  AnsiString result;
  for (char c : S)
    if (Allowed.find(c) != AnsiString::npos) result += c;
  return result;
}

void SplitToStrings(const AnsiString& S, const AnsiString& Separator, TStrings* Lines) {
  AnsiString text = S;
  if (Separator.size() == 1)
    ReplaceChar(text, Separator[0], '\n');
  else if (!Separator.empty())
    text = ReplaceAll(text, Separator, "\n");
  Lines->SetText(text);
}

AnsiString JoinForShell(const AnsiString& Names, char Separator) {
  AnsiString result = Names;
  ReplaceChar(result, Separator, '\0');
  result += '\0';
  result += '\0';
  return result;
}

AnsiString PathFileName(const AnsiString& Path) { return Path.substr(NamePartStart(Path)); }

AnsiString PathFolder(const AnsiString& Path) { return Path.substr(0, NamePartStart(Path)); }

AnsiString PathExtension(const AnsiString& Path) {
  const AnsiString name = PathFileName(Path);
  size_t dot = name.rfind('.');
  return dot == AnsiString::npos ? AnsiString() : name.substr(dot);
}

AnsiString FileNameWithoutExt(const AnsiString& Path) {
  const AnsiString name = PathFileName(Path);
  size_t dot = name.rfind('.');
  return dot == AnsiString::npos ? name : name.substr(0, dot);
}

AnsiString ReduceDoubleBackslashes(const AnsiString& Path) {
  AnsiString result = Path;
  for (size_t p = result.find("\\\\"); p != AnsiString::npos; p = result.find("\\\\", p)) result.erase(p, 1);
  return result;
}

AnsiString AbsolutePath(const AnsiString& Path, const AnsiString& Base) {
  const bool hasDrive = Path.size() >= 2 && Path[1] == ':';
  // A network path names its own machine: it is absolute too.
  const bool isNetworkPath = Path.rfind("\\\\", 0) == 0;
  if (hasDrive || isNetworkPath) return Path;
  AnsiString folder = Base;
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return ReduceDoubleBackslashes(folder + Path);
}

AnsiString SystemFolder() {
  char buffer[MAX_PATH + 1] = {};
  UINT n = GetSystemDirectoryA(buffer, MAX_PATH);
  AnsiString folder(buffer, n <= MAX_PATH ? n : 0);
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

bool IsCreatableFileName(const AnsiString& Name) {
  if (Name.empty()) return false;
  DWORD attributes = GetFileAttributesA(Name.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  HANDLE trial = CreateFileA(Name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (trial == INVALID_HANDLE_VALUE) return false;
  CloseHandle(trial);
  DeleteFileA(Name.c_str());
  return true;
}

AnsiString WildcardDestination(const AnsiString& Source, const AnsiString& Pattern) {
  const AnsiString pattern = Trim(Pattern);
  if (pattern.empty()) return Source;
  AnsiString folder = PathFolder(pattern);
  if (folder.empty()) folder = PathFolder(Source);
  const AnsiString patternName = FileNameWithoutExt(pattern);
  const AnsiString name = patternName.empty() || HasWildcard(patternName) ? FileNameWithoutExt(Source) : patternName;
  const AnsiString patternExt = PathExtension(pattern);
  const AnsiString ext = !patternExt.empty() && !HasWildcard(patternExt) ? patternExt : PathExtension(Source);
  return folder + name + ext;
}

const AnsiString& LogFileName() {
  static const AnsiString name = [] {
    const AnsiString path = ProgramPath();
    const AnsiString ext = PathExtension(path);
    return path.substr(0, path.size() - ext.size()) + ".log";
  }();
  return name;
}

const AnsiString& ProgramFolder() {
  static const AnsiString folder = PathFolder(ProgramPath());
  return folder;
}
