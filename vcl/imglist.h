// Image lists: a row of equally sized pictures held by the system (HIMAGELIST), shared by
// the controls that show them. Controls follow changes through change links.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "vcl/classes.h"
#include "vcl/graphics.h"

class TBitmap;
class TIcon;
class TCustomImageList;

// A control's hold on an image list: the list calls OnChange after every change of its
// images, size or handle. Unregisters itself when freed.
class TChangeLink : public TObject {
  VCL_CLASS(TChangeLink)
  friend class TCustomImageList;

 public:
  TChangeLink() = default;
  ~TChangeLink() override;
  TCustomImageList* Sender() const { return FSender; }
  void SetSender(TCustomImageList* Value) { FSender = Value; }
  virtual void Change();
  TNotifyEvent OnChange;

 private:
  TCustomImageList* FSender = nullptr;
};

// Moves Holder's hold on an image list from Field to Value: the change link and the free
// notification go along. False when Value is held already (nothing changed).
bool RelinkImageList(TComponent* Holder, TCustomImageList*& Field, TChangeLink* Link, TCustomImageList* Value);

class TCustomImageList : public TComponent {
  VCL_CLASS(TCustomImageList)
 public:
  explicit TCustomImageList(TComponent* AOwner);
  // A list of images of AWidth x AHeight pixels.
  TCustomImageList(TComponent* AOwner, int AWidth, int AHeight);
  ~TCustomImageList() override;

  // The system's list, made on first use. Assigning another one adopts it (its size is
  // taken from it); the list destroys the handles it holds unless ShareImages is set
  // (a list that belongs to someone else, such as the shell's system image list).
  HIMAGELIST Handle();
  void SetHandle(HIMAGELIST Value);
  bool HandleAllocated() const { return FHandle != nullptr; }

  int Width() const { return FWidth; }
  void SetWidth(int Value);
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  // Changing the size or the masking empties the list (the system cannot resize images).
  void SetSize(int AWidth, int AHeight);
  bool Masked() const { return FMasked; }
  void SetMasked(bool Value);
  // The colour behind transparent pixels when drawn (clNone: transparent).
  TColor BkColor() const { return FBkColor; }
  void SetBkColor(TColor Value);
  // How many images the list grows by.
  int AllocBy() const { return FAllocBy; }
  void SetAllocBy(int Value);
  bool ShareImages() const { return FShareImages; }
  void SetShareImages(bool Value) { FShareImages = Value; }

  int Count();
  // Each returns the index of the (first) new image, -1 when the system refused. Images
  // wider than Width make several entries.
  int Add(TBitmap* Image, TBitmap* Mask);
  // Pixels of MaskColor become transparent (clDefault: the colour of the bottom left pixel).
  int AddMasked(TBitmap* Image, TColor MaskColor);
  int AddIcon(TIcon* Image);
  void Replace(int Index, TBitmap* Image, TBitmap* Mask);
  void Delete(int Index);  // -1 or out of range: nothing (ranges are checked)
  void Clear();
  // Image Index drawn on a bitmap of the list's size (its background is BkColor, or
  // the window colour when the list has none).
  void GetBitmap(int Index, TBitmap* Image);
  // Image Index as an icon (the icon takes the new handle).
  void GetIcon(int Index, TIcon* Image);
  // Draws image Index with its top left corner at (X, Y); a disabled image is drawn
  // blended with the highlight colour. Indexes out of range draw nothing.
  void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);

  void RegisterChanges(TChangeLink* Value);
  void UnRegisterChanges(TChangeLink* Value);
  // Tells OnChange and every link; postponed inside BeginUpdate/EndUpdate.
  void Change();
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();

  void Assign(TPersistent* Source) override;
  TNotifyEvent OnChange;

 protected:
  void Loaded() override;

 private:
  void CreateImageList();
  void FreeHandle();
  bool InRange(int Index);

  HIMAGELIST FHandle = nullptr;
  int FWidth = 16;
  int FHeight = 16;
  bool FMasked = true;
  TColor FBkColor = clNone;
  int FAllocBy = 4;
  bool FShareImages = false;
  int FUpdateCount = 0;
  bool FChanged = false;
  std::vector<TChangeLink*> FClients;
};

class TImageList : public TCustomImageList {
  VCL_CLASS(TImageList)
 public:
  using TCustomImageList::TCustomImageList;
};

// The system colour value of a TColor for the image list calls (clNone -> CLR_NONE,
// clDefault -> CLR_DEFAULT).
COLORREF ImageListColor(TColor Color);

void RegisterImageLists();
