// The track properties dialog over the mux list: filled from one row, every change stored
// into that row at once, and walked row by row. The rules between a row and the boxes are
// in app/media/track_options; the dialog's own handlers forward here.
#include "app/pages/properties_dialog.h"

#include "app/common/list_routines.h"
#include "app/common/os_version.h"
#include "app/forms/custom_val.h"
#include "app/forms/main_form.h"
#include "app/forms/prop_form.h"
#include "app/media/track_options.h"
#include "app/media/track_row_item.h"
#include "app/settings/language_codes.h"
#include "app/ui/key_filter.h"
#include "widetext/filenames.h"
#include "widetext/uni_message_dialogs.h"
#include "widetext/widetextutils.h"

#include <functional>

namespace {

using C = TTrackColumn;

// Selects the item Text, added at the end first when the box lacks it.
void SelectItem(TUniComboBox* Box, const WideString& Text) {
  int index = Box->Items()->IndexOf(Text);
  if (index < 0) index = Box->Items()->Add(Text);
  Box->SetItemIndex(index);
}

// The genre boxes' empty item, selected at start.
constexpr int EmptyGenreIndex = 19;

void Enable(std::initializer_list<TControl*> Controls, const std::optional<bool>& Value) {
  if (!Value) return;
  for (TControl* c : Controls) c->SetEnabled(*Value);
}

}  // namespace

TTagFields TPropertiesDialog::TagFields() const {
  TPropForm* p = FForm;
  TTagFields t;
  t.Name = p->edName->Text();
  t.Artist = p->edArtist->Text();
  t.Album = p->edAlbum->Text();
  t.Year = p->edYear->Text();
  t.Writer = p->edWriter->Text();
  t.TrackNum = p->edTrackN1->Text();
  t.TrackTotal = p->edTrackNum2->Text();
  t.DiskNum = p->edDiskNum1->Text();
  t.DiskTotal = p->edDiskNum2->Text();
  t.Group = p->edGroup->Text();
  t.Tempo = p->edTempo->Text();
  t.Composer = p->edComposer->Text();
  t.Genre = p->cbGenre->Text();
  t.Encoder = p->edEncoder->Text();
  t.Tool = p->edTool->Text();
  t.Comment = p->MemoComments->Text();
  if (p->ThumbView->Count() > 0) t.Cover = AnsiToWide(p->ThumbView->SelectedFile());
  t.Compilation = p->chCompile->Checked();
  t.Gapless = p->chGapless->Checked();
  return t;
}

void TPropertiesDialog::ShowTagFields(const TTagFields& Fields) {
  TPropForm* p = FForm;
  const std::pair<WideString TTagFields::*, TUniEdit*> edits[] = {
      {&TTagFields::Name, p->edName},         {&TTagFields::Artist, p->edArtist},
      {&TTagFields::Album, p->edAlbum},       {&TTagFields::Year, p->edYear},
      {&TTagFields::Writer, p->edWriter},     {&TTagFields::TrackNum, p->edTrackN1},
      {&TTagFields::TrackTotal, p->edTrackNum2}, {&TTagFields::DiskNum, p->edDiskNum1},
      {&TTagFields::DiskTotal, p->edDiskNum2}, {&TTagFields::Group, p->edGroup},
      {&TTagFields::Tempo, p->edTempo},       {&TTagFields::Composer, p->edComposer},
      {&TTagFields::Encoder, p->edEncoder},   {&TTagFields::Tool, p->edTool}};
  for (const auto& [field, edit] : edits) edit->SetText(Fields.*field);
  p->MemoComments->SetText(Fields.Comment);
  const int genre = Fields.Genre.empty() ? -1 : p->cbGenre->Items()->IndexOf(Fields.Genre);
  p->cbGenre->SetItemIndex(genre >= 0 ? genre : EmptyGenreIndex);
  p->chCompile->SetChecked(Fields.Compilation);
  p->chGapless->SetChecked(Fields.Gapless);
  if (Fields.Cover.empty()) {
    p->ThumbView->EmptyList();
  } else {
    const AnsiString picture = WideToAnsi(Fields.Cover);
    if (p->ThumbView->SelectedFile() != picture) {
      p->ThumbView->AddThumb(picture);
      p->ThumbView->SetSelectedFile(picture);
    }
  }
  p->btDelete->SetEnabled(p->ThumbView->Count() > 0);
}

