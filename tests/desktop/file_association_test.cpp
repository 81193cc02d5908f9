// File associations written to and read from the user's own classes key, under a test
// extension that is removed again.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "desktop/file_association.h"
#include "tests/support/pump.h"

namespace {

const char* const kClasses = "Software\\Classes";

struct FileAssociation : ::testing::Test {
  HKEY classes = nullptr;
  void SetUp() override {
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kClasses, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &classes,
                              nullptr),
              ERROR_SUCCESS);
    RemoveTestKeys();
  }
  void TearDown() override {
    RemoveTestKeys();
    RegCloseKey(classes);
  }
  void RemoveTestKeys() {
    for (const char* key : {".kavotst", "kavotstfile", "Kavo.TestDocument"}) RegDeleteTreeA(classes, key);
  }
  // The default value of a key under the classes key; "<none>" when the key is missing.
  std::string Value(const std::string& Path) {
    char buffer[512] = {};
    LONG size = sizeof buffer;
    if (RegQueryValueA(classes, Path.c_str(), buffer, &size) != ERROR_SUCCESS) return "<none>";
    return buffer;
  }
  bool KeyExists(const std::string& Path) {
    HKEY key;
    if (RegOpenKeyExA(classes, Path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
  // An association under the classes key that may write.
  void Prepare(TdkFileAssociation& a) {
    a.SetRootKey(classes);
    a.SetReadOnly(false);
  }
};

TEST_F(FileAssociation, WritesTheTypeIconAndVerbsAndReadsThemBack) {
  TdkFileAssociation a(nullptr);
  Prepare(a);
  a.SetExtension("kavotst");
  EXPECT_EQ(a.Extension(), ".kavotst");
  a.SetFileDescription("Kavo test document");
  a.SetIconFile("C:\\windows\\system32\\shell32.dll");
  a.SetIconIndex(3);
  a.SetOpenCommand("\"C:\\Kavo\\Kavo.exe\" \"%1\"");
  a.SetOpenCommandDescription("&Open with Kavo");
  a.SetPrintCommand("notepad /p \"%1\"");

  // Each change at run time reaches the registry at once; an empty type name becomes the
  // extension's name followed by "file".
  EXPECT_EQ(Value(".kavotst"), "kavotstfile");
  EXPECT_EQ(Value("kavotstfile"), "Kavo test document");
  EXPECT_EQ(Value("kavotstfile\\DefaultIcon"), "C:\\windows\\system32\\shell32.dll,3");
  EXPECT_EQ(Value("kavotstfile\\shell\\open"), "&Open with Kavo");
  EXPECT_EQ(Value("kavotstfile\\shell\\open\\command"), "\"C:\\Kavo\\Kavo.exe\" \"%1\"");
  EXPECT_EQ(Value("kavotstfile\\shell\\print\\command"), "notepad /p \"%1\"");
  // Verbs without a command are left out rather than written as dead menu entries.
  EXPECT_FALSE(KeyExists("kavotstfile\\shell\\edit"));

  TdkFileAssociation b(nullptr);
  b.SetRootKey(classes);
  b.SetExtension(".kavotst");
  EXPECT_EQ(b.ExtDescription(), "kavotstfile");
  EXPECT_EQ(b.FileDescription(), "Kavo test document");
  EXPECT_EQ(b.IconFile(), "C:\\windows\\system32\\shell32.dll");
  EXPECT_EQ(b.IconIndex(), 3);
  EXPECT_EQ(b.OpenCommand(), "\"C:\\Kavo\\Kavo.exe\" \"%1\"");
  EXPECT_EQ(b.OpenCommandDescription(), "&Open with Kavo");
  EXPECT_EQ(b.PrintCommand(), "notepad /p \"%1\"");
  EXPECT_EQ(b.EditCommand(), "");
  EXPECT_FALSE(b.LargeIcon()->Empty());
  EXPECT_FALSE(b.SmallIcon()->Empty());

  // A cleared command writes nothing for its verb: what the registry holds there stays.
  a.SetPrintCommand("");
  EXPECT_EQ(Value("kavotstfile\\shell\\print\\command"), "notepad /p \"%1\"");
  EXPECT_TRUE(KeyExists("kavotstfile\\shell\\open\\command"));
}

TEST_F(FileAssociation, WritingKeepsAVerbRunThroughDelegateExecuteWithAllItHolds) {
  // A real association's verb: a command key without a default value, a DelegateExecute
  // value, and keys of its own below the verb.
  auto create = [&](const char* path, const char* name, const char* value) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(classes, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), ERROR_SUCCESS);
    if (name)
      RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), static_cast<DWORD>(strlen(value) + 1));
    RegCloseKey(key);
  };
  create(".kavotst", "", "Kavo.TestDocument");
  create("Kavo.TestDocument\\shell\\edit\\command", "DelegateExecute", "{11111111-2222-3333-4444-555555555555}");
  create("Kavo.TestDocument\\shell\\edit\\DropTarget", "CLSID", "{66666666-7777-8888-9999-000000000000}");
  create("Kavo.TestDocument\\shell\\edit", "MUIVerb", "Edit in place");

  TdkFileAssociation a(nullptr);
  Prepare(a);
  a.SetExtension(".kavotst");
  EXPECT_EQ(a.EditCommand(), "");
  a.SetOpenCommand("\"C:\\Kavo\\Kavo.exe\" \"%1\"");
  ASSERT_TRUE(a.Write());

  EXPECT_EQ(Value("Kavo.TestDocument\\shell\\open\\command"), "\"C:\\Kavo\\Kavo.exe\" \"%1\"");
  EXPECT_TRUE(KeyExists("Kavo.TestDocument\\shell\\edit\\DropTarget"));
  char delegate[128] = {};
  DWORD size = sizeof delegate;
  EXPECT_EQ(RegGetValueA(classes, "Kavo.TestDocument\\shell\\edit\\command", "DelegateExecute", RRF_RT_REG_SZ,
                         nullptr, delegate, &size),
            ERROR_SUCCESS);
  EXPECT_STREQ(delegate, "{11111111-2222-3333-4444-555555555555}");
  size = sizeof delegate;  // still no default value written there
  EXPECT_EQ(RegGetValueA(classes, "Kavo.TestDocument\\shell\\edit\\command", "", RRF_RT_ANY, nullptr, delegate, &size),
            ERROR_FILE_NOT_FOUND);
}

