// The state of the current (or last) job.
#pragma once

#include <windows.h>

#include "vcl/sysutils.h"

enum class TJobMode { None, Mux, Split, Concat, Extract, Convert, Tag };

struct TJobState {
  // The mode of the current or last job; a job's start sets its own flag and clears the
  // others. TagMode is also set by the properties dialog, and by the tagging after a mux.
  bool MuxMode = false, SplitMode = false, ConcatMode = false, ExtractMode = false, ConvertMode = false,
       TagMode = false;
  bool JobAborted = false;  // the user aborted the running job
  bool JobProblem = false;  // a run failed or its output showed a warning or an error
  bool InfoRun = false;     // the running tool answers a stream-information query
  bool VerboseRun = false;  // the running tool was asked for every line (" -v"): each is logged
  bool CreateMP4 = true;    // a mux job makes an MP4 file (else 3GP)
  bool AviH264Mux = false;  // the mux job begins with the H.264 extraction pre-step
  bool AVCWarning = false;  // the mux page warns about an AVC track without frame rate
  int JobIndex = 0;         // 0-based step of the job
  int JobCount = 0;         // steps of the job; 0 and 1 both mean one
  ULONGLONG JobStartTick = 0;

  void SetMode(TJobMode Mode);
  bool& Flag(TJobMode Mode);  // Mode must not be None
};

// The priority class of the settings page's priority list item (Real, Highest, High,
// Normal, Low, Lowest); 0 for an index outside the list.
DWORD PriorityClassOfIndex(int Index);

// The remaining time from the time spent and the bar's position (0 to Max): "hh:nn:ss",
// one second added; "00:00:01" while the position is 0.
WideString RemainingTimeText(double ElapsedMs, int Position, int Max = 100);

// The page Back on the process page returns to: the page of the job's mode, by the first
// set flag in the order mux, split, conversion, extraction, join, tagging; None when no job
// ran (the process page stays).
TJobMode BackTargetMode(const TJobState& State);
// The task whose inputs Finish clears when the user starts a new task: the first set flag
// in the order mux, join, extraction, split, conversion; None for none of these.
TJobMode NewTaskMode(const TJobState& State);
