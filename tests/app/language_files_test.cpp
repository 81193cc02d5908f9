// The language files shipped in lang\: every key the program reads is in each of them, and
// applying one puts its texts into the controls and the named texts at once.
#include "tests/app/program_session.h"

#include <map>
#include <set>

#include "app/common/named_texts.h"
#include "app/common/utf8.h"
#include "app/settings/language_file.h"
#include "tests/widetext/temp_folder.h"

using namespace apptest;

namespace {

using TKeySet = std::set<std::pair<std::string, std::string>>;

// The section/key pairs of an INI file, as written.
TKeySet KeysOfFile(const WideString& File) {
  TKeySet keys;
  const std::string text = ReadFileBytes(File);
  std::string section;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      section = line.substr(1, line.find(']') - 1);
      continue;
    }
    keys.insert({section, line.substr(0, line.find('='))});
  }
  return keys;
}

// The value of one key, as written (quotes kept).
std::string ValueInFile(const WideString& File, const std::string& Section, const std::string& Key) {
  const std::string text = ReadFileBytes(File);
  std::string section;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '[') section = line.substr(1, line.find(']') - 1);
    else if (section == Section && line.rfind(Key + "=", 0) == 0) return line.substr(Key.size() + 1);
  }
  return {};
}

TKeySet KeysTheProgramReads() {
  TKeySet keys;
  for (const TLanguageEntry& e : LanguageEntries()) keys.insert({e.Section, e.Key});
  for (const TNamedTextKey& k : NamedTextKeys()) keys.insert({k.Section, k.Key});
  return keys;
}

const wchar_t* const kLanguages[] = {L"Castellano", L"English", L"Fran\u00e7ais"};

TEST(LanguageFiles, EachFileHoldsExactlyTheKeysTheProgramReads) {
  const TKeySet wanted = KeysTheProgramReads();
  for (const wchar_t* language : kLanguages) {
    SCOPED_TRACE(WideToAnsi(language));
    const WideString file = SourceRoot() + L"lang\\" + language + L".ini";
    const TKeySet found = KeysOfFile(file);
    for (const auto& key : wanted)
      EXPECT_TRUE(found.count(key)) << "missing [" << key.first << "] " << key.second;
    for (const auto& key : found)
      EXPECT_TRUE(wanted.count(key)) << "not read [" << key.first << "] " << key.second;
    // And every value reads as a text (none empty).
    const std::vector<WideString> values = ReadLanguageFile(file);
    for (size_t i = 0; i < values.size(); ++i)
      EXPECT_FALSE(values[i].empty()) << LanguageEntries()[i].Section << " " << LanguageEntries()[i].Key;
  }
}

// The properties dialog shows these as label + " : " + value: a colon of their own would
// show twice ("File : : clip.avi").
TEST(LanguageFiles, LabelsJoinedWithAColonCarryNoneOfTheirOwn) {
  for (const wchar_t* language : kLanguages) {
    SCOPED_TRACE(WideToAnsi(language));
    const WideString file = SourceRoot() + L"lang\\" + language + L".ini";
    for (const char* key : {"lbFile", "lbInfo", "lbType"}) {
      std::string value = ValueInFile(file, "Properties", key);
      while (!value.empty() && (value.back() == ' ' || value.back() == '"')) value.pop_back();
      ASSERT_FALSE(value.empty()) << key;
      EXPECT_NE(value.back(), ':') << key << "=" << value;
    }
  }
}