void TMainForm::btPropertiesClick(TObject*) { ShowTrackProperties(MP4ListView); }

void TMainForm::ShowTrackProperties(TUniListView* List) {
  FJobs->State().TagMode = false;
  Properties().ShowTrack(List);
}

void TPropertiesDialog::ShowTrack(TUniListView* List) {
  TPropForm* p = FForm;
  p->chTagSupport->SetVisible(true);
  p->Tab1->SetTabVisible(true);
  for (TUniTabSheet* tab : {p->Tab2, p->TabPic, p->TabMore}) tab->SetTabVisible(false);
  TUniListItem* selected = List->Selected();
  if (!selected) return;
  const WideString type = TTrackRowItem(selected).Get(C::Type);
  if (type.empty() || type == L"chap") return;
  FList = List;
  FRow = selected->Index();
  ReadInfo();
  p->ShowModal();
}

void TPropertiesDialog::ShowTagTabsOnly() {
  TPropForm* p = FForm;
  FList = nullptr;  // the dialog shows no track row now
  p->Tab1->SetTabVisible(false);
  for (TUniTabSheet* tab : {p->Tab2, p->TabMore, p->TabPic}) tab->SetTabVisible(true);
  p->chTagSupport->SetVisible(false);
}

void TPropertiesDialog::ReadInfo() {
  if (!FList || FRow < 0 || FRow >= FList->Items()->Count()) return;
  // Filling the boxes runs their change handlers: nothing of that may reach a row.
  FFilling = true;
  TPropForm* p = FForm;
  const TTrackRow row = TrackRowAt(FList, FRow).Read();
  const TTrackOptionValues v = OptionValuesOfRow(row);

  p->cbTrack->Items()->Clear();
  p->cbTrack->Items()->Add(v.TrackText);
  p->cbTrack->SetItemIndex(0);
  p->cbLang->SetItemIndex(v.LangIndex);
  p->edFrameRate->SetText(v.FrameRate);

  const TTrackOptionControls c = OptionControlsOfRow(row);
  if (c.Apply) {
    p->lbFile1->SetCaption(NamedTexts().lbFile + L" : " + row[C::File]);
    p->lbInfo1->SetCaption(NamedTexts().lbInfo + L" : " + row[C::Description]);
    for (TControl* ctl : {static_cast<TControl*>(p->lbPAR), static_cast<TControl*>(p->cbPAR),
                          static_cast<TControl*>(p->lbInterleave), static_cast<TControl*>(p->edInterleave),
                          static_cast<TControl*>(p->chKeepNVop), static_cast<TControl*>(p->lbSBR),
                          static_cast<TControl*>(p->cbSBR)})
      ctl->SetVisible(!c.SubtitleLayout);
    for (TControl* ctl : {static_cast<TControl*>(p->edFontName), static_cast<TControl*>(p->edFontSize),
                          static_cast<TControl*>(p->btFont)})
      ctl->SetVisible(c.SubtitleLayout);
    switch (c.Label) {
      case TTrackKindLabel::Audio: p->lbType1->SetCaption(NamedTexts().lbType + L" : " + NamedTexts().lbAudioStream); break;
      case TTrackKindLabel::Video: p->lbType1->SetCaption(NamedTexts().lbType + L" : " + NamedTexts().lbVideoStream); break;
      case TTrackKindLabel::Sub: p->lbType1->SetCaption(NamedTexts().lbType + L" : " + NamedTexts().lbSubStream); break;
      case TTrackKindLabel::Unchanged: break;
    }
    Enable({p->cbSBR, p->lbSBR}, c.SBR);
    Enable({p->chKeepNVop}, c.KeepNVop);
    Enable({p->cbPAR, p->lbPAR}, c.PAR);
    Enable({p->edFrameRate, p->lbFrameRateP}, c.FrameRate);
    Enable({p->cbBrand, p->lbBrand}, c.Brand);
    if (c.ClearFrameRate) p->edFrameRate->SetText(WideString());
  }

  if (v.BrandIndex == BrandOtherIndex) {
    p->cbBrand->SetItemIndex(BrandOtherIndex);
    p->cbBrand->SetText(v.BrandText);
  } else {
    p->cbBrand->SetItemIndex(v.BrandIndex);
  }
  Enable({p->cbBrand, p->lbBrand},
         BrandEnabledAfterRead(row, HasCheckedItem(FList), Avc1CountBelowTwo(FList, static_cast<int>(C::Brand)),
                               p->cbBrand->Enabled(), p->cbBrand->ItemIndex()));
  p->cbSBR->SetItemIndex(v.SBRIndex);
  if (v.PARIndex >= 0) p->cbPAR->SetItemIndex(v.PARIndex);
  else SelectItem(p->cbPAR, v.PARText);
  p->edDelay->SetText(v.Delay);
  p->edInterleave->SetText(v.Interleave);
  p->edCopyright->SetText(v.Copyright);
  p->edFontName->SetText(v.FontName);
  p->edFontSize->SetText(v.FontSize);
  p->chKeepNVop->SetChecked(v.KeepNVop);
  FFilling = false;
}

