// The track properties dialog: per-track options and tags, read from forms/PropForm.dfm.
// Alive from start-up to the end of the program, shown modally.
#pragma once

#include "vcl/dialogs.h"
#include "widetext/uni_buttons.h"
#include "widetext/uni_combo_box.h"
#include "widetext/uni_edits.h"
#include "widetext/uni_forms.h"
#include "widetext/uni_labels.h"
#include "widetext/uni_page_control.h"
#include "widetext/uni_picture_dialog.h"
#include "wizard/thumbnail_view.h"

class TPropForm : public TUniForm {
  VCL_CLASS(TPropForm)
 public:
  explicit TPropForm(TComponent* AOwner);
  ~TPropForm() override;

  TFontDialog* FontDialog = nullptr;
  TUniOpenPictureDialog* OpenPictureDialog = nullptr;
  TUniPageControl* PageControl1 = nullptr;
  TUniTabSheet* Tab1 = nullptr;
  TUniGroupBox* gbSource = nullptr;
  TUniLabel* lbFile1 = nullptr;
  TUniLabel* lbType1 = nullptr;
  TUniLabel* lbInfo1 = nullptr;
  TUniSpeedButton* spbt1 = nullptr;
  TUniSpeedButton* dpbt2 = nullptr;
  TUniGroupBox* gbProperties = nullptr;
  TUniLabel* lbLangP = nullptr;
  TUniLabel* lbBrand = nullptr;
  TUniLabel* lbTrackName = nullptr;
  TUniLabel* lbPAR = nullptr;
  TUniLabel* lbSBR = nullptr;
  TUniLabel* lbCopyright = nullptr;
  TUniComboBox* cbLang = nullptr;
  TUniComboBox* cbBrand = nullptr;
  TUniComboBox* cbTrack = nullptr;
  TUniComboBox* cbPAR = nullptr;
  TUniComboBox* cbSBR = nullptr;
  TUniEdit* edCopyright = nullptr;
  TUniLabel* lbFrameRateP = nullptr;
  TUniEdit* edFrameRate = nullptr;
  TUniLabel* lbDelay = nullptr;
  TUniEdit* edDelay = nullptr;
  TUniLabel* lbInterleave = nullptr;
  TUniEdit* edInterleave = nullptr;
  TUniCheckBox* chKeepNVop = nullptr;
  TUniEdit* edFontName = nullptr;
  TUniEdit* edFontSize = nullptr;
  TUniButton* btFont = nullptr;
  TUniTabSheet* Tab2 = nullptr;
  TUniGroupBox* gbTags = nullptr;
  TUniLabel* lbName = nullptr;
  TUniEdit* edName = nullptr;
  TUniLabel* lbArtist = nullptr;
  TUniEdit* edArtist = nullptr;
  TUniLabel* lbWriter = nullptr;
  TUniEdit* edWriter = nullptr;
  TUniLabel* lbAlbum = nullptr;
  TUniEdit* edAlbum = nullptr;
  TUniLabel* lbComposer = nullptr;
  TUniEdit* edComposer = nullptr;
  TUniLabel* lbYear = nullptr;
  TUniEdit* edYear = nullptr;
  TUniLabel* lbGroup = nullptr;
  TUniEdit* edGroup = nullptr;
  TUniLabel* lbTrackN = nullptr;
  TUniEdit* edTrackN1 = nullptr;
  TUniLabel* lbOf1 = nullptr;
  TUniEdit* edTrackNum2 = nullptr;
  TUniLabel* lbTempo = nullptr;
  TUniEdit* edTempo = nullptr;
  TUniLabel* lbDisk = nullptr;
  TUniEdit* edDiskNum1 = nullptr;
  TUniLabel* lbOf2 = nullptr;
  TUniEdit* edDiskNum2 = nullptr;
  TUniLabel* lbGenre = nullptr;
  TUniComboBox* cbGenre = nullptr;
  TUniCheckBox* chCompile = nullptr;
  TUniCheckBox* chGapless = nullptr;
  TUniTabSheet* TabMore = nullptr;
  TUniGroupBox* gbComments = nullptr;
  TUniMemo* MemoComments = nullptr;
  TUniLabel* lbEncoder = nullptr;
  TUniEdit* edEncoder = nullptr;
  TUniLabel* lbTool = nullptr;
  TUniEdit* edTool = nullptr;
  TUniTabSheet* TabPic = nullptr;
  TKvThumbView* ThumbView = nullptr;
  TUniButton* btAdd = nullptr;
  TUniButton* btDelete = nullptr;
  TUniButton* btOk = nullptr;
  TUniButton* btCancel = nullptr;
  TUniCheckBox* chTagSupport = nullptr;

  // Handlers (pages/properties_dialog.cpp); the option boxes' change handlers all store
  // the dialog into its row (OptionChange).
  void FormShow(TObject* Sender);
  void OptionChange(TObject* Sender);
  void btOkClick(TObject* Sender);
  void btCancelClick(TObject* Sender);
  void chTagSupportClick(TObject* Sender);
  void dpbt2Click(TObject* Sender);
  void spbt1Click(TObject* Sender);
  void btFontClick(TObject* Sender);
  void cbPARChange(TObject* Sender);
  void edDelayKeyPress(TObject* Sender, char& Key);
  void NumberKeyPress(TObject* Sender, char& Key);  // frame rate, interleave, track and disk numbers
  void btAddClick(TObject* Sender);
  void btDeleteClick(TObject* Sender);
  void ThumbViewMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);

 protected:
  void Loaded() override;
};

TMemberTable<TPropForm>& AddPropFormHandlers(TMemberTable<TPropForm>& Table);
// Empties the tag fields after a finished task; the track options stay.
void ClearPropForm();

extern TPropForm* PropForm;
