#include "wizard/thumbnail.h"

#include "vcl/streaming.h"
#include "wizard/thumbnail_view.h"

namespace {

const std::vector<TPropInfo>& ThumbnailProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TKvThumbnail>()
      .Property("FileName", &TKvThumbnail::FileName, &TKvThumbnail::SetFileName)
      .Property("Title", &TKvThumbnail::Title, &TKvThumbnail::SetTitle)
      .Property("TitleColor", &TKvThumbnail::TitleColor, &TKvThumbnail::SetTitleColor).Idents(ColorIdents())
          .Default(clBtnFace)
      .Property("TitleFont", &TKvThumbnail::TitleFont, &TKvThumbnail::SetTitleFont)
      .Property("ImageReady", &TKvThumbnail::ImageReady, nullptr)
      .Property("OnGetTitle", &TKvThumbnail::OnGetTitle)
      .Property("ClientWidth", &TKvThumbnail::BoxWidth, &TKvThumbnail::IgnoreWrite).Stored(false)
      .Property("ClientHeight", &TKvThumbnail::BoxHeight, &TKvThumbnail::IgnoreWrite).Stored(false)
      .Property("FileSize", &TKvThumbnail::FileSize, nullptr).Stored(false)
      .Property("FileAccessed", &TKvThumbnail::FileAccessed, nullptr).Stored(false)
      .Property("FileCreated", &TKvThumbnail::FileCreated, nullptr).Stored(false)
      .Property("FileChanged", &TKvThumbnail::FileChanged, nullptr).Stored(false)
      .Property("ImageWidth", &TKvThumbnail::ImageWidth, nullptr).Default(0)
      .Property("ImageHeight", &TKvThumbnail::ImageHeight, nullptr).Default(0)
      .Property("AsButton", &TKvThumbnail::AsButton, &TKvThumbnail::SetAsButton).Default(false)
      .Property("MinimizeMemory", &TKvThumbnail::MinimizeMemory, &TKvThumbnail::SetMinimizeMemory).Default(true)
      .Property("StreamFileType", &TKvThumbnail::StreamFileType).Default(grBMP)
      .Property("ShowTitle", &TKvThumbnail::ShowTitle, &TKvThumbnail::SetShowTitle).Default(false)
      .Property("TitlePlacement", &TKvThumbnail::TitlePlacement, &TKvThumbnail::SetTitlePlacement).Default(tpUp)
      .Property("AutoLoad", &TKvThumbnail::AutoLoad).Default(true)
      .Property("ShadowColor", &TKvThumbnail::ShadowColor, &TKvThumbnail::SetShadowColor).Idents(ColorIdents())
          .Default(clSilver)
      .Property("ShowShadow", &TKvThumbnail::ShowShadow, &TKvThumbnail::SetShowShadow).Default(false)
      .Table();
  return table;
}

// The file name without its folder.
AnsiString BareName(const AnsiString& Name) {
  size_t slash = Name.find_last_of("\\/:");
  return slash == AnsiString::npos ? Name : Name.substr(slash + 1);
}

double DosTime(const FILETIME& Time) {
  FILETIME local;
  WORD date = 0, time = 0;
  FileTimeToLocalFileTime(&Time, &local);
  FileTimeToDosDateTime(&local, &date, &time);
  return static_cast<double>((static_cast<DWORD>(date) << 16) | time);
}

}  // namespace

VCL_CLASS_IMPL(TKvBaseThumbnail, TPanel, &CreateComponentOf<TKvBaseThumbnail>, nullptr)
VCL_CLASS_IMPL(TKvThumbTitle, TPanel, &CreateComponentOf<TKvThumbTitle>, nullptr)
VCL_CLASS_IMPL(TKvThumbnail, TKvBaseThumbnail, &CreateComponentOf<TKvThumbnail>, &ThumbnailProperties)

AnsiString FileTimeText(const FILETIME& Time) {
  FILETIME local;
  SYSTEMTIME st;
  FileTimeToLocalFileTime(&Time, &local);
  FileTimeToSystemTime(&local, &st);
  char date[64] = {}, time[64] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, sizeof date);
  GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, sizeof time);
  return AnsiString(date) + " " + time;
}

// ---------------------------------------------------------------------------

