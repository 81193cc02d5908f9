// The explorer controls' texts in their sixteen languages, the language a component chooses,
// and the message texts every folder tree, folder combo and file list of the program shares.
#pragma once

#include <windows.h>

#include "vcl/sysutils.h"
#include "vcl/typinfo.h"

enum TLanguage {
  lnSysDefault, lnEnglish, lnChinese_Tra, lnChinese_Sim, lnDutch, lnFrench, lnGerman, lnItalian,
  lnJapanese, lnPolish, lnPortuguese, lnSlovenian, lnSlovak, lnSpanish, lnSwedish, lnKorean, lnTurkish
};
VCL_ENUM_INFO(TLanguage, "lnSysDefault", "lnEnglish", "lnChinese_Tra", "lnChinese_Sim", "lnDutch", "lnFrench",
              "lnGerman", "lnItalian", "lnJapanese", "lnPolish", "lnPortuguese", "lnSlovenian", "lnSlovak",
              "lnSpanish", "lnSwedish", "lnKorean", "lnTurkish")

// The entries of a language's block, in block order (72 entries).
enum TExplorerText {
  etName, etSize, etType, etModified, etAttr, etDiskSize, etFreeSpace, etUnknown, etNotExist,
  etRemovableDisk, etFixedDisk, etNetworkDisk, etCdRomDisk, etRamDisk,
  // file list pop-up menu
  etListOpen, etListView, etListSendTo, etListCut, etListCopy, etListPaste, etListRename, etListDelete,
  etListProperties, etListNewFolder, etListAnyFolder, etListClipboardContents, etListClipboardFileName,
  etListDeskTopShortCut,
  // folder tree pop-up menu
  etTreeNewFolder, etTreeRenameFolder, etTreeDeleteFolder, etTreeCut, etTreeCopy, etTreePaste, etTreeSize,
  etTreeFolderContents, etTreeMapNetworkDrive, etTreeDisconnectNetworkDrive, etTreeProperty,
  // messages
  etDrive, etFolder, etError, etFile, etFrom, etTo, etCancel, etBrowse, etReadOnly, etArchive, etHidden,
  etSystem, etCantDo, etSpecifyDirectory, etInvalidDriveId, etDriveNotReady, etAlreadyExists,
  etInvalidDirectoryName, etRenameQuestion, etCantAddDrives, etNewFolderName, etInvalidCharacters,
  etNotFound, etFilesIn, etFileOperationFailed, etReadOnlyFile, etNoFileSelected, etSendToAnyFolder,
  etEnterSendToPath, etSaveShortcutFailed, etSetAttributes, etTreeSizeTitle, etAllSubFolders,
  etTextCount
};

// The language a user language identifier stands for (lnEnglish for the unlisted ones).
TLanguage LanguageOfLangId(LANGID LangId);
// lnSysDefault resolved through the user's (tree) or the system's (file list) language;
// other values are returned as they are.
TLanguage ResolveLanguage(TLanguage Language, bool UseSystemLanguage = false);

// Copies entry Entry of the language's block into Dest. A language without a block
// (lnSysDefault, or a value out of range) leaves Dest as it is and answers false.
bool LoadExplorerText(TLanguage Language, int Entry, AnsiString& Dest);
// The entry's text, or the empty text when the language has no block.
AnsiString ExplorerText(TLanguage Language, int Entry);

// The message texts shared by every explorer control (the language set last decides them).
// They start out English so that a routine used before any control exists still speaks.
struct TExplorerMessages {
  AnsiString Drive, Folder, Error, File, From, To;
  AnsiString CantDo, SpecifyDirectory, InvalidDriveId, DriveNotReady, AlreadyExists, InvalidDirectoryName,
      RenameQuestion, CantAddDrives, NewFolder, InvalidCharacters, NotFound, FilesIn, FileOperationFailed;
  AnsiString TreeSize, AllSubFolders;
  // the file list's own
  AnsiString Cancel, Browse, ReadOnly, Archive, Hidden, System, ReadOnlyFile, NoFileSelected, SendToAnyFolder,
      EnterSendToPath, SaveShortcutFailed, SetAttributes;
};
TExplorerMessages& ExplorerMessages();

// The language byte the tree's Language setter writes and LoadTreeTexts reads.
TLanguage& ExplorerLanguage();
// Copies the tree's 21 message texts of ExplorerLanguage() into ExplorerMessages().
// lnSysDefault (never stored in practice) loads nothing.
void LoadTreeTexts();
// The file list's texts (entries 41, 42, 45 to 55, 59 and 64 to 69) of a language.
void LoadFileListTexts(TLanguage Language);
