// The custom value dialog: a split size or a pixel aspect ratio, read from forms/CustomVal.dfm.
// Alive from start-up to the end of the program, shown modally.
#pragma once

#include "vcl/dialogs.h"
#include "widetext/uni_buttons.h"
#include "widetext/uni_edits.h"
#include "widetext/uni_forms.h"
#include "widetext/uni_labels.h"
#include "widetext/uni_page_control.h"
#include "widetext/uni_picture_dialog.h"
#include "wizard/thumbnail_view.h"

class TCustomVal : public TUniForm {
  VCL_CLASS(TCustomVal)
 public:
  explicit TCustomVal(TComponent* AOwner);
  ~TCustomVal() override;

  TUniGroupBox* gbProp = nullptr;
  TUniEdit* edCustomVal = nullptr;
  TUniEdit* edPAR1 = nullptr;
  TUniLabel* Label1 = nullptr;
  TUniEdit* edPAR2 = nullptr;
  TUniButton* btCustomVal = nullptr;

  // pages/properties_dialog.cpp
  void btCustomValClick(TObject* Sender);
  void edCustomValKeyPress(TObject* Sender, char& Key);
  void edPAR1KeyPress(TObject* Sender, char& Key);  // edPAR1 and edPAR2

 protected:
  void Loaded() override;
};

TMemberTable<TCustomVal>& AddCustomValHandlers(TMemberTable<TCustomVal>& Table);

extern TCustomVal* CustomVal;
