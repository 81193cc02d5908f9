// The owner-drawn list box of the start page's task lists: each row shows a picture from
// an image list at its left and the item's text, word-wrapped, beside it. Every row is
// as tall as its wrapped text (or its picture) plus the margins.
#pragma once

#include <memory>

#include "vcl/imglist.h"
#include "vcl/pictures.h"
#include "vcl/stdctrls.h"

namespace image_list_box_layout {

// Where a picture of ImageHeight pixels starts in a row spanning Top..Bottom.
int ImageTop(TTextLayout Layout, int Top, int Bottom, int ImageHeight);

// The width the text of a row gets: the row's width less the 2-pixel shift from the
// reading edge, the margins and, with pictures, the picture column and the spacing.
int TextWidth(int RowWidth, int Margin, int Spacing, int ImageWidth, bool HasImages);

// A row's height from the wrapped text's height.
int RowHeight(int TextHeight, int Margin, int ImageHeight, bool HasImages);

}  // namespace image_list_box_layout

class TdkCustomImageListBox : public TCustomListBox {
  VCL_CLASS(TdkCustomImageListBox)
 public:
  explicit TdkCustomImageListBox(TComponent* AOwner);
  ~TdkCustomImageListBox() override;
  void Dispatch(TMessage& Message) override;

  // Shown by a designer; nothing reads it.
  AnsiString About;

  TTextLayout ImageLayout() const { return FImageLayout; }
  void SetImageLayout(TTextLayout Value);
  bool ImageIndexByObject() const { return FImageIndexByObject; }
  void SetImageIndexByObject(bool Value);
  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  bool ImageListAsIcon() const { return FImageListAsIcon; }
  void SetImageListAsIcon(bool Value);
  TCustomImageList* ImageList() const { return FImageList; }
  void SetImageList(TCustomImageList* Value);

  // The picture of item Index: the index itself, or the item's object read as a number
  // (-1: none).
  virtual int GetImageIndex(int Index);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DrawItem(int Index, const RECT& Rect, TOwnerDrawState State) override;
  void MeasureItem(int Index, int& Height) override;
  void CreateWnd() override;

 private:
  void CNDrawItem(TMessage& Message);
  void WMSize(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);
  AnsiString ItemText(int Index);
  UINT TextFlags() const;
  // The width rows are drawn in: the client width of the window.
  int RowWidth();
  // Measures every row again after the rows got wider or narrower (a scroll bar came or
  // went, the control was resized), so that no wrapped text is cut off.
  void RemeasureRows();

  std::unique_ptr<TChangeLink> FChangeLink;
  std::unique_ptr<TIcon> FIcon;
  TTextLayout FImageLayout = tlCenter;
  bool FImageIndexByObject = false;
  int FMargin = 2;
  int FSpacing = 4;
  bool FHideSelection = false;
  bool FImageListAsIcon = true;
  TCustomImageList* FImageList = nullptr;
  int FMeasuredWidth = -1;
  bool FRemeasuring = false;
};

class TdkImageListBox : public TdkCustomImageListBox {
  VCL_CLASS(TdkImageListBox)
 public:
  using TdkCustomImageListBox::TdkCustomImageListBox;
};
