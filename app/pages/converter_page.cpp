// The converter page: the input classified by its kind (a SubRip or TTXT file, an AVI file
// whose video is H.264), the frame-rate key filter, and Next, which starts the conversion
// job. The commands are the logic's (app/commands/convert_command).
#include "app/commands/convert_command.h"
#include "app/commands/mux_job.h"
#include "app/forms/main_form.h"
#include "app/media/avi_h264.h"
#include "app/media/input_problems.h"
#include "app/media/track_options.h"
#include "app/ui/key_filter.h"
#include "app/ui/task_dialog_presets.h"
#include "widetext/filenames.h"

namespace {

const wchar_t* const ConverterFilter =
    L"All Files supported (*.*)|*.avi;*.srt;*.ttxt|AVI Files (*.avi)|*.avi|SubRip Files (*.srt)|*.srt|GPAC Text "
    L"Files (*.ttxt)|*.ttxt";

}  // namespace

void TMainForm::UniImage23Click(TObject*) {
  // A cancelled dialog leaves the page as it was.
  if (const WideString chosen = PickInputFile("ConverterInput", ConverterFilter, L"avi"); !chosen.empty())
    ConverterInputChosen(chosen);
}

void TMainForm::ConverterInputChosen(const WideString& FileName) {
  edConvInput->SetText(FileName);
  AddLogLine(WideExtractFileName(FileName) + L" loaded.");
  const TConvertTarget target = ConvertTargetOf(FileName);
  rbTTXT->SetChecked(target == TConvertTarget::ToTTXT);
  rbSRT->SetChecked(target == TConvertTarget::ToSRT);
  rbSRT->SetEnabled(target != TConvertTarget::ToTTXT);
  rbTTXT->SetEnabled(target != TConvertTarget::ToSRT);
  // The radio buttons show the target; they are not the user's to change.
  gbSub->SetEnabled(!gbAVIOptions->Enabled());
  if (target != TConvertTarget::AviToMP4) {
    ConverterPage->EnableButton(TKvWizardButtonKind::bkNext, true);
    return;
  }
  if (const WideString problem = InputProblemText(FileName); !problem.empty()) {
    AddLogLine(problem);
    ShowTextNotice(MainTaskDialog, problem);
    edConvInput->SetText(L"");
    ConverterPage->EnableButton(TKvWizardButtonKind::bkNext, false);
    return;
  }
  TMediaInfoFile info(FileName);
  if (IsAviH264Video(info, 0)) {
    edFrameRate->SetText(info.Get(TStreamKind::Video, 0, L"FrameRate"));
    AddLogLine(L"Video Frame-Rate detected: " + edFrameRate->Text() + L" fps");
    ConverterPage->EnableButton(TKvWizardButtonKind::bkNext, true);
    return;
  }
  ShowCompatibilityNotice(MainTaskDialog, 0);
  edConvInput->SetText(L"");
  // Nothing is left to convert.
  ConverterPage->EnableButton(TKvWizardButtonKind::bkNext, false);
}

void TMainForm::edFrameRateKeyPress(TObject* Sender, char& Key) {
  const WideString text = static_cast<TUniEdit*>(Sender)->Text();
  FilterKey(Key, [&](wchar_t k) { return PropertiesNumberKey(k, text, false, LocaleDecimalSeparator()); });
}

void TMainForm::ConverterPageNextButtonClick(TObject*, bool& Stop) {
  Stop = true;  // the page changes only when the job starts, and then to the process page
  TConvertRequest request;
  request.MP4BoxPath = edMP4Box->Text();
  request.Input = edConvInput->Text();
  request.Target = ConvertTargetOf(request.Input);
  request.FrameRate = edFrameRate->Text();
  request.Verbose = chVerbose->Checked();
  request.Version = MP4BoxVersion();
  TPageJob launch;
  launch.Page = ConverterPage;
  launch.Version = request.Version;
  launch.PageRefuses = [&] { return request.Input.empty(); };  // Next is enabled only with an input
  launch.Files = [&] {
    TLaunchFiles files{{request.Input}, {ConversionOutput(request)}, {}};
    // An AVI conversion names its new file, and writes (then deletes) the raw stream beside it.
    if (request.Target == TConvertTarget::AviToMP4) {
      files.Outputs.push_back(ConversionRawStream(request));
      files.NamedOutputs = {ConversionOutput(request)};
    }
    return files;
  };
  launch.Job = [&](bool Replace) {
    request.ReplaceOutput = Replace;
    return ConvertJobStart(request);
  };
  LaunchPageJob(launch);
}

void AddConverterPageHandlers(TMemberTable<TMainForm>& Table) {
  Table.Handler("UniImage23Click", &TMainForm::UniImage23Click)
      .Handler("edFrameRateKeyPress", &TMainForm::edFrameRateKeyPress)
      .Handler("ConverterPageNextButtonClick", &TMainForm::ConverterPageNextButtonClick);
}
