// The columns of the two track lists: the column menu that shows or hides ten of them (one
// menu for both lists), and the mux list sorted by a click on a column title.
#include "app/common/text_routines.h"
#include "app/forms/main_form.h"

namespace {

struct TMenuColumn {
  int Column;  // index in the list, 0 being the check-box column
  int Width;   // when shown
};

// By the menu item's Tag: File, Index, Description, Name, Language, Frame-Rate, Type,
// BrandName, PAR, Delay.
const TMenuColumn MenuColumns[] = {{2, 224}, {3, 60}, {4, 300}, {5, 150}, {6, 100},
                                   {7, 100}, {8, 60}, {9, 100}, {10, 60}, {13, 60}};

// The text a sort compares: the caption for column 0, else the column's sub-item.
AnsiString SortText(TListItem* Item, int Column) {
  auto* item = static_cast<TUniListItem*>(Item);
  if (Column == 0) return WideToAnsi(item->Caption());
  TWideSubItems* sub = item->SubItems();
  return Column - 1 < sub->Count() ? WideToAnsi(sub->Strings(Column - 1)) : AnsiString();
}

}  // namespace

void TMainForm::MP4ListViewColumnClick(TObject* Sender, TListColumn* Column) {
  SortColumn = Column->Index();
  static_cast<TCustomListView*>(Sender)->AlphaSort();
}

void TMainForm::MP4ListViewCompare(TObject*, TListItem* Item1, TListItem* Item2, int, int& Compare) {
  Compare = CompareText(SortText(Item1, SortColumn), SortText(Item2, SortColumn));
}

void TMainForm::MP4ListViewColumnRightClick(TObject*, TListColumn*, POINT) {
  POINT at{};
  GetCursorPos(&at);
  PopupMenu1->Popup(at.x, at.y);
  // The title's right click must not open the info menu as well; a right button press in
  // the list turns it on again.
  if (InfoPopupMenu->AutoPopup()) InfoPopupMenu->SetAutoPopup(false);
}

void TMainForm::MP4ListViewMouseDown(TObject*, TMouseButton Button, TShiftState, int, int) {
  if (Button == mbRight) InfoPopupMenu->SetAutoPopup(true);
}

void TMainForm::MP4ListViewMenuClick(TObject* Sender) {
  auto* item = static_cast<TMenuItem*>(Sender);
  if (item->Tag < 0 || item->Tag >= static_cast<intptr_t>(std::size(MenuColumns))) return;
  const TMenuColumn& c = MenuColumns[item->Tag];
  item->SetChecked(!item->Checked());
  TrackListOfPage()->Column(c.Column)->SetWidth(item->Checked() ? c.Width : 0);
}

void AddTrackListColumnHandlers(TMemberTable<TMainForm>& Table) {
  Table.Handler("MP4ListViewColumnClick", &TMainForm::MP4ListViewColumnClick)
      .Handler("MP4ListViewCompare", &TMainForm::MP4ListViewCompare)
      .Handler("MP4ListViewColumnRightClick", &TMainForm::MP4ListViewColumnRightClick)
      .Handler("MP4ListViewMouseDown", &TMainForm::MP4ListViewMouseDown)
      .Handler("MP4ListViewMenuClick", &TMainForm::MP4ListViewMenuClick);
}
