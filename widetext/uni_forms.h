// Wide forms: TUniForm, the base of every form whose own window is a Unicode window, with
// a wide caption and hint; and the accelerator test of wide captions.
#pragma once

#include "vcl/forms.h"
#include "widetext/uni_actions.h"

// A form whose window is a Unicode window. Create it like any form
// (TCustomForm::Create<TMyForm>): the stored descriptions are read from the class
// downwards to TUniForm.
class TUniForm : public TForm {
  VCL_CLASS(TUniForm)
 public:
  explicit TUniForm(TComponent* AOwner);

  WideString Caption();
  void SetCaption(const WideString& Value);
  WideString Hint();
  void SetHint(const WideString& Value);
  bool IsCaptionStored() const;
  bool IsHintStored() const;

  void DefineProperties(TFiler* Filer) override;
  // The framework's update, then the application's wide hint.
  void UpdateActions() override;
  // WM_MENUSELECT gives the application the selected item's wide hint; changes of the
  // reading order or the window's position repair right-to-left menu texts.
  void Dispatch(TMessage& Message) override;
  // An MDI frame's messages end in DefFrameProcW; after WM_DESTROY the form tells its
  // Unicode window's trap, which DefFrameProcW leaves out, that the window is going.
  void DefaultHandler(TMessage& Message) override;

 protected:
  const TMetaClass* DescriptionRoot() const override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void DestroyWindowHandle() override;
  // A dock site with a dock manager gets its Unicode window first: the manager then finds
  // the window's trap in the window method it sits in front of, and puts that back.
  TDockManager* CreateDockManager() override;

 protected:
  UNI_WIDE_ACTION_OVERRIDES(TForm)
};

// Whether the character of a dialog-character message (a code below 256 is a character of
// the keyboard layout's code page) is, ignoring case, the accelerator of Caption: the
// character after its last single "&".
bool IsWideAccelChar(WORD CharCode, const WideString& Caption);
