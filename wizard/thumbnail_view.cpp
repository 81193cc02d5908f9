#include "wizard/thumbnail_view.h"

#include <string>
#include <unordered_map>

#include "vcl/streaming.h"

namespace {

const std::vector<TPropInfo>& ThumbViewProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TKvThumbView>()
      .Property("AlignView", &TKvThumbView::AlignView, &TKvThumbView::SetAlignView).Default(vtNormal)
      .Property("AutoScrolling", &TKvThumbView::AutoScrolling).Default(true)
      .Property("ThumbGap", &TKvThumbView::ThumbGap, &TKvThumbView::SetThumbGap).Default(4)
      .Property("AutoHandleKeyb", &TKvThumbView::AutoHandleKeyb).Default(true)
      .Property("MinMemory", &TKvThumbView::MinMemory).Default(true)
      .Property("MaxWidth", &TKvThumbView::MaxWidth, &TKvThumbView::SetMaxWidth).Default(200)
      .Property("MaxHeight", &TKvThumbView::MaxHeight, &TKvThumbView::SetMaxHeight).Default(200)
      .Property("Size", &TKvThumbView::Size, &TKvThumbView::SetSize).Default(100)
      .Property("ScrollMode", &TKvThumbView::ScrollMode, &TKvThumbView::SetScrollMode).Default(smHorizontal)
      .Property("Directory", &TKvThumbView::Directory, &TKvThumbView::SetDirectory)
      .Property("Sorted", &TKvThumbView::Sorted, &TKvThumbView::SetSorted).Default(true)
      .Property("Selected", &TKvThumbView::Selected, &TKvThumbView::SetSelected).Default(-1)
      .Property("SelectedFile", &TKvThumbView::SelectedFile, &TKvThumbView::SetSelectedFile)
      .Property("AsButtons", &TKvThumbView::AsButtons, &TKvThumbView::SetAsButtons).Default(false)
      .Property("TitlePlacement", &TKvThumbView::TitlePlacement, &TKvThumbView::SetTitlePlacement).Default(tpUp)
      .Property("Filter", &TKvThumbView::Filter)
      .Property("ThumbColor", &TKvThumbView::ThumbColor).Idents(ColorIdents()).Default(clNone)
      .Property("ShowShadow", &TKvThumbView::ShowShadow).Default(false)
      .Property("ShadowColor", &TKvThumbView::ShadowColor).Idents(ColorIdents()).Default(clBlack)
      .Property("OnStartScanning", &TKvThumbView::OnStartScanning)
      .Property("OnStopScanning", &TKvThumbView::OnStopScanning)
      .Property("OnScanProgress", &TKvThumbView::OnScanProgress)
      .Property("OnGetTitle", &TKvThumbView::OnGetTitle)
      .Property("OnInvalidImage", &TKvThumbView::OnInvalidImage)
      .Property("OnChange", &TKvThumbView::OnChange)
      .Property("OnChanging", &TKvThumbView::OnChanging)
      .Table();
  return table;
}

AnsiString BareName(const AnsiString& Name) {
  size_t slash = Name.find_last_of("\\/:");
  return slash == AnsiString::npos ? Name : Name.substr(slash + 1);
}

