// The explorer controls' language texts: the language a user language stands for, the
// blocks and the shared message texts.
#include <gtest/gtest.h>

#include "explorer/explorer_texts.h"

namespace {

TEST(ExplorerLanguage, UserLanguagesMapToTheirBlocks) {
  struct Case {
    LANGID id;
    TLanguage language;
  } cases[] = {
      {0x0804, lnChinese_Sim}, {0x0404, lnChinese_Tra}, {0x0C04, lnChinese_Tra}, {0x0409, lnEnglish},
      {0x0419, lnEnglish},  // Russian: no block of its own
      {0x0407, lnGerman},      {0x040A, lnSpanish},     {0x040C, lnFrench},      {0x0410, lnItalian},
      {0x0411, lnJapanese},    {0x0412, lnKorean},      {0x0413, lnDutch},       {0x0415, lnPolish},
      {0x0416, lnPortuguese},  {0x041B, lnSlovak},      {0x041D, lnSwedish},     {0x041F, lnTurkish},
      {0x0424, lnSlovenian},
  };
  for (const Case& c : cases) EXPECT_EQ(LanguageOfLangId(c.id), c.language) << std::hex << c.id;
  EXPECT_EQ(ResolveLanguage(lnKorean), lnKorean);
  EXPECT_EQ(ResolveLanguage(lnSysDefault), LanguageOfLangId(GetUserDefaultLangID()));
}

TEST(ExplorerLanguage, BlocksKeepTheEnglishWordingAndTheKnownTranslations) {
  struct Case {
    TLanguage language;
    int entry;
    const char* text;
  } cases[] = {
      {lnEnglish, etName, "Name"},
      {lnEnglish, etFolder, "Folder \""},
      {lnEnglish, etFrom, "From  : "},
      {lnEnglish, etTo, "To     : "},
      {lnEnglish, etDriveNotReady, "There is no disk in Drive or Drive is not ready"},
      {lnEnglish, etAllSubFolders, "and all its Sub-Folders "},
      {lnEnglish, etTreeProperty, "&Property"},
      {lnDutch, etNewFolderName, "Nieuwe map"},
      {lnFrench, etNewFolderName, "Nouveau Dossier"},
      {lnGerman, etNewFolderName, "Neuer Ordner"},
      {lnItalian, etNewFolderName, "Nuova cartella"},
      {lnItalian, etListRename, "&Rin&omina"},
      {lnPolish, etNewFolderName, "Nowy Folder"},
      {lnPortuguese, etNewFolderName, "Nova pasta"},
      {lnSlovenian, etNewFolderName, "Nova mapa"},
      {lnSpanish, etNewFolderName, "Nueva carpeta"},
      {lnSwedish, etNewFolderName, "Ny Katalog"},
  };
  for (const Case& c : cases) EXPECT_EQ(ExplorerText(c.language, c.entry), c.text) << c.language << "/" << c.entry;
  for (int i = 0; i < etTextCount; ++i) EXPECT_FALSE(ExplorerText(lnEnglish, i).empty()) << i;

  AnsiString kept = "kept";
  EXPECT_FALSE(LoadExplorerText(lnSysDefault, etName, kept));
  EXPECT_FALSE(LoadExplorerText(static_cast<TLanguage>(17), etName, kept));
  EXPECT_EQ(kept, "kept");
}

TEST(ExplorerLanguage, TreeTextsFollowTheLanguageByte) {
  TLanguage saved = ExplorerLanguage();
  ExplorerLanguage() = lnGerman;
  LoadTreeTexts();
  EXPECT_EQ(ExplorerMessages().NewFolder, "Neuer Ordner");
  EXPECT_EQ(ExplorerMessages().CantAddDrives, "Can't add drives");

  // Language 0 loads nothing.
  ExplorerLanguage() = lnSysDefault;
  LoadTreeTexts();
  EXPECT_EQ(ExplorerMessages().NewFolder, "Neuer Ordner");

  ExplorerLanguage() = lnEnglish;
  LoadTreeTexts();
  EXPECT_EQ(ExplorerMessages().NewFolder, "New Folder");
  EXPECT_EQ(ExplorerMessages().TreeSize, "TREE SIZE");
  ExplorerLanguage() = saved;
}

}  // namespace
