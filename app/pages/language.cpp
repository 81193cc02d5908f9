// Applying a language file: every caption, hint, column title, list item, header text and
// wizard button the file names, then the named texts of the messages.
#include "app/forms/main_form.h"

#include "app/common/named_texts.h"
#include "app/forms/prop_form.h"
#include "vcl/inifiles.h"
#include "app/settings/language_file.h"
#include "vcl/pagecontrol.h"

namespace {

TComponent* FormOf(const char* Name) {
  if (std::string_view(Name) == "PropForm") return PropForm;
  return MainForm;
}

// Puts one value where its entry says. A component the form does not hold (a dialog not
// created, as in some tests) is passed over.
void ApplyEntry(const TLanguageEntry& e, const WideString& Value) {
  TComponent* form = FormOf(e.Form);
  if (!form) return;
  TComponent* c = std::string_view(e.Component) == form->Name() ? form : form->FindComponent(e.Component);
  if (!c) return;
  switch (e.Target) {
    case TLanguageTarget::Caption:
      if (auto* control = dynamic_cast<TControl*>(c)) UniControl_SetText(control, Value);
      break;
    case TLanguageTarget::Hint:
      if (auto* control = dynamic_cast<TControl*>(c)) UniControl_SetHint(control, Value);
      break;
    case TLanguageTarget::Column:
      if (auto* list = dynamic_cast<TUniCustomListView*>(c); list && e.Index < list->Columns()->Count())
        list->Column(e.Index)->SetCaption(Value);
      break;
    case TLanguageTarget::Item:
      if (auto* list = dynamic_cast<TUniCustomListView*>(c)) {
        if (e.Index < list->Items()->Count()) list->Items()->Item(e.Index)->SetCaption(Value);
      } else if (auto* box = dynamic_cast<TCustomListBox*>(c)) {
        if (e.Index < box->Items()->Count()) box->Items()->Put(e.Index, WideToAnsi(Value));
      }
      break;
    case TLanguageTarget::HeaderTitle:
      if (auto* header = dynamic_cast<TKvgWizardHeader*>(c)) header->Captions()->SetText(WideToAnsi(Value));
      break;
    case TLanguageTarget::HeaderSubtitle:
      if (auto* header = dynamic_cast<TKvgWizardHeader*>(c)) header->Comments()->SetText(WideToAnsi(Value));
      break;
    case TLanguageTarget::WizardButton:
      if (auto* wizard = dynamic_cast<TKvWizard*>(c))
        wizard->GetButton(static_cast<TKvWizardButtonKind>(e.Index))->SetCaption(WideToAnsi(Value));
      break;
    case TLanguageTarget::TabCaption:
      if (auto* pages = dynamic_cast<TPageControl*>(c); pages && e.Index < pages->PageCount())
        pages->Pages(e.Index)->SetCaption(WideToAnsi(Value));
      break;
    case TLanguageTarget::FormCaption:
      if (auto* f = dynamic_cast<TCustomForm*>(c)) f->SetCaption(WideToAnsi(Value));
      break;
  }
}

}  // namespace

// Every value is assigned as it was read: a missing file or key empties its text.
void ApplyLanguage(const WideString& FileName) {
  const std::vector<WideString> values = ReadLanguageFile(FileName);
  const auto& entries = LanguageEntries();
  for (size_t i = 0; i < entries.size(); ++i) ApplyEntry(entries[i], values[i]);
  const TIniFile ini(WideToAnsi(FileName));
  TNamedTexts& texts = NamedTexts();
  for (const TNamedTextKey& k : NamedTextKeys()) texts.*k.Text = AnsiToWide(ini.ReadString(k.Section, k.Key, ""));
}

void TMainForm::cbLangChange(TObject*) {
  ApplyLanguage(ProgramFolder() + LanguageFileName(cbLang->ItemIndex(), cbLang->Text()));
}

void AddLanguageHandlers(TMemberTable<TMainForm>& Table) {
  Table.Handler("cbLangChange", &TMainForm::cbLangChange);
}