TEST_F(FileAssociation, IconEntriesAreSplitAtTheLastComma) {
  struct Case {
    const char* Stored;
    const char* File;
    int Index;
  } cases[] = {{"C:\\a,b\\doc.ico,2", "C:\\a,b\\doc.ico", 2},
               {"C:\\doc.ico", "C:\\doc.ico", 0},
               {"C:\\doc.ico,x", "C:\\doc.ico", 0},
               {"C:\\doc.ico,-5", "C:\\doc.ico", -5}};
  for (const Case& c : cases) {
    RegSetValueA(classes, ".kavotst", REG_SZ, "Kavo.TestDocument", 0);
    RegSetValueA(classes, "Kavo.TestDocument\\DefaultIcon", REG_SZ, c.Stored, 0);
    TdkFileAssociation a(nullptr);
    a.SetRootKey(classes);
    a.SetExtension(".kavotst");
    EXPECT_EQ(a.ExtDescription(), "Kavo.TestDocument");
    EXPECT_EQ(a.IconFile(), c.File) << c.Stored;
    EXPECT_EQ(a.IconIndex(), c.Index) << c.Stored;
    // No such icon file: the shell's icon for a document stands in.
    EXPECT_FALSE(a.LargeIcon()->Empty()) << c.Stored;
  }
}

TEST_F(FileAssociation, AReadOnlyAssociationKeepsWhatTheRegistryHolds) {
  RegSetValueA(classes, ".kavotst", REG_SZ, "kavotstfile", 0);
  RegSetValueA(classes, "kavotstfile", REG_SZ, "As installed", 0);
  TdkFileAssociation a(nullptr);
  a.SetRootKey(classes);
  a.SetExtension("kavotst");
  ASSERT_TRUE(a.ReadOnly());
  a.SetFileDescription("Changed");
  a.SetOpenCommand("evil.exe");
  EXPECT_EQ(a.FileDescription(), "As installed");
  EXPECT_EQ(a.OpenCommand(), "");
  EXPECT_EQ(Value("kavotstfile"), "As installed");
  EXPECT_FALSE(KeyExists("kavotstfile\\shell"));
}

TEST_F(FileAssociation, DeleteRemovesTheExtensionAndAMissingOneCountsAsDone) {
  TdkFileAssociation a(nullptr);
  Prepare(a);
  a.SetExtension(".kavotst");
  a.SetFileDescription("Kavo test document");
  ASSERT_TRUE(KeyExists(".kavotst"));

  EXPECT_TRUE(a.Delete());
  EXPECT_FALSE(KeyExists(".kavotst"));
  EXPECT_EQ(a.ExtDescription(), "");
  EXPECT_EQ(a.FileDescription(), "");
  EXPECT_TRUE(a.Delete());

  // Nothing to write without an extension.
  TdkFileAssociation none(nullptr);
  Prepare(none);
  EXPECT_FALSE(none.Write());
}

TEST_F(FileAssociation, AtDesignTimeAReadOnlyAssociationWarnsAndWritesNothing) {
  TdkFileAssociation a(nullptr);
  a.SetRootKey(classes);
  a.SetComponentState(csDesigning, true);
  a.SetExtension(".kavotst");
  {
    TMessageBoxWatcher box;
    a.SetFileDescription("Designed");
    EXPECT_TRUE(box.Seen());
    EXPECT_EQ(box.Caption(), "Warning");
    EXPECT_EQ(box.Text(), "Cannot change the property in Read-Only mode.");
  }
  EXPECT_EQ(a.FileDescription(), "Designed");
  EXPECT_FALSE(KeyExists(".kavotst"));

  // Writable, the designer's change reaches the registry.
  a.SetReadOnly(false);
  a.SetFileDescription("Designed again");
  EXPECT_EQ(Value("kavotstfile"), "Designed again");
}

}  // namespace
