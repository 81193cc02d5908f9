// The program's main window: the wizard with every page, read from forms/MainForm.dfm.
// The fields are the components of the description, grouped by page; the handlers live in
// app/pages/, one file per page, and each page file lists its own handlers for the form
// reader (Add...Handlers below).
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "app/commands/itags_argument.h"
#include "app/commands/join_command.h"
#include "app/commands/mux_command.h"
#include "app/commands/mux_job.h"
#include "app/commands/split_command.h"
#include "app/jobs/job_launch.h"
#include "app/jobs/job_sequencer.h"
#include "app/jobs/run_log.h"
#include "app/jobs/tool_version_query.h"
#include "app/media/tag_folder_reader.h"
#include "app/pages/properties_dialog.h"
#include "app/settings/settings_file.h"
#include "desktop/image_list_box.h"
#include "dialogs/file_drop_target.h"
#include "dialogs/open_dir_dialog.h"
#include "dialogs/uni_task_dialog.h"
#include "runner/dos_command.h"
#include "vcl/comctrls_toolbar.h"
#include "vcl/comctrls_trackbar.h"
#include "vcl/comctrls_updown.h"
#include "vcl/imglist.h"
#include "vcl/stdctrls.h"
#include "vcl/strings.h"
#include "vcl/timers.h"
#include "vcl/typinfo.h"
#include "widetext/uni_buttons.h"
#include "widetext/uni_combo_box.h"
#include "widetext/uni_edits.h"
#include "widetext/uni_file_dialogs.h"
#include "widetext/uni_forms.h"
#include "widetext/uni_labels.h"
#include "widetext/uni_list_view.h"
#include "widetext/uni_menus.h"
#include "widetext/uni_panels.h"
#include "widetext/uni_progress_bar.h"
#include "widetext/uni_tree_view.h"
#include "wizard/page_header.h"
#include "wizard/wizard_control.h"

// The preview's headers bring DirectShow's, whose macros clash with the tree view's names;
// only the files that drive the preview include them.
class TFilterGraph;
class TVideoWindowEx;
class TUniOpenPictureDialog;

// A task page's job as its Next hands it to the launcher (pages/job_launcher.cpp).
struct TPageJob {
  TKvWizardInteriorPage* Page = nullptr;  // where a refused job leaves the user
  TMP4BoxVersion Version;                 // of the MP4Box that writes the outputs
  // The page's own checks, after the tool's: true when the page refused (and said why).
  std::function<bool()> PageRefuses;
  // The files the job reads and writes, asked once the page's checks have passed.
  std::function<TLaunchFiles()> Files;
  // The job, told whether outputs that exist are to be replaced.
  std::function<TJobStart(bool Replace)> Job;
  // The user's yes to replacing also turns the overwrite setting on (the mux and join pages).
  bool YesTurnsOverwriteOn = false;
  std::function<void()> Started;  // the page's log lines once the job runs
};

class TMainForm : public TUniForm {
  VCL_CLASS(TMainForm)
 public:
  explicit TMainForm(TComponent* AOwner);
  ~TMainForm() override;

