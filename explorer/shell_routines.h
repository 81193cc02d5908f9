// Shell and file routines the folder tree, folder combo, network path dialog and file list
// share. Failures come back as results; the routines that say so also tell the user in a
// message box with the current explorer language's texts.
#pragma once

#include <windows.h>

#include <cstdint>

#include "vcl/sysutils.h"

// ShellExecute on the application window; a result of 32 or less shows
// "ERROR - Can't <operation> file <name>".
INT_PTR ExecuteFile(const AnsiString& Operation, const AnsiString& FileName, const AnsiString& Params,
                    const AnsiString& DefaultDir, int ShowCmd);

// SHFileOperation (FO_MOVE 1, FO_COPY 2, FO_DELETE 3, FO_RENAME 4) owned by the active window,
// with undo allowed (a delete goes to the recycle bin and the shell asks first). Source and
// Dest are single paths or NUL-separated lists. True when the shell did it all: false on an
// error or when the user cancelled. Window is not used.
bool DoFileOperation(HWND Window, UINT Func, const AnsiString& Source, bool Aborted, const AnsiString& Dest);
// The same over UTF-16 paths, for folders whose names the ANSI code page cannot spell.
bool DoFileOperation(HWND Window, UINT Func, const WideString& Source, bool Aborted, const WideString& Dest);

// Adds the NUL that ends a shell file list unless the text already ends in one.
AnsiString AppendNul(const AnsiString& S);
WideString AppendNul(const WideString& S);
bool ContainsAnyChar(const AnsiString& Chars, const AnsiString& Text);
bool ContainsAnyChar(const WideString& Chars, const WideString& Text);

// The shell's folder browser. Root: 0 desktop (no root), 1 desktop, 2 special folder 23,
// 3 printers, 4 personal, 5 special folder 22, 6 network. IncludeFiles 1 lists files too.
// On a choice with a file-system path, Path takes it with a trailing "\" and the result is true.
bool BrowseForFolder(HWND Owner, AnsiString& Path, int Root, int IncludeFiles);

// 1-based position of the last C in Text, 0 when absent.
int LastCharPos(char C, const AnsiString& Text);

// The size / free space of the drive named by the path's first character, in KB; -1 when
// the drive cannot be asked.
int64_t DiskSizeKB(const AnsiString& Path);
int64_t DiskFreeKB(const AnsiString& Path);

// Whether the drive holds a readable medium. A letter outside A to Z shows
// "Not a valid Drive ID" and answers false; a drive without a medium beeps and shows the
// not-ready warning when Show is set. No system box asks for a disk meanwhile.
bool DiskInDrive(char Drive, bool Show);

// AddSlash(Folder) + Name when both are given; otherwise empty.
AnsiString JoinPath(const AnsiString& Folder, const AnsiString& Name);
AnsiString AddSlash(const AnsiString& Path);
WideString AddSlash(const WideString& Path);
AnsiString RemoveSlash(const AnsiString& Path);
WideString RemoveSlash(const WideString& Path);

// A file time as local date and time: DateFormat and TimeFormat are the system's date and
// time pictures (LOCALE_SSHORTDATE, LOCALE_STIMEFORMAT), joined by a space.
AnsiString FileTimeText(const FILETIME& Time, const AnsiString& DateFormat, const AnsiString& TimeFormat);

// Whether something exists at the path; when it does, shows "<"name"> already exists !".
bool FileExistsMsg(const AnsiString& Path);

// Indexes into the shell's small system image list.
int SmallIconIndex(const AnsiString& Path);
int SmallOpenIconIndex(const AnsiString& Path);
int SmallIconIndex(const WideString& Path);
int SmallOpenIconIndex(const WideString& Path);

// "<size in KB> KB" (a size from 1 to 1023 bytes counts as 1 KB); one space for type "DIR".
AnsiString SizeText(const AnsiString& TypeText, int64_t Size);

// 0 "DeskTop", 1 "Favorites", 2 "NetHood", 3 "Personal", 4 "Programs", 5 "SendTo",
// 6 "Start Menu", 7 "StartUp" (the user's shell folders), 8 the Windows directory,
// 9 the system directory. A path found ends in "\"; empty when none.
AnsiString GetShellFolder(int Index);

// The file name without its extension.
AnsiString FileNameNoExt(const AnsiString& Path);
// The shell's property sheet of a file or folder.
void ShowPropertiesSheet(const AnsiString& Path);

// Connects a drive ("X:") to a network path; 0 on success, else the system's error code
// (shown in a box when ShowError is set). Reconnect asks for no user interaction.
DWORD NetConnect(const AnsiString& Drive, const AnsiString& RemotePath, bool ShowError, bool Reconnect);

// Whether a version (Major.Minor) is at least WantMajor.WantMinor.
constexpr bool IsVersionAtLeast(DWORD Major, DWORD Minor, DWORD WantMajor, DWORD WantMinor) {
  return Major > WantMajor || (Major == WantMajor && Minor >= WantMinor);
}
// The NT family at version 5.1 (XP) or later.
bool IsNT51OrLater();

// Path helpers of the explorer controls.
AnsiString ExtractFileNameOf(const AnsiString& Path);
WideString ExtractFileNameOf(const WideString& Path);
WideString ExtractFolderOf(const WideString& Path);  // up to and including the last "\"
bool FolderExists(const WideString& Path);
