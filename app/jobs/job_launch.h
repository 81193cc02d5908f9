// What every task page asks before its job starts, in one order: the MP4Box path, a tool
// already running, an output that is one of the inputs, an output name the chosen MP4Box
// cannot take; then the outputs that already exist, which the user must agree to replace.
// The window side (pages/job_launcher.cpp) shows the notices and the question.
#pragma once

#include <vector>

#include "app/commands/mp4box_version.h"
#include "vcl/sysutils.h"

// The files a job reads and writes, as its page knows them before it starts.
struct TLaunchFiles {
  std::vector<WideString> Inputs;
  // Every file the job writes that can be known ahead (a "*" in a name stands for what the
  // tool chooses, an extension).
  std::vector<WideString> Outputs;
  // The outputs the command line names itself (the others MP4Box names after the input).
  std::vector<WideString> NamedOutputs;
};

struct TLaunchCheck {
  WideString MP4BoxPath;
  TMP4BoxVersion Version;  // of the MP4Box that writes the outputs
  bool ToolRunning = false;  // a job or a stream-information query has not ended
  TLaunchFiles Files;
};

// Why a job does not start; None when it may (the page's own checks aside).
enum class TLaunchRefusal { None, MP4BoxPath, ToolRunning, OutputIsInput, NameNotTaken };

struct TLaunchVerdict {
  TLaunchRefusal Refusal = TLaunchRefusal::None;
  WideString File;  // the input or output the refusal is about
};

// The first refusal, in the order above; the page's own checks come between the tool's two
// (CheckLaunchTool) and the files' two (CheckLaunchFiles).
TLaunchVerdict CheckLaunch(const TLaunchCheck& Check);
TLaunchVerdict CheckLaunchTool(const TLaunchCheck& Check);
TLaunchVerdict CheckLaunchFiles(const TLaunchCheck& Check);

// Whether the MP4Box of Version can be given Path on its command line: today's takes any
// name; an older one only a name the 8-bit code page reaches (itself or a short form).
bool MP4BoxTakesName(const WideString& Path, const TMP4BoxVersion& Version);

// The outputs that exist now, each once, in the order given ("*" names resolved to the files
// that match).
std::vector<WideString> ExistingOutputs(const std::vector<WideString>& Outputs);

// The input among Inputs that Output names (the same path in any case or form, or the same
// file on disk by another name); empty when none.
WideString InputNamedBy(const std::vector<WideString>& Inputs, const WideString& Output);
