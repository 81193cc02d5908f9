// Wide edits and memos: the framework's edit and memo with Unicode windows, wide text,
// hint and selection, a wide password character and wide memo lines.
#pragma once

#include <memory>

#include "vcl/stdctrls.h"
#include "widetext/uni_string_list.h"
#include "widetext/widetextutils.h"
#include "widetext/uni_actions.h"

class TUniCustomEdit : public TCustomEdit {
  VCL_CLASS(TUniCustomEdit)
 public:
  explicit TUniCustomEdit(TComponent* AOwner);

  WideString Text();
  void SetText(const WideString& Value);
  WideString Hint();
  void SetHint(const WideString& Value);
  bool IsTextStored() const;
  bool IsHintStored() const;

  // Shown as itself in a Unicode window; the framework holds its 8-bit form (the
  // character itself below 256, else "*").
  WideChar PasswordChar();
  void SetPasswordChar(WideChar Value);

  int SelStart();
  void SetSelStart(int Value);
  int SelLength();
  void SetSelLength(int Value);
  WideString SelText();
  void SetSelText(const WideString& Value);

  void DefineProperties(TFiler* Filer) override;

 protected:
  void CreateWindowHandle(const TCreateParams& Params) override;
  void CreateWnd() override;

 private:
  WideChar FPasswordChar = 0;

 protected:
  UNI_WIDE_ACTION_OVERRIDES(TCustomEdit)
};

class TUniEdit : public TUniCustomEdit {
  VCL_CLASS(TUniEdit)
 public:
  using TUniCustomEdit::TUniCustomEdit;
};

// The 8-bit form of a password character.
char AnsiPasswordChar(WideChar Value);

class TUniCustomMemo;

// A wide memo's lines, read and written in its window as wide text when the window is a
// Unicode window, else through the memo's 8-bit lines.
class TUniMemoStrings : public TUniStrings {
  VCL_CLASS(TUniMemoStrings)
 public:
  explicit TUniMemoStrings(TUniCustomMemo* Memo);

  WideString Get(int Index) const override;
  int GetCount() const override;
  WideString GetTextStr() const override;
  void Put(int Index, const WideString& S) override;
  void SetTextStr(const WideString& Value) override;
  void Clear() override;
  void Delete(int Index) override;
  void Insert(int Index, const WideString& S) override;

 protected:
  void SetUpdateState(bool Updating) override;

 private:
  // The memo's window, made when needed, when it is a Unicode window; else null.
  HWND UnicodeWindow() const;

  TUniCustomMemo* FMemo;
  TStrings* FLines;  // the memo's 8-bit lines
  bool FRichEditMode = false;
  TTextLineBreakStyle FLineBreakStyle = lbCRLF;
};

class TUniCustomMemo : public TCustomMemo {
  VCL_CLASS(TUniCustomMemo)
 public:
  explicit TUniCustomMemo(TComponent* AOwner);
  ~TUniCustomMemo() override;

  TUniStrings* Lines() const { return FLines.get(); }
  void SetLines(TUniStrings* Value) { FLines->Assign(Value); }
  WideString Text();
  void SetText(const WideString& Value);
  WideString Hint();
  void SetHint(const WideString& Value);
  bool IsTextStored() const;
  bool IsHintStored() const;
  int SelStart();
  void SetSelStart(int Value);
  int SelLength();
  void SetSelLength(int Value);

  void DefineProperties(TFiler* Filer) override;

 protected:
  void CreateWindowHandle(const TCreateParams& Params) override;

 private:
  std::unique_ptr<TUniStrings> FLines;

 protected:
  UNI_WIDE_ACTION_OVERRIDES(TCustomMemo)
};

class TUniMemo : public TUniCustomMemo {
  VCL_CLASS(TUniMemo)
 public:
  using TUniCustomMemo::TUniCustomMemo;
};

// Registers the wide edit, memo and combo box classes for stored descriptions.
void RegisterUniEditControls();
