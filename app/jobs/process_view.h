// What the job machinery tells the process page. The page implements it over its controls;
// the sequencer knows nothing else of the window.
#pragma once

#include "vcl/sysutils.h"

// How a job ended, which decides its closing row.
enum class TJobOutcome { Succeeded, Failed, Aborted };

// Kinds of status rows, which are also their image indexes.
enum TProcessEventKind : int { pekInformation = 0, pekWarning = 1, pekError = 2 };

class IProcessView {
 public:
  virtual ~IProcessView() = default;

  // A status row at the end of the list: the time "hh:nn:ss", the text, and the image of
  // its kind (0 information, 1 warning, 2 error, any other kind image 3).
  virtual void AddProcessEvent(const WideString& Text, int Kind) = 0;
  // A line of the run log; the log puts the time in front of it.
  virtual void AddLogLine(const WideString& Text) = 0;
  // The bar's position (0 to 100) and the percentage text ("25 %"): the page shows the
  // text, scrolls its last row into view and makes the title Text + " - Kavo".
  virtual void ShowProgress(int Position, const WideString& PercentText) = 0;
  // The remaining time, "hh:nn:ss".
  virtual void ShowTimeRemaining(const WideString& Text) = 0;
  // A run of a job is about to start: Finish and Back disabled, the abort button enabled.
  virtual void RunStarting() = 0;
  // The job has closed, after its closing row and log line (ClosingText): the last row
  // scrolled into view, the bar full after a success and at 0 otherwise, "00:00:00", the
  // page's heading saying how the job ended, the title "Kavo", Finish and Back enabled,
  // the abort button disabled, the log viewer's menu item enabled.
  virtual void JobClosed(TJobOutcome Outcome, const WideString& ClosingText) = 0;
};
