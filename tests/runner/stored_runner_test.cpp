// The runner as a form stores it: its settings read from a description, its handlers bound
// by name, and what the writer keeps of it.
#include <gtest/gtest.h>

#include <cstring>

#include "runner/dos_command.h"
#include "tests/runner/runner_test_support.h"
#include "tests/support/pump.h"
#include "vcl/streaming.h"
#include "vcl/typinfo.h"

namespace {

class TRunnerHost : public TComponent {
  VCL_CLASS(TRunnerHost)
 public:
  using TComponent::TComponent;
  ~TRunnerHost() override { Destroying(); }

  // Like a form, the host writes the components it owns.
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override {
    for (int i = 0; i < ComponentCount(); ++i) proc(Components(i));
  }

  TDosCommand* DosCommand = nullptr;
  std::vector<std::pair<AnsiString, TOutputType>> lines;
  std::vector<unsigned> ends;
  void DosCommandNewLine(TObject*, const AnsiString& line, TOutputType type) { lines.emplace_back(line, type); }
  void DosCommandTerminated(TObject*, unsigned code) { ends.push_back(code); }
};

const TClassMembers& RunnerHostMembers() {
  static const TClassMembers m = TMemberTable<TRunnerHost>()
                                     .Handler("DosCommandNewLine", &TRunnerHost::DosCommandNewLine)
                                     .Handler("DosCommandTerminated", &TRunnerHost::DosCommandTerminated)
                                     .Field("DosCommand", &TRunnerHost::DosCommand)
                                     .Table();
  return m;
}
VCL_CLASS_IMPL_MEMBERS(TRunnerHost, TComponent, &CreateComponentOf<TRunnerHost>, nullptr, &RunnerHostMembers)

const char* const kHost = R"(object Host: TRunnerHost
  object DosCommand: TDosCommand
    OnNewLine = DosCommandNewLine
    OnTerminated = DosCommandTerminated
    InputToOutput = True
    MaxTimeAfterLastOutput = 30
    ShowWindow = swSHOWMINNOACTIVE
    CreationFlag = fCREATE_NEW_PROCESS_GROUP
    ReturnCode = rcLF
  end
end
)";

TEST(StoredRunner, SettingsAndHandlersComeFromTheDescription) {
  RegisterClasses({TRunnerHost::StaticClass(), TDosCommand::StaticClass()});
  TRunnerHost host(nullptr);
  ReadComponentData(kHost, std::strlen(kHost), &host, "host.dfm");
  ASSERT_NE(host.DosCommand, nullptr);
  TDosCommand* cmd = host.DosCommand;
  EXPECT_TRUE(cmd->InputToOutput());
  EXPECT_EQ(cmd->MaxTimeAfterLastOutput(), 30);
  EXPECT_EQ(cmd->MaxTimeAfterBeginning(), 0);
  EXPECT_EQ(cmd->ShowWindow(), swSHOWMINNOACTIVE);
  EXPECT_EQ(cmd->CreationFlag(), fCREATE_NEW_PROCESS_GROUP);
  EXPECT_EQ(cmd->ReturnCode(), rcLF);

  // The handlers bound by name receive a real run's output and end.
  cmd->SetCommandLine("\"" + TestFolder() + "scripted_child.exe\" \"out:stored\\n\" exit:4");
  cmd->Execute();
  ASSERT_TRUE(PumpUntil([&] { return !host.ends.empty(); }));
  ASSERT_EQ(host.lines.size(), 1u);
  EXPECT_EQ(host.lines[0].first, "stored");
  EXPECT_EQ(host.ends[0], 4u);
}

TEST(StoredRunner, TheWriterKeepsChangedSettingsAndLeavesOutDefaultsAndReadOnlyState) {
  RegisterClasses({TRunnerHost::StaticClass(), TDosCommand::StaticClass()});
  TRunnerHost host(nullptr);
  ReadComponentData(kHost, std::strlen(kHost), &host, "host.dfm");
  TMemoryStream stored;
  WriteComponent(&stored, &host);
  std::string bytes(static_cast<const char*>(stored.Memory()), static_cast<size_t>(stored.Size()));
  for (const char* name : {"InputToOutput", "MaxTimeAfterLastOutput", "ShowWindow", "CreationFlag", "ReturnCode",
                           "DosCommandNewLine", "DosCommandTerminated"})
    EXPECT_NE(bytes.find(name), std::string::npos) << name;
  for (const char* name : {"MaxTimeAfterBeginning", "OutputReturnCode", "CommandLine"})
    EXPECT_EQ(bytes.find(name), std::string::npos) << name;

  TRunnerHost copy(nullptr);
  stored.SetPosition(0);
  ReadComponent(&stored, &copy, "copy");
  ASSERT_NE(copy.DosCommand, nullptr);
  EXPECT_EQ(copy.DosCommand->ShowWindow(), swSHOWMINNOACTIVE);
  EXPECT_EQ(copy.DosCommand->MaxTimeAfterLastOutput(), 30);
}

}  // namespace
