#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "runner/dos_command.h"
#include "tests/runner/runner_test_support.h"
#include "tests/support/pump.h"

namespace {

// The command line of the scripted child with the given steps.
AnsiString Child(const std::string& steps) {
  return "\"" + TestFolder() + "scripted_child.exe\" " + steps;
}

std::vector<std::string> ListOf(TStrings* s) {
  std::vector<std::string> v;
  for (int i = 0; i < s->Count(); ++i) v.push_back(s->Strings(i));
  return v;
}

std::string ReadFileText(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

// A runner whose notices are recorded.
class Runner : public ::testing::Test {
 protected:
  void SetUp() override {
    cmd = new TDosCommand(nullptr);
    cmd->SetOnNewLine([this](TObject* sender, const AnsiString& line, TOutputType type) {
      EXPECT_EQ(sender, cmd);
      EXPECT_EQ(GetCurrentThreadId(), MainThreadID);
      got.push_back({line, type});
      if (type == otEntireLine) lineEnds.push_back(cmd->OutputReturnCode());
      if (onLine) onLine(line, type);
    });
    cmd->SetOnTerminated([this](TObject* sender, unsigned code) {
      EXPECT_EQ(sender, cmd);
      EXPECT_EQ(GetCurrentThreadId(), MainThreadID);
      ends.push_back(code);
      stepAtEnd.push_back(cmd->RunStep());
      exitCodeAtEnd.push_back(cmd->ExitCode());
      if (onEnd) onEnd(code);
    });
  }
  void TearDown() override { delete cmd; }

  // Runs the child with the given steps and waits for the end notice.
  void RunChild(const std::string& steps, DWORD timeoutMs = 15000) {
    cmd->SetCommandLine(Child(steps));
    cmd->Execute();
    ASSERT_TRUE(PumpUntil([&] { return !ends.empty(); }, timeoutMs)) << "no end notice";
  }
  std::vector<std::string> Delivered() const {
    std::vector<std::string> v;
    for (const Piece& p : got) v.push_back(p.line);
    return v;
  }

  TDosCommand* cmd = nullptr;
  std::vector<Piece> got;
  std::vector<TReturnCode> lineEnds;
  std::vector<unsigned> ends;
  std::vector<BYTE> stepAtEnd;
  std::vector<DWORD> exitCodeAtEnd;
  std::function<void(const AnsiString&, TOutputType)> onLine;
  std::function<void(unsigned)> onEnd;
};

TEST_F(Runner, CreatedIdleWithItsDefaults) {
  EXPECT_EQ(cmd->CommandLine(), "");
  EXPECT_FALSE(cmd->InputToOutput());
  EXPECT_EQ(cmd->MaxTimeAfterBeginning(), 0);
  EXPECT_EQ(cmd->MaxTimeAfterLastOutput(), 0);
  EXPECT_EQ(cmd->ShowWindow(), swHIDE);
  EXPECT_EQ(cmd->CreationFlag(), fCREATE_NEW_CONSOLE);
  EXPECT_EQ(cmd->ReturnCode(), rcCRLF);
  EXPECT_EQ(cmd->Priority(), 32u);
  EXPECT_EQ(cmd->Lines()->Count(), 0);
  EXPECT_EQ(cmd->InputQueue()->Count(), 0);
  EXPECT_EQ(cmd->OutputLines(), nullptr);
  EXPECT_FALSE(cmd->IsRunning());
  // An empty command line starts nothing, and no end notice follows.
  cmd->Execute();
  EXPECT_FALSE(cmd->IsRunning());
  EXPECT_FALSE(PumpUntil([&] { return !ends.empty(); }, 300));
}

// A named event the scripted child's "wait:NAME" step waits on: the test sets it once the
// runner has delivered what came before, so the writes after it arrive in a chunk of
// their own.
class TChunkBorder {
 public:
  TChunkBorder() {
    static int count = 0;
    FName = "kavo-chunk-border-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count);
    FEvent = CreateEventA(nullptr, TRUE, FALSE, FName.c_str());
  }
  ~TChunkBorder() { CloseHandle(FEvent); }
  std::string Step() const { return "wait:" + FName; }
  void Pass() { SetEvent(FEvent); }

 private:
  std::string FName;
  HANDLE FEvent;
};

struct OutputCase {
  const char* name;
  std::string steps;  // the child's writes, each one chunk; "|" a chunk border
  std::vector<Piece> expected;
  std::vector<TReturnCode> lineEnds;  // OutputReturnCode seen with each entire line
  std::vector<std::string> outputLines;
};

TEST_F(Runner, OutputReachesTheMainThreadLineByLine) {
  const OutputCase cases[] = {
      {"CR LF and LF in one chunk", "out:a\\r\\nb\\n", {{"a", E}, {"b", E}}, {rcCRLF, rcLF}, {"a", "b"}},
      {"CR LF split across chunks", "out:a\\r | out:\\nb\\n", {{"a", E}, {"b", E}}, {rcLF, rcLF},
       {"a", "b"}},
      {"CR then CR", "out:a\\r | out:\\rb\\n", {{"a", E}, {"", E}, {"b", E}}, {rcLF, rcLF, rcLF},
       {"a", "", "b"}},
      {"a partial line growing", "out:abc | out:def\\n", {{"abc", B}, {"abcdef", E}}, {rcLF},
       {"abcdef"}},
      {"a final line without end, delivered twice", "out:one\\r\\nxyz",
       {{"one", E}, {"xyz", B}, {"xyz", B}}, {rcCRLF}, {"one", "xyz"}},
      {"NUL bytes of UTF-16 text dropped", "out:h\\0i\\0\\n\\0", {{"hi", E}}, {rcLF}, {"hi"}},
      {"standard error on the same pipe", "out:o\\n | err:e\\r\\n", {{"o", E}, {"e", E}},
       {rcLF, rcCRLF}, {"o", "e"}},
  };
  for (const OutputCase& c : cases) {
    SCOPED_TRACE(c.name);
    got.clear();
    lineEnds.clear();
    ends.clear();
    TStringList mirror;
    cmd->SetOutputLines(&mirror);
    // The border opens once the first piece has been delivered: it was read on its own.
    TChunkBorder border;
    std::string steps = c.steps;
    if (size_t bar = steps.find('|'); bar != std::string::npos) steps.replace(bar, 1, border.Step());
    onLine = [&](const AnsiString&, TOutputType) { border.Pass(); };
    RunChild(steps + " exit:0");
    onLine = nullptr;
    EXPECT_EQ(got, c.expected);
    EXPECT_EQ(lineEnds, c.lineEnds);
    EXPECT_EQ(ListOf(&mirror), c.outputLines);
    EXPECT_EQ(ListOf(cmd->Lines()), Delivered());  // every string, partial ones included
    cmd->SetOutputLines(nullptr);
  }
}

TEST_F(Runner, ManyLinesArriveInOrder) {
  RunChild("lines:5000:n");
  ASSERT_EQ(got.size(), 5000u);
  for (size_t i = 0; i < got.size(); ++i)
    ASSERT_EQ(got[i], (Piece{"n" + std::to_string(i + 1), E}));
}

TEST_F(Runner, TheEndIsDecidedByTheProcessAndCarriesItsExitCode) {
  // 259 is STILL_ACTIVE: a child that really exits with it still ends the run.
  for (unsigned code : {0u, 3u, 259u, 0xC0000005u}) {
    SCOPED_TRACE(code);
    ends.clear();
    stepAtEnd.clear();
    bool runningInHandler = false;
    onEnd = [&](unsigned) { runningInHandler = cmd->IsRunning(); };
    cmd->SetCommandLine(Child("out:bye\\n exit:" + std::to_string(code)));
    cmd->Execute();
    EXPECT_TRUE(cmd->IsRunning());
    ASSERT_TRUE(PumpUntil([&] { return !ends.empty(); }));
    EXPECT_EQ(ends, std::vector<unsigned>{code});
    EXPECT_EQ(stepAtEnd, std::vector<BYTE>{8});
    EXPECT_EQ(cmd->ExitCode(), code);
    EXPECT_TRUE(runningInHandler);
    EXPECT_FALSE(cmd->IsRunning());  // once the notice has been handled
    cmd->Stop();                     // nothing left to stop
    EXPECT_FALSE(PumpUntil([&] { return ends.size() > 1; }, 100));
  }
  onEnd = nullptr;
}

TEST_F(Runner, AChildKeepingThePipeOpenDoesNotDelayTheEnd) {
  // A grandchild inherits the output pipe and lives on for 4 s.
  DWORD start = GetTickCount();
  RunChild("spawn:4000 out:done\\n exit:5");
  EXPECT_LT(GetTickCount() - start, 3000u);
  EXPECT_EQ(ends, std::vector<unsigned>{5});
  EXPECT_EQ(Delivered(), std::vector<std::string>{"done"});
}

struct InputCase {
  const char* name;
  bool inputToOutput;
  std::vector<std::string> queued;  // added when the child's prompt has arrived
  std::string received;             // what the child reads
  std::vector<Piece> expected;
};

TEST_F(Runner, InputQueueIsWrittenToTheChild) {
  const std::string file = TestFolder() + "child_input.bin";
  const InputCase cases[] = {
      {"lines written as they stand", false, {"one\r\n", "", "two\n", "three"}, "one\r\ntwo\nthree",
       {{"name?", B}, {"name?ok", E}}},
      {"echo joins the prompt", true, {"bob\r\n"}, "bob\r\n",
       {{"name?", B}, {"name?bob\r\n", E}, {"ok", E}}},
      {"echo of an unended line", true, {"x", "y\n"}, "xy\n",
       {{"name?", B}, {"name?x", B}, {"name?xy\n", E}, {"ok", E}}},
  };
  for (const InputCase& c : cases) {
    SCOPED_TRACE(c.name);
    got.clear();
    ends.clear();
    DeleteFileA(file.c_str());
    cmd->SetInputToOutput(c.inputToOutput);
    onLine = [&](const AnsiString& line, TOutputType) {
      if (line == "name?" && got.size() == 1)
        for (const std::string& q : c.queued) cmd->InputQueue()->Add(q);
    };
    RunChild("out:name? readbytes:" + std::to_string(c.received.size()) + ":" + file +
             " out:ok\\r\\n exit:0");
    EXPECT_EQ(ReadFileText(file), c.received);
    EXPECT_EQ(got, c.expected);
    EXPECT_EQ(cmd->InputQueue()->Count(), 0);
  }
  onLine = nullptr;
  DeleteFileA(file.c_str());
}

struct TimeOutCase {
  const char* name;
  int afterBeginning, afterLastOutput;
  std::string steps;
  BYTE step;
  unsigned code;
};

TEST_F(Runner, TimeOutsKillTheChild) {
  const TimeOutCase cases[] = {
      {"silent child", 0, 1, "sleep:20000", 10, 259},
      {"chatty child running too long", 1, 0,
       "out:t\\n sleep:400 out:t\\n sleep:400 out:t\\n sleep:400 out:t\\n sleep:400 out:t\\n "
       "sleep:400 out:t\\n sleep:400 out:t\\n sleep:400 out:t\\n sleep:400 sleep:20000",
       10, 259},
      {"output keeps a child alive", 0, 1,
       "out:t\\n sleep:400 out:t\\n sleep:400 out:t\\n sleep:400 out:t\\n sleep:400 out:t\\n "
       "sleep:400 out:t\\n sleep:400 out:t\\n exit:4",
       8, 4},
  };
  for (const TimeOutCase& c : cases) {
    SCOPED_TRACE(c.name);
    ends.clear();
    stepAtEnd.clear();
    cmd->SetMaxTimeAfterBeginning(c.afterBeginning);
    cmd->SetMaxTimeAfterLastOutput(c.afterLastOutput);
    DWORD start = GetTickCount();
    RunChild(c.steps);
    DWORD spent = GetTickCount() - start;
    EXPECT_EQ(stepAtEnd, std::vector<BYTE>{c.step});
    EXPECT_EQ(ends, std::vector<unsigned>{c.code});
    if (c.step == 10) {
      // "counter > limit": the end comes once the counter reaches 2, after 1 to 2 s.
      EXPECT_GE(spent, 1000u);
      EXPECT_LT(spent, 4000u);
    }
  }
}

// Whether the child's whole "pid=" line has been delivered. Not just the first piece: the
// system may put lines of its own on the child's output before the child's first write, and
// a line's beginning carries only part of the number.
bool HasPidLine(const std::vector<Piece>& got) {
  for (const Piece& p : got)
    if (p.type == otEntireLine && p.line.rfind("pid=", 0) == 0) return true;
  return false;
}

// Opens the child whose "pid=" line was delivered.
HANDLE OpenChild(const std::vector<Piece>& got) {
  for (const Piece& p : got)
    if (p.type == otEntireLine && p.line.rfind("pid=", 0) == 0)
      return OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                         static_cast<DWORD>(std::stoul(p.line.substr(4))));
  return nullptr;
}

TEST_F(Runner, StopKillsTheChildAndTheEndNoticeStillFollows) {
  cmd->SetCommandLine(Child("pid out:partial sleep:20000"));
  cmd->Execute();
  ASSERT_TRUE(PumpUntil([&] { return got.size() == 2; }));
  HANDLE child = OpenChild(got);
  ASSERT_TRUE(child);
  EXPECT_TRUE(cmd->IsRunning());
  cmd->Stop();
  EXPECT_FALSE(cmd->IsRunning());
  ASSERT_TRUE(PumpUntil([&] { return !ends.empty(); }));
  EXPECT_EQ(ends, std::vector<unsigned>{259});
  EXPECT_EQ(stepAtEnd, std::vector<BYTE>{9});
  EXPECT_EQ(WaitForSingleObject(child, 5000), WAIT_OBJECT_0);
  CloseHandle(child);
  // The partial line once as it arrived and once more at the end.
  EXPECT_EQ(got, (std::vector<Piece>{{got[0].line, E}, {"partial", B}, {"partial", B}}));
}

TEST_F(Runner, AHandlerExceptionEndsTheRunUnshown) {
  TMessageBoxWatcher watcher;
  TChunkBorder border;  // "second" is written only once "first" has failed
  onLine = [&](const AnsiString& line, TOutputType) {
    if (line != "first") return;
    border.Pass();
    throw Exception("handler failed");
  };
  cmd->SetCommandLine(Child("pid out:first\\n " + border.Step() + " out:second\\n sleep:20000"));
  cmd->Execute();
  ASSERT_TRUE(PumpUntil([&] { return !ends.empty(); }));
  onLine = nullptr;
  HANDLE child = OpenChild(got);
  ASSERT_TRUE(child);
  EXPECT_EQ(WaitForSingleObject(child, 5000), WAIT_OBJECT_0);
  CloseHandle(child);
  EXPECT_EQ(ends, std::vector<unsigned>{259});
  EXPECT_EQ(stepAtEnd, std::vector<BYTE>{7});
  EXPECT_EQ(Delivered().back(), "first");  // nothing after the failed hand-over
  EXPECT_FALSE(PumpUntil([&] { return watcher.Seen(); }, 300));
  EXPECT_FALSE(cmd->IsRunning());
}

TEST_F(Runner, MissingProgramNotifiesThenShowsTheMessageBoxOnTheMainThread) {
  const AnsiString missing = "C:\\no-such-folder\\no-such-tool.exe -info";
  Application->SetTitle("Kavo");
  TMessageBoxWatcher watcher;  // sees message boxes of the main thread only
  bool boxBeforeNotice = false;
  onEnd = [&](unsigned) { boxBeforeNotice = watcher.Seen(); };
  cmd->SetCommandLine(missing);
  cmd->Execute();
  ASSERT_TRUE(PumpUntil([&] { return !ends.empty() && watcher.Seen(); }));
  onEnd = nullptr;
  EXPECT_FALSE(boxBeforeNotice);
  // RunStep and ExitCode are already set when the notice is handled; the notice and
  // ExitCode carry the system's error code.
  EXPECT_EQ(stepAtEnd, std::vector<BYTE>{5});
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_TRUE(ends[0] == ERROR_FILE_NOT_FOUND || ends[0] == ERROR_PATH_NOT_FOUND) << ends[0];
  EXPECT_EQ(exitCodeAtEnd, std::vector<DWORD>{ends[0]});
  EXPECT_EQ(cmd->ExitCode(), ends[0]);
  EXPECT_EQ(watcher.Text(), missing + " doesn't exist.");
  EXPECT_EQ(watcher.Caption(), "Kavo");
  EXPECT_TRUE(got.empty());
  EXPECT_FALSE(cmd->IsRunning());
}

TEST_F(Runner, AUtf16CommandLineCarriesWhatTheCodePageCannot) {
  // Greek and Japanese are outside the code page: the 8-bit line loses them, the UTF-16 one
  // (CreateProcessW) hands them to the child whole.
  const WideString name = L"\x03A4\x03B1\x03B9\x03BD\x03AF\x03B1 \x65E5.mp4";
  const WideString program = L"\"" + AnsiToWide(TestFolder()) + L"scripted_child.exe\"";
  auto utf8 = [](const WideString& w) {
    std::string s(w.size() * 4, '\0');
    s.resize(WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), s.data(),
                                 static_cast<int>(s.size()), nullptr, nullptr));
    return s;
  };
  const std::string expected = "args=" + TestFolder() + "scripted_child.exe|args|" + utf8(name);

  cmd->SetWideCommandLine(program + L" args \"" + name + L"\"");
  cmd->SetCommandLine(WideToAnsi(cmd->WideCommandLine()));
  cmd->Execute();
  ASSERT_TRUE(PumpUntil([&] { return !ends.empty(); }, 15000));
  EXPECT_EQ(Delivered(), std::vector<std::string>{expected});

  got.clear();
  ends.clear();
  cmd->SetWideCommandLine(WideString());
  RunChild("args \"" + WideToAnsi(name) + "\"");
  ASSERT_EQ(got.size(), 1u);
  EXPECT_NE(got[0].line, expected);
  EXPECT_NE(got[0].line.find("?"), std::string::npos) << got[0].line;
}

