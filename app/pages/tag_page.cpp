// The tag page: a folder's M4A and MP4 files with their tags, the selected file's main tags
// in the edits under the list, the properties dialog's tag tabs for the rest, and the job
// that rewrites every checked file with its tags through MP4Box. The rules between rows,
// edits and dialog are in app/media/tag_rows; the job is in app/commands/folder_tag_job.
#include "app/commands/folder_tag_job.h"
#include "app/commands/mux_job.h"
#include "app/ui/list_routines.h"
#include "app/forms/main_form.h"
#include "app/forms/prop_form.h"
#include "app/ui/tag_row_item.h"
#include "app/pages/tag_folder_tree.h"
#include "app/ui/task_dialog_presets.h"
#include "vcl/application.h"
#include "vcl/scopeexit.h"
#include "widetext/filenames.h"
#include "widetext/uni_picture_dialog.h"
#include "widetext/widetextutils.h"
#include "wizard/thumbnail_view.h"

#include <iterator>

namespace {

using C = TTagColumn;

// The list column of each column menu item's Tag, and its width when shown.
struct TTagMenuColumn {
  int Column;
  int Width;
};
constexpr TTagMenuColumn TagMenuColumns[] = {{3, 200}, {4, 80}, {5, 50}, {6, 50}, {7, 50}, {8, 50}};

wchar_t LocaleDecimalSeparator() {
  wchar_t buffer[8] = {};
  return GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) > 0 ? buffer[0] : L'.';
}

std::vector<bool> CheckStates(TUniListView* List) {
  std::vector<bool> checks;
  for (int i = 0; i < List->Items()->Count(); ++i) checks.push_back(List->Items()->Item(i)->Checked());
  return checks;
}

int SelectedIndex(TUniListView* List) {
  TUniListItem* selected = List->Selected();
  return selected ? selected->Index() : -1;
}

// Selects Item alone. When it already is the only selected row nothing is sent, so the
// selection events (which read the file again) do not fire once for every row listed.
void SelectAlone(TUniListView* List, TUniListItem* Item) {
  if (List->SelCount() == 1 && Item->Selected()) return;
  List->SetSelected(Item);
}

}  // namespace

// --- listing a folder ---------------------------------------------------------------------

// The folder's files are read on the reader's thread. The window answers meanwhile: the rows
// read wait in a queue, and go into the list a few hundredths of a second at a time, each
// time the window has nothing else to do (a timer's message comes after every other). The
// list is not redrawn while rows go in, and shows those listed so far every second and after
// the last: a row put into a list that redraws costs the system far more than the row itself,
// and so does each showing. The hourglass shows until the last row.
namespace {
constexpr DWORD kTagRowsSliceMs = 25;
constexpr DWORD kTagRowsShownEveryMs = 1000;
}  // namespace

void TMainForm::ShDirTree1DirChange(TObject*, const AnsiString& SelectedPath) {
  EndTagReading();
  FilesTagList->Items()->Clear();
  // ">>" and "<<" start again from the first row, which the listing selects.
  TagListIndex = 1;
  TagFolder = FolderOfTree(ShDirTree1, SelectedPath);
  // Nothing is tagged before the folder is listed whole.
  TagPage->EnableButton(TKvWizardButtonKind::bkNext, false);
  FTagCursor = Screen->Cursor();
  Screen->SetCursor(crHourGlass);
  FTagRowsShown = GetTickCount();
  FTagRowsAllRead = false;
  FTagListingOn = true;
  FTagReader.reset(TThread::Create<TTagFolderReader>(
      TagFolderOf(TagFolder), [this](std::vector<TTagRow>& Rows, bool Last) { TagRowsRead(Rows, Last); }));
}

void TMainForm::EndTagReading() {
  FTagReader.reset();
  FTagListingOn = false;
  FTagRowsToAdd.clear();
  if (FTagRowTimer) FTagRowTimer->SetEnabled(false);
  FreezeTagList(false);
  GiveBackTagCursor();
}

void TMainForm::GiveBackTagCursor() {
  if (FTagCursor && Screen) Screen->SetCursor(*FTagCursor);
  FTagCursor.reset();
}

// On the main thread, in the reader's synchronised call: the rows only join the queue, so
// that the reader goes on at once.
void TMainForm::TagRowsRead(std::vector<TTagRow>& Rows, bool Last) {
  std::move(Rows.begin(), Rows.end(), std::back_inserter(FTagRowsToAdd));
  if (!FTagRowTimer) {
    FTagRowTimer = new TTimer(this, false);
    FTagRowTimer->SetInterval(1);
    FTagRowTimer->SetOnTimer([this](TObject*) { AddQueuedTagRows(); });
  }
  FTagRowTimer->SetEnabled(!FHoldTagRows);
  FTagRowsAllRead = Last;
}