TEST(LanguageFiles, ChoosingALanguageReplacesTheTextsAtOnce) {
  InstallLanguageFiles();
  RemoveSettingsFile();
  TProgramSession session;
  session.Show();
  TMainForm* m = session.Main();
  struct Case {
    int Index;
    const wchar_t* Next;
    const wchar_t* Abort;
    const wchar_t* LogBox;
    const wchar_t* Started;
    const char* PropCaption;
  };
  const Case cases[] = {
      {2, L"&Suivant >", L"&Interrompre", L"Enregistrer le journal dans le dossier de Kavo.", L"d\u00e9marr\u00e9",
       "Propri\xe9t\xe9s"},
      {0, L"&Siguiente >", L"&Cancelar", L"Guardar el registro en la carpeta de Kavo.", L"iniciado", "Propiedades"},
      {1, L"&Next >", L"&Abort", L"Save Log File in Kavo Folder.", L"started", "Properties"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Index);
    m->cbLang->SetItemIndex(c.Index);
    m->cbLangChange(m->cbLang);
    EXPECT_EQ(AnsiToWide(m->Wizard->ButtonControl(TKvWizardButtonKind::bkNext)->Caption()), c.Next);
    EXPECT_EQ(m->btAbort->Caption(), c.Abort);
    EXPECT_EQ(m->chKavoLog->Caption(), c.LogBox);
    EXPECT_EQ(NamedTexts().MsgStarted, c.Started);
    EXPECT_EQ(PropForm->Caption(), AnsiToWide(c.PropCaption));
    // Every named text has its value.
    for (const TNamedTextKey& k : NamedTextKeys()) EXPECT_FALSE((NamedTexts().*k.Text).empty()) << k.Key;
  }
  EXPECT_EQ(m->MainList->Items()->Item(1)->Caption(), L"Edition");
  EXPECT_EQ(m->ETAListView->Column(2)->Caption(), L"Events");
  EXPECT_EQ(m->WHeaderSettingsPage->CaptionText(), "Advanced Settings");

  // A language whose file is missing keeps the forms' own texts (no button loses its
  // caption) and empties the message texts, which have none; the log tells it once.
  const int logged = m->FLog->Lines()->Count();
  for (int i = 0; i < 2; ++i) {
    m->cbLang->SetItemIndex(-1);
    m->cbLangChange(m->cbLang);
  }
  EXPECT_EQ(m->btAbort->Caption(), L"&Abort");
  EXPECT_EQ(AnsiToWide(m->Wizard->ButtonControl(TKvWizardButtonKind::bkNext)->Caption()), L"&Next >");
  EXPECT_EQ(m->EditionList->Items()->Strings(0), "Click to split MP4/M4A/MOV/3GP Files.");
  EXPECT_EQ(NamedTexts().MsgStarted, L"");
  ASSERT_EQ(m->FLog->Lines()->Count(), logged + 1);
  EXPECT_NE(m->FLog->Lines()->Strings(logged).find("lang\\.ini is incomplete or damaged"), std::string::npos)
      << m->FLog->Lines()->Strings(logged);
  m->cbLang->SetItemIndex(1);
  m->cbLangChange(m->cbLang);
  EXPECT_EQ(m->btAbort->Caption(), L"&Abort");
  EXPECT_EQ(m->EditionList->Items()->Strings(0), "Click to split MP4/M4A/MOV/3GP Files.");
}

// A file that lacks some keys: those controls keep the form's text, in whatever language
// was shown before; the rest comes from the file.
TEST(LanguageFiles, AFileLackingKeysLeavesNoControlWithoutItsText) {
  InstallLanguageFiles();
  RemoveSettingsFile();
  TProgramSession session;
  session.Show();
  TMainForm* m = session.Main();
  m->cbLang->SetItemIndex(2);  // French first: its texts must not linger either
  m->cbLangChange(m->cbLang);
  std::string partial = ReadFileBytes(SourceRoot() + L"lang\\Castellano.ini");
  for (const char* key : {"btAbort=", "CreateFailed="}) {
    const size_t at = partial.find(key);
    ASSERT_NE(at, std::string::npos) << key;
    partial.erase(at, partial.find('\n', at) + 1 - at);
  }
  const WideString file = TMainForm::ProgramFolder() + L"lang\\Partial.ini";
  TempFolder::MakeFile(file, partial);
  m->cbLang->Items()->Add(L"Partial");  // a language of its own: its file is lang\Partial.ini
  m->cbLang->SetItemIndex(3);
  m->cbLangChange(m->cbLang);
  DeleteFileW(file.c_str());
  EXPECT_EQ(m->btAbort->Caption(), L"&Abort");                                      // the form's own
  EXPECT_EQ(m->chKavoLog->Caption(), L"Guardar el registro en la carpeta de Kavo.");  // from the file
  EXPECT_EQ(NamedTexts().CreateFailed, L"");
  const AnsiString last = m->FLog->Lines()->Strings(m->FLog->Lines()->Count() - 1);
  // Said in the language just chosen, with the keys it lacks.
  EXPECT_NE(last.find(WideToUtf8(FormatText(NamedTexts().MsgLanguageIncomplete, {file, L"2", L"[ProcessPage] btAbort, "
                                                                                        L"[ProcessPage] CreateFailed"}))),
            std::string::npos)
      << last;
}

TEST(LanguageFiles, TheFileNameFollowsTheChosenItem) {
  EXPECT_EQ(LanguageFileName(0, L"x"), L"lang\\Castellano.ini");
  EXPECT_EQ(LanguageFileName(1, L"x"), L"lang\\English.ini");
  EXPECT_EQ(LanguageFileName(2, L"x"), L"lang\\Fran\u00e7ais.ini");
  EXPECT_EQ(LanguageFileName(-1, L""), L"lang\\.ini");
  EXPECT_EQ(LanguageFileName(7, L"Deutsch"), L"lang\\Deutsch.ini");
}

}  // namespace
