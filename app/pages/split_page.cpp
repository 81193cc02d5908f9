// The split page: the input file and what is read of it (size, chapters, video), the five
// modes, and Next, which starts the split job. The command lines, the checks and the
// chapter lists are the logic's (app/commands/split_command, app/media/split_chapters).
#include "app/commands/split_command.h"
#include "app/common/text_routines.h"
#include "app/forms/main_form.h"
#include "app/media/input_problems.h"
#include "app/media/split_chapters.h"
#include "app/ui/task_dialog_presets.h"
#include "widetext/filenames.h"
#include "widetext/uni_message_dialogs.h"
#include "widetext/wide_control_text.h"

namespace {

const wchar_t* const SplitInputFilter =
    L"All Files supported (*.*)|*.mp4;*m4a;*.m4b;*.m4v;*.mov;*.3gp;*.3g2|MPEG-4 Files (*.mp4, *.m4a, *.m4b, "
    L"*.m4v)|*.mp4;*.m4a;*.m4b;*.m4v|3GPP Files (*.3gp, *.3g2)|*.3gp;*.3g2|MOV Files (*.mov)|*.mov";

void SetItems(TUniComboBox* Box, const std::vector<WideString>& Items) {
  Box->Items()->Clear();
  for (const WideString& item : Items) Box->Items()->Add(item);
  Box->SetItemIndex(Items.empty() ? -1 : 0);
}

std::vector<TSplitChapter> ChaptersOf(TUniComboBox* Starts, TUniComboBox* Ends) {
  std::vector<TSplitChapter> chapters;
  const int count = std::min(Starts->Items()->Count(), Ends->Items()->Count());
  for (int i = 0; i < count; ++i) chapters.push_back({Starts->Items()->Strings(i), Ends->Items()->Strings(i)});
  return chapters;
}

// The size in bytes of a file opened for reading with sharing allowed; no value when it
// cannot be opened.
std::optional<int64_t> FileSizeOf(const WideString& Name) {
  HANDLE f = CreateFileW(Name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return std::nullopt;
  LARGE_INTEGER size{};
  const bool known = GetFileSizeEx(f, &size);
  CloseHandle(f);
  if (!known) return std::nullopt;
  return size.QuadPart;
}

}  // namespace

void TMainForm::k(TObject*) { SplitInputChosen(PickInputFile("SplitInput", SplitInputFilter, L"mp4")); }

void TMainForm::SplitInputChosen(const WideString& FileName) {
  if (!FileName.empty()) {
    FSplitProbed = FileName;  // before the box's change handler sees the new text
    if (edSplitInput->Text() != FileName) edSplitInput->SetText(FileName);
    Memo1->Lines()->Clear();
    gbSplitOptions->SetEnabled(true);
  }
  const WideString input = edSplitInput->Text();
  if (input.empty()) return;  // nothing chosen yet: nothing to read
  FSplitProbed = input;
  FSplitInputSeconds.reset();
  AddLogLine(WideExtractFileName(input) + L" " + NamedTexts().Floaded + L"...");
  const std::optional<int64_t> size = FileSizeOf(input);
  if (!size) {
    WideMessageDlg(FormatText(NamedTexts().MsgCannotOpen, {input}), mtError, MsgDlgButton(mbOK), 0);
    return;
  }
  // A file nothing can be split from (a text file named ".mp4", an MP4 file without its
  // index) is refused at once, with the mux page's words.
  if (const WideString problem = InputProblemText(input); !problem.empty()) {
    AddLogLine(problem);
    ShowTextNotice(MainTaskDialog, problem);
    gbSplitOptions->SetEnabled(false);
    SplitPage->EnableButton(TKvWizardButtonKind::bkNext, false);
    return;
  }
  if (*size > 0) {
    // A file under half a megabyte still makes parts of 1 MB, the up-down's least value.
    AnsiString megabytes = FormatMegabytes(*size);
    if (megabytes == "0") megabytes = "1";
    edSplitSize->SetText(AnsiToWide(megabytes));
    UpDown1->SetMax(std::stoi(megabytes));
  }
  {
    TMediaInfoFile info(input);
    const WideString milliseconds = info.Get(TStreamKind::General, 0, L"Duration");
    if (!milliseconds.empty()) {
      try {
        FSplitInputSeconds = std::stod(milliseconds) / 1000.0;
      } catch (const std::exception&) {
      }
    }
  }
  const bool chapters = LoadChapters(input);
  rbSplitChapN->SetEnabled(chapters);
  rbSplitChapAll->SetEnabled(chapters);
  chVIdeoPreview->SetEnabled(HasVideo(input));
  SplitPage->EnableButton(TKvWizardButtonKind::bkNext, true);
}

bool TMainForm::LoadChapters(const WideString& FileName) {
  TMediaInfoFile info(FileName);
  const std::optional<TSplitChapterLists> lists = ReadSplitChapters(info);
  if (!lists) return false;
  Memo1->Lines()->SetText(WideToAnsi(lists->Report));
  SetItems(cbChap, lists->Names);
  SetItems(cbChapVal, lists->Starts);
  SetItems(cbChapVal2, lists->Ends);
  return true;
}

bool TMainForm::HasVideo(const WideString& FileName) {
  TMediaInfoFile info(FileName);
  return MediaHasVideo(info);
}

void TMainForm::SplitChoice(TObject* Sender) {
  auto* button = dynamic_cast<TUniRadioButton*>(Sender);
  if (!button) return;
  const TNamedTexts& t = NamedTexts();
  struct TModeRow {
    std::vector<const WideString*> Hint;
    std::vector<TControl*> Enabled;
  };
  const std::vector<TControl*> all = {edSplitSize, UpDown1, lbMB, edSplitDuration, edSplitFrom, edSplitTo, lbTo, cbChap};
  const TModeRow rows[] = {
      {{&t.Split10, &t.Split11, &t.Split12, &t.Split13, &t.Split14, &t.Split15}, {edSplitSize, UpDown1, lbMB}},
      {{&t.Split20, &t.Split21, &t.Split22, &t.Split23, &t.Split24}, {edSplitDuration}},
      {{&t.Split30, &t.Split31, &t.Split32, &t.Split33, &t.Split34}, {edSplitFrom, edSplitTo, lbTo}},
      {{&t.Split40, &t.Split41}, {cbChap}},
      {{&t.Split50, &t.Split51}, {}},
  };
  const int tag = static_cast<int>(button->Tag);
  if (tag < 0 || tag >= static_cast<int>(std::size(rows))) return;
  const TModeRow& row = rows[tag];
  WideString hint;
  for (const WideString* line : row.Hint) hint += (hint.empty() ? L"" : L"\r\n") + *line;
  UniControl_SetHint(button, hint);
  for (TControl* c : all) {
    const bool mine = std::find(row.Enabled.begin(), row.Enabled.end(), c) != row.Enabled.end();
    c->SetEnabled(mine && button->Checked());
  }
}

// A name typed or pasted into the input box is read as a picked one, once it names a file.
void TMainForm::edSplitInputChange(TObject*) {
  const WideString typed = edSplitInput->Text();
  if (typed != FSplitProbed && WideFileExists(typed)) SplitInputChosen(typed);
}

void TMainForm::cbChapChange(TObject*) {
  cbChapVal->SetItemIndex(cbChap->ItemIndex());
  cbChapVal2->SetItemIndex(cbChap->ItemIndex());
}

void TMainForm::SplitTimeKeyPress(TObject*, char& Key) {
  if (!SplitTimeKey(static_cast<unsigned char>(Key))) Key = 0;
}

void TMainForm::SelectSplitChapter(int Index) {
  for (TUniComboBox* box : {cbChap, cbChapVal, cbChapVal2})
    if (Index < box->Items()->Count()) box->SetItemIndex(Index);
}

TSplitOptions TMainForm::SplitOptionsOfPage() {
  TSplitOptions o;
  o.MP4BoxPath = edMP4Box->Text();
  o.Input = edSplitInput->Text();
  // With no mode checked, the selected chapter is split out once.
  o.Mode = rbSize->Checked()           ? TSplitMode::Size
           : rbDuration->Checked()     ? TSplitMode::Duration
           : rbFrom->Checked()         ? TSplitMode::Range
           : rbSplitChapAll->Checked() ? TSplitMode::AllChapters
                                       : TSplitMode::Chapter;
  o.NoModeChecked = !rbSize->Checked() && !rbDuration->Checked() && !rbFrom->Checked() && !rbSplitChapN->Checked() &&
                    !rbSplitChapAll->Checked();
  o.InputSeconds = FSplitInputSeconds;
  o.Size = edSplitSize->Text();
  o.Duration = edSplitDuration->Text();
  o.From = edSplitFrom->Text();
  o.To = edSplitTo->Text();
  // The chapter modes are disabled for a file without chapters: the lists then still hold
  // the last file's, which must not be cut from this one.
  if (rbSplitChapN->Enabled()) o.Chapters = ChaptersOf(cbChapVal, cbChapVal2);
  o.Chapter = cbChap->ItemIndex();
  o.Verbose = chVerbose->Checked();
  o.Version = MP4BoxVersion();
  return o;
}

void TMainForm::SplitPageNextButtonClick(TObject*, bool& Stop) {
  Stop = true;  // the page changes only when the job starts, and then to the process page
  // A name typed into the input box and not read yet is read now.
  if (edSplitInput->Text() != FSplitProbed && WideFileExists(edSplitInput->Text()))
    SplitInputChosen(edSplitInput->Text());
  const TSplitOptions options = SplitOptionsOfPage();
  TPageJob launch;
  launch.Page = SplitPage;
  launch.Version = options.Version;
  launch.PageRefuses = [&] {
    if (!options.Input.empty() && !WideFileExists(options.Input)) {
      ShowTextNotice(MainTaskDialog, FormatText(NamedTexts().MsgFileNotFound, {options.Input}));
      return true;
    }
    const TSplitRefusal refusal = CheckSplitJob(options);
    if (refusal == TSplitRefusal::None) return false;
    ShowTextNotice(MainTaskDialog, SplitRefusalText(refusal, options));
    return true;
  };
  launch.Files = [&] { return TLaunchFiles{{options.Input}, ExistingSplitParts(options), {}}; };
  launch.Job = [&](bool) { return SplitJobStart(options, [this](int Index) { SelectSplitChapter(Index); }); };
  LaunchPageJob(launch);
}

void TMainForm::chVIdeoPreviewClick(TObject*) {
  ToolBar1->SetEnabled(chVIdeoPreview->Checked());
  if (chVIdeoPreview->Checked() && !edSplitInput->Text().empty())
    WideMessageDlg(L"This is not yet fonctional...sorry", mtInformation, MsgDlgButton(mbOK), 0);
}

void TMainForm::UpDown1Click(TObject*, TUDBtnType) {}

void AddSplitPageHandlers(TMemberTable<TMainForm>& Table) {
  Table.Handler("k", &TMainForm::k)
      .Handler("SplitChoice", &TMainForm::SplitChoice)
      .Handler("cbChapChange", &TMainForm::cbChapChange)
      .Handler("edSplitInputChange", &TMainForm::edSplitInputChange)
      .Handler("edSplitFromKeyPress", &TMainForm::SplitTimeKeyPress)
      .Handler("edSplitToKeyPress", &TMainForm::SplitTimeKeyPress)
      .Handler("edSplitDurationKeyPress", &TMainForm::SplitTimeKeyPress)
      .Handler("SplitPageNextButtonClick", &TMainForm::SplitPageNextButtonClick)
      .Handler("chVIdeoPreviewClick", &TMainForm::chVIdeoPreviewClick)
      .Handler("UpDown1Click", &TMainForm::UpDown1Click);
}
