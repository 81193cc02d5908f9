// The custom value dialog: a split size or a pixel aspect ratio, read from forms/CustomVal.dfm.
// Alive from start-up to the end of the program, shown modally; it hands the value the user
// confirmed back to the one who asked, and writes it nowhere itself.
#pragma once

#include <optional>

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

  // The dialog for a split size in megabytes, then for a pixel aspect ratio ("w:h"): the value
  // confirmed with its button, none when the dialog was closed otherwise.
  std::optional<WideString> AskSplitSize();
  std::optional<WideString> AskAspectRatio();

  void btCustomValClick(TObject* Sender);
  void edCustomValKeyPress(TObject* Sender, char& Key);
  void edPAR1KeyPress(TObject* Sender, char& Key);  // edPAR1 and edPAR2

 protected:
  void Loaded() override;
};

TMemberTable<TCustomVal>& AddCustomValHandlers(TMemberTable<TCustomVal>& Table);

extern TCustomVal* CustomVal;
