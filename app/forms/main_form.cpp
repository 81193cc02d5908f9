#include "app/forms/main_form.h"

#include "dialogs/dialog_classes.h"
#include "desktop/desktop_controls.h"
#include "explorer/explorer_controls.h"
#include "vcl/dialogs.h"
#include "vcl/extctrls.h"
#include "vcl/progressbar.h"
#include "vcl/streaming.h"
#include "widetext/uni_page_control.h"
#include "widetext/uni_picture_dialog.h"
#include "wizard/thumbnail_view.h"
// Last: DirectShow's headers define macros that clash with names above.
#include "preview/filter_graph.h"
#include "preview/video_window.h"

TMainForm* MainForm = nullptr;

namespace {

const TClassMembers& MainFormMembers() {
  static const TClassMembers members = [] {
    TMemberTable<TMainForm> table;
    table
      .Field("MainImages", &TMainForm::MainImages)
      .Field("PreviewImages", &TMainForm::PreviewImages)
      .Field("CreationImages", &TMainForm::CreationImages)
      .Field("EditionImages", &TMainForm::EditionImages)
      .Field("SettingsImages", &TMainForm::SettingsImages)
      .Field("StatusImages", &TMainForm::StatusImages)
      .Field("MainTaskDialog", &TMainForm::MainTaskDialog)
      .Field("OpenDirDialog1", &TMainForm::OpenDirDialog1)
      .Field("FileDropTarget", &TMainForm::FileDropTarget)
      .Field("FilterGraph", &TMainForm::FilterGraph)
      .Field("DosCommand", &TMainForm::DosCommand)
      .Field("Timer1", &TMainForm::Timer1)
      .Field("OpenDialog", &TMainForm::OpenDialog)
      .Field("SaveDialog", &TMainForm::SaveDialog)
      .Field("InfoSaveDialog", &TMainForm::InfoSaveDialog)
      .Field("InfoPopupMenu", &TMainForm::InfoPopupMenu)
      .Field("SaveInfosas1", &TMainForm::SaveInfosas1)
      .Field("KavoForm1", &TMainForm::KavoForm1)
      .Field("MP4BoxForm1", &TMainForm::MP4BoxForm1)
      .Field("Full1", &TMainForm::Full1)
      .Field("ByTrack1", &TMainForm::ByTrack1)
      .Field("PopupMenu1", &TMainForm::PopupMenu1)
      .Field("Index1", &TMainForm::Index1)
      .Field("Indexation", &TMainForm::Indexation)
      .Field("Description1", &TMainForm::Description1)
      .Field("Name1", &TMainForm::Name1)
      .Field("Language1", &TMainForm::Language1)
      .Field("FPS", &TMainForm::FPS)
      .Field("ype1", &TMainForm::ype1)
      .Field("BrandName1", &TMainForm::BrandName1)
      .Field("PAR1", &TMainForm::PAR1)
      .Field("Delay1", &TMainForm::Delay1)
      .Field("TagPopupMenu", &TMainForm::TagPopupMenu)
      .Field("Name2", &TMainForm::Name2)
      .Field("timing", &TMainForm::timing)
      .Field("Artist1", &TMainForm::Artist1)
      .Field("Album1", &TMainForm::Album1)
      .Field("Year1", &TMainForm::Year1)
      .Field("Genre1", &TMainForm::Genre1)
      .Field("LogPopupMenu", &TMainForm::LogPopupMenu)
      .Field("ViewLogFile1", &TMainForm::ViewLogFile1)
      .Field("Memo1", &TMainForm::Memo1)
      .Field("Memo2", &TMainForm::Memo2)
      .Field("Wizard", &TMainForm::Wizard)
      .Field("Page1", &TMainForm::Page1)
      .Field("MainList", &TMainForm::MainList)
      .Field("CreationList", &TMainForm::CreationList)
      .Field("EditionList", &TMainForm::EditionList)
      .Field("SettingsList", &TMainForm::SettingsList)
      .Field("AboutPanel", &TMainForm::AboutPanel)
      .Field("gbAbout", &TMainForm::gbAbout)
      .Field("lbTitle", &TMainForm::lbTitle)
      .Field("lbCredit", &TMainForm::lbCredit)
      .Field("lbLinks", &TMainForm::lbLinks)
      .Field("lbMP4Box", &TMainForm::lbMP4Box)
      .Field("imMP4Box", &TMainForm::imMP4Box)
      .Field("lbAP", &TMainForm::lbAP)
      .Field("imAP", &TMainForm::imAP)
      .Field("lbMP4Tags", &TMainForm::lbMP4Tags)
      .Field("imMP4Tags", &TMainForm::imMP4Tags)
      .Field("lbKavo", &TMainForm::lbKavo)
      .Field("imKavo", &TMainForm::imKavo)
      .Field("lbThanks", &TMainForm::lbThanks)
      .Field("lbMediaInfo", &TMainForm::lbMediaInfo)
      .Field("imMediaInfo", &TMainForm::imMediaInfo)
      .Field("lbKVCL", &TMainForm::lbKVCL)
      .Field("imKVCL", &TMainForm::imKVCL)
      .Field("lbKDE", &TMainForm::lbKDE)
      .Field("imKDE", &TMainForm::imKDE)
      .Field("lbYou", &TMainForm::lbYou)
      .Field("lbMail", &TMainForm::lbMail)
      .Field("imMail", &TMainForm::imMail)
      .Field("SettingsPage", &TMainForm::SettingsPage)
      .Field("WHeaderSettingsPage", &TMainForm::WHeaderSettingsPage)
      .Field("SettingsView", &TMainForm::SettingsView)
      .Field("gbMP4Box", &TMainForm::gbMP4Box)
      .Field("lbMP4BoxLocation", &TMainForm::lbMP4BoxLocation)
      .Field("edMP4Box", &TMainForm::edMP4Box)
      .Field("UniImage13", &TMainForm::UniImage13)
      .Field("lbTempDir", &TMainForm::lbTempDir)
      .Field("edTemp", &TMainForm::edTemp)
      .Field("UniImage26", &TMainForm::UniImage26)
      .Field("chOverWrite", &TMainForm::chOverWrite)
      .Field("chKeepSys", &TMainForm::chKeepSys)
      .Field("chFlat", &TMainForm::chFlat)
      .Field("chVerbose", &TMainForm::chVerbose)
      .Field("chTaggerorNot", &TMainForm::chTaggerorNot)
      .Field("gbTagger", &TMainForm::gbTagger)
      .Field("lbTaggerLocation", &TMainForm::lbTaggerLocation)
      .Field("edTagger", &TMainForm::edTagger)
      .Field("UniImage14", &TMainForm::UniImage14)
      .Field("gbKavo", &TMainForm::gbKavo)
      .Field("lbProcess", &TMainForm::lbProcess)
      .Field("cbPriority", &TMainForm::cbPriority)
      .Field("lbLang", &TMainForm::lbLang)
      .Field("cbLang", &TMainForm::cbLang)
      .Field("chEnableOnFinish", &TMainForm::chEnableOnFinish)
      .Field("chKavoLog", &TMainForm::chKavoLog)
      .Field("chOutputLog", &TMainForm::chOutputLog)
      .Field("chiTunesStyle", &TMainForm::chiTunesStyle)
      .Field("chWarningAVC", &TMainForm::chWarningAVC)
      .Field("MuxPage", &TMainForm::MuxPage)
      .Field("WHeaderMuxPage", &TMainForm::WHeaderMuxPage)
      .Field("gbInput", &TMainForm::gbInput)
      .Field("MP4ListView", &TMainForm::MP4ListView)
      .Field("btAdd", &TMainForm::btAdd)
      .Field("btDelete", &TMainForm::btDelete)
      .Field("btMoveUp", &TMainForm::btMoveUp)
      .Field("btMoveDown", &TMainForm::btMoveDown)
      .Field("btProperties", &TMainForm::btProperties)
      .Field("gbMP4Output", &TMainForm::gbMP4Output)
      .Field("edMP4Output", &TMainForm::edMP4Output)
      .Field("btMP4Output", &TMainForm::btMP4Output)
      .Field("More", &TMainForm::More)
      .Field("Less", &TMainForm::Less)
      .Field("lbSplitat", &TMainForm::lbSplitat)
      .Field("cbSplitOut", &TMainForm::cbSplitOut)
      .Field("lbCompliance", &TMainForm::lbCompliance)
      .Field("cbCompliance", &TMainForm::cbCompliance)
      .Field("chHint", &TMainForm::chHint)
      .Field("chVFR", &TMainForm::chVFR)
      .Field("ProcessPage", &TMainForm::ProcessPage)
      .Field("WHeaderProcessPage", &TMainForm::WHeaderProcessPage)
      .Field("gbRunningProcess", &TMainForm::gbRunningProcess)
      .Field("lbCurrentStatus", &TMainForm::lbCurrentStatus)
      .Field("ProgressBar", &TMainForm::ProgressBar)
      .Field("lbPercent", &TMainForm::lbPercent)
      .Field("lbTime", &TMainForm::lbTime)
      .Field("lbTimeRemaining", &TMainForm::lbTimeRemaining)
      .Field("ETAListView", &TMainForm::ETAListView)
      .Field("btAbort", &TMainForm::btAbort)
      .Field("SplitPage", &TMainForm::SplitPage)
      .Field("WizardHeaderSplitPage", &TMainForm::WizardHeaderSplitPage)
      .Field("gbSplitInput", &TMainForm::gbSplitInput)
      .Field("edSplitInput", &TMainForm::edSplitInput)
      .Field("UniImage18", &TMainForm::UniImage18)
      .Field("gbSplitOptions", &TMainForm::gbSplitOptions)
      .Field("chVIdeoPreview", &TMainForm::chVIdeoPreview)
      .Field("ToolBar1", &TMainForm::ToolBar1)
      .Field("ToolButton6", &TMainForm::ToolButton6)
      .Field("ToolButton2", &TMainForm::ToolButton2)
      .Field("ToolButton1", &TMainForm::ToolButton1)
      .Field("ToolButton7", &TMainForm::ToolButton7)
      .Field("Playbt", &TMainForm::Playbt)
      .Field("Pausebt", &TMainForm::Pausebt)
      .Field("Stopbt", &TMainForm::Stopbt)
      .Field("ToolButton10", &TMainForm::ToolButton10)
      .Field("ToolButton11", &TMainForm::ToolButton11)
      .Field("VideoWindowEx1", &TMainForm::VideoWindowEx1)
      .Field("VideoTrackBar", &TMainForm::VideoTrackBar)
      .Field("rbSize", &TMainForm::rbSize)
      .Field("edSplitSize", &TMainForm::edSplitSize)
      .Field("UpDown1", &TMainForm::UpDown1)
      .Field("lbMB", &TMainForm::lbMB)
      .Field("rbDuration", &TMainForm::rbDuration)
      .Field("edSplitDuration", &TMainForm::edSplitDuration)
      .Field("rbFrom", &TMainForm::rbFrom)
      .Field("edSplitFrom", &TMainForm::edSplitFrom)
      .Field("lbTo", &TMainForm::lbTo)
      .Field("edSplitTo", &TMainForm::edSplitTo)
      .Field("rbSplitChapN", &TMainForm::rbSplitChapN)
      .Field("cbChap", &TMainForm::cbChap)
      .Field("cbChapVal", &TMainForm::cbChapVal)
      .Field("cbChapVal2", &TMainForm::cbChapVal2)
      .Field("rbSplitChapAll", &TMainForm::rbSplitChapAll)
      .Field("ConcatPage", &TMainForm::ConcatPage)
      .Field("WizardHeaderConcatPage", &TMainForm::WizardHeaderConcatPage)
      .Field("gbConcInput", &TMainForm::gbConcInput)
      .Field("ConcListView", &TMainForm::ConcListView)
      .Field("btConcAdd", &TMainForm::btConcAdd)
      .Field("btConcRemove", &TMainForm::btConcRemove)
      .Field("btConcMoveUp", &TMainForm::btConcMoveUp)
      .Field("btConcMoveDown", &TMainForm::btConcMoveDown)
      .Field("btConcProp", &TMainForm::btConcProp)
      .Field("gbConcOutput", &TMainForm::gbConcOutput)
      .Field("edConcOutput", &TMainForm::edConcOutput)
      .Field("btConcBrowse", &TMainForm::btConcBrowse)
      .Field("More2", &TMainForm::More2)
      .Field("Less2", &TMainForm::Less2)
      .Field("lbConcOutput", &TMainForm::lbConcOutput)
      .Field("cbOutputFormat", &TMainForm::cbOutputFormat)
      .Field("lbCompliance2", &TMainForm::lbCompliance2)
      .Field("cbCompliance2", &TMainForm::cbCompliance2)
      .Field("ExtractPage", &TMainForm::ExtractPage)
      .Field("WHeaderExtractPage", &TMainForm::WHeaderExtractPage)
      .Field("gbExtractInput", &TMainForm::gbExtractInput)
      .Field("edExtractInput", &TMainForm::edExtractInput)
      .Field("UniImage21", &TMainForm::UniImage21)
      .Field("gbContent", &TMainForm::gbContent)
      .Field("ExtractListView", &TMainForm::ExtractListView)
      .Field("gbExtractOptions", &TMainForm::gbExtractOptions)
      .Field("rbRaw", &TMainForm::rbRaw)
      .Field("rbMP4", &TMainForm::rbMP4)
      .Field("rbAVI", &TMainForm::rbAVI)
      .Field("rbRawAll", &TMainForm::rbRawAll)
      .Field("ConverterPage", &TMainForm::ConverterPage)
      .Field("WHeaderOneClickConv", &TMainForm::WHeaderOneClickConv)
      .Field("gbConverterInput", &TMainForm::gbConverterInput)
      .Field("edConvInput", &TMainForm::edConvInput)
      .Field("UniImage23", &TMainForm::UniImage23)
      .Field("gbSub", &TMainForm::gbSub)
      .Field("rbSRT", &TMainForm::rbSRT)
      .Field("rbTTXT", &TMainForm::rbTTXT)
      .Field("gbAVIOptions", &TMainForm::gbAVIOptions)
      .Field("lbFrameRate", &TMainForm::lbFrameRate)
      .Field("edFrameRate", &TMainForm::edFrameRate)
      .Field("AVIConverterText", &TMainForm::AVIConverterText)
      .Field("TagPage", &TMainForm::TagPage)
      .Field("WHeaderTagPage", &TMainForm::WHeaderTagPage)
      .Field("ShDirTree1", &TMainForm::ShDirTree1)
      .Field("FilesTagList", &TMainForm::FilesTagList)
      .Field("TagPanel", &TMainForm::TagPanel)
      .Field("UniImage25", &TMainForm::UniImage25)
      .Field("UniStaticText1", &TMainForm::UniStaticText1)
      .Field("lbTagName", &TMainForm::lbTagName)
      .Field("edName", &TMainForm::edName)
      .Field("lbTagArtist", &TMainForm::lbTagArtist)
      .Field("edArtist", &TMainForm::edArtist)
      .Field("lbTagAlbum", &TMainForm::lbTagAlbum)
      .Field("edAlbum", &TMainForm::edAlbum)
      .Field("lbTagYear", &TMainForm::lbTagYear)
      .Field("edYear", &TMainForm::edYear)
      .Field("lbTagDuration", &TMainForm::lbTagDuration)
      .Field("edDuration", &TMainForm::edDuration)
      .Field("lbTagGenre", &TMainForm::lbTagGenre)
      .Field("cbGenre", &TMainForm::cbGenre)
      .Field("spbt1", &TMainForm::spbt1)
      .Field("dpbt2", &TMainForm::dpbt2)
      .Field("btTagMore", &TMainForm::btTagMore)
      .Field("edPic", &TMainForm::edPic)
      .Field("OpenPictureDiag", &TMainForm::OpenPictureDiag)
      ;
    AddStartupHandlers(table);
    AddWelcomePageHandlers(table);
    AddMuxPageHandlers(table);
    AddSplitPageHandlers(table);
    AddSettingsPageHandlers(table);
    AddAboutPageHandlers(table);
    AddLanguageHandlers(table);
    AddProcessPageHandlers(table);
    AddConcatPageHandlers(table);
    AddOutputPanelHandlers(table);
    AddTrackListColumnHandlers(table);
    AddStreamInfoHandlers(table);
    AddDroppedFilesHandlers(table);
    AddExtractPageHandlers(table);
    AddConverterPageHandlers(table);
    AddTagPageHandlers(table);
    return table.Table();
  }();
  return members;
}

}  // namespace