void TFileName::SetFileName(const AnsiString& Value) {
  FFileName = Value;
  if (Value == FLongName || Value == FShortName) return;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(Value.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  FindClose(search);
  SetFoundFileName(Value, found);
}

void TFileName::SetFoundFileName(const AnsiString& Value, const WIN32_FIND_DATAA& found) {
  FFileName = Value;
  if (Value == FLongName || Value == FShortName) return;
  FLongName = found.cFileName;
  FShortName = found.cAlternateFileName;
  if (FLongName.empty()) FLongName = FShortName;
  if (FShortName.empty()) FShortName = FLongName;
  FCreated = DosTime(found.ftCreationTime);
  FAccessed = DosTime(found.ftLastAccessTime);
  FModified = DosTime(found.ftLastWriteTime);
  FSize = (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
}

// ---------------------------------------------------------------------------

TKvBaseThumbnail::TKvBaseThumbnail(TComponent* AOwner) : TPanel(AOwner) {
  ControlStyle &= ~csSetCaption;
  if (dynamic_cast<TKvBaseThumbView*>(AOwner)) ControlStyle &= ~csCaptureMouse;
}

void TKvBaseThumbnail::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (auto* view = dynamic_cast<TKvBaseThumbView*>(Parent()))
    view->MouseDown(Button, Shift, X + Left(), Y + Top());
  else
    TPanel::MouseDown(Button, Shift, X, Y);
}

void TKvBaseThumbnail::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (auto* view = dynamic_cast<TKvBaseThumbView*>(Parent()))
    view->MouseUp(Button, Shift, X + Left(), Y + Top());
  else
    TPanel::MouseUp(Button, Shift, X, Y);
}

void TKvBaseThumbnail::MouseMove(TShiftState Shift, int X, int Y) {
  if (auto* view = dynamic_cast<TKvBaseThumbView*>(Parent()))
    view->MouseMove(Shift, X + Left(), Y + Top());
  else
    TPanel::MouseMove(Shift, X, Y);
}

void TKvBaseThumbnail::Click() {
  if (auto* view = dynamic_cast<TKvBaseThumbView*>(Parent())) view->Click(); else TPanel::Click();
}

void TKvBaseThumbnail::DblClick() {
  if (auto* view = dynamic_cast<TKvBaseThumbView*>(Parent())) view->DblClick(); else TPanel::DblClick();
}

void TKvBaseThumbnail::KeyDown(WORD& Key, TShiftState Shift) {
  if (auto* view = dynamic_cast<TKvBaseThumbView*>(Parent())) view->KeyDown(Key, Shift); else TPanel::KeyDown(Key, Shift);
}

void TKvBaseThumbnail::KeyUp(WORD& Key, TShiftState Shift) {
  if (auto* view = dynamic_cast<TKvBaseThumbView*>(Parent())) view->KeyUp(Key, Shift); else TPanel::KeyUp(Key, Shift);
}

void TKvBaseThumbnail::KeyPress(char& Key) {
  if (auto* view = dynamic_cast<TKvBaseThumbView*>(Parent())) view->KeyPress(Key); else TPanel::KeyPress(Key);
}

// ---------------------------------------------------------------------------

TKvThumbTitle::TKvThumbTitle(TComponent* AOwner) : TPanel(AOwner) {
  ControlStyle &= ~csSetCaption;
  if (dynamic_cast<TKvBaseThumbnail*>(AOwner)) ControlStyle &= ~(csCaptureMouse | csClickEvents | csDoubleClicks);
  ControlStyle |= csNeedsBorderPaint;
}

void TKvThumbTitle::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (auto* thumb = dynamic_cast<TKvBaseThumbnail*>(Parent()))
    thumb->MouseDown(Button, Shift, X + Left(), Y + Top());
  else
    TPanel::MouseDown(Button, Shift, X, Y);
}

void TKvThumbTitle::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (auto* thumb = dynamic_cast<TKvBaseThumbnail*>(Parent()))
    thumb->MouseUp(Button, Shift, X + Left(), Y + Top());
  else
    TPanel::MouseUp(Button, Shift, X, Y);
}

void TKvThumbTitle::MouseMove(TShiftState Shift, int X, int Y) {
  if (auto* thumb = dynamic_cast<TKvBaseThumbnail*>(Parent()))
    thumb->MouseMove(Shift, X + Left(), Y + Top());
  else
    TPanel::MouseMove(Shift, X, Y);
}

void TKvThumbTitle::Click() {
  if (auto* thumb = dynamic_cast<TKvBaseThumbnail*>(Parent())) thumb->Click(); else TPanel::Click();
}

void TKvThumbTitle::DblClick() {
  if (auto* thumb = dynamic_cast<TKvBaseThumbnail*>(Parent())) thumb->DblClick(); else TPanel::DblClick();
}

void TKvThumbTitle::KeyDown(WORD& Key, TShiftState Shift) {
  if (auto* thumb = dynamic_cast<TKvBaseThumbnail*>(Parent())) thumb->KeyDown(Key, Shift); else TPanel::KeyDown(Key, Shift);
}