void TMainForm::FreezeTagList(bool Frozen) {
  if (Frozen == FTagListFrozen || !FilesTagList->HandleAllocated()) return;
  FTagListFrozen = Frozen;
  SendMessageW(FilesTagList->Handle(), WM_SETREDRAW, Frozen ? FALSE : TRUE, 0);
  if (!Frozen) InvalidateRect(FilesTagList->Handle(), nullptr, TRUE);
}

// Adds queued rows for a slice of time. Each slice selects the first row again, as each row
// listed always has: a row the user selected meanwhile gives way to it. While the properties
// dialog is open, the rows wait: its tags go to the row selected when it opened.
void TMainForm::AddQueuedTagRows() {
  if (FHoldTagRows) {
    FTagRowTimer->SetEnabled(false);
    return;
  }
  if (!FTagRowsToAdd.empty()) {
    FreezeTagList(true);
    const DWORD start = GetTickCount();
    do {
      AppendTagRow(FilesTagList, FTagRowsToAdd.front());
      FTagRowsToAdd.pop_front();
    } while (!FTagRowsToAdd.empty() && GetTickCount() - start < kTagRowsSliceMs);
    SelectAlone(FilesTagList, FilesTagList->Items()->Item(0));
  }
  const bool listed = FTagRowsToAdd.empty() && FTagRowsAllRead;
  if (listed || GetTickCount() - FTagRowsShown >= kTagRowsShownEveryMs) {
    FreezeTagList(false);
    FTagRowsShown = GetTickCount();
  }
  if (FTagRowsToAdd.empty()) FTagRowTimer->SetEnabled(false);
  if (listed) TagListingEnded();
}

void TMainForm::TagListingEnded() {
  FTagListingOn = false;
  GiveBackTagCursor();
  TagPage->EnableButton(TKvWizardButtonKind::bkNext, HasCheckedItem(FilesTagList));
}

// --- the selected file's tags in the edits --------------------------------------------------

void TMainForm::FilesTagListSelectItem(TObject*, TListItem*, bool) {
  TUniListItem* selected = FilesTagList->Selected();
  if (!selected) return;
  const TTagRow row = TTagRowItem(selected).Read();
  TMediaInfoFile media(row.FullName());
  auto general = [&](const wchar_t* parameter) { return media.Get(TStreamKind::General, 0, parameter); };
  FFillingTagEdits = true;
  ScopeExit filled{[this] { FFillingTagEdits = false; }};
  edName->SetText(general(L"Title"));
  edArtist->SetText(general(L"Artist"));
  edAlbum->SetText(general(L"Album"));
  edYear->SetText(TagYear(media));
  edDuration->SetText(ShortPlayTime(general(L"PlayTime/String3")));
}

// Only the user's own changes reach the row: not the filling of the edits from a newly
// selected file, whose other edits still hold the previous file's tags, and the genre only
// when the genre box itself changed (it does not follow the selected file).
void TMainForm::editComponentChange(TObject* Sender) {
  if (!FFillingTagEdits) SyncTagEditsToList(Sender == cbGenre);
}

void TMainForm::SyncTagEditsToList(bool Genre) {
  TUniListItem* selected = FilesTagList->Selected();
  if (!selected) return;
  TTagRowItem item(selected);
  TTagRow row = item.Read();
  // A heading item leaves the genre as it is.
  SyncTagEdits({edName->Text(), edArtist->Text(), edAlbum->Text(), edYear->Text(), Genre ? cbGenre->ItemIndex() : 0,
                cbGenre->Text()},
               row);
  item.Write(row);
}

void TMainForm::edYearKeyPress(TObject*, char& Key) {
  wchar_t wide = 0;
  MultiByteToWideChar(CP_ACP, 0, &Key, 1, &wide, 1);
  const wchar_t separator = LocaleDecimalSeparator();
  const bool digit = wide >= L'0' && wide <= L'9';
  const bool isSeparator = wide == separator;
  if (isSeparator && edYear->Text().find(separator) != WideString::npos) Key = 0;
  else if (!(wide == L'\b' || wide == L'.' || digit || isSeparator)) Key = 0;
}

// --- previous and next ----------------------------------------------------------------------