bool FolderExists(const AnsiString& Folder) {
  DWORD attr = GetFileAttributesA(Folder.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

// The locale's sort key of a name without regard to case: names the string list finds equal
// share it, so a repeat is found among the keys at once instead of by comparing the name
// with every one listed before it.
std::string CaselessKey(const AnsiString& Name) {
  const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
  const int length = LCMapStringA(LOCALE_USER_DEFAULT, flags, Name.data(), static_cast<int>(Name.size()), nullptr, 0);
  std::string key(static_cast<size_t>(length), '\0');
  if (length > 0)
    LCMapStringA(LOCALE_USER_DEFAULT, flags, Name.data(), static_cast<int>(Name.size()), key.data(), length);
  return key;
}

}  // namespace

VCL_CLASS_IMPL(TKvBaseThumbView, TScrollBox, &CreateComponentOf<TKvBaseThumbView>, nullptr)
VCL_CLASS_IMPL(TKvThumbList, TStringList, nullptr, nullptr)
VCL_CLASS_IMPL(TKvThumbView, TKvBaseThumbView, &CreateComponentOf<TKvThumbView>, &ThumbViewProperties)

void RegisterThumbnailClasses() {
  RegisterClasses({TKvThumbView::StaticClass(), TKvThumbnail::StaticClass(), TKvThumbImage::StaticClass()});
}

TKvBaseThumbView::TKvBaseThumbView(TComponent* AOwner) : TScrollBox(AOwner) {
  ControlStyle = (ControlStyle | csOpaque | csNeedsBorderPaint) & ~csSetCaption;
}

// ---------------------------------------------------------------------------

TKvThumbView::TKvThumbView(TComponent* AOwner)
    : TKvBaseThumbView(AOwner), FThumbs(new TKvThumbList), FFound(new TStringList), FSortedFiles(new TStringList) {
  FThumbs->SetSorted(true);
  Filter = GraphicFilter(TGraphic::GraphicClass());
  SetTabStop(true);
  SetBounds(Left(), Top(), 600, 480);
  HorzScrollBar()->Tracking = true;
  VertScrollBar()->Tracking = true;
  SyncGrid();
  CalculateThumbSize();
}

TKvThumbView::~TKvThumbView() = default;

void TKvThumbView::SyncGrid() {
  FGrid.ViewWidth = Width();
  FGrid.ViewHeight = Height();
  FGrid.Count = FThumbs ? FThumbs->Count() : 0;
}

void TKvThumbView::CalculateThumbSize() {
  FGrid.ThumbWidth = ScaledSide(FMaxWidth, FSize);
  FGrid.ThumbHeight = ScaledSide(FMaxHeight, FSize);
  CalculateThumbsPerLine();
}

void TKvThumbView::CalculateThumbsPerLine() {
  SyncGrid();
  FGrid.PerLine = FGrid.CalcPerLine();
}

void TKvThumbView::Reposition(int Start) {
  SyncGrid();
  // Cells are placed in unscrolled coordinates; the scroll bars then move them back.
  const int h = HorzScrollBar()->Position(), v = VertScrollBar()->Position();
  HorzScrollBar()->SetPosition(0);
  VertScrollBar()->SetPosition(0);
  for (int i = Start < 0 ? 0 : Start; i < FThumbs->Count(); ++i)
    if (TKvThumbnail* thumb = FThumbs->GetThumbnail(i))
      thumb->SetBounds(CalculateXPos(i + 1), CalculateYPos(i + 1), FGrid.ThumbWidth, FGrid.ThumbHeight);
  HorzScrollBar()->SetPosition(h);
  VertScrollBar()->SetPosition(v);
}

void TKvThumbView::RefreshThumbs() {
  CalculateThumbSize();
  Reposition(0);
  for (int i = 0; i < FThumbs->Count(); ++i)
    if (TKvThumbnail* thumb = FThumbs->GetThumbnail(i)) {
      thumb->CalculateImageSize();
      thumb->Invalidate();
    }
  Invalidate();
}

int TKvThumbView::IndexOfFile(const AnsiString& FileName) const {
  for (int i = 0; i < FThumbs->Count(); ++i)
    if (TKvThumbnail* thumb = FThumbs->GetThumbnail(i))
      if (thumb->FileName() == FileName) return i;
  return -1;
}

int TKvThumbView::AddThumb(const AnsiString& FileName) {
  // A name already listed keeps its cell: a second one would never be reachable.
  int existing = FThumbs->IndexOf(FileName);
  if (existing >= 0) return existing;

  auto* thumb = new TKvThumbnail(this);
  if (OnGetTitle) {
    AnsiString title = BareName(FileName);
    TFont* font = new TFont;
    TColor colour = clBtnFace;
    try {
      OnGetTitle(this, FileName, title, font, colour);
      thumb->SetTitleValues(title, font, colour);
    } catch (...) {
      delete font;
      throw;
    }
    // Whatever object the handler left in the variable is freed here, once.
    delete font;
  }
  thumb->OnClick = OnClick;
  thumb->OnDblClick = OnDblClick;
  thumb->Photo()->OnClick = OnClick;
  thumb->Photo()->OnDblClick = OnDblClick;
  thumb->SetMinimizeMemory(MinMemory);

  FThumbs->AddObject(FileName, thumb);
  InsertControl(thumb);
  CalculateThumbSize();
  Reposition(0);
  int index = FThumbs->IndexOf(FileName);
  FThumbs->GetThumbnail(index)->SetFileName(FileName);
  return index;
}

TKvThumbnail* TKvThumbView::AddTitledThumb(const AnsiString& Title, bool Redraw) {
  auto* thumb = new TKvThumbnail(this);
  SyncGrid();
  thumb->SetBounds(CalculateXPos(Count() + 1), CalculateYPos(Count() + 1), FGrid.ThumbWidth, FGrid.ThumbHeight);
  thumb->SetAsButton(FAsButtons);
  thumb->SetTitlePlacement(FTitlePlacement);
  thumb->SetShadowColor(ShadowColor);
  thumb->SetShowShadow(ShowShadow);
  thumb->OnClick = OnClick;
  thumb->OnDblClick = OnDblClick;
  thumb->Photo()->OnClick = OnClick;
  thumb->Photo()->OnDblClick = OnDblClick;
  thumb->Photo()->OnInvalidImage = [this](TObject* Sender, const AnsiString& AFileName) {
    if (OnInvalidImage) OnInvalidImage(Sender, AFileName);
  };
  thumb->SetMinimizeMemory(MinMemory);
  thumb->SetColor(Color());
  thumb->SetTitle(Title);
  if (ThumbColor == clNone) {
    thumb->SetColor(Color());
    thumb->SetParentColor(true);
    thumb->SetTitleColor(Color());
  } else {
    thumb->SetColor(ThumbColor);
  }
  FThumbs->AddObject(thumb->Title(), thumb);
  thumb->SetParent(this);
  if (Redraw) {
    CalculateThumbSize();
    Reposition(0);
  }
  return thumb;
}

void TKvThumbView::Delete(int Index) {
  if (Index < 0 || Index >= FThumbs->Count()) return;
  delete FThumbs->GetThumbnail(Index);
  FThumbs->Delete(Index);
  FSelected = -1;
  Reposition(Index - 1 > 0 ? Index - 1 : 0);
  RefreshThumbs();
  Repaint();
}

void TKvThumbView::EmptyList() {
  for (int n = FThumbs->Count(), i = 0; n > 0; --n) {
    TKvThumbnail* thumb = FThumbs->GetThumbnail(i);
    if (!thumb) {
      ++i;  // an entry without a cell stays
      continue;
    }
    RemoveControl(thumb);
    delete thumb;
    FThumbs->Delete(i);
  }
  FSelected = -1;
}

void TKvThumbView::GetFiles(const AnsiString& Folder) {
  FFound->Clear();
  FSortedFiles->Clear();
  AnsiString dir = Folder;
  if (FolderExists(dir) && !dir.empty() && dir.back() != '\\') dir += '\\';
  std::unordered_map<std::string, int> listed;  // key -> index in FFound
  for (const AnsiString& mask : FilterMasks(Filter)) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + mask).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      // Plain files only: hidden and system files and folders stay out.
      if (found.dwFileAttributes &
          (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
        continue;
      AnsiString name = dir + found.cFileName;
      // Listed once, as the string list compares names; the key only finds the candidate.
      auto [at, fresh] = listed.try_emplace(CaselessKey(name), FFound->Count());
      if (!fresh && (AnsiCompareText(FFound->Strings(at->second), name) == 0 || FFound->IndexOf(name) >= 0))
        continue;
      FFound->Add(name);
      FSortedFiles->Add(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  FSortedFiles->Sort();
}

void TKvThumbView::SetDirectory(const AnsiString& Value) {
  // What was selected stays selected when the new content lists it again.
  const AnsiString keep = FScanning ? AnsiString() : SelectedFile();
  FSelected = -1;
  if (FScanning) return;
  if (Value.empty()) {
    EmptyList();
  } else {
    HCURSOR cursor = GetCursor();
    bool hourglass = false;
    FScanning = true;
    const DWORD start = GetTickCount();
    std::unique_ptr<TStringList> files;
    // Every add places all cells again; the scroll ranges follow once, at the end, instead of
    // after each cell (which made a scan of a few hundred files take seconds).
    DisableAlign();
    try {
      GetFiles(Value);
      files = std::make_unique<TStringList>();
      files->Assign(FSorted ? FSortedFiles.get() : FFound.get());
      EmptyList();
      FDirectory = Value;
      if (OnStartScanning) OnStartScanning(this, files->Count() - 1);
      bool stop = false;
      for (int i = 0; i < files->Count(); ++i) {
        if (OnScanProgress) OnScanProgress(this, i + 1, stop);
        if (stop) break;
        TKvThumbnail* thumb = AddTitledThumb(BareName(files->Strings(i)), true);
        thumb->SetFileName(files->Strings(i));
        if (!hourglass && GetTickCount() - start > 1000) {
          hourglass = true;
          ::SetCursor(LoadCursor(nullptr, IDC_WAIT));
        }
      }
      if (OnStopScanning) OnStopScanning(this);
    } catch (...) {
      FScanning = false;
      EnableAlign();
      ::SetCursor(cursor);
      throw;
    }
    FScanning = false;
    EnableAlign();
    ::SetCursor(cursor);
  }
  FDirectory = Value;
  if (Count() > 0 && FSelected == -1) {
    int kept = keep.empty() ? -1 : IndexOfFile(keep);
    SetSelected(kept >= 0 ? kept : 0);
  }
  Invalidate();
}

AnsiString TKvThumbView::SelectedFile() const {
  if (FSelected < 0 || FSelected >= FThumbs->Count()) return AnsiString();
  TKvThumbnail* thumb = FThumbs->GetThumbnail(FSelected);
  return thumb ? thumb->FileName() : AnsiString();
}

void TKvThumbView::SetSelectedFile(const AnsiString& Value) {
  AnsiString folder;
  size_t slash = Value.find_last_of("\\:");
  if (slash != AnsiString::npos) folder = Value.substr(0, slash + 1);
  if (folder.size() > 1 && folder.back() == '\\') folder.pop_back();
  SetDirectory(folder);
  int index = IndexOfFile(Value);
  if (index < 0) return;
  SetSelected(index);
  if (!AutoScrolling) ScrollTo(index);
}

void TKvThumbView::SetSelected(int Value) {
  if (Count() == 0 || Value < -1 || Value >= Count()) return;
  if (FSelected >= 0 && FSelected < Count())
    if (TKvThumbnail* old = FThumbs->GetThumbnail(FSelected)) {
      old->SetTitleColor(old->Color());
      old->TitleFont()->SetColor(old->Font()->Color());
    }
  if (Value != -1) {
    if (TKvThumbnail* thumb = FThumbs->GetThumbnail(Value)) {
      thumb->SetTitleColor(clHighlight);
      thumb->TitleFont()->SetColor(clHighlightText);
      if (AutoScrolling) {
        if (thumb->Top() + thumb->Height() > Height() || thumb->Top() < 0) ScrollTo(Value);
        if (thumb->Left() + thumb->Width() > Width() || thumb->Left() < 0) ScrollTo(Value);
      }
    }
  }
  if (Value != FSelected) {
    if (OnChanging) OnChanging(this);
    FSelected = Value;
    if (OnChange) OnChange(this);
  }
}

void TKvThumbView::ScrollTo(int Index) {
  if (Index < 0 || Index > Count() - 1) return;
  TKvThumbnail* thumb = FThumbs->GetThumbnail(Index);
  if (!thumb) return;
  auto vertical = [&] {
    TControlScrollBar* bar = VertScrollBar();
    if (thumb->Top() < 0) bar->SetPosition(bar->Position() + thumb->Top() - thumb->Height() / 2);
    if (thumb->Top() + thumb->Height() > Height())
      bar->SetPosition(bar->Position() + thumb->Top() + thumb->Height() + thumb->Height() / 2 - Height());
  };
  auto horizontal = [&] {
    TControlScrollBar* bar = HorzScrollBar();
    if (thumb->Left() < 0) bar->SetPosition(bar->Position() + thumb->Left() - thumb->Width() / 2);
    if (thumb->Left() + thumb->Width() > Width())
      bar->SetPosition(bar->Position() + thumb->Left() + thumb->Width() + thumb->Width() / 2 - Width());
  };
  switch (FGrid.Mode) {
    case smHorizontal: horizontal(); break;
    case smVertical: vertical(); break;
    case smBoth: vertical(); horizontal(); break;
  }
  if (Index != FSelected) {
    FSelected = Index;
    if (OnClick) OnClick(this);
  }
}

void TKvThumbView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Count() > 0) {
    CalculateThumbsPerLine();
    int index = static_cast<short>(FGrid.CellIndexAt(HorzScrollBar()->Position() + X, VertScrollBar()->Position() + Y));
    TKvThumbnail* thumb = index >= 0 && index < Count() ? FThumbs->GetThumbnail(index) : nullptr;
    if (thumb && thumb->Left() < X && X < thumb->Left() + thumb->Width() && thumb->Top() < Y &&
        Y < thumb->Top() + thumb->Height())
      SetSelected(index);
    else
      SetSelected(-1);
  }
  TKvBaseThumbView::MouseDown(Button, Shift, X, Y);
}

void TKvThumbView::Move(TThumbMove Direction) {
  SetSelected(MoveSelection(FSelected, Direction, FGrid.Mode, FGrid.PerLine, Count()));
}

void TKvThumbView::KeyDown(WORD& Key, TShiftState Shift) {
  TKvBaseThumbView::KeyDown(Key, Shift);  // OnKeyDown first
  if (!AutoHandleKeyb || Count() == 0) return;
  switch (Key) {
    case VK_END: SetSelected(Count() - 1); break;
    case VK_HOME: SetSelected(0); break;
    case VK_LEFT: GoLeft(); break;
    case VK_UP: GoUp(); break;
    case VK_RIGHT: GoRight(); break;
    case VK_DOWN: GoDown(); break;
    default: return;
  }
  ScrollTo(FSelected);
}

void TKvThumbView::Resize() {
  CalculateThumbsPerLine();
  if (FThumbs) Reposition(0);
  TKvBaseThumbView::Resize();
}

void TKvThumbView::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTALLKEYS; break;
    case WM_ERASEBKGND: {
      // Opaque, so the framework leaves the background alone: the view fills what its
      // cells leave free itself (the cells show it through their gaps).
      RECT r = ClientRect();
      ::FillRect(reinterpret_cast<HDC>(Message.WParam), &r, Brush()->Handle());
      Message.Result = 1;
      break;
    }
    case WM_PAINT:
      TKvBaseThumbView::Dispatch(Message);
      if (!FPainted) {
        FPainted = true;
        SetDirectory(FDirectory);
      }
      break;
    default: TKvBaseThumbView::Dispatch(Message); break;
  }
}

