// Wide text and wide hint of any control, kept in step with the framework's 8-bit copy.
//
// The framework holds a control's caption and hint as 8-bit text. A wide control keeps
// the UTF-16 form beside it: in its Unicode window once that exists, otherwise in a
// companion (TWideControlHelper). A stored wide value counts only while its 8-bit form
// still equals the framework's copy; when the 8-bit copy was changed behind the wide
// layer's back, that copy (converted) wins (GetSyncedWideString).
#pragma once

#include "vcl/controls.h"
#include "widetext/component_helpers.h"

// The companion of a control that has stored wide text or a wide hint. Freed with its
// control.
class TWideControlHelper : public TWideComponentHelper {
  VCL_CLASS(TWideControlHelper)
 public:
  TWideControlHelper(TControl* Control, TComponentList* CompanionList);
  ~TWideControlHelper() override;

  TControl* Control() const { return static_cast<TControl*>(Component()); }
  WideString Caption;
  WideString Hint;
};

// The companion of Control; with Create a missing one is made. Null when there is none.
TWideControlHelper* FindWideControlHelper(TControl* Control, bool Create);

// A windowed control whose window exists and is a Unicode window.
bool HasUnicodeWindow(TControl* Control);
// The whole text of a Unicode window (GetWindowTextW).
WideString UnicodeWindowText(HWND Wnd);

WideString UniControl_GetText(TControl* Control);
void UniControl_SetText(TControl* Control, const WideString& Value);
WideString UniControl_GetHint(TControl* Control);
void UniControl_SetHint(TControl* Control, const WideString& Value);
// Stored-tests of the wide Caption (or Text) and Hint: what follows a linked action is the
// action's to store.
bool UniControl_IsCaptionStored(const TControl* Control);
bool UniControl_IsHintStored(const TControl* Control);

// The first non-empty wide hint of Control or of its parents; empty when none has one.
WideString WideHintOfControl(TControl* Control);
// The part of a hint before the first "|", and the part after it; a hint without "|" is
// returned whole by both.
WideString WideShortHint(const WideString& Hint);
WideString WideLongHint(const WideString& Hint);

// The wide list-control interface ({C1801F41-51E9-4DB5-8DB8-58AC86698C2E}): list controls
// whose items are wide.
class IWideCustomListControl {
 public:
  virtual ~IWideCustomListControl() = default;
  virtual void AddItem(const WideString& Item, TObject* AObject) = 0;
};

// Adds Item to List: whole to a wide list control, in its 8-bit form to any other.
void WideListAddItem(TCustomListControl* List, const WideString& Item, TObject* AObject);
