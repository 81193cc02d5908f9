// The shell's icon and type name of files, asked once per extension and kept across
// listings until the registry's file classes change (HKEY_CLASSES_ROOT merges the machine's
// and the user's "Software\Classes": both are watched).
#pragma once

#include <map>

#include "explorer/registry_change_watch.h"
#include "vcl/sysutils.h"

struct TShellTypeInfo {
  int ImageIndex = -1;  // in the system image list
  WideString TypeName;  // at most 80 characters
};

// What the shell says of the file or folder at Path.
TShellTypeInfo AskShellTypeInfo(const WideString& Path);

// The extension by which the shell's answer for a file named Name is kept: upper-cased,
// with its dot ("." for a name without one); empty for the kinds of file whose icon is in
// the file itself (programs, icons, shortcuts, ...), which are asked each on its own.
WideString ShellTypeKey(const WideString& Name);

class TShellTypeCache {
 public:
  TShellTypeCache();
  // Forgets every answer when the file classes have changed since it was last called.
  void DropIfClassesChanged();
  // The answer for the file at Path named Name: kept by its extension, asked when unknown.
  TShellTypeInfo FileInfo(const WideString& Path, const WideString& Name);

 private:
  std::map<WideString, TShellTypeInfo> FByExtension;
  TRegistryChangeWatch FClasses;
};