void TPropertiesDialog::StoreInfo() {
  if (FFilling || !FList || FRow < 0 || FRow >= FList->Items()->Count()) return;
  TPropForm* p = FForm;
  TTrackOptionValues v;
  v.LangIndex = p->cbLang->ItemIndex();
  v.LangText = p->cbLang->Text();
  v.BrandIndex = p->cbBrand->ItemIndex();
  v.BrandText = p->cbBrand->Text();
  v.TrackText = p->cbTrack->Text();
  v.PARIndex = p->cbPAR->ItemIndex();
  v.PARText = p->cbPAR->Text();
  v.SBRIndex = p->cbSBR->ItemIndex();
  v.SBREnabled = p->cbSBR->Enabled();
  v.Copyright = p->edCopyright->Text();
  v.FrameRate = p->edFrameRate->Text();
  v.Delay = p->edDelay->Text();
  v.Interleave = p->edInterleave->Text();
  v.FontName = p->edFontName->Text();
  v.FontSize = p->edFontSize->Text();
  v.KeepNVop = p->chKeepNVop->Checked();
  TTrackRowItem item = TrackRowAt(FList, FRow);
  TTrackRow row = item.Read();
  StoreOptionValues(v, row);
  for (int i = static_cast<int>(C::Name); i < TrackColumnCount; ++i)
    if (i != static_cast<int>(C::Type) && i != static_cast<int>(C::Description))
      item.Set(static_cast<C>(i), row.Columns[i]);
}

// The walk buttons move through the list the dialog was opened from, never past its ends.
void TPropertiesDialog::Walk(bool Forward) {
  if (!FList) return;
  std::vector<bool> checks;
  for (int i = 0; i < FList->Items()->Count(); ++i) checks.push_back(FList->Items()->Item(i)->Checked());
  std::optional<int> target = Forward ? NextWalkRow(checks, FRow) : PreviousWalkRow(checks, FRow);
  if (!target) return;
  FRow = *target;
  FList->SetSelected(FList->Items()->Item(FRow));
  ReadInfo();
}

// The main window's wiring to the dialog's logic.

TPropertiesDialog& TMainForm::Properties() {
  if (!FProperties || FProperties->Form() != PropForm) FProperties = std::make_unique<TPropertiesDialog>(PropForm);
  return *FProperties;
}