  // --- the form and its components without a window ---
  TImageList* MainImages = nullptr;    // the welcome list's area icons (32 x 32)
  TImageList* PreviewImages = nullptr;  // the preview tool bar's pictures (16 x 16)
  TImageList* CreationImages = nullptr;  // the task lists' icons (32 x 32), one list each
  TImageList* EditionImages = nullptr;
  TImageList* SettingsImages = nullptr;
  TImageList* StatusImages = nullptr;  // the status rows' icons (16 x 16)
  TUniTaskDialog* MainTaskDialog = nullptr;
  TOpenDirDialog* OpenDirDialog1 = nullptr;
  TFileDropTarget* FileDropTarget = nullptr;
  TFilterGraph* FilterGraph = nullptr;
  TDosCommand* DosCommand = nullptr;
  TTimer* Timer1 = nullptr;
  TUniOpenDialog* OpenDialog = nullptr;
  TUniSaveDialog* SaveDialog = nullptr;
  TUniSaveDialog* InfoSaveDialog = nullptr;
  TUniPopupMenu* InfoPopupMenu = nullptr;
  TUniMenuItem* SaveInfosas1 = nullptr;
  TUniMenuItem* KavoForm1 = nullptr;
  TUniMenuItem* MP4BoxForm1 = nullptr;
  TUniMenuItem* Full1 = nullptr;
  TUniMenuItem* ByTrack1 = nullptr;
  TUniPopupMenu* PopupMenu1 = nullptr;  // the track lists' column menu
  TUniMenuItem* Index1 = nullptr;
  TUniMenuItem* Indexation = nullptr;
  TUniMenuItem* Description1 = nullptr;
  TUniMenuItem* Name1 = nullptr;
  TUniMenuItem* Language1 = nullptr;
  TUniMenuItem* FPS = nullptr;
  TUniMenuItem* ype1 = nullptr;
  TUniMenuItem* BrandName1 = nullptr;
  TUniMenuItem* PAR1 = nullptr;
  TUniMenuItem* Delay1 = nullptr;
  TUniPopupMenu* TagPopupMenu = nullptr;
  TUniMenuItem* Name2 = nullptr;
  TUniMenuItem* timing = nullptr;
  TUniMenuItem* Artist1 = nullptr;
  TUniMenuItem* Album1 = nullptr;
  TUniMenuItem* Year1 = nullptr;
  TUniMenuItem* Genre1 = nullptr;
  TUniPopupMenu* LogPopupMenu = nullptr;
  TUniMenuItem* ViewLogFile1 = nullptr;
  TMemo* Memo1 = nullptr;  // chapter text of the current file (hidden)
  TMemo* Memo2 = nullptr;  // output of a stream-information run (hidden)

  TKvWizard* Wizard = nullptr;

  // --- welcome page ---
  TKvWizardWelcomePage* Page1 = nullptr;
  TUniListView* MainList = nullptr;
  TdkImageListBox* CreationList = nullptr;
  TdkImageListBox* EditionList = nullptr;
  TdkImageListBox* SettingsList = nullptr;
  TUniPanel* AboutPanel = nullptr;
  TUniGroupBox* gbAbout = nullptr;
  TUniLabel* lbTitle = nullptr;
  TUniLabel* lbCredit = nullptr;
  TUniLabel* lbLinks = nullptr;
  TUniLabel* lbMP4Box = nullptr;
  TUniImage* imMP4Box = nullptr;
  TUniLabel* lbAP = nullptr;
  TUniImage* imAP = nullptr;
  TUniLabel* lbMP4Tags = nullptr;
  TUniImage* imMP4Tags = nullptr;
  TUniLabel* lbKavo = nullptr;
  TUniImage* imKavo = nullptr;
  TUniLabel* lbThanks = nullptr;
  TUniLabel* lbMediaInfo = nullptr;
  TUniImage* imMediaInfo = nullptr;
  TUniLabel* lbKVCL = nullptr;
  TUniImage* imKVCL = nullptr;
  TUniLabel* lbKDE = nullptr;
  TUniImage* imKDE = nullptr;
  TUniLabel* lbYou = nullptr;
  TUniLabel* lbMail = nullptr;
  TUniImage* imMail = nullptr;

  // --- settings page ---
  TKvWizardInteriorPage* SettingsPage = nullptr;
  TKvgWizardHeader* WHeaderSettingsPage = nullptr;
  TUniTreeView* SettingsView = nullptr;
  TUniGroupBox* gbMP4Box = nullptr;
  TUniLabel* lbMP4BoxLocation = nullptr;
  TUniEdit* edMP4Box = nullptr;
  TUniImage* UniImage13 = nullptr;
  TUniLabel* lbTempDir = nullptr;
  TUniEdit* edTemp = nullptr;
  TUniImage* UniImage26 = nullptr;
  TUniCheckBox* chOverWrite = nullptr;
  TUniCheckBox* chKeepSys = nullptr;
  TUniCheckBox* chFlat = nullptr;
  TUniCheckBox* chVerbose = nullptr;
  TUniCheckBox* chTaggerorNot = nullptr;
  TUniGroupBox* gbTagger = nullptr;
  TUniLabel* lbTaggerLocation = nullptr;
  TUniEdit* edTagger = nullptr;
  TUniImage* UniImage14 = nullptr;
  TUniGroupBox* gbKavo = nullptr;
  TUniLabel* lbProcess = nullptr;
  TUniComboBox* cbPriority = nullptr;
  TUniLabel* lbLang = nullptr;
  TUniComboBox* cbLang = nullptr;
  TUniCheckBox* chEnableOnFinish = nullptr;
  TUniCheckBox* chKavoLog = nullptr;
  TUniCheckBox* chOutputLog = nullptr;
  TUniCheckBox* chiTunesStyle = nullptr;
  TUniCheckBox* chWarningAVC = nullptr;

