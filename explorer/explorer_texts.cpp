#include "explorer/explorer_texts.h"

#include <array>

namespace {

// The English block; every other block has the same entries in the same order.
constexpr std::array<const char*, etTextCount> kEnglish = {
    "Name", "Size", "Type", "Modified", "Attr", "Disk Size", "Free Space", "Unknown", "Not exist",
    "Removable Disk", "Fixed Disk", "Network Disk", "CD-ROM Disk", "RAM Disk",
    "&Open", "&View", "Se&nd To", "Cu&t", "&Copy", "&Paste", "&Rename", "&Delete", "&Properties",
    "&New Folder...", "Any Folder ...", "Clipboard as Contents", "Clipboard as FileName", "DeskTop as ShortCut",
    "&New Folder", "&Rename Folder", "&Delete Folder", "Cu&t", "&Copy", "&Paste", "Tree &Size",
    "&Folder Contents", "&Map Network Drive ...", "Dis&Connect Network Drive", "&Property",
    "Drive ", "Folder \"", "ERROR - ", " file ", "From  : ", "To     : ", "Cancel", "Browse", "ReadOnly",
    "Archive", "Hidden", "System", "ERROR - Can't ", "Please specify a directory", "Not a valid Drive ID",
    "There is no disk in Drive or Drive is not ready", "already exists !", "Error - Invalid Directory Name",
    "Do you want to rename the selected folder", "Can't add drives", "New Folder",
    "Folder Name contains invalid characters", "not found", "Files in ", "File operation failed",
    "It's ReadOnly", "No file(s) selected", "Send to any folder", "Please enter the send_to path",
    "Error - PersistFile.Save failed", "Set Attributes", "TREE SIZE", "and all its Sub-Folders ",
};

// The translated entries we have; a block's other entries read as the English ones.
struct TTranslation {
  TLanguage Language;
  int Entry;
  const char* Text;
};
constexpr TTranslation kTranslations[] = {
    {lnDutch, etNewFolderName, "Nieuwe map"},        {lnFrench, etNewFolderName, "Nouveau Dossier"},
    {lnGerman, etNewFolderName, "Neuer Ordner"},     {lnItalian, etNewFolderName, "Nuova cartella"},
    {lnItalian, etListRename, "&Rin&omina"},         {lnPolish, etNewFolderName, "Nowy Folder"},
    {lnPortuguese, etNewFolderName, "Nova pasta"},   {lnSlovenian, etNewFolderName, "Nova mapa"},
    {lnSpanish, etNewFolderName, "Nueva carpeta"},   {lnSwedish, etNewFolderName, "Ny Katalog"},
};

bool HasBlock(TLanguage Language) { return Language >= lnEnglish && Language <= lnTurkish; }

}  // namespace

TLanguage LanguageOfLangId(LANGID LangId) {
  int primary = LangId & 0x3FF;
  int sub = LangId >> 10;
  switch (primary) {
    case 4: return sub == 2 ? lnChinese_Sim : lnChinese_Tra;
    case 7: return lnGerman;
    case 10: return lnSpanish;
    case 12: return lnFrench;
    case 16: return lnItalian;
    case 17: return lnJapanese;
    case 18: return lnKorean;
    case 19: return lnDutch;
    case 21: return lnPolish;
    case 22: return lnPortuguese;
    case 27: return lnSlovak;
    case 29: return lnSwedish;
    case 31: return lnTurkish;
    case 36: return lnSlovenian;
    default: return lnEnglish;
  }
}

TLanguage ResolveLanguage(TLanguage Language, bool UseSystemLanguage) {
  if (Language != lnSysDefault) return Language;
  return LanguageOfLangId(UseSystemLanguage ? GetSystemDefaultLangID() : GetUserDefaultLangID());
}

bool LoadExplorerText(TLanguage Language, int Entry, AnsiString& Dest) {
  if (!HasBlock(Language) || Entry < 0 || Entry >= etTextCount) return false;
  for (const TTranslation& t : kTranslations)
    if (t.Language == Language && t.Entry == Entry) {
      Dest = t.Text;
      return true;
    }
  Dest = kEnglish[static_cast<size_t>(Entry)];
  return true;
}