TTagFields TMainForm::TagFieldsOfDialog() { return Properties().TagFields(); }
void TMainForm::ReadInfo() { Properties().ReadInfo(); }
void TMainForm::StoreInfo() { Properties().StoreInfo(); }
void TMainForm::WalkProperties(bool Forward) { Properties().Walk(Forward); }

// ---------------------------------------------------------------------------------------
// The dialogs' own handlers.

void TPropForm::FormShow(TObject*) {
  if (IsWindowsVista()) {
    cbLang->SetStyle(csDropDown);
    cbPAR->SetStyle(csDropDown);
  } else if (cbPAR->Style() != csDropDownList) {
    cbPAR->SetStyle(csDropDownList);
  }
  PageControl1->SetActivePage(Tab1->TabVisible() ? Tab1 : Tab2);
  // Both taggers write tags: MP4Box in the mux run, AtomicParsley in a run after it.
  const WideString tagger = WideLowerCase(WideExtractFileName(MainForm->edTagger->Text()));
  chTagSupport->SetEnabled(tagger == L"mp4box.exe" || tagger == L"atomicparsley.exe");
}

void TPropForm::OptionChange(TObject*) { MainForm->StoreInfo(); }

void TPropForm::btOkClick(TObject*) {
  if (MainForm->FJobs->State().TagMode)
    MainForm->WriteTags2();
  else
    MainForm->StoreInfo();
  Close();
}

void TPropForm::btCancelClick(TObject*) { Close(); }

void TPropForm::chTagSupportClick(TObject*) {
  const bool on = chTagSupport->Checked();
  for (TUniTabSheet* tab : {Tab2, TabPic, TabMore}) tab->SetTabVisible(on);
  PageControl1->SetActivePage(on ? Tab2 : Tab1);
}

void TPropForm::dpbt2Click(TObject*) { MainForm->WalkProperties(true); }
void TPropForm::spbt1Click(TObject*) { MainForm->WalkProperties(false); }

void TPropForm::btFontClick(TObject*) {
  if (!FontDialog->Execute()) return;
  edFontName->SetText(AnsiToWide(FontDialog->Font()->Name()));
  edFontSize->SetText(std::to_wstring(FontDialog->Font()->Size()));
}

void TPropForm::cbPARChange(TObject*) {
  if (cbPAR->ItemIndex() == PARCustomIndex) {
    MainForm->CustomValForSplit = false;
    CustomVal->edCustomVal->SetVisible(false);
    for (TControl* c : {static_cast<TControl*>(CustomVal->edPAR1), static_cast<TControl*>(CustomVal->edPAR2),
                        static_cast<TControl*>(CustomVal->Label1)})
      c->SetVisible(true);
    CustomVal->ShowModal();
  }
  MainForm->StoreInfo();
}

void TPropForm::edDelayKeyPress(TObject* Sender, char& Key) {
  const WideString text = static_cast<TUniEdit*>(Sender)->Text();
  FilterKey(Key, [&](wchar_t k) { return PropertiesNumberKey(k, text, true, LocaleDecimalSeparator()); });
}

void TPropForm::NumberKeyPress(TObject* Sender, char& Key) {
  const WideString text = static_cast<TUniEdit*>(Sender)->Text();
  FilterKey(Key, [&](wchar_t k) { return PropertiesNumberKey(k, text, false, LocaleDecimalSeparator()); });
}

void TCustomVal::edCustomValKeyPress(TObject*, char& Key) { FilterKey(Key, CustomValueKey); }
void TCustomVal::edPAR1KeyPress(TObject*, char& Key) { FilterKey(Key, CustomValueKey); }

void TPropForm::btAddClick(TObject*) {
  if (OpenPictureDialog->Execute()) {
    const AnsiString file = WideToAnsi(OpenPictureDialog->FileName());
    ThumbView->AddThumb(file);
    ThumbView->SetSelectedFile(file);
  }
  btDelete->SetEnabled(ThumbView->Count() > 0);
}

