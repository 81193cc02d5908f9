// A process page for the job tests: it keeps what the sequencer shows, in order, and a
// real run log.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "app/jobs/process_view.h"
#include "app/jobs/run_log.h"

struct TRecordedRow {
  int Kind;
  WideString Text;
  bool operator==(const TRecordedRow& o) const { return Kind == o.Kind && Text == o.Text; }
};

inline std::ostream& operator<<(std::ostream& os, const TRecordedRow& r) {
  return os << r.Kind << ":" << WideToAnsi(r.Text);
}

class TRecordingView : public IProcessView {
 public:
  void AddProcessEvent(const WideString& Text, int Kind) override { Rows.push_back({Kind, Text}); }
  void AddLogLine(const WideString& Text) override {
    LogTexts.push_back(WideToAnsi(Text));
    Log.Add(Text);
  }
  void ShowProgress(int Position, const WideString& PercentText) override {
    Positions.push_back(Position);
    Percent = PercentText;
  }
  void ShowTimeRemaining(const WideString& Text) override { TimeRemaining = Text; }
  void RunStarting() override { ++RunsStarted; }
  void JobClosed(TJobOutcome Outcome, const WideString&) override { Closed.push_back(Outcome); }

  std::vector<TRecordedRow> Rows;
  std::vector<std::string> LogTexts;  // the log lines without their time
  std::vector<int> Positions;
  WideString Percent, TimeRemaining;
  int RunsStarted = 0;
  std::vector<TJobOutcome> Closed;
  TRunLog Log;
};

inline std::ostream& operator<<(std::ostream& os, TJobOutcome o) {
  return os << (o == TJobOutcome::Succeeded ? "Succeeded" : o == TJobOutcome::Failed ? "Failed" : "Aborted");
}

#include "app/common/named_texts.h"

// Named texts that are their own keys, so a test sees which text was used.
inline TNamedTexts KeyTexts() {
  TNamedTexts t;
  for (const TNamedTextKey& k : NamedTextKeys()) t.*k.Text = AnsiToWide(k.Key);
  return t;
}