AnsiString ExplorerText(TLanguage Language, int Entry) {
  AnsiString text;
  LoadExplorerText(Language, Entry, text);
  return text;
}

namespace {

// Each message text with the entry it is loaded from.
struct TMessageSlot {
  AnsiString TExplorerMessages::*Field;
  int Entry;
};
constexpr TMessageSlot kTreeSlots[] = {
    {&TExplorerMessages::Drive, etDrive},
    {&TExplorerMessages::Folder, etFolder},
    {&TExplorerMessages::Error, etError},
    {&TExplorerMessages::File, etFile},
    {&TExplorerMessages::From, etFrom},
    {&TExplorerMessages::To, etTo},
    {&TExplorerMessages::CantDo, etCantDo},
    {&TExplorerMessages::SpecifyDirectory, etSpecifyDirectory},
    {&TExplorerMessages::InvalidDriveId, etInvalidDriveId},
    {&TExplorerMessages::DriveNotReady, etDriveNotReady},
    {&TExplorerMessages::AlreadyExists, etAlreadyExists},
    {&TExplorerMessages::InvalidDirectoryName, etInvalidDirectoryName},
    {&TExplorerMessages::RenameQuestion, etRenameQuestion},
    {&TExplorerMessages::CantAddDrives, etCantAddDrives},
    {&TExplorerMessages::NewFolder, etNewFolderName},
    {&TExplorerMessages::InvalidCharacters, etInvalidCharacters},
    {&TExplorerMessages::NotFound, etNotFound},
    {&TExplorerMessages::FilesIn, etFilesIn},
    {&TExplorerMessages::FileOperationFailed, etFileOperationFailed},
    {&TExplorerMessages::TreeSize, etTreeSizeTitle},
    {&TExplorerMessages::AllSubFolders, etAllSubFolders},
};

constexpr TMessageSlot kFileListSlots[] = {
    {&TExplorerMessages::Error, etError},
    {&TExplorerMessages::File, etFile},
    {&TExplorerMessages::Cancel, etCancel},
    {&TExplorerMessages::Browse, etBrowse},
    {&TExplorerMessages::ReadOnly, etReadOnly},
    {&TExplorerMessages::Archive, etArchive},
    {&TExplorerMessages::Hidden, etHidden},
    {&TExplorerMessages::System, etSystem},
    {&TExplorerMessages::CantDo, etCantDo},
    {&TExplorerMessages::SpecifyDirectory, etSpecifyDirectory},
    {&TExplorerMessages::InvalidDriveId, etInvalidDriveId},
    {&TExplorerMessages::DriveNotReady, etDriveNotReady},
    {&TExplorerMessages::AlreadyExists, etAlreadyExists},
    {&TExplorerMessages::NewFolder, etNewFolderName},
    {&TExplorerMessages::ReadOnlyFile, etReadOnlyFile},
    {&TExplorerMessages::NoFileSelected, etNoFileSelected},
    {&TExplorerMessages::SendToAnyFolder, etSendToAnyFolder},
    {&TExplorerMessages::EnterSendToPath, etEnterSendToPath},
    {&TExplorerMessages::SaveShortcutFailed, etSaveShortcutFailed},
    {&TExplorerMessages::SetAttributes, etSetAttributes},
};

template <size_t N>
void LoadSlots(TExplorerMessages& Messages, TLanguage Language, const TMessageSlot (&Slots)[N]) {
  for (const TMessageSlot& slot : Slots) LoadExplorerText(Language, slot.Entry, Messages.*slot.Field);
}

}  // namespace

TExplorerMessages& ExplorerMessages() {
  static TExplorerMessages messages = [] {
    TExplorerMessages m;
    LoadSlots(m, lnEnglish, kTreeSlots);
    LoadSlots(m, lnEnglish, kFileListSlots);
    return m;
  }();
  return messages;
}

TLanguage& ExplorerLanguage() {
  static TLanguage language = lnSysDefault;
  return language;
}

void LoadTreeTexts() { LoadSlots(ExplorerMessages(), ExplorerLanguage(), kTreeSlots); }

void LoadFileListTexts(TLanguage Language) { LoadSlots(ExplorerMessages(), Language, kFileListSlots); }
