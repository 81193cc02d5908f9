// The properties dialog's logic over its form: the track row it shows, filling its boxes
// from that row and storing them back, walking the list, and the tag fields of its tag
// tabs. The main window keeps the controls and the wiring; the rules between a row and the
// boxes are in app/media/track_options.
#pragma once

#include "app/commands/itags_argument.h"

class TPropForm;
class TUniListView;

class TPropertiesDialog {
 public:
  explicit TPropertiesDialog(TPropForm* Form) : FForm(Form) {}
  TPropForm* Form() const { return FForm; }

  // The track tab over the selected row of List, shown modally; nothing for a chapter row or
  // a row without a type.
  void ShowTrack(TUniListView* List);
  // The tag tabs only (the tag page): the dialog shows no track row.
  void ShowTagTabsOnly();
  // The row into the boxes, and the boxes into the row (nothing while filling them).
  void ReadInfo();
  void StoreInfo();
  // The walk buttons: the next or previous row, never past the list's ends.
  void Walk(bool Forward);

  // The tag tabs' fields; the cover is the selected picture.
  TTagFields TagFields() const;
  // The tag tabs show exactly Fields (empty ones emptied, boxes checked as given); a cover
  // is added to the pictures and selected, no cover empties them.
  void ShowTagFields(const TTagFields& Fields);

 private:
  TPropForm* FForm;
  TUniListView* FList = nullptr;  // the list the dialog was opened from
  int FRow = -1;                  // the row it shows
  bool FFilling = false;
};
