// The folded output options of the mux and concatenation pages: More shrinks the input
// group, moves the output group up and makes it taller to show the options; Less folds
// them in again. The track list grows and shrinks with its group, so that no row is cut.
#include <initializer_list>

#include "app/forms/main_form.h"

namespace {

// How one click resizes the two groups: the input group's height by InputGrow, then the
// output group's top either to the input group's new height plus OutputTopBelowInput (when
// set) or by OutputTopShift, and its height by OutputGrow.
struct TFold {
  int InputGrow;
  int OutputTopBelowInput;  // 0: not used
  int OutputTopShift;
  int OutputGrow;
};

void Fold(TControl* Input, TControl* List, TControl* Output, const TFold& f, std::initializer_list<TControl*> Shown,
          std::initializer_list<TControl*> Hidden) {
  Input->SetHeight(Input->Height() + f.InputGrow);
  List->SetHeight(List->Height() + f.InputGrow);
  Output->SetTop(f.OutputTopBelowInput ? Input->Height() + f.OutputTopBelowInput : Output->Top() + f.OutputTopShift);
  Output->SetHeight(Output->Height() + f.OutputGrow);
  for (TControl* c : Shown) c->SetVisible(true);
  for (TControl* c : Hidden) c->SetVisible(false);
}

}  // namespace

void TMainForm::MoreClick(TObject*) {
  Fold(gbInput, MP4ListView, gbMP4Output, {-30, 85, 0, 25}, {cbSplitOut, chHint, cbCompliance, chVFR, lbCompliance, lbSplitat, Less},
       {More});
}

void TMainForm::LessClick(TObject*) {
  Fold(gbInput, MP4ListView, gbMP4Output, {30, 0, 25, -25}, {More},
       {cbSplitOut, chHint, cbCompliance, chVFR, lbCompliance, lbSplitat, Less});
}

void TMainForm::More2Click(TObject*) {
  Fold(gbConcInput, ConcListView, gbConcOutput, {-30, 90, 0, 25}, {cbOutputFormat, cbCompliance2, lbCompliance2, lbConcOutput, Less2},
       {More2});
}

void TMainForm::Less2Click(TObject*) {
  Fold(gbConcInput, ConcListView, gbConcOutput, {35, 0, 28, -28}, {More2},
       {cbOutputFormat, cbCompliance2, lbCompliance2, lbConcOutput, Less2});
}

void AddOutputPanelHandlers(TMemberTable<TMainForm>& Table) {
  Table.Handler("MoreClick", &TMainForm::MoreClick)
      .Handler("LessClick", &TMainForm::LessClick)
      .Handler("More2Click", &TMainForm::More2Click)
      .Handler("Less2Click", &TMainForm::Less2Click);
}