  // --- mux page ---
  TKvWizardInteriorPage* MuxPage = nullptr;
  TKvgWizardHeader* WHeaderMuxPage = nullptr;
  TUniGroupBox* gbInput = nullptr;
  TUniListView* MP4ListView = nullptr;
  TUniButton* btAdd = nullptr;
  TUniButton* btDelete = nullptr;
  TUniButton* btMoveUp = nullptr;
  TUniButton* btMoveDown = nullptr;
  TUniButton* btProperties = nullptr;
  TUniGroupBox* gbMP4Output = nullptr;
  TUniEdit* edMP4Output = nullptr;
  TUniButton* btMP4Output = nullptr;
  TUniImage* More = nullptr;
  TUniImage* Less = nullptr;
  TUniLabel* lbSplitat = nullptr;
  TUniComboBox* cbSplitOut = nullptr;
  TUniLabel* lbCompliance = nullptr;
  TUniComboBox* cbCompliance = nullptr;
  TUniCheckBox* chHint = nullptr;
  TUniCheckBox* chVFR = nullptr;

  // --- process page ---
  TKvWizardInteriorPage* ProcessPage = nullptr;
  TKvgWizardHeader* WHeaderProcessPage = nullptr;
  TUniGroupBox* gbRunningProcess = nullptr;
  TUniLabel* lbCurrentStatus = nullptr;
  TUniProgressBar* ProgressBar = nullptr;
  TUniLabel* lbPercent = nullptr;
  TUniLabel* lbTime = nullptr;
  TUniLabel* lbTimeRemaining = nullptr;
  TUniListView* ETAListView = nullptr;
  TUniButton* btAbort = nullptr;

  // --- split page ---
  TKvWizardInteriorPage* SplitPage = nullptr;
  TKvgWizardHeader* WizardHeaderSplitPage = nullptr;
  TUniGroupBox* gbSplitInput = nullptr;
  TUniEdit* edSplitInput = nullptr;
  TUniImage* UniImage18 = nullptr;
  TUniGroupBox* gbSplitOptions = nullptr;
  TUniCheckBox* chVIdeoPreview = nullptr;
  TToolBar* ToolBar1 = nullptr;
  TToolButton* ToolButton6 = nullptr;
  TToolButton* ToolButton2 = nullptr;
  TToolButton* ToolButton1 = nullptr;
  TToolButton* ToolButton7 = nullptr;
  TToolButton* Playbt = nullptr;
  TToolButton* Pausebt = nullptr;
  TToolButton* Stopbt = nullptr;
  TToolButton* ToolButton10 = nullptr;
  TToolButton* ToolButton11 = nullptr;
  TVideoWindowEx* VideoWindowEx1 = nullptr;
  TTrackBar* VideoTrackBar = nullptr;
  TUniRadioButton* rbSize = nullptr;
  TUniEdit* edSplitSize = nullptr;
  TUpDown* UpDown1 = nullptr;
  TUniLabel* lbMB = nullptr;
  TUniRadioButton* rbDuration = nullptr;
  TUniEdit* edSplitDuration = nullptr;
  TUniRadioButton* rbFrom = nullptr;
  TUniEdit* edSplitFrom = nullptr;
  TUniLabel* lbTo = nullptr;
  TUniEdit* edSplitTo = nullptr;
  TUniRadioButton* rbSplitChapN = nullptr;
  TUniComboBox* cbChap = nullptr;
  TUniComboBox* cbChapVal = nullptr;
  TUniComboBox* cbChapVal2 = nullptr;
  TUniRadioButton* rbSplitChapAll = nullptr;

