#include "widetext/uni_page_control.h"

#include "vcl/streaming.h"
#include "vcl/forms.h"
#include "widetext/platform.h"
#include "widetext/uni_list_view.h"
#include "widetext/uni_controls.h"
#include "widetext/uni_forms.h"
#include "widetext/wide_control_text.h"
#include "widetext/wide_props.h"

namespace {

const std::vector<TPropInfo>& UniTabSheetProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TUniTabSheet>()
      .Property("Caption", &TUniTabSheet::Caption, &TUniTabSheet::SetCaption).Stored(&TUniTabSheet::IsCaptionStored)
      .Property("Hint", &TUniTabSheet::Hint, &TUniTabSheet::SetHint).Stored(&TUniTabSheet::IsHintStored)
      .Table();
  return table;
}

const std::vector<TPropInfo>& UniPageControlProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TUniPageControl>()
      .Property("Hint", &TUniPageControl::Hint, &TUniPageControl::SetHint).Stored(&TUniPageControl::IsHintStored)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TUniTabSheet, TTabSheet, &CreateComponentOf<TUniTabSheet>, &UniTabSheetProperties)
VCL_CLASS_IMPL(TUniPageControl, TPageControl, &CreateComponentOf<TUniPageControl>, &UniPageControlProperties)

void RegisterUniPageControls() { RegisterClasses({TUniPageControl::StaticClass(), TUniTabSheet::StaticClass()}); }

WideString WidePageCaption(TTabSheet* Page) {
  if (auto* sheet = dynamic_cast<TUniTabSheet*>(Page)) return sheet->Caption();
  return AnsiToWide(Page->Caption());
}

// ---------------------------------------------------------------------------
// TUniTabSheet

WideString TUniTabSheet::Caption() { return UniControl_GetText(this); }
void TUniTabSheet::SetCaption(const WideString& Value) { UniControl_SetText(this, Value); }
WideString TUniTabSheet::Hint() { return UniControl_GetHint(this); }
void TUniTabSheet::SetHint(const WideString& Value) { UniControl_SetHint(this, Value); }
bool TUniTabSheet::IsCaptionStored() const { return UniControl_IsCaptionStored(this); }
bool TUniTabSheet::IsHintStored() const { return UniControl_IsHintStored(this); }

void TUniTabSheet::DefineProperties(TFiler* Filer) {
  TTabSheet::DefineProperties(Filer);
  DefineWideProperties(Filer, this);
}

void TUniTabSheet::CreateWindowHandle(const TCreateParams& Params) { CreateUnicodeHandle(this, Params, L""); }

// ---------------------------------------------------------------------------
// TUniPageControl

WideString TUniPageControl::Hint() { return UniControl_GetHint(this); }
void TUniPageControl::SetHint(const WideString& Value) { UniControl_SetHint(this, Value); }
bool TUniPageControl::IsHintStored() const { return UniControl_IsHintStored(this); }

void TUniPageControl::DefineProperties(TFiler* Filer) {
  TPageControl::DefineProperties(Filer);
  DefineWideProperties(Filer, this);
}

void TUniPageControl::CreateWindowHandle(const TCreateParams& Params) {
  CreateUnicodeHandle_ComCtl(this, Params, L"SysTabControl32");
}

bool TUniPageControl::IsPageAccel(TTabSheet* Page, WORD CharCode) {
  return IsWideAccelChar(CharCode, WidePageCaption(Page));
}

void TUniPageControl::SetItemWide(TMessage& Message) {
  auto* item = reinterpret_cast<TCITEMW*>(Message.LParam);
  int index = static_cast<int>(Message.WParam);
  TTabSheet* page = nullptr;
  if (item->mask & TCIF_PARAM)
    page = dynamic_cast<TTabSheet*>(reinterpret_cast<TObject*>(item->lParam));
  else if ((item->mask & TCIF_TEXT) && index >= 0 && index < Tabs()->Count())
    page = dynamic_cast<TTabSheet*>(Tabs()->Objects(index));
  WideString caption;
  if (page) {
    caption = WidePageCaption(page);
    item->mask |= TCIF_TEXT;
    if (UseRightToLeftReading()) item->mask |= TCIF_RTLREADING;
    item->pszText = const_cast<wchar_t*>(caption.c_str());
  } else {
    item->mask &= ~static_cast<UINT>(TCIF_TEXT);
  }
  Message.Msg = TCM_SETITEMW;
  TPageControl::WndProc(Message);
  Message.Msg = TCM_SETITEMA;
}

void TUniPageControl::WndProc(TMessage& Message) {
  if (UnicodePlatform && Message.LParam) {
    if (Message.Msg == TCM_SETITEMA) {
      // The caller's record keeps its own text pointer and mask.
      auto* item = reinterpret_cast<TCITEMA*>(Message.LParam);
      TCITEMA saved = *item;
      try {
        SetItemWide(Message);
      } catch (...) {
        *item = saved;
        throw;
      }
      *item = saved;
      return;
    }
    if (Message.Msg == TCM_INSERTITEMA) {
      // The text follows with the set-item message that gives the tab its page.
      auto* item = reinterpret_cast<TCITEMA*>(Message.LParam);
      UINT mask = item->mask;
      item->mask &= ~static_cast<UINT>(TCIF_TEXT);
      TPageControl::WndProc(Message);
      item->mask = mask;
      return;
    }
  }
  TPageControl::WndProc(Message);
}

// ---------------------------------------------------------------------------
// Docking

WideString FirstWideTextLine(const WideString& Text) { return Text.substr(0, Text.find_first_of(L"\r\n")); }

void TUniPageControl::Dispatch(TMessage& Message) {
  if (UnicodePlatform) {
    if (Message.Msg == CM_DOCKCLIENT) {
      CMDockClient(Message);
      return;
    }
    if (Message.Msg == CM_DOCKNOTIFICATION && DockClientTextChanged(Message)) return;
  }
  TPageControl::Dispatch(Message);
}

void TUniPageControl::CMDockClient(TMessage& Message) {
  TDragDockObject* source = TCMDockClient{Message}.DockSource();
  Message.Result = 0;
  if (!source || !source->Control) return;
  auto* sheet = new TUniTabSheet(this);
  // A form's caption of several lines: the tab shows the first.
  if (dynamic_cast<TCustomForm*>(source->Control))
    sheet->SetCaption(FirstWideTextLine(UniControl_GetText(source->Control)));
  DockOnNewSheet(sheet, source->Control, source->DockRect);
  Message.Result = 1;
}

bool TUniPageControl::DockClientTextChanged(TMessage& Message) {
  TCMDockNotification m{Message};
  TDockNotifyRec* rec = m.NotifyRec();
  if (!rec || rec->ClientMsg != WM_SETTEXT || !rec->MsgLParam) return false;
  auto* sheet = dynamic_cast<TUniTabSheet*>(PageOfDockClient(m.Client()));
  if (!sheet) return false;
  WideString text;
  if (HasUnicodeWindow(m.Client())) {
    text = reinterpret_cast<const wchar_t*>(rec->MsgLParam);
  } else {
    // 8-bit: the client's wide text when that is what the 8-bit text stands for (a wide
    // control without a window yet).
    AnsiString ansi = reinterpret_cast<const char*>(rec->MsgLParam);
    TWideControlHelper* helper = FindWideControlHelper(m.Client(), false);
    text = helper && WideToAnsi(helper->Caption) == ansi ? helper->Caption : AnsiToWide(ansi);
  }
  sheet->SetCaption(FirstWideTextLine(text));
  return true;
}
