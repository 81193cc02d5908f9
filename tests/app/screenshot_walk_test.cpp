// A walk through the program's pages for a look at them: with KAVO_SCREENSHOT_DIR naming a
// folder (as Wine sees it, e.g. Z:\tmp\shots), each page is shown in English and in French,
// "<name>.ready" is written there, and the walk waits for "<name>.png" (taken from outside
// with `import`) before it goes on. Without the variable the walk is skipped.
#include "tests/app/program_session.h"

#include <cstdlib>

using namespace apptest;

namespace {

bool WaitForShot(const std::string& Dir, const std::string& Name) {
  const std::string ready = Dir + "\\" + Name + ".ready";
  HANDLE f = CreateFileA(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
  const std::string shot = Dir + "\\" + Name + ".png";
  return PumpUntil([&] { return GetFileAttributesA(shot.c_str()) != INVALID_FILE_ATTRIBUTES; }, 20000);
}

TEST(ScreenshotWalk, EveryPageInEnglishAndFrench) {
  const char* dir = std::getenv("KAVO_SCREENSHOT_DIR");
  if (!dir) GTEST_SKIP() << "KAVO_SCREENSHOT_DIR is not set";
  InstallLanguageFiles();
  RemoveSettingsFile();
  TProgramSession session;
  session.Show();
  TMainForm* m = session.Main();
  m->SetBounds(0, 0, m->Width(), m->Height());
  for (int lang : {1, 2}) {
    const std::string suffix = lang == 1 ? "_en" : "_fr";
    m->cbLang->SetItemIndex(lang);
    m->cbLangChange(m->cbLang);
    auto shot = [&](const char* name) {
      m->Update();
      PumpUntil([] { return false; }, 300);
      EXPECT_TRUE(WaitForShot(dir, name + suffix)) << name;
    };
    m->Wizard->SetActivePage(m->Page1);
    for (int area = 0; area < 4; ++area) {
      m->MainList->SetItemIndex(area);
      m->MainListClick(m->MainList);
      const char* names[] = {"start_creation", "start_edition", "start_settings", "about"};
      shot(names[area]);
    }
    m->MainList->SetItemIndex(0);
    m->MainListClick(m->MainList);
    m->Wizard->SetActivePage(m->SettingsPage);
    for (int group = 0; group < 3; ++group) {
      m->SettingsView->SetSelected(m->SettingsView->Items()->Item(group));
      m->SettingsViewClick(m->SettingsView);
      const char* names[] = {"settings_mp4box", "settings_tagger", "settings_kavo"};
      shot(names[group]);
    }
    m->Wizard->SetActivePage(m->ProcessPage);
    m->FProcessView->AddProcessEvent(L"MP4Box command line started", 0);
    m->FProcessView->AddProcessEvent(L"A warning of the tool", 1);
    m->FProcessView->AddProcessEvent(L"An error of the tool", 2);
    m->FProcessView->ShowProgress(42, L"42 %");
    m->FProcessView->ShowTimeRemaining(L"00:01:31");
    shot("process");
    m->FProcessView->JobClosed(TJobOutcome::Succeeded, NamedTexts().CreateSucceed);
    const std::pair<TKvWizardCustomPage*, const char*> pages[] = {
        {m->MuxPage, "mux"}, {m->SplitPage, "split"}, {m->ConcatPage, "concat"},
        {m->ExtractPage, "extract"}, {m->ConverterPage, "converter"}, {m->TagPage, "tag"}};
    for (const auto& [page, name] : pages) {
      m->Wizard->SetActivePage(page);
      shot(name);
    }
    m->Wizard->SetActivePage(m->Page1);
    PropForm->SetBounds(0, 0, PropForm->Width(), PropForm->Height());
    PropForm->Show();
    for (int tab = 0; tab < 4; ++tab) {
      PropForm->PageControl1->Pages(tab)->SetTabVisible(true);
      PropForm->PageControl1->SetActivePage(PropForm->PageControl1->Pages(tab));
      const char* names[] = {"prop_track", "prop_tags", "prop_more", "prop_art"};
      PropForm->Update();
      shot(names[tab]);
    }
    PropForm->Hide();
  }
}

}  // namespace