void TKvThumbTitle::KeyUp(WORD& Key, TShiftState Shift) {
  if (auto* thumb = dynamic_cast<TKvBaseThumbnail*>(Parent())) thumb->KeyUp(Key, Shift); else TPanel::KeyUp(Key, Shift);
}

void TKvThumbTitle::KeyPress(char& Key) {
  if (auto* thumb = dynamic_cast<TKvBaseThumbnail*>(Parent())) thumb->KeyPress(Key); else TPanel::KeyPress(Key);
}

// ---------------------------------------------------------------------------

TKvThumbnail::TKvThumbnail(TComponent* AOwner) : TKvBaseThumbnail(AOwner), FFile(new TFileName) {
  FShadow = new TShape(this);
  FShadow->SetVisible(false);
  FShadow->Brush()->SetColor(FShadowColor);
  FShadow->Pen()->SetStyle(psClear);
  FShadow->SetParent(this);

  FImage = new TKvThumbImage(this);
  FImage->SetAutoSize(false);
  FImage->SetStretch(true);
  FShadow->SetBounds(FImage->Left() + FShadowOffset.x, FImage->Top() + FShadowOffset.y, FImage->Width(),
                     FImage->Height());

  FStrip = new TKvThumbTitle(this);
  FStrip->SetAlign(alTop);
  FStrip->SetHeight(15);
  FStrip->SetAlignment(taCenter);
  FStrip->SetBevelOuter(bvLowered);
  FStrip->SetParentColor(true);
  FStrip->SetColor(Color());
  // The strip shows its own colour (the selection's highlight), also with themes.
  FStrip->SetParentBackground(false);
  if (FTitlePlacement == tpNone) FStrip->SetVisible(false);

  FTitleFont = std::make_unique<TFont>();
  FTitleFont->OnChange = [this](TObject* Sender) { TitleFontChanged(Sender); };

  FImage->SetParent(this);
  FStrip->SetParent(this);
  if (auto* view = dynamic_cast<TKvThumbView*>(AOwner))
    SetBounds(10, 10, view->MaxWidth(), view->MaxHeight());
  else
    SetBounds(10, 10, 120, 120);
  SetBevelOuter(bvRaised);
  SetParentBackground(false);
}

TKvThumbnail::~TKvThumbnail() {
  FDestroying = true;
  if (FTitleFont) FTitleFont->OnChange = nullptr;
}

void TKvThumbnail::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_THUMBIMAGECHANGED) {
    CalculateImageSize();
    return;
  }
  TKvBaseThumbnail::Dispatch(Message);
}

void TKvThumbnail::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  bool changed = AWidth != Width() || AHeight != Height();
  TKvBaseThumbnail::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (changed && FImage) CalculateImageSize();
}

void TKvThumbnail::TitleFontChanged(TObject*) {
  if (FStrip) FStrip->Font()->Assign(FTitleFont.get());
}

void TKvThumbnail::CalculateImageSize() {
  if (!FImage || FDestroying) return;
  const int strip = FStrip && FStrip->Visible() ? FStrip->Height() : 0;
  FBox = CalculatePictureBox(Width(), Height(), BorderWidth(), strip, FTitlePlacement,
                             FImage->Picture()->Width(), FImage->Picture()->Height());
  const RECT& r = FBox.Image;
  FImage->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  FShadow->SetBounds(r.left + FShadowOffset.x, r.top + FShadowOffset.y, r.right - r.left, r.bottom - r.top);
}

void TKvThumbnail::SetTitle(const AnsiString& Value) {
  if (Value == FTitle) return;
  FTitle = Value;
  FStrip->SetCaption(Value);
}

void TKvThumbnail::SetTitleColor(TColor Value) {
  if (Value == FTitleColor) return;
  FTitleColor = Value;
  FStrip->SetColor(Value);
}

void TKvThumbnail::SetTitleValues(const AnsiString& Title, TFont* Font, TColor Colour) {
  if (Font) FTitleFont->Assign(Font);
  SetTitleColor(Colour);
  SetTitle(Title);
  FTitleSet = true;
}

void TKvThumbnail::SetShowTitle(bool Value) {
  if (Value == FShowTitle) return;
  FShowTitle = Value;
  FStrip->SetVisible(Value);
}

void TKvThumbnail::SetTitlePlacement(TTitlePos Value) {
  if (Value != FTitlePlacement) {
    if (Value == tpUp) FStrip->SetAlign(alTop);
    if (Value == tpDown) FStrip->SetAlign(alBottom);
    if (Value == tpNone) FStrip->SetVisible(false);
    if (FTitlePlacement == tpNone) FStrip->SetVisible(true);
  }
  FTitlePlacement = Value;
  CalculateImageSize();
}

