// Applying a language file: every caption, hint, column title, list item, header text and
// wizard button the file names, then the named texts of the messages.
#include "app/forms/main_form.h"

#include "app/common/named_texts.h"
#include "app/forms/prop_form.h"
#include "app/settings/language_file.h"
#include "vcl/pagecontrol.h"

namespace {

TComponent* FormOf(const char* Name) {
  if (std::string_view(Name) == "PropForm") return PropForm;
  return MainForm;
}

// The component an entry fills; none when its form does not hold it (a dialog not
// created, as in some tests).
TComponent* TargetOf(const TLanguageEntry& e) {
  TComponent* form = FormOf(e.Form);
  if (!form) return nullptr;
  return std::string_view(e.Component) == form->Name() ? form : form->FindComponent(e.Component);
}

// The text an entry's place holds now.
std::optional<WideString> ReadEntry(const TLanguageEntry& e, TComponent* c) {
  switch (e.Target) {
    case TLanguageTarget::Caption:
      if (auto* control = dynamic_cast<TControl*>(c)) return UniControl_GetText(control);
      break;
    case TLanguageTarget::Hint:
      if (auto* control = dynamic_cast<TControl*>(c)) return UniControl_GetHint(control);
      break;
    case TLanguageTarget::Column:
      if (auto* list = dynamic_cast<TUniCustomListView*>(c); list && e.Index < list->Columns()->Count())
        return list->Column(e.Index)->Caption();
      break;
    case TLanguageTarget::Item:
      if (auto* list = dynamic_cast<TUniCustomListView*>(c)) {
        if (e.Index < list->Items()->Count()) return list->Items()->Item(e.Index)->Caption();
      } else if (auto* box = dynamic_cast<TCustomListBox*>(c)) {
        if (e.Index < box->Items()->Count()) return AnsiToWide(box->Items()->Strings(e.Index));
      }
      break;
    case TLanguageTarget::HeaderTitle:
      if (auto* header = dynamic_cast<TKvgWizardHeader*>(c)) return AnsiToWide(Trim(header->Captions()->Text()));
      break;
    case TLanguageTarget::HeaderSubtitle:
      if (auto* header = dynamic_cast<TKvgWizardHeader*>(c)) return AnsiToWide(Trim(header->Comments()->Text()));
      break;
    case TLanguageTarget::WizardButton:
      if (auto* wizard = dynamic_cast<TKvWizard*>(c))
        return AnsiToWide(wizard->GetButton(static_cast<TKvWizardButtonKind>(e.Index))->Caption());
      break;
    case TLanguageTarget::TabCaption:
      if (auto* pages = dynamic_cast<TPageControl*>(c); pages && e.Index < pages->PageCount())
        return AnsiToWide(pages->Pages(e.Index)->Caption());
      break;
    case TLanguageTarget::FormCaption:
      if (auto* f = dynamic_cast<TCustomForm*>(c)) return AnsiToWide(f->Caption());
      break;
  }
  return std::nullopt;
}

// Puts one value where its entry says.
void ApplyEntry(const TLanguageEntry& e, TComponent* c, const WideString& Value) {
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

// Every value is assigned as it was read. A text the file lacks keeps the form's own
// (a button never loses its caption to an incomplete file); a named text it lacks, which
// has no form text, is emptied.
std::vector<AnsiString> ApplyLanguage(const WideString& FileName) {
  const TProfileSnapshot ini = ReadLanguageProfile(FileName);
  const std::vector<std::optional<WideString>> values = ReadLanguageEntries(ini);
  const auto& entries = LanguageEntries();
  std::vector<std::optional<WideString>> unused(entries.size());
  std::vector<std::optional<WideString>>& designed = MainForm ? MainForm->FDesignedTexts : unused;
  designed.resize(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    TComponent* c = TargetOf(entries[i]);
    if (!c) continue;
    if (!designed[i]) designed[i] = ReadEntry(entries[i], c);
    if (values[i])
      ApplyEntry(entries[i], c, *values[i]);
    else if (designed[i])
      ApplyEntry(entries[i], c, *designed[i]);
  }
  TNamedTexts& texts = NamedTexts();
  for (const TNamedTextKey& k : NamedTextKeys()) texts.*k.Text = AnsiToWide(ini.ReadString(k.Section, k.Key, ""));
  return MissingLanguageKeys(ini);
}

void TMainForm::cbLangChange(TObject*) {
  const WideString file = ProgramFolder() + LanguageFileName(cbLang->ItemIndex(), cbLang->Text());
  const std::vector<AnsiString> missing = ApplyLanguage(file);
  if (missing.empty() || !FIncompleteLanguagesLogged.insert(file).second) return;
  // Told once a file, with the first keys it lacks: enough to mend it.
  AnsiString keys;
  for (size_t i = 0; i < missing.size() && i < 5; ++i) keys += (i ? ", " : "") + missing[i];
  if (missing.size() > 5) keys += ", ...";
  // The file may lack this very text: then it is said in English.
  const WideString& pattern = NamedTexts().MsgLanguageIncomplete.empty() ? TNamedTexts().MsgLanguageIncomplete
                                                                          : NamedTexts().MsgLanguageIncomplete;
  AddLogLine(FormatText(pattern,
                        {file, AnsiToWide(std::to_string(missing.size())), AnsiToWide(keys)}));
}

void AddLanguageHandlers(TMemberTable<TMainForm>& Table) {
  Table.Handler("cbLangChange", &TMainForm::cbLangChange);
}