  // --- concatenation page ---
  TKvWizardInteriorPage* ConcatPage = nullptr;
  TKvgWizardHeader* WizardHeaderConcatPage = nullptr;
  TUniGroupBox* gbConcInput = nullptr;
  TUniListView* ConcListView = nullptr;
  TUniButton* btConcAdd = nullptr;
  TUniButton* btConcRemove = nullptr;
  TUniButton* btConcMoveUp = nullptr;
  TUniButton* btConcMoveDown = nullptr;
  TUniButton* btConcProp = nullptr;
  TUniGroupBox* gbConcOutput = nullptr;
  TUniEdit* edConcOutput = nullptr;
  TUniButton* btConcBrowse = nullptr;
  TUniImage* More2 = nullptr;
  TUniImage* Less2 = nullptr;
  TUniLabel* lbConcOutput = nullptr;
  TUniComboBox* cbOutputFormat = nullptr;
  TUniLabel* lbCompliance2 = nullptr;
  TUniComboBox* cbCompliance2 = nullptr;

  // --- extract page ---
  TKvWizardInteriorPage* ExtractPage = nullptr;
  TKvgWizardHeader* WHeaderExtractPage = nullptr;
  TUniGroupBox* gbExtractInput = nullptr;
  TUniEdit* edExtractInput = nullptr;
  TUniImage* UniImage21 = nullptr;
  TUniGroupBox* gbContent = nullptr;
  TUniListView* ExtractListView = nullptr;
  TUniGroupBox* gbExtractOptions = nullptr;
  TUniRadioButton* rbRaw = nullptr;
  TUniRadioButton* rbMP4 = nullptr;
  TUniRadioButton* rbAVI = nullptr;
  TUniRadioButton* rbRawAll = nullptr;

  // --- converter page ---
  TKvWizardInteriorPage* ConverterPage = nullptr;
  TKvgWizardHeader* WHeaderOneClickConv = nullptr;
  TUniGroupBox* gbConverterInput = nullptr;
  TUniEdit* edConvInput = nullptr;
  TUniImage* UniImage23 = nullptr;
  TUniGroupBox* gbSub = nullptr;
  TUniRadioButton* rbSRT = nullptr;
  TUniRadioButton* rbTTXT = nullptr;
  TUniGroupBox* gbAVIOptions = nullptr;
  TUniLabel* lbFrameRate = nullptr;
  TUniEdit* edFrameRate = nullptr;
  TUniStaticText* AVIConverterText = nullptr;

  // --- tag page ---
  TKvWizardInteriorPage* TagPage = nullptr;
  TKvgWizardHeader* WHeaderTagPage = nullptr;
  // A TShDirTree: the explorer's headers cannot share a file with the wide file dialogs'
  // (both name a class TFileTypeItem), so the form holds it by its tree view base.
  TUniCustomTreeView* ShDirTree1 = nullptr;
  TUniListView* FilesTagList = nullptr;
  TUniPanel* TagPanel = nullptr;
  TUniImage* UniImage25 = nullptr;
  TUniStaticText* UniStaticText1 = nullptr;
  TUniLabel* lbTagName = nullptr;
  TUniEdit* edName = nullptr;
  TUniLabel* lbTagArtist = nullptr;
  TUniEdit* edArtist = nullptr;
  TUniLabel* lbTagAlbum = nullptr;
  TUniEdit* edAlbum = nullptr;
  TUniLabel* lbTagYear = nullptr;
  TUniEdit* edYear = nullptr;
  TUniLabel* lbTagDuration = nullptr;
  TUniEdit* edDuration = nullptr;
  TUniLabel* lbTagGenre = nullptr;
  TUniComboBox* cbGenre = nullptr;
  TUniSpeedButton* spbt1 = nullptr;
  TUniSpeedButton* dpbt2 = nullptr;
  TUniButton* btTagMore = nullptr;
  TUniEdit* edPic = nullptr;
  TUniOpenPictureDialog* OpenPictureDiag = nullptr;