void TMainForm::dpbt2Click(TObject*) {
  const std::optional<TTagWalk> walk = NextTagRow(CheckStates(FilesTagList), TagListIndex);
  if (!walk) return;
  FilesTagList->SetSelected(FilesTagList->Items()->Item(walk->Select));
  TagListIndex = walk->Position;
}

void TMainForm::spbt1Click(TObject*) {
  const std::optional<TTagWalk> walk =
      PreviousTagRow(CheckStates(FilesTagList), TagListIndex, SelectedIndex(FilesTagList));
  if (!walk) return;
  TagListIndex = walk->Position;
  FilesTagList->SetSelected(FilesTagList->Items()->Item(walk->Select));
}

// --- cover picture, list drawing and the column menu ----------------------------------------

void TMainForm::UniStaticText1Click(TObject*) {
  if (!OpenPictureDiag->Execute()) return;
  const WideString file = OpenPictureDiag->FileName();
  try {
    UniImage25->Picture()->LoadFromFile(file);
  } catch (const Exception& e) {
    ShowTextNotice(MainTaskDialog, WideExtractFileName(file) + L" : " + AnsiToWide(e.Message));
    return;
  }
  edPic->SetText(file);
  UniStaticText1->SetVisible(false);
}

void TMainForm::FilesTagListCustomDrawItem(TCustomListView* Sender, TListItem* Item, TCustomDrawState, bool&) {
  if (!chiTunesStyle->Checked()) return;
  Sender->Canvas()->Brush()->SetColor(Item->Index() % 2 ? static_cast<TColor>(0xFAE6D8) : clWindow);
}

void TMainForm::FilesTagListColumnRightClick(TObject*, TListColumn*, POINT) {
  POINT at{};
  GetCursorPos(&at);
  TagPopupMenu->Popup(at.x, at.y);
}

void TMainForm::FilesTagListPopUpMenuClick(TObject* Sender) {
  auto* item = dynamic_cast<TUniMenuItem*>(Sender);
  if (!item || item->Tag < 0 || item->Tag >= static_cast<intptr_t>(std::size(TagMenuColumns))) return;
  const TTagMenuColumn& c = TagMenuColumns[item->Tag];
  item->SetChecked(!item->Checked());
  FilesTagList->Columns()->Items(c.Column)->SetWidth(item->Checked() ? c.Width : 0);
}

// --- the properties dialog's tag tabs ---------------------------------------------------------

void TMainForm::btTagMoreClick(TObject*) {
  TUniListItem* selected = FilesTagList->Selected();
  if (!selected) return;
  FJobs->State().TagMode = true;
  TPropertiesDialog& dialog = Properties();
  dialog.ShowTagTabsOnly();
  // The dialog shows the selected file's tags, nothing of another file's.
  TTagFields fields = TagFieldsOfRow(TTagRowItem(selected).Read());
  for (const auto& [edit, field] : {std::pair{edName, &TTagFields::Name}, std::pair{edArtist, &TTagFields::Artist},
                                    std::pair{edAlbum, &TTagFields::Album}, std::pair{edYear, &TTagFields::Year}})
    if (!edit->Text().empty()) fields.*field = edit->Text();
  fields.Cover = edPic->Text();
  dialog.ShowTagFields(fields);
  // The dialog's tags go to the row selected when it opened: rows still being listed wait
  // until it closes, as they would select the first row.
  FHoldTagRows = true;
  ScopeExit release{[this] {
    FHoldTagRows = false;
    if (FTagListingOn && FTagRowTimer) FTagRowTimer->SetEnabled(true);
  }};
  dialog.Form()->ShowModal();
}

void TMainForm::WriteTags2() {
  TUniListItem* selected = FilesTagList->Selected();
  if (!selected) return;
  const TTagFields dialog = TagFieldsOfDialog();
  TTagRowItem item(selected);
  TTagRow row = item.Read();
  WriteDialogTags(dialog, row);
  item.Write(row);
  for (const auto& [value, edit] : {std::pair{dialog.Name, edName}, std::pair{dialog.Artist, edArtist},
                                    std::pair{dialog.Album, edAlbum}, std::pair{dialog.Year, edYear}})
    if (!value.empty()) edit->SetText(value);
  if (!dialog.Genre.empty()) cbGenre->SetItemIndex(PropForm->cbGenre->ItemIndex());
  // The picture chosen in the dialog is the page's cover, as one chosen on the page.
  if (!dialog.Cover.empty() && dialog.Cover != edPic->Text()) {
    try {
      UniImage25->Picture()->LoadFromFile(dialog.Cover);
    } catch (const Exception&) {
      // The page shows no picture of a kind it cannot draw; the file still gets it.
    }
    edPic->SetText(dialog.Cover);
    UniStaticText1->SetVisible(false);
  }
}

