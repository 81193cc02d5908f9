// The picture inside a thumbnail: loads a picture file (large JPEG files decoded at a reduced
// scale), can give up the full picture for a smaller bitmap, and turns in quarter steps.
#pragma once

#include <functional>

#include "vcl/extctrls.h"
#include "vcl/jpeg.h"

// The message a picture sends its thumbnail after a quarter turn: the picture box changed.
constexpr UINT WM_THUMBIMAGECHANGED = WM_USER + 1;

// A picture that passes its mouse input on to the thumbnail holding it.
class TKvBaseThumbImage : public TImage {
  VCL_CLASS(TKvBaseThumbImage)
 public:
  explicit TKvBaseThumbImage(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;
  void Click() override;
  void DblClick() override;
  // Clicks fall through to the thumbnail.
  bool IgnoreMouse = false;

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
};

enum TAngle { AT0, AT90, AT180, AT270 };
VCL_ENUM_INFO(TAngle, "AT0", "AT90", "AT180", "AT270")

using TRotateNotify = std::function<void(TObject* Sender, unsigned char Percent, bool& Cancel)>;
using TInvalidImageEvent = std::function<void(TObject* Sender, const AnsiString& AFileName)>;

class TKvThumbImage : public TKvBaseThumbImage {
  VCL_CLASS(TKvThumbImage)
 public:
  explicit TKvThumbImage(TComponent* AOwner);

  // ".jpg" files are decoded by libjpeg, at a reduced scale inside a thumbnail; every other
  // file by the format registered for its extension.
  void LoadFromFile(const AnsiString& AFile);
  // The same, then scaled down as ScaleDown does; a JPEG file goes from its decoded pixels
  // straight to the reduced picture, so the whole picture is never held.
  void LoadFromFile(const AnsiString& AFile, int MaxWidth, int MaxHeight);
  // Replaces the picture by a bitmap that fits MaxWidth x MaxHeight (never enlarged).
  void ScaleDown(int MaxWidth, int MaxHeight);
  // The picture's size as the last load gave it, before any scale-down.
  int LoadedWidth() const { return FLoadedSize.x; }
  int LoadedHeight() const { return FLoadedSize.y; }
  // 0 flips left-right, 1 top-bottom, 2 both (a half turn).
  void Mirror(int Mode);
  void Rotate90();
  void Rotate270();
  bool CanModify();

  TAngle Angle() const { return FAngle; }
  void SetAngle(TAngle Value);
  bool Modified() const { return FModified; }
  const AnsiString& LoadedFile() const { return FFileName; }
  TGraphicClass GraphicClass() const { return FGraphicClass; }

  unsigned short Zoom = 0;
  TRotateNotify OnRotate;
  TNotifyEvent OnLoaded;
  TInvalidImageEvent OnInvalidImage;

 private:
  // A bound of {0, 0} keeps the whole picture.
  void Load(const AnsiString& AFile, POINT Bound);
  void LoadJpeg(const AnsiString& AFile, POINT Bound);
  void QuarterTurn(bool Clockwise);
  void NotifyThumbnail();

  TAngle FAngle = AT0;
  bool FModified = false;
  AnsiString FFileName;
  TGraphicClass FGraphicClass = nullptr;
  POINT FLoadedSize{0, 0};
};
