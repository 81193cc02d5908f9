// One cell of the thumbnail view: a panel holding the picture, a title strip and a drop
// shadow, which knows its file's name, dates and size and can behave as a push button.
// Mouse and key input of the picture and the strip go up to the cell, and from the cell
// to the view.
#pragma once

#include <functional>
#include <memory>

#include "vcl/extctrls.h"
#include "wizard/thumbnail_layout.h"
#include "wizard/thumbnail_picture.h"

VCL_ENUM_INFO(TTitlePos, "tpUp", "tpDown", "tpNone")
enum TGRFKind { grBMP, grJPG, grWMF, grEMF, grICO, grPNG };
VCL_ENUM_INFO(TGRFKind, "grBMP", "grJPG", "grWMF", "grEMF", "grICO", "grPNG")

// The file behind a thumbnail: its names, times (local DOS date and time) and size.
class TFileName {
 public:
  virtual ~TFileName() = default;
  // Reads the directory entry when Value is neither the long nor the short name held.
  virtual void SetFileName(const AnsiString& Value);
  // The same for a Value whose directory entry the caller has just read: no second search.
  void SetFoundFileName(const AnsiString& Value, const WIN32_FIND_DATAA& Entry);
  const AnsiString& FileName() const { return FFileName; }
  const AnsiString& LongName() const { return FLongName; }
  const AnsiString& ShortName() const { return FShortName; }
  double Created() const { return FCreated; }
  double Accessed() const { return FAccessed; }
  double Modified() const { return FModified; }
  unsigned long long Size() const { return FSize; }
  int Length() const { return static_cast<int>(FFileName.size()); }
  void SetLength(int Value) { FFileName.resize(static_cast<size_t>(Value < 0 ? 0 : Value)); }

 private:
  AnsiString FFileName, FLongName, FShortName;
  double FCreated = 0, FAccessed = 0, FModified = 0;
  unsigned long long FSize = 0;
};

// The base of a cell; hands its mouse and key input to the view it sits in.
class TKvBaseThumbnail : public TPanel {
  VCL_CLASS(TKvBaseThumbnail)
 public:
  explicit TKvBaseThumbnail(TComponent* AOwner);
  void Click() override;
  void DblClick() override;

 protected:
  friend class TKvBaseThumbImage;
  friend class TKvThumbTitle;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
};

// The title strip of a cell.
class TKvThumbTitle : public TPanel {
  VCL_CLASS(TKvThumbTitle)
 public:
  explicit TKvThumbTitle(TComponent* AOwner);
  void Click() override;
  void DblClick() override;

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
};

using TThumbTitleEvent = std::function<void(TObject* Sender, const AnsiString& FileName, AnsiString& ThumbnailTitle)>;

class TKvThumbnail : public TKvBaseThumbnail {
  VCL_CLASS(TKvThumbnail)
 public:
  explicit TKvThumbnail(TComponent* AOwner);
  ~TKvThumbnail() override;
  void Dispatch(TMessage& Message) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  AnsiString FileName() const { return FFile->FileName(); }
  void SetFileName(const AnsiString& Value);
  const AnsiString& Title() const { return FTitle; }
  void SetTitle(const AnsiString& Value);
  TColor TitleColor() const { return FTitleColor; }
  void SetTitleColor(TColor Value);
  TFont* TitleFont() const { return FTitleFont.get(); }
  void SetTitleFont(TFont* Value) { FTitleFont->Assign(Value); }
  bool ImageReady() const { return FImageReady; }
  // The free area for the picture; writes are ignored (it is always computed).
  int BoxWidth() const { return FBox.ClientWidth; }
  int BoxHeight() const { return FBox.ClientHeight; }
  void IgnoreWrite(int) { CalculateImageSize(); }
  int FileSize() const { return static_cast<int>(FFileSize); }
  const AnsiString& FileAccessed() const { return FFileAccessed; }
  const AnsiString& FileCreated() const { return FFileCreated; }
  const AnsiString& FileChanged() const { return FFileChanged; }
  int ImageWidth() const { return FImageWidth; }
  int ImageHeight() const { return FImageHeight; }
  bool AsButton() const { return FAsButton; }
  void SetAsButton(bool Value) { FAsButton = Value; }
  bool MinimizeMemory() const { return FMinimizeMemory; }
  void SetMinimizeMemory(bool Value);
  bool ShowTitle() const { return FShowTitle; }
  void SetShowTitle(bool Value);
  TTitlePos TitlePlacement() const { return FTitlePlacement; }
  void SetTitlePlacement(TTitlePos Value);
  TColor ShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor Value);
  bool ShowShadow() const { return FShowShadow; }
  void SetShowShadow(bool Value);
  TGRFKind StreamFileType = grBMP;
  bool AutoLoad = true;
  TThumbTitleEvent OnGetTitle;

  TKvThumbImage* Photo() const { return FImage; }
  TKvThumbTitle* TitleStrip() const { return FStrip; }
  TShape* Shadow() const { return FShadow; }
  // Title, its font and colour decided by someone else: the paint handler keeps them.
  void SetTitleValues(const AnsiString& Title, TFont* Font, TColor Colour);
  // Loads Name into the picture; Name, or empty when the picture failed to load.
  AnsiString LoadFile(const AnsiString& Name);
  void GetFileInfo(const AnsiString& Name);
  virtual void CalculateImageSize();

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;

 private:
  void TitleFontChanged(TObject* Sender);
  // GetFileInfo, handing back the directory entry read; false when the file was not found.
  bool ReadFileInfo(const AnsiString& Name, WIN32_FIND_DATAA& Found);
  // What a picture is scaled down into: the owner view's cell size, else the thumbnail's own.
  POINT ScaleDownBound();
  void SetPressedLook(bool Pressed);

  std::unique_ptr<TFileName> FFile;
  TKvThumbTitle* FStrip = nullptr;
  TKvThumbImage* FImage = nullptr;
  TShape* FShadow = nullptr;
  std::unique_ptr<TFont> FTitleFont;
  POINT FShadowOffset{3, 3};
  TPictureBox FBox;
  AnsiString FTitle;
  TColor FTitleColor = clBtnFace;
  unsigned long long FFileSize = 0;
  AnsiString FFileAccessed, FFileCreated, FFileChanged;
  int FImageWidth = 0, FImageHeight = 0;
  bool FAsButton = false;
  bool FMinimizeMemory = true;
  bool FShowTitle = false;
  TTitlePos FTitlePlacement = tpUp;
  TColor FShadowColor = clSilver;
  bool FShowShadow = false;
  bool FImageReady = false;
  bool FTitleSet = false;
  bool FPressed = false;
  bool FDestroying = false;
};

// Local date and time of a file time as text, in the user's short date and long time format.
AnsiString FileTimeText(const FILETIME& Time);