// --- the job ---------------------------------------------------------------------------------

// The tagger is an MP4Box too, most often the configured one.
TMP4BoxVersion TMainForm::TaggerVersion() {
  const WideString tagger = edTagger->Text();
  return WideLowerCase(tagger) == WideLowerCase(edMP4Box->Text()) ? MP4BoxVersion() : ReadMP4BoxVersion(tagger);
}

TTagFields TMainForm::FilesTagFields(int Row) {
  if (Row >= FilesTagList->Items()->Count()) return TTagFields();
  TTagFields fields = TagFieldsOfRow(TTagRowItem(FilesTagList->Items()->Item(Row)).Read());
  fields.Cover = edPic->Text();
  return fields;
}

void TMainForm::TagPageNextButtonClick(TObject*, bool& Stop) {
  Stop = true;
  // Next is off while a folder is listed: only a whole folder is tagged.
  if (TagFolderListing()) return;
  TPageJob launch;
  launch.Page = TagPage;
  launch.Version = MP4BoxVersion();
  TFolderTagJob job;
  launch.PageRefuses = [&] {
    if (!IsMP4BoxPath(edTagger->Text())) {
      ShowTextNotice(MainTaskDialog, NamedTexts().TagMsgNotMP4Box);
      return true;
    }
    const int count = FilesTagList->Items()->Count();
    if (count == 0) return true;
    for (int i = 0; i < count; ++i)
      job.Files.push_back(TTagRowItem(FilesTagList->Items()->Item(i)).Read().FullName());
    job.Checked = CheckStates(FilesTagList);
    if (!HasCheckedItem(FilesTagList)) {
      ShowTextNotice(MainTaskDialog, NamedTexts().TagMsgNoneChecked);
      return true;
    }
    job.Options = {edTagger->Text(), edTemp->Text(), chVerbose->Checked(), TaggerVersion()};
    // Every file is looked at before the first one is changed.
    const TFolderTagRefusal refusal = CheckFolderTagFiles(job.Files, job.Checked, job.Options.Version);
    if (refusal.Any()) {
      ShowTextNotice(MainTaskDialog, FolderTagRefusalText(refusal));
      return true;
    }
    return false;
  };
  // Each file is rewritten through a copy of its own: no output to ask about.
  launch.Job = [&](bool) {
    job.Select = [this](int Row) {
      if (Row < FilesTagList->Items()->Count()) FilesTagList->SetSelected(FilesTagList->Items()->Item(Row));
    };
    job.TagsOf = [this](int Row) { return FilesTagFields(Row); };
    return FolderTagJobStart(job);
  };
  LaunchPageJob(launch);
}

void TMainForm::TagPageBackButtonClick(TObject*, bool& Stop) {
  Wizard->SetActivePage(Page1);
  Stop = true;
}

// --- AtomicParsley after a mux ---------------------------------------------------------------

std::optional<TRunRequest> TMainForm::TagCmd(const WideString& Output) {
  const WideString tagger = edTagger->Text();
  if (!PropForm->chTagSupport->Checked() || WideLowerCase(WideExtractFileName(tagger)) != L"atomicparsley.exe")
    return std::nullopt;
  return AtomicParsleyRun(tagger, Output, TagFieldsOfDialog());
}

void AddTagPageHandlers(TMemberTable<TMainForm>& Table) {
  Table.Handler("ShDirTree1DirChange", &TMainForm::ShDirTree1DirChange)
      .Handler("FilesTagListSelectItem", &TMainForm::FilesTagListSelectItem)
      .Handler("editComponentChange", &TMainForm::editComponentChange)
      .Handler("edYearKeyPress", &TMainForm::edYearKeyPress)
      .Handler("dpbt2Click", &TMainForm::dpbt2Click)
      .Handler("spbt1Click", &TMainForm::spbt1Click)
      .Handler("UniStaticText1Click", &TMainForm::UniStaticText1Click)
      .Handler("FilesTagListCustomDrawItem", &TMainForm::FilesTagListCustomDrawItem)
      .Handler("FilesTagListColumnRightClick", &TMainForm::FilesTagListColumnRightClick)
      .Handler("FilesTagListPopUpMenuClick", &TMainForm::FilesTagListPopUpMenuClick)
      .Handler("btTagMoreClick", &TMainForm::btTagMoreClick)
      .Handler("TagPageNextButtonClick", &TMainForm::TagPageNextButtonClick)
      .Handler("TagPageBackButtonClick", &TMainForm::TagPageBackButtonClick);
}
