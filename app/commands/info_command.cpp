#include "app/commands/info_command.h"

#include "app/commands/mux_command.h"

AnsiString BuildInfoCommandLine(const WideString& MP4BoxPath, const TTrackRow& Row, bool ByTrack) {
  const WideString& index = Row[TTrackColumn::Index];
  const bool wholeFile = !ByTrack || index.empty() || index == L"video" || index == L"audio" || index == L"sub";
  AnsiString cmd = PathArgument(MP4BoxPath) + " -info ";
  if (!wholeFile) cmd += TextArgument(index) + " ";
  return cmd + PathArgument(Row.InputPath());
}
