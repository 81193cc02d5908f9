// Copies, moves, renames or deletes a list of files through the shell, with the shell's
// own progress and confirmation boxes.
#pragma once

#include <functional>
#include <memory>

#include "desktop/desktop_component.h"
#include "vcl/strings.h"
#include "vcl/typinfo.h"

enum TdkFileOperationType { fotCopy, fotDelete, fotMove, fotRename };
VCL_ENUM_INFO(TdkFileOperationType, "fotCopy", "fotDelete", "fotMove", "fotRename")

enum TdkFileOperationFlag {
  fofAllowUndo,
  fofFilesOnly,
  fofNoConfirmation,
  fofNoConfirmMkDir,
  fofNoErrorUI,
  fofRenameCollision,
  fofSilent,
  fofSimpleProgress,
};
VCL_ENUM_INFO(TdkFileOperationFlag, "fofAllowUndo", "fofFilesOnly", "fofNoConfirmation", "fofNoConfirmMkDir",
              "fofNoErrorUI", "fofRenameCollision", "fofSilent", "fofSimpleProgress")
// A set of TdkFileOperationFlag: bit n stands for flag n.
using TdkFileOperationFlags = unsigned;
constexpr TdkFileOperationFlags FileOperationFlag(TdkFileOperationFlag Flag) { return 1u << Flag; }

using TdkFileOperationEvent = std::function<void(TObject* Sender, const AnsiString& S, bool& Handled)>;

class TdkFileOperation : public TdkComponent {
  VCL_CLASS(TdkFileOperation)
 public:
  explicit TdkFileOperation(TComponent* AOwner);
  ~TdkFileOperation() override;

  // Runs Operation over FileList: true when the shell did all of it.
  virtual bool Execute() { return ExecuteOperation(FOperation); }
  // Lines "source" go to DestFolder; with any line "source=destination" every line is such
  // a pair (a source without a drive lies in DestFolder, a destination may be a pattern
  // such as "*.bak").
  virtual bool ExecuteOperation(TdkFileOperationType Operation);
  // The system's text for a failure code of the shell's file operation.
  virtual AnsiString GetErrorText(int Code);
  // Hands a failure's text to OnError; true when the handler took care of it.
  virtual bool DoError(const AnsiString& S);

  TStrings* FileList() const { return FFileList.get(); }
  void SetFileList(TStrings* Value) { FFileList->Assign(Value); }
  AnsiString DestFolder;
  AnsiString ProgressTitle;
  TdkFileOperationType Operation() const { return FOperation; }
  void SetOperation(TdkFileOperationType Value) { FOperation = Value; }
  TdkFileOperationFlags Options() const { return FOptions; }
  void SetOptions(TdkFileOperationFlags Value) { FOptions = Value; }
  TdkFileOperationEvent OnError;

  static constexpr TdkFileOperationFlags DefaultOptions =
      FileOperationFlag(fofAllowUndo) | FileOperationFlag(fofFilesOnly) | FileOperationFlag(fofRenameCollision);

 private:
  std::unique_ptr<TStringList> FFileList;
  TdkFileOperationType FOperation = fotCopy;
  TdkFileOperationFlags FOptions = DefaultOptions;
};