  // --- run state kept by the window ---
  std::unique_ptr<TRunLog> FLog;             // the run log
  std::unique_ptr<IProcessView> FProcessView;  // the process page, as the jobs see it
  std::unique_ptr<TJobSequencer> FJobs;      // runs the jobs through DosCommand
  // The texts the language file fills, as the forms were designed (taken before the
  // first language is applied): a text the file lacks keeps its designed one.
  std::vector<std::optional<WideString>> FDesignedTexts;
  std::set<WideString> FIncompleteLanguagesLogged;  // each told once in the log
  bool FAreaPicturesMade[4] = {};                    // by welcome area

  // The settings controls' values, and the reverse (check boxes run their click handlers
  // when their state changes, as a user's click would).
  TProgramSettings CurrentSettings();
  void ApplySettings(const TProgramSettings& Settings);

  // --- start-up and shut-down (pages/startup.cpp) ---
  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormDestroy(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  // Appends "[hh:nn:ss] : Text" to the run log.
  void AddLogLine(const WideString& Text);
  // Something the user loses or lacks: a log line, and a message they must see.
  void ReportFailure(const WideString& Text);

  // --- language (pages/language.cpp) ---
  void cbLangChange(TObject* Sender);

  // --- welcome, settings and about pages (pages/welcome_page.cpp, settings_page.cpp,
  // about_page.cpp) ---
  void MainListClick(TObject* Sender);
  void CreationListDblClick(TObject* Sender);
  void EditionListDblClick(TObject* Sender);
  void SettingsListDblClick(TObject* Sender);
  void SettingsViewClick(TObject* Sender);
  void UniImage13Click(TObject* Sender);
  void Open2Exe(TObject* Sender);
  void UniImage26Click(TObject* Sender);
  void chTaggerorNotClick(TObject* Sender);
  void chKavoLogClick(TObject* Sender);
  void chOutputLogClick(TObject* Sender);
  // Back (and the settings page's Next) of the settings, split, concatenation, extract and
  // converter pages.
  void BackToWelcomePage(TObject* Sender, bool& Stop);
  void WizardHelpButtonClick(TObject* Sender);
  // Help of every page.
  void PageHelpButtonClick(TObject* Sender, bool& Stop);
  void WebLinks(TObject* Sender);
  void WizardCancelButtonClick(TObject* Sender);

  // What the pickers do with a chosen file or folder (Cancel does nothing).
  void MP4BoxChosen(const WideString& Path);
  void TaggerChosen(const WideString& Path);
  void TempFolderChosen(const WideString& Folder);
  // The MP4Box or tagger picker's log line for a chosen executable (file name part).
  void LogToolPicked(const WideString& FileName, const WideString& ProblemText);
  // --- process page (pages/process_page.cpp) ---
  void btAbortClick(TObject* Sender);
  void ViewLogFile1Click(TObject* Sender);
  void ProcessPageBackButtonClick(TObject* Sender, bool& Stop);
  // Every task page's start (pages/job_launcher.cpp): the checks in their order, the
  // question about existing outputs, then the job. True when the job started; otherwise the
  // page is shown again, and the user was told why.
  bool LaunchPageJob(const TPageJob& Job);
  // The notice of a refused launch; false for none.
  bool RefuseLaunch(const TLaunchVerdict& Verdict);
  // Tells why a track-list job (mux or join over List) cannot start; false when it can.
  bool RefuseTrackListJob(TMuxRefusal Refusal, TUniListView* List);
  void ProcessPageFinishButtonClick(TObject* Sender, bool& Stop);
  // Saves the run log where the settings say (in Kavo's folder when that folder cannot take
  // it), with the closing line when Closing. The file written; empty for none.
  WideString SaveRunLog(bool Closing);

  // Fills the image lists and pictures the first window shows from the system's stock
  // icons; those of the welcome areas shown later come with LoadAreaPictures.
  void LoadStockImages();
  // The pictures of welcome area Area (0 creation, 1 edition, 2 settings, 3 about), made
  // the first time the area is shown.
  void LoadAreaPictures(int Area);
  // The pictures of a task page (the status rows' icons of the process page and the preview
  // tool bar's of the split page among them), made the first time it is shown.
  void LoadPagePictures(TKvWizardCustomPage* Page);
  // The program's folder, ending in "\".
  static WideString ProgramFolder();

  // --- mux page and track properties (pages/mux_page.cpp, pages/properties_dialog.cpp) ---
  void btAddClick(TObject* Sender);
  void btDeleteClick(TObject* Sender);
  void btMoveUpClick(TObject* Sender);
  void btMoveDownClick(TObject* Sender);
  void SelectMovedRow(int Index);
  void btPropertiesClick(TObject* Sender);
  void MP4ListViewClick(TObject* Sender);
  void MP4ListViewCustomDrawItem(TCustomListView* Sender, TListItem* Item, TCustomDrawState State, bool& DefaultDraw);
  void btMP4OutputClick(TObject* Sender);
  void cbSplitOutChange(TObject* Sender);
  void MuxPageBackButtonClick(TObject* Sender, bool& Stop);
  void MuxPageNextButtonClick(TObject* Sender, bool& Stop);
  // Analyses a file into rows of the active page's list; true when it added rows. A file
  // that adds none for a reason not told yet (not found, not media) has that reason
  // appended to Problems, or shown at once without Problems.
  bool AddFileToMuxList(const WideString& FileName, std::vector<WideString>* Problems = nullptr);
  // What Add does with the chosen files: rows, log lines, the default output name, buttons.
  void AddMuxFiles(const std::vector<WideString>& Files);
  // The mux list on the mux page, the concatenation list on any other.
  TUniListView* TrackListOfPage() const;
  TMuxOptions MuxOptionsOfPage();

  // The version of the MP4Box edMP4Box names, asked of the tool once for each path (at
  // start-up, when a path is chosen, or when a job finds the path changed).
  const TMP4BoxVersion& MP4BoxVersion();
  void LogMP4BoxVersion();  // reads it anew and logs it
  TMP4BoxVersionCache FMP4BoxVersions;
  // The properties dialog's logic (pages/properties_dialog.cpp).
  TPropertiesDialog& Properties();
  TTagFields TagFieldsOfDialog();
  // The properties dialog from and into the row it shows.
  void ReadInfo();
  void StoreInfo();
  void WalkProperties(bool Forward);

  // The input picker of the split, extract and converter pages (pages/input_picker.cpp): one
  // existing file, or empty when none was chosen. Picker names the page, whose last folder
  // the dialog starts in.
  WideString PickInputFile(const char* Picker, const wchar_t* Filter, const wchar_t* DefaultExt);

  // --- extract page (pages/extract_page.cpp) ---
  void UniImage21Click(TObject* Sender);
  // What the open dialog does with a chosen file: the list and chapter text emptied, the
  // file listed, its log line.
  void ExtractInputChosen(const WideString& FileName);
  void ListTracksForExtract(const WideString& FileName);
  void ExtractListViewClick(TObject* Sender);
  void SetExtractOptions();
  void rbRawAllClick(TObject* Sender);
  void ExtractPageNextButtonClick(TObject* Sender, bool& Stop);

  // --- converter page (pages/converter_page.cpp) ---
  void UniImage23Click(TObject* Sender);
  // What the open dialog does with a chosen file: the target by its kind, the frame rate
  // of an AVI file whose video is H.264, the Next button.
  void ConverterInputChosen(const WideString& FileName);
  void edFrameRateKeyPress(TObject* Sender, char& Key);
  void ConverterPageNextButtonClick(TObject* Sender, bool& Stop);

  // The properties dialog over the selected row of a track list.
  void ShowTrackProperties(TUniListView* List);

  // --- concatenation page (pages/concat_page.cpp) ---
  void btConcAddClick(TObject* Sender);
  void btConcRemoveClick(TObject* Sender);
  void btConcMoveUpClick(TObject* Sender);
  void btConcMoveDownClick(TObject* Sender);
  void btConcPropClick(TObject* Sender);
  void ConcListViewClick(TObject* Sender);
  void cbOutputFormatChange(TObject* Sender);
  void btConcBrowseClick(TObject* Sender);
  void ConcatPageNextButtonClick(TObject* Sender, bool& Stop);
  // What Add does with the chosen files: rows, log lines, the default output name, buttons.
  void AddConcatFiles(const std::vector<WideString>& Files);
  TJoinOptions JoinOptionsOfPage();
  // The join refused (with its notice) when a file of the list gave no track or today's
  // MP4Box cannot join the rows in sync; the options it cannot keep are told, and it starts.
  bool RefuseJoinOutOfSync(const std::vector<TTrackRow>& Rows, const TJoinOptions& Options);

  // --- the output options folded out and in (pages/output_panels.cpp) ---
  void MoreClick(TObject* Sender);
  void LessClick(TObject* Sender);
  void More2Click(TObject* Sender);
  void Less2Click(TObject* Sender);

  // --- the track lists' columns (pages/track_list_columns.cpp) ---
  void MP4ListViewColumnClick(TObject* Sender, TListColumn* Column);
  void MP4ListViewCompare(TObject* Sender, TListItem* Item1, TListItem* Item2, int Data, int& Compare);
  void MP4ListViewColumnRightClick(TObject* Sender, TListColumn* Column, POINT Point);
  void MP4ListViewMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void MP4ListViewMenuClick(TObject* Sender);
  int SortColumn = 0;  // the column the mux list was last sorted by

  // --- stream-information exports (pages/stream_info_export.cpp) ---
  void KavoForm1Click(TObject* Sender);
  void Full1Click(TObject* Sender);
  void ByTrack1Click(TObject* Sender);
  // MP4Box's "-info" about the selected mux row's file (its track when ByTrack) to a file.
  void SaveMP4BoxInfos(bool ByTrack);
  // Handles messages until the info run has ended; false after TimeoutMs.
  bool WaitForInfoRun(DWORD TimeoutMs);
  DWORD InfoRunWaitMs = 30000;  // how long a confirmed save waits for MP4Box's answer

  // --- files dropped on the window (pages/dropped_files.cpp) ---
  void FileDropTargetDrop(TObject* Sender, int X, int Y);

  // --- tag page (pages/tag_page.cpp) ---
  // Clears the list and begins reading the chosen folder's rows (on the reader's thread);
  // a listing under way ends first, and none of its rows comes after.
  void ShDirTree1DirChange(TObject* Sender, const AnsiString& SelectedPath);
  // Whether the chosen folder's rows are still being listed.
  bool TagFolderListing() const { return FTagListingOn; }
  void FilesTagListSelectItem(TObject* Sender, TListItem* Item, bool Selected);
  void editComponentChange(TObject* Sender);
  // The edits into the selected row; the genre too when Genre.
  void SyncTagEditsToList(bool Genre);
  void edYearKeyPress(TObject* Sender, char& Key);
  void dpbt2Click(TObject* Sender);
  void spbt1Click(TObject* Sender);
  void UniStaticText1Click(TObject* Sender);
  void FilesTagListCustomDrawItem(TCustomListView* Sender, TListItem* Item, TCustomDrawState State, bool& DefaultDraw);
  void FilesTagListColumnRightClick(TObject* Sender, TListColumn* Column, POINT Point);
  void FilesTagListPopUpMenuClick(TObject* Sender);
  void btTagMoreClick(TObject* Sender);
  // The properties dialog's OK in tag mode: its tags into the selected row and the edits.
  void WriteTags2();
  void TagPageNextButtonClick(TObject* Sender, bool& Stop);
  void TagPageBackButtonClick(TObject* Sender, bool& Stop);
  // The tags of a row's run: the row's own, with the page's cover picture.
  TTagFields FilesTagFields(int Row);
  TMP4BoxVersion TaggerVersion();  // the version of the MP4Box set as tagger
  // The AtomicParsley run after a mux into Output, when the tags are on and AtomicParsley
  // is the tagger.
  std::optional<TRunRequest> TagCmd(const WideString& Output);
  WideString TagFolder;      // the folder the list shows
  int TagListIndex = 1;      // one past the row ">>" reached last

  // --- split page (pages/split_page.cpp) ---
  void k(TObject* Sender);  // the input picker
  // What the picker does with a chosen file (empty: none chosen): the file's size,
  // chapters and video are read, and Next is enabled.
  void SplitInputChosen(const WideString& FileName);
  bool LoadChapters(const WideString& FileName);
  bool HasVideo(const WideString& FileName);
  void SplitChoice(TObject* Sender);
  void cbChapChange(TObject* Sender);
  void edSplitInputChange(TObject* Sender);
  void SplitTimeKeyPress(TObject* Sender, char& Key);
  void SplitPageNextButtonClick(TObject* Sender, bool& Stop);
  void chVIdeoPreviewClick(TObject* Sender);
  void UpDown1Click(TObject* Sender, TUDBtnType Button);
  // Selects chapter Index in the three chapter lists.
  void SelectSplitChapter(int Index);
  TSplitOptions SplitOptionsOfPage();
  WideString FSplitProbed;                    // the input whose size and chapters were read
  std::optional<double> FSplitInputSeconds;  // its play time, when MediaInfo gave one

 protected:
  void Loaded() override;

 private:
  std::set<WideString> FAviH264Inputs;  // added AVI files whose video is H.264
  // Files added to the concatenation list that gave no track: a join would leave them out,
  // so none starts until the list has been emptied.
  std::vector<WideString> FConcatFilesWithoutTracks;
  std::unique_ptr<TPropertiesDialog> FProperties;
  bool FFillingTagEdits = false;  // the tag edits are being filled from a selected file
  // --- the folder listing of the tag page ---
  // A batch of rows the reader has read, queued for the list.
  void TagRowsRead(std::vector<TTagRow>& Rows, bool Last);
  void AddQueuedTagRows();
  void FreezeTagList(bool Frozen);
  void TagListingEnded();
  // Ends the reading under way, if any: its queued rows are dropped, the cursor given back.
  void EndTagReading();
  // The cursor shown before the listing began, back in place.
  void GiveBackTagCursor();
  std::unique_ptr<TTagFolderReader> FTagReader;  // the listed folder's, until another is chosen
  std::deque<TTagRow> FTagRowsToAdd;             // read, not yet in the list
  TTimer* FTagRowTimer = nullptr;                // adds them when nothing else waits
  bool FTagListingOn = false;                    // from the folder's choice to its last row
  bool FTagRowsAllRead = false;                  // the reader has handed its last rows
  bool FHoldTagRows = false;                     // while the properties dialog is open
  bool FTagListFrozen = false;                   // the list's redraw is off
  DWORD FTagRowsShown = 0;                       // when the list last showed its rows
  std::optional<TCursor> FTagCursor;             // the cursor to give back once listed
};

// The forms of the program, created at start-up and alive until it ends.
extern TMainForm* MainForm;

// Makes every class the program's form descriptions name known to the form reader.
void RegisterProgramClasses();

// The page files' handler lists, called when the form's member table is built.
void AddStartupHandlers(TMemberTable<TMainForm>& Table);
void AddWelcomePageHandlers(TMemberTable<TMainForm>& Table);
void AddSettingsPageHandlers(TMemberTable<TMainForm>& Table);
void AddAboutPageHandlers(TMemberTable<TMainForm>& Table);
void AddLanguageHandlers(TMemberTable<TMainForm>& Table);
void AddMuxPageHandlers(TMemberTable<TMainForm>& Table);
void AddProcessPageHandlers(TMemberTable<TMainForm>& Table);
void AddConcatPageHandlers(TMemberTable<TMainForm>& Table);
void AddOutputPanelHandlers(TMemberTable<TMainForm>& Table);
void AddTrackListColumnHandlers(TMemberTable<TMainForm>& Table);
void AddStreamInfoHandlers(TMemberTable<TMainForm>& Table);
void AddDroppedFilesHandlers(TMemberTable<TMainForm>& Table);
void AddExtractPageHandlers(TMemberTable<TMainForm>& Table);
void AddConverterPageHandlers(TMemberTable<TMainForm>& Table);
void AddTagPageHandlers(TMemberTable<TMainForm>& Table);
void AddSplitPageHandlers(TMemberTable<TMainForm>& Table);

// Applies a language file (full path) to the main window, the properties dialog and the
// named texts. The answer: "[Section] Key" of every text the file lacks.
std::vector<AnsiString> ApplyLanguage(const WideString& FileName);
