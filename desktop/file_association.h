// The registry entries that tie a file extension to a file type: its description, its
// icon and its shell verbs (open, open in a new window, edit, print, print to).
#pragma once

#include <windows.h>

#include <memory>

#include "desktop/desktop_component.h"
#include "vcl/pictures.h"

class TdkFileAssociation : public TdkComponent {
  VCL_CLASS(TdkFileAssociation)
 public:
  explicit TdkFileAssociation(TComponent* AOwner);
  ~TdkFileAssociation() override;

  // Fills the properties and both icons from the registry entries of Extension.
  virtual void Read();
  // Writes the entries of Extension; false when there is no extension or a write failed.
  virtual bool Write();
  // Removes the extension's key (a missing one counts as removed) and reads again.
  virtual bool Delete();
  // Carries a changed property to the registry.
  virtual void Apply();

  // Always begins with "." (one is put in front when missing); setting it reads.
  const AnsiString& Extension() const { return FExtension; }
  void SetExtension(const AnsiString& Value);
  // The name of the file-type key the extension points to.
  const AnsiString& ExtDescription() const { return FExtDescription; }
  void SetExtDescription(const AnsiString& Value) { SetText(FExtDescription, Value); }
  const AnsiString& FileDescription() const { return FFileDescription; }
  void SetFileDescription(const AnsiString& Value) { SetText(FFileDescription, Value); }
  const AnsiString& IconFile() const { return FIconFile; }
  void SetIconFile(const AnsiString& Value) { SetText(FIconFile, Value); }
  int IconIndex() const { return FIconIndex; }
  void SetIconIndex(int Value);
  const AnsiString& OpenCommand() const { return FOpenCommand; }
  void SetOpenCommand(const AnsiString& Value) { SetText(FOpenCommand, Value); }
  const AnsiString& OpenCommandDescription() const { return FOpenCommandDescription; }
  void SetOpenCommandDescription(const AnsiString& Value) { SetText(FOpenCommandDescription, Value); }
  const AnsiString& OpenNewCommand() const { return FOpenNewCommand; }
  void SetOpenNewCommand(const AnsiString& Value) { SetText(FOpenNewCommand, Value); }
  const AnsiString& OpenNewCommandDescription() const { return FOpenNewCommandDescription; }
  void SetOpenNewCommandDescription(const AnsiString& Value) { SetText(FOpenNewCommandDescription, Value); }
  const AnsiString& EditCommand() const { return FEditCommand; }
  void SetEditCommand(const AnsiString& Value) { SetText(FEditCommand, Value); }
  const AnsiString& EditCommandDescription() const { return FEditCommandDescription; }
  void SetEditCommandDescription(const AnsiString& Value) { SetText(FEditCommandDescription, Value); }
  const AnsiString& PrintCommand() const { return FPrintCommand; }
  void SetPrintCommand(const AnsiString& Value) { SetText(FPrintCommand, Value); }
  const AnsiString& PrintCommandDescription() const { return FPrintCommandDescription; }
  void SetPrintCommandDescription(const AnsiString& Value) { SetText(FPrintCommandDescription, Value); }
  const AnsiString& PrintToCommand() const { return FPrintToCommand; }
  void SetPrintToCommand(const AnsiString& Value) { SetText(FPrintToCommand, Value); }
  const AnsiString& PrintToCommandDescription() const { return FPrintToCommandDescription; }
  void SetPrintToCommandDescription(const AnsiString& Value) { SetText(FPrintToCommandDescription, Value); }
  // Filled by Read; writes are ignored.
  TIcon* LargeIcon() const { return FLargeIcon.get(); }
  void SetLargeIcon(TIcon*) {}
  TIcon* SmallIcon() const { return FSmallIcon.get(); }
  void SetSmallIcon(TIcon*) {}
  // While set, a running program only reads the association.
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }

  // The key the associations live under: the classes root. Another open key (such as the
  // user's own HKEY_CURRENT_USER\Software\Classes) may take its place; it stays the caller's.
  HKEY RootKey() const { return FRootKey; }
  void SetRootKey(HKEY Value) { FRootKey = Value; }

 private:
  struct TVerb {
    const char* Key;
    AnsiString TdkFileAssociation::*Command;
    AnsiString TdkFileAssociation::*Description;
  };
  static const TVerb Verbs[5];

  void SetText(AnsiString& Field, const AnsiString& Value);
  // A property may change at design time, or at run time when the association is writable.
  bool MayChange() const;
  void ClearEntries();
  void ReadIcons();

  AnsiString FExtension;
  AnsiString FExtDescription;
  AnsiString FFileDescription;
  AnsiString FIconFile;
  int FIconIndex = 0;
  AnsiString FOpenCommand, FOpenCommandDescription;
  AnsiString FOpenNewCommand, FOpenNewCommandDescription;
  AnsiString FEditCommand, FEditCommandDescription;
  AnsiString FPrintCommand, FPrintCommandDescription;
  AnsiString FPrintToCommand, FPrintToCommandDescription;
  std::unique_ptr<TIcon> FLargeIcon;
  std::unique_ptr<TIcon> FSmallIcon;
  bool FReadOnly = true;
  HKEY FRootKey = HKEY_CLASSES_ROOT;
};