VCL_CLASS_IMPL_MEMBERS(TMainForm, TUniForm, nullptr, nullptr, &MainFormMembers)

void RegisterProgramClasses() {
  static const bool done = [] {
    RegisterStdControls();
    RegisterExtControls();
    RegisterButtonControls();
    RegisterUpDownControl();
    RegisterToolBarControls();
    RegisterTrackBarControl();
    RegisterProgressBar();
    RegisterImageLists();
    RegisterDialogs();
    RegisterTreeViewControls();
    RegisterPageControls();
    RegisterUniEditControls();
    RegisterUniLabelControls();
    RegisterUniButtonControls();
    RegisterUniPanelControls();
    RegisterUniListViews();
    RegisterUniMenuClasses();
    RegisterUniPageControls();
    RegisterUniProgressBar();
    RegisterUniTreeView();
    RegisterWizardControls();
    RegisterWizardHeader();
    RegisterThumbnailClasses();
    RegisterDialogClasses();
    RegisterDesktopControls();
    RegisterPreviewClasses();
    RegisterExplorerControls();
    RegisterClasses({TTimer::StaticClass(), TDosCommand::StaticClass(), TUniOpenDialog::StaticClass(),
                     TUniSaveDialog::StaticClass(), TUniOpenPictureDialog::StaticClass()});
    return true;
  }();
  (void)done;
}

TMainForm::TMainForm(TComponent* AOwner) : TUniForm(AOwner) { RegisterProgramClasses(); }

TMainForm::~TMainForm() {
  // No row reaches the list once the window is going.
  EndTagReading();
  if (MainForm == this) MainForm = nullptr;
}

void TMainForm::Loaded() {
  TUniForm::Loaded();
  MainForm = this;
}