TEST_F(Runner, WindowStateReachesTheChild) {
  // (Wine reports every child at the normal priority class whatever it was created with,
  // so the priority cannot be checked here.)
  const std::pair<TShowWindow, const char*> cases[] = {
      {swHIDE, "show=0 flags=257"},
      {swSHOWMINNOACTIVE, "show=7 flags=257"},
      {swSHOWMAXIMIZED, "show=3 flags=257"},
      {swSHOWNORMAL, "show=1 flags=257"},
  };
  for (const auto& [show, expected] : cases) {
    got.clear();
    ends.clear();
    cmd->SetShowWindow(show);
    RunChild("startup");
    EXPECT_EQ(Delivered(), std::vector<std::string>{expected});
  }
}

// The pipe handles of this process that a child would inherit.
std::set<ULONG_PTR> InheritablePipes() {
  std::set<ULONG_PTR> s;
  for (ULONG_PTR v = 4; v < 0x4000; v += 4) {
    DWORD flags = 0;
    HANDLE h = reinterpret_cast<HANDLE>(v);
    if (GetHandleInformation(h, &flags) && (flags & HANDLE_FLAG_INHERIT) &&
        GetFileType(h) == FILE_TYPE_PIPE)
      s.insert(v);
  }
  return s;
}

TEST_F(Runner, TheChildInheritsOnlyItsOwnPipeEnds) {
  std::set<ULONG_PTR> before = InheritablePipes();
  RunChild("pipes");
  ASSERT_EQ(got.size(), 1u);
  std::string list = got[0].line.substr(got[0].line.find('=') + 1);
  std::stringstream ss(list);
  std::string item;
  while (std::getline(ss, item, ','))
    EXPECT_TRUE(before.count(std::stoul(item))) << "the child holds another pipe handle " << item;
}