void TPropForm::btDeleteClick(TObject*) {
  if (WideMessageDlg(L"Do you really want to delete this picture ?", mtConfirmation,
                     MsgDlgButton(mbYes) | MsgDlgButton(mbNo), 0) != mrYes)
    return;
  if (ThumbView->Selected() >= 0) ThumbView->Delete(ThumbView->Selected());
  if (ThumbView->Count() == 0) btDelete->SetEnabled(false);
}

void TPropForm::ThumbViewMouseMove(TObject*, TShiftState, int, int) {
  if (ThumbView->Count() > 0) ThumbView->SetHint(WideToAnsi(WideExtractFileName(AnsiToWide(ThumbView->SelectedFile()))));
}

void ClearPropForm() {
  TPropForm* p = PropForm;
  for (TUniEdit* e : {p->edName, p->edArtist, p->edYear, p->edWriter, p->edTrackN1, p->edTrackNum2, p->edAlbum,
                      p->edDiskNum1, p->edDiskNum2, p->edGroup, p->edTempo, p->edComposer, p->edEncoder, p->edTool})
    e->SetText(WideString());
  p->MemoComments->SetText(WideString());
  p->cbGenre->SetItemIndex(EmptyGenreIndex);
  for (TUniCheckBox* c : {p->chCompile, p->chGapless, p->chTagSupport}) c->SetChecked(false);
  p->ThumbView->EmptyList();
}

void TCustomVal::btCustomValClick(TObject*) {
  if (MainForm->CustomValForSplit) {
    MainForm->cbSplitOut->SetStyle(csDropDown);
    MainForm->cbSplitOut->SetText(edCustomVal->Text());
  } else {
    TUniComboBox* par = PropForm->cbPAR;
    SelectItem(par, CustomPrefix + edPAR1->Text() + L":" + edPAR2->Text());
    if (par->Style() != csDropDown) par->SetStyle(csDropDown);
  }
  Close();
}

TMemberTable<TPropForm>& AddPropFormHandlers(TMemberTable<TPropForm>& Table) {
  Table.Handler("FormShow", &TPropForm::FormShow)
      .Handler("btOkClick", &TPropForm::btOkClick)
      .Handler("btCancelClick", &TPropForm::btCancelClick)
      .Handler("chTagSupportClick", &TPropForm::chTagSupportClick)
      .Handler("btFontClick", &TPropForm::btFontClick)
      .Handler("cbPARChange", &TPropForm::cbPARChange)
      .Handler("dpbt2Click", &TPropForm::dpbt2Click)
      .Handler("spbt1Click", &TPropForm::spbt1Click)
      .Handler("edDelayKeyPress", &TPropForm::edDelayKeyPress)
      .Handler("NumberKeyPress", &TPropForm::NumberKeyPress)
      .Handler("btAddClick", &TPropForm::btAddClick)
      .Handler("btDeleteClick", &TPropForm::btDeleteClick)
      .Handler("ThumbViewMouseMove", &TPropForm::ThumbViewMouseMove);
  for (const char* name : {"cbLangChange", "cbBrandChange", "cbTrackChange", "cbSBRChange", "edCopyrightChange",
                           "edFrameRateChange", "edDelayChange", "edFontSizeChange", "chKeepNVopClick",
                           "edInterleaveChange", "edFontNameChange"})
    Table.Handler(name, &TPropForm::OptionChange);
  return Table;
}

TMemberTable<TCustomVal>& AddCustomValHandlers(TMemberTable<TCustomVal>& Table) {
  return Table.Handler("btCustomValClick", &TCustomVal::btCustomValClick)
      .Handler("edCustomValKeyPress", &TCustomVal::edCustomValKeyPress)
      .Handler("edPAR1KeyPress", &TCustomVal::edPAR1KeyPress);
}