void TKvThumbnail::SetShowShadow(bool Value) {
  FShowShadow = Value;
  FShadow->SetVisible(Value);
}

void TKvThumbnail::SetShadowColor(TColor Value) {
  FShadowColor = Value;
  FShadow->Brush()->SetColor(Value);
}

POINT TKvThumbnail::ScaleDownBound() {
  if (auto* view = dynamic_cast<TKvThumbView*>(Owner())) return POINT{view->MaxWidth(), view->MaxHeight()};
  return POINT{Width(), Height()};
}

void TKvThumbnail::SetMinimizeMemory(bool Value) {
  if (Value != FMinimizeMemory && FImage->Picture()->Graphic()) {
    if (Value) {
      const POINT bound = ScaleDownBound();
      FImage->ScaleDown(bound.x, bound.y);
    } else if (!FileName().empty()) {
      // Back to the whole picture, through the picture's own loading (no reduced decoding).
      try {
        FImage->Picture()->LoadFromFile(FileName());
      } catch (const Exception&) {
      }
    }
  }
  FMinimizeMemory = Value;
}

void TKvThumbnail::GetFileInfo(const AnsiString& Name) {
  WIN32_FIND_DATAA found;
  ReadFileInfo(Name, found);
}

bool TKvThumbnail::ReadFileInfo(const AnsiString& Name, WIN32_FIND_DATAA& found) {
  HANDLE search = FindFirstFileA(Name.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  FFileAccessed = FileTimeText(found.ftLastAccessTime);
  FFileChanged = FileTimeText(found.ftLastWriteTime);
  FFileCreated = FileTimeText(found.ftCreationTime);
  FFileSize = (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
  return true;
}

AnsiString TKvThumbnail::LoadFile(const AnsiString& Name) {
  AnsiString result = Name;
  FImageReady = false;
  // Minimizing memory keeps only a picture that fits, from the first load on: whole
  // pictures of a folder of photographs would take memory without bound.
  const POINT bound = FMinimizeMemory ? ScaleDownBound() : POINT{0, 0};
  try {
    FImage->LoadFromFile(Name, bound.x, bound.y);
    FImageWidth = FImage->LoadedWidth();
    FImageHeight = FImage->LoadedHeight();
    FTitleSet = false;
    CalculateImageSize();
    FImage->SetVisible(true);
    FImageReady = true;
  } catch (const std::exception&) {
    result.clear();
    // Whatever picture the failed load left is given up for one that fits as well.
    if (FMinimizeMemory) {
      FImage->ScaleDown(bound.x, bound.y);
      CalculateImageSize();
    }
  }
  return result;
}

void TKvThumbnail::SetFileName(const AnsiString& Value) {
  AnsiString result;
  WIN32_FIND_DATAA found;
  bool foundEntry = false;
  if (!Value.empty()) {
    foundEntry = ReadFileInfo(Value, found);
    if (AutoLoad) result = LoadFile(Value);
  }
  if (!result.empty() && result == Value) {
    const AnsiString old = BareName(FFile->FileName());
    if (FTitle.empty() || FTitle == old) SetTitle(BareName(Value));
  }
  // The record takes the directory entry just read instead of searching for it again.
  if (foundEntry && result == Value)
    FFile->SetFoundFileName(result, found);
  else
    FFile->SetFileName(result);
}

void TKvThumbnail::Paint() {
  if (!FTitleSet) {
    AnsiString title = FTitle;
    if (OnGetTitle)
      OnGetTitle(this, FileName(), title);
    else if (title.empty())
      title = BareName(FileName());
    SetTitle(title);
    FTitleSet = true;
  }
  TKvBaseThumbnail::Paint();
}

void TKvThumbnail::SetPressedLook(bool Pressed) {
  SetBevelOuter(Pressed ? bvLowered : bvRaised);
  FStrip->SetBevelOuter(Pressed ? bvRaised : bvLowered);
}

void TKvThumbnail::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FAsButton && Button == mbLeft) {
    FPressed = true;
    SetPressedLook(true);
  }
  TKvBaseThumbnail::MouseDown(Button, Shift, X, Y);
}

void TKvThumbnail::MouseMove(TShiftState Shift, int X, int Y) {
  if (FAsButton && FPressed) SetPressedLook(X >= 0 && X <= Width() && Y >= 0 && Y <= Height());
  TKvBaseThumbnail::MouseMove(Shift, X, Y);
}

void TKvThumbnail::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (FAsButton && Button == mbLeft) {
    FPressed = false;
    SetPressedLook(false);
  }
  TKvBaseThumbnail::MouseUp(Button, Shift, X, Y);
}
