#include "app/jobs/run_log.h"

#include "app/common/utf8.h"

WideString TimeText(const SYSTEMTIME& Time) {
  wchar_t text[16];
  swprintf(text, 16, L"%02u:%02u:%02u", Time.wHour, Time.wMinute, Time.wSecond);
  return text;
}

WideString NowTimeText() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return TimeText(now);
}

AnsiString RunLogLine(const SYSTEMTIME& Time, const WideString& Message) {
  return "[" + WideToAnsi(TimeText(Time)) + "] : " + WideToUtf8(Message);
}

TRunLog::TRunLog() : FLines(new TStringList) {}
TRunLog::~TRunLog() { delete FLines; }

void TRunLog::Add(const WideString& Message) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  AddAt(now, Message);
}

void TRunLog::AddAt(const SYSTEMTIME& Time, const WideString& Message) { FLines->Add(RunLogLine(Time, Message)); }

bool TRunLog::SaveToFile(const WideString& FileName) const {
  DeleteFileW(FileName.c_str());
  HANDLE f = CreateFileW(FileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  // UTF-8 with its byte-order mark, which Notepad reads: every name survives.
  AnsiString text = "\xEF\xBB\xBF";
  for (int i = 0; i < FLines->Count(); ++i) text += FLines->Strings(i) + "\r\n";
  DWORD written = 0;
  bool ok = (WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                             written == text.size());
  CloseHandle(f);
  return ok;
}

WideString FolderOf(const WideString& FileName) {
  size_t at = FileName.find_last_of(L"\\:");
  return at == WideString::npos ? WideString() : FileName.substr(0, at + 1);
}

WideString ChooseLogFile(bool KavoFolder, bool OutputFolder, const TJobState& State,
                         const TLogFolderSources& Files, const WideString& ProgramFolder, TJobMode* ChosenBy) {
  if (ChosenBy) *ChosenBy = TJobMode::None;
  if (KavoFolder) return ProgramFolder + L"Kavo.log";
  if (!OutputFolder) return WideString();
  const std::pair<bool, std::pair<TJobMode, const WideString*>> order[] = {
      {State.ConvertMode, {TJobMode::Convert, &Files.ConvInput}},
      {State.ExtractMode, {TJobMode::Extract, &Files.ExtractInput}},
      {State.MuxMode, {TJobMode::Mux, &Files.MuxOutput}},
      {State.ConcatMode, {TJobMode::Concat, &Files.ConcOutput}},
      {State.SplitMode, {TJobMode::Split, &Files.SplitInput}},
      {State.TagMode, {TJobMode::Tag, &Files.TagFile}},
  };
  for (const auto& [set, source] : order) {
    if (!set) continue;
    // A task whose file is not known (no tag row selected) has no folder to write into.
    if (source.second->empty()) return WideString();
    if (ChosenBy) *ChosenBy = source.first;
    return FolderOf(*source.second) + L"Kavo.log";
  }
  return WideString();
}

void DeleteLogFile(const WideString& FileName) {
  WideString log = FolderOf(FileName) + L"Kavo.log";
  if (GetFileAttributesW(log.c_str()) != INVALID_FILE_ATTRIBUTES) DeleteFileW(log.c_str());
}

WideString ClosingLogText(const WideString& KavoClosed) { return L"Kavo 2.0.0.8 " + KavoClosed; }