// --- property setters ------------------------------------------------------

void TKvThumbView::SetMaxWidth(int Value) {
  FMaxWidth = Value;
  CalculateThumbSize();
  Reposition(0);
}

void TKvThumbView::SetMaxHeight(int Value) {
  FMaxHeight = Value;
  CalculateThumbSize();
  Reposition(0);
}

void TKvThumbView::SetSize(int Value) {
  FSize = Value;
  CalculateThumbSize();
  Reposition(0);
}

void TKvThumbView::SetThumbGap(int Value) {
  FGrid.Gap = Value;
  // Fitted lines spread their own gaps; the new gap shows at the next relayout.
  if (FGrid.Align == vtFitToScreen) return;
  CalculateThumbsPerLine();
  Reposition(0);
}

void TKvThumbView::SetAlignView(TViewType Value) {
  if (Value == FGrid.Align) return;
  FGrid.Align = Value;
  Reposition(0);
}

void TKvThumbView::SetScrollMode(TScrollMode Value) {
  if (Value == FGrid.Mode) return;
  FGrid.Mode = Value;
  CalculateThumbSize();
  Reposition(0);
  if (FSelected >= 0) ScrollTo(FSelected);
}

void TKvThumbView::SetSorted(bool Value) {
  if (Value == FSorted) return;
  FSorted = Value;
  FThumbs->SetSorted(Value);
  if (FPainted) {
    SetDirectory(FDirectory);
    Invalidate();
  }
}

void TKvThumbView::SetAsButtons(bool Value) {
  if (Value == FAsButtons) return;
  FAsButtons = Value;
  for (int i = 0; i < FThumbs->Count(); ++i)
    if (TKvThumbnail* thumb = FThumbs->GetThumbnail(i)) thumb->SetAsButton(Value);
}

void TKvThumbView::SetTitlePlacement(TTitlePos Value) {
  if (Value == FTitlePlacement) return;
  FTitlePlacement = Value;
  for (int i = 0; i < FThumbs->Count(); ++i)
    if (TKvThumbnail* thumb = FThumbs->GetThumbnail(i)) thumb->SetTitlePlacement(Value);
}
