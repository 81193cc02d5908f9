// A scrolling grid of picture thumbnails: filled from a folder (Directory, Filter, Sorted)
// or one file at a time (AddThumb); one thumbnail is selected, with the mouse or with the
// arrow, Home and End keys.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "vcl/extctrls.h"
#include "vcl/strings.h"
#include "wizard/thumbnail.h"
#include "wizard/thumbnail_layout.h"

VCL_ENUM_INFO(TViewType, "vtNormal", "vtCenter", "vtFitToScreen")
VCL_ENUM_INFO(TScrollMode, "smHorizontal", "smVertical", "smBoth")

// The type thumbnails look for when they pass their input on.
class TKvBaseThumbView : public TScrollBox {
  VCL_CLASS(TKvBaseThumbView)
 public:
  explicit TKvBaseThumbView(TComponent* AOwner);

 protected:
  friend class TKvBaseThumbnail;
};

// The entries of a view: a file name or a title, with its thumbnail as the object. The
// thumbnails belong to the view, not to the list.
class TKvThumbList : public TStringList {
  VCL_CLASS(TKvThumbList)
 public:
  TKvThumbnail* GetThumbnail(int Index) const { return static_cast<TKvThumbnail*>(Objects(Index)); }
};

using TScanStartEvent = std::function<void(TObject* Sender, int Max)>;
using TScanProgressEvent = std::function<void(TObject* Sender, int Position, bool& Stop)>;
using TGetTitleEvent = std::function<void(TObject* Sender, const AnsiString& FileName, AnsiString& ThumbnailTitle,
                                          TFont*& ThumbnailFont, TColor& ThumbnailColor)>;

class TKvThumbView : public TKvBaseThumbView {
  VCL_CLASS(TKvThumbView)
 public:
  explicit TKvThumbView(TComponent* AOwner);
  ~TKvThumbView() override;
  void Dispatch(TMessage& Message) override;

  // Adds one picture; its index in the list (the existing one for a name already listed).
  int AddThumb(const AnsiString& FileName);
  void Delete(int Index);
  void EmptyList();
  unsigned short Count() const { return static_cast<unsigned short>(FThumbs->Count()); }
  TKvThumbnail* Thumbnail(int Index) const { return FThumbs->GetThumbnail(Index); }
  TKvThumbList* Thumbs() const { return FThumbs.get(); }

  int Selected() const { return FSelected; }
  void SetSelected(int Value);
  AnsiString SelectedFile() const;
  // Shows the file's folder (rescanning it) and selects the file.
  void SetSelectedFile(const AnsiString& Value);
  const AnsiString& Directory() const { return FDirectory; }
  void SetDirectory(const AnsiString& Value);

  TViewType AlignView() const { return FGrid.Align; }
  void SetAlignView(TViewType Value);
  bool AutoScrolling = true;
  int ThumbGap() const { return FGrid.Gap; }
  void SetThumbGap(int Value);
  bool AutoHandleKeyb = true;
  bool MinMemory = true;
  int MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(int Value);
  int MaxHeight() const { return FMaxHeight; }
  void SetMaxHeight(int Value);
  int Size() const { return FSize; }
  void SetSize(int Value);
  TScrollMode ScrollMode() const { return FGrid.Mode; }
  void SetScrollMode(TScrollMode Value);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  bool AsButtons() const { return FAsButtons; }
  void SetAsButtons(bool Value);
  TTitlePos TitlePlacement() const { return FTitlePlacement; }
  void SetTitlePlacement(TTitlePos Value);
  AnsiString Filter;
  TColor ThumbColor = clNone;
  bool ShowShadow = false;
  TColor ShadowColor = clBlack;

  TScanStartEvent OnStartScanning;
  TNotifyEvent OnStopScanning;
  TScanProgressEvent OnScanProgress;
  TGetTitleEvent OnGetTitle;
  TInvalidImageEvent OnInvalidImage;
  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

  // The computed layout.
  int ThumbWidth() const { return FGrid.ThumbWidth; }
  int ThumbHeight() const { return FGrid.ThumbHeight; }
  int ThumbsPerLine() const { return FGrid.PerLine; }
  // The files a scan of Folder would show, in the order found and sorted.
  void GetFiles(const AnsiString& Folder);
  const TStringList* FoundFiles() const { return FFound.get(); }
  const TStringList* SortedFiles() const { return FSortedFiles.get(); }
  void ScrollTo(int Index);

 protected:
  TKvThumbnail* AddTitledThumb(const AnsiString& Title, bool Redraw);
  void CalculateThumbSize();
  void CalculateThumbsPerLine();
  int CalculateXPos(int N) { return FGrid.XPos(N); }
  int CalculateYPos(int N) { return FGrid.YPos(N); }
  void Reposition(int Start);
  void RefreshThumbs();
  void GoLeft() { Move(tmLeft); }
  void GoRight() { Move(tmRight); }
  void GoUp() { Move(tmUp); }
  void GoDown() { Move(tmDown); }

  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void Resize() override;

 private:
  void Move(TThumbMove Direction);
  void SyncGrid();
  int IndexOfFile(const AnsiString& FileName) const;

  TThumbGrid FGrid;
  std::unique_ptr<TKvThumbList> FThumbs;
  std::unique_ptr<TStringList> FFound;
  std::unique_ptr<TStringList> FSortedFiles;
  AnsiString FDirectory;
  int FSelected = -1;
  int FMaxWidth = 200, FMaxHeight = 200, FSize = 100;
  bool FSorted = true;
  bool FAsButtons = false;
  TTitlePos FTitlePlacement = tpUp;
  bool FPainted = false;
  bool FScanning = false;
};

// Registers the thumbnail classes for stored descriptions.
void RegisterThumbnailClasses();
