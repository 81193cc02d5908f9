#include "desktop/file_operation.h"

#include <shellapi.h>

#include "desktop/utility_routines.h"
#include "vcl/controls.h"
#include "vcl/typinfo.h"

namespace {

// The shell's failure codes answer 18 when a source matched no file: nothing to report.
constexpr int kNoMoreFiles = 18;
// Separates the names while the lists are put together; no file name holds it.
constexpr char kNameSeparator = '\x07';

UINT ShellFunction(TdkFileOperationType Operation) {
  switch (Operation) {
    case fotCopy: return FO_COPY;
    case fotDelete: return FO_DELETE;
    case fotMove: return FO_MOVE;
    case fotRename: return FO_RENAME;
  }
  return FO_COPY;
}

FILEOP_FLAGS ShellFlags(TdkFileOperationFlags Options) {
  static const struct {
    TdkFileOperationFlag Flag;
    FILEOP_FLAGS ShellFlag;
  } map[] = {{fofAllowUndo, FOF_ALLOWUNDO},         {fofFilesOnly, FOF_FILESONLY},
             {fofNoConfirmation, FOF_NOCONFIRMATION}, {fofNoConfirmMkDir, FOF_NOCONFIRMMKDIR},
             {fofNoErrorUI, FOF_NOERRORUI},           {fofRenameCollision, FOF_RENAMEONCOLLISION},
             {fofSilent, FOF_SILENT},                 {fofSimpleProgress, FOF_SIMPLEPROGRESS}};
  FILEOP_FLAGS flags = 0;
  for (const auto& m : map)
    if (Options & FileOperationFlag(m.Flag)) flags |= m.ShellFlag;
  return flags;
}

const std::vector<TPropInfo>& FileOperationProperties() {
  using T = TdkFileOperation;
  static const std::vector<TPropInfo> table = TPropertyTable<T>()
      .Property("FileList", &T::FileList, &T::SetFileList)
      .Property("DestFolder", &T::DestFolder)
      .Property("ProgressTitle", &T::ProgressTitle)
      .Property("Operation", &T::Operation, &T::SetOperation).Default(fotCopy)
      .SetProperty<TdkFileOperationFlag>("Options", &T::Options, &T::SetOptions).Default(T::DefaultOptions)
      .Property("OnError", &T::OnError)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TdkFileOperation, TdkComponent, &CreateComponentOf<TdkFileOperation>, &FileOperationProperties)

TdkFileOperation::TdkFileOperation(TComponent* AOwner) : TdkComponent(AOwner), FFileList(new TStringList) {}

TdkFileOperation::~TdkFileOperation() = default;

bool TdkFileOperation::ExecuteOperation(TdkFileOperationType Operation) {
  if (FFileList->GetCount() == 0) return true;

  HWND ownerWindow = nullptr;
  if (auto* owner = dynamic_cast<TWinControl*>(Owner())) ownerWindow = owner->Handle();

  SHFILEOPSTRUCTW op{};
  op.hwnd = ownerWindow;
  op.wFunc = ShellFunction(Operation);
  op.fFlags = ShellFlags(FOptions);
  bool pairs = FFileList->GetTextStr().find('=') != AnsiString::npos;
  if (pairs) op.fFlags |= FOF_MULTIDESTFILES;

  AnsiString sources, destinations;
  for (int i = 0; i < FFileList->GetCount(); ++i) {
    AnsiString line = FFileList->Get(i);
    if (i > 0) {
      sources += kNameSeparator;
      if (pairs) destinations += kNameSeparator;
    }
    if (!pairs) {
      sources += line;
      continue;
    }
    size_t equals = line.find('=');
    AnsiString source = AbsolutePath(line.substr(0, equals), DestFolder);
    AnsiString pattern = equals == AnsiString::npos ? AnsiString() : line.substr(equals + 1);
    sources += source;
    destinations += WildcardDestination(source, pattern);
  }
  // The shell takes lists of zero-terminated names ended by one more zero; the wide calls
  // keep names outside the ANSI code page whole.
  WideString sourceList = AnsiToWide(JoinForShell(sources, kNameSeparator));
  WideString destList =
      pairs ? AnsiToWide(JoinForShell(destinations, kNameSeparator)) : AnsiToWide(DestFolder) + WideString(2, L'\0');
  WideString title = AnsiToWide(ProgressTitle);
  op.pFrom = sourceList.c_str();
  op.pTo = destList.c_str();
  op.lpszProgressTitle = title.c_str();

  int result = SHFileOperationW(&op);
  if (result != 0 && result != kNoMoreFiles) DoError(GetErrorText(result));
  return result == 0;
}

AnsiString TdkFileOperation::GetErrorText(int Code) {
  char buffer[1024] = {};
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                static_cast<DWORD>(Code), 0, buffer, sizeof buffer, nullptr);
  AnsiString text(buffer, length);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  // Many of the shell's own codes have no system text; the handler still learns which.
  if (text.empty()) text = Format("The file operation failed (code %d).", Code);
  return text;
}

bool TdkFileOperation::DoError(const AnsiString& S) {
  bool handled = false;
  if (OnError) OnError(this, S, handled);
  return handled;
}