TEST_F(Runner, ANewRunDoesNotShareItsStateWithAStoppedOneStillFinishing) {
  const std::string file = TestFolder() + "second_run_input.bin";
  DeleteFileA(file.c_str());
  // The first run's handler starts the second one and waits until it runs (its timer
  // armed), so the first worker finishes while the second is going.
  bool switched = false;
  onLine = [&](const AnsiString& line, TOutputType) {
    if (line != "partial" || switched) return;
    switched = true;
    cmd->SetCommandLine(Child("out:b1\\n readbytes:4:" + file + " out:b2\\n exit:7"));
    cmd->Execute();
    ASSERT_TRUE(PumpUntil([&] { return cmd->RunStep() == 6; }));
  };
  cmd->SetCommandLine(Child("out:partial sleep:20000"));
  cmd->Execute();
  ASSERT_TRUE(PumpUntil([&] { return ends.size() == 1; }));
  EXPECT_EQ(ends[0], 259u);  // the first run, stopped
  EXPECT_EQ(cmd->RunStep(), 6);  // still the second run's
  EXPECT_TRUE(cmd->IsRunning());
  cmd->InputQueue()->Add("in\r\n");
  ASSERT_TRUE(PumpUntil([&] { return ends.size() == 2; }));
  onLine = nullptr;
  EXPECT_EQ(ends[1], 7u);
  EXPECT_EQ(cmd->RunStep(), 8);
  EXPECT_EQ(cmd->ExitCode(), 7u);
  EXPECT_EQ(ReadFileText(file), "in\r\n");
  // The first run's last partial line reached its handler but not the second run's Lines.
  EXPECT_EQ(std::count(got.begin(), got.end(), Piece{"partial", B}), 2);
  EXPECT_EQ(ListOf(cmd->Lines()), (std::vector<std::string>{"b1", "b2"}));
  DeleteFileA(file.c_str());
}

