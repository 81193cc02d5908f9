// The about panel's links, the help buttons of every page, and the wizard's Cancel.
#include "app/forms/main_form.h"

#include "vcl/application.h"
#include "widetext/platform.h"

namespace {

// The program's web site, opened by every Help button.
const wchar_t kHelpSite[] = L"https://kavo.sourceforge.net/";

// The shell's default action on an address; what it answers is not the program's concern.
void OpenAddress(const WideString& Address) {
  Uni_ShellExecuteW(nullptr, L"", Address, L"", L"", SW_SHOWNORMAL);
}

}  // namespace

void TMainForm::WizardHelpButtonClick(TObject*) { OpenAddress(kHelpSite); }

// Stop keeps the wizard's own Help event from opening the site a second time.
void TMainForm::PageHelpButtonClick(TObject*, bool& Stop) {
  OpenAddress(kHelpSite);
  Stop = true;
}

void TMainForm::WebLinks(TObject* Sender) {
  if (auto* image = dynamic_cast<TUniImage*>(Sender)) OpenAddress(image->Hint());
}

void TMainForm::WizardCancelButtonClick(TObject*) { Application->Terminate(); }

void AddAboutPageHandlers(TMemberTable<TMainForm>& Table) {
  Table.Handler("WizardHelpButtonClick", &TMainForm::WizardHelpButtonClick)
      .Handler("WebLinks", &TMainForm::WebLinks)
      .Handler("WizardCancelButtonClick", &TMainForm::WizardCancelButtonClick);
  for (const char* page : {"SettingsPageHelpButtonClick", "MuxPageHelpButtonClick",
                           "ProcessPageHelpButtonClick", "SplitPageHelpButtonClick", "ConcatPageHelpButtonClick",
                           "ExtractPageHelpButtonClick", "ConverterPageHelpButtonClick", "TagPageHelpButtonClick"})
    Table.Handler(page, &TMainForm::PageHelpButtonClick);
}
