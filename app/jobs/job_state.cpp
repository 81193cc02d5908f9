#include "app/jobs/job_state.h"

#include <cmath>

void TJobState::SetMode(TJobMode Mode) {
  MuxMode = SplitMode = ConcatMode = ExtractMode = ConvertMode = TagMode = false;
  if (Mode != TJobMode::None) Flag(Mode) = true;
}

bool& TJobState::Flag(TJobMode Mode) {
  switch (Mode) {
    case TJobMode::Mux: return MuxMode;
    case TJobMode::Split: return SplitMode;
    case TJobMode::Concat: return ConcatMode;
    case TJobMode::Extract: return ExtractMode;
    case TJobMode::Convert: return ConvertMode;
    case TJobMode::Tag: return TagMode;
    case TJobMode::None: break;
  }
  throw Exception("A job has no mode");
}

DWORD PriorityClassOfIndex(int Index) {
  static const DWORD classes[] = {REALTIME_PRIORITY_CLASS,     HIGH_PRIORITY_CLASS,
                                  ABOVE_NORMAL_PRIORITY_CLASS, NORMAL_PRIORITY_CLASS,
                                  BELOW_NORMAL_PRIORITY_CLASS, IDLE_PRIORITY_CLASS};
  return Index >= 0 && Index < 6 ? classes[Index] : 0;
}

WideString RemainingTimeText(double ElapsedMs, int Position, int Max) {
  double remaining = Position != 0 ? (Max - Position) * ElapsedMs / Position : 0;
  // The time of day the value stands for, as "hh:nn:ss" shows it: whole seconds, and hours
  // beyond a day wrap.
  long long seconds = static_cast<long long>(std::floor((remaining + 1000) / 1000));
  if (seconds < 0) seconds = 0;
  seconds %= 86400;
  wchar_t text[16];
  swprintf(text, 16, L"%02d:%02d:%02d", static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
           static_cast<int>(seconds % 60));
  return text;
}

TJobMode BackTargetMode(const TJobState& State) {
  if (State.MuxMode) return TJobMode::Mux;
  if (State.SplitMode) return TJobMode::Split;
  if (State.ConvertMode) return TJobMode::Convert;
  if (State.ExtractMode) return TJobMode::Extract;
  if (State.ConcatMode) return TJobMode::Concat;
  if (State.TagMode) return TJobMode::Tag;
  return TJobMode::None;
}

TJobMode NewTaskMode(const TJobState& State) {
  if (State.MuxMode) return TJobMode::Mux;
  if (State.ConcatMode) return TJobMode::Concat;
  if (State.ExtractMode) return TJobMode::Extract;
  if (State.SplitMode) return TJobMode::Split;
  if (State.ConvertMode) return TJobMode::Convert;
  return TJobMode::None;
}