TEST_F(Runner, AStoppedRunDoesNotDisarmTheTimerOfTheNextOne) {
  bool switched = false;
  onLine = [&](const AnsiString& line, TOutputType) {
    if (line != "partial" || switched) return;
    switched = true;
    cmd->SetMaxTimeAfterLastOutput(1);
    cmd->SetCommandLine(Child("sleep:20000"));
    cmd->Execute();
    ASSERT_TRUE(PumpUntil([&] { return cmd->RunStep() == 6; }));
  };
  cmd->SetCommandLine(Child("out:partial sleep:20000"));
  cmd->Execute();
  ASSERT_TRUE(PumpUntil([&] { return ends.size() == 2; }, 8000)) << "the second run never timed out";
  onLine = nullptr;
  EXPECT_EQ(ends, (std::vector<unsigned>{259, 259}));
  EXPECT_EQ(cmd->RunStep(), 10);
}

TEST_F(Runner, DestroyingTheComponentDuringARunStopsAndWaitsForIt) {
  // A child pouring out lines (its worker then waits in a hand-over that is never
  // serviced), and a quiet one (its worker polls).
  for (const char* steps : {"pid lines:1000000:line", "pid sleep:20000"}) {
    SCOPED_TRACE(steps);
    got.clear();
    ends.clear();
    cmd->SetCommandLine(Child(steps));
    cmd->Execute();
    // The pouring child keeps the queue full: stop at the pid line, while it still runs.
    ASSERT_TRUE(PumpEachUntil([&] { return HasPidLine(got); }));
    HANDLE child = OpenChild(got);
    ASSERT_TRUE(child);
    size_t seen = got.size();
    delete cmd;
    cmd = nullptr;
    EXPECT_EQ(WaitForSingleObject(child, 5000), WAIT_OBJECT_0);  // killed before the worker ended
    CloseHandle(child);
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(got.size(), seen);  // no notice reached the destroyed component's handlers
    EXPECT_TRUE(ends.empty());
    SetUp();
  }
}

}  // namespace
