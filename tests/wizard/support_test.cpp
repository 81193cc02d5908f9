// The support routines of the wizard's components: Windows version decision, version
// resources, character tables, colour names, text height, theme style flags and the device
// context kept whole across WM_PRINTCLIENT.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "vcl/pictures.h"
#include "wizard/char_tables.h"
#include "wizard/colour_names.h"
#include "wizard/control_support.h"
#include "wizard/file_version.h"
#include "wizard/windows_version.h"

namespace {

TEST(WindowsVersion, EveryBranchOfTheDecision) {
  constexpr DWORD k9x = VER_PLATFORM_WIN32_WINDOWS, kNT = VER_PLATFORM_WIN32_NT;
  constexpr BYTE kWs = VER_NT_WORKSTATION, kSrv = VER_NT_SERVER;
  struct Case {
    DWORD Platform, Major, Minor;
    const char* Service;
    DWORD KernelMinor;
    int ServerR2;
    WORD Arch;
    BYTE Product;
    TWindowsVersion Expected;
  };
  const WORD x86 = PROCESSOR_ARCHITECTURE_INTEL, x64 = PROCESSOR_ARCHITECTURE_AMD64;
  const Case cases[] = {
      {k9x, 4, 0, "", 0, 0, x86, kWs, wvWin95},
      {k9x, 4, 0, " B ", 0, 0, x86, kWs, wvWin95OSR2},
      {k9x, 4, 3, "C", 0, 0, x86, kWs, wvWin95OSR2},
      {k9x, 4, 10, "", 0, 0, x86, kWs, wvWin98},
      {k9x, 4, 10, "A", 0, 0, x86, kWs, wvWin98SE},
      {k9x, 4, 10, " B", 0, 0, x86, kWs, wvWin98SE},
      {k9x, 4, 90, "", 0, 0, x86, kWs, wvWinME},
      {k9x, 4, 10, "", 90, 0, x86, kWs, wvWinME},  // the kernel file says 4.90
      {kNT, 3, 1, "", 0, 0, x86, kWs, wvWinNT31},
      {kNT, 3, 5, "", 0, 0, x86, kWs, wvWinNT35},
      {kNT, 3, 51, "", 0, 0, x86, kWs, wvWinNT351},
      {kNT, 4, 0, "", 0, 0, x86, kWs, wvWinNT4},
      {kNT, 5, 0, "", 0, 0, x86, kWs, wvWin2000},
      {kNT, 5, 1, "", 0, 0, x86, kWs, wvWinXP},
      {kNT, 5, 2, "", 0, 1, x64, kSrv, wvWin2003R2},
      {kNT, 5, 2, "", 0, 0, x86, kWs, wvWin2003},
      {kNT, 5, 2, "", 0, 0, x64, kWs, wvWinXP64},
      {kNT, 5, 2, "", 0, 0, x64, kSrv, wvWin2003},
      {kNT, 6, 0, "", 0, 0, x64, kWs, wvWinVista},
      {kNT, 6, 0, "", 0, 0, x64, kSrv, wvWinServer2008},
      {kNT, 6, 1, "", 0, 0, x64, kWs, wvWin7},
      {kNT, 6, 1, "", 0, 0, x64, kSrv, wvWinServer2008R2},
      {kNT, 6, 2, "", 0, 0, x64, kWs, wvWin8},
      {kNT, 6, 2, "", 0, 0, x64, kSrv, wvWinServer2012},
      {kNT, 6, 3, "", 0, 0, x64, kWs, wvWin81},
      {kNT, 6, 3, "", 0, 0, x64, kSrv, wvWinServer2012R2},
      {kNT, 10, 0, "", 0, 0, x64, kWs, wvWin10},
      {kNT, 10, 0, "", 0, 0, x64, kSrv, wvWinServer2016},
      {kNT, 7, 0, "", 0, 0, x64, kWs, wvUnknown},
  };
  for (const Case& c : cases) {
    TWindowsVersionFacts facts;
    facts.Platform = c.Platform;
    facts.Major = c.Major;
    facts.Minor = c.Minor;
    facts.ServiceText = c.Service;
    facts.KernelMajor = c.KernelMinor ? 4 : 0;
    facts.KernelMinor = c.KernelMinor;
    facts.ServerR2 = c.ServerR2;
    facts.NativeArchitecture = c.Arch;
    facts.ProductType = c.Product;
    EXPECT_EQ(DecideWindowsVersion(facts), c.Expected) << c.Platform << " " << c.Major << "." << c.Minor;
  }
  // This system (Wine reports an NT release from Vista on).
  EXPECT_GE(GetWindowsVersion(), wvWinVista);
  EXPECT_TRUE(GetSystemFacts().IsWinNT);
  EXPECT_GT(GetSystemFacts().PageSize, 0u);
}

TEST(FileVersion, OnlyAWholeFixedBlockCounts) {
  VS_FIXEDFILEINFO block{};
  block.dwSignature = VS_FFI_SIGNATURE;
  block.dwFileVersionMS = MAKELONG(1, 6);
  VS_FIXEDFILEINFO out{};
  EXPECT_TRUE(AcceptFixedFileInfo(&block, sizeof block, out));
  EXPECT_EQ(out.dwFileVersionMS, block.dwFileVersionMS);
  for (UINT size : {0u, 48u, 51u, 53u, 64u}) EXPECT_FALSE(AcceptFixedFileInfo(&block, size, out)) << size;
  EXPECT_FALSE(AcceptFixedFileInfo(nullptr, sizeof block, out));

  AnsiString comctl = ModuleFileName(LoadLibraryA("comctl32.dll"));
  ASSERT_FALSE(comctl.empty());
  ASSERT_TRUE(GetFixedFileInfo(comctl, out));
  EXPECT_EQ(out.dwSignature, VS_FFI_SIGNATURE);
  EXPECT_GE(HIWORD(out.dwFileVersionMS), 5u);
  EXPECT_FALSE(GetFixedFileInfo("C:\\no such file.dll", out));
  AnsiString self = ModuleFileName(nullptr);
  EXPECT_NE(self.find("wizard_tests.exe"), AnsiString::npos) << self;
}

TEST(CharTables, TypesAndCases) {
  const TCharTables& t = CharTables();
  EXPECT_TRUE(t.Types['A'] & C1_UPPER);
  EXPECT_TRUE(t.Types['z'] & C1_LOWER);
  EXPECT_TRUE(t.Types['7'] & C1_DIGIT);
  EXPECT_EQ(t.Lower['Q'], 'q');
  EXPECT_EQ(t.Upper['q'], 'Q');
  EXPECT_EQ(t.Reversed['a'], 'A');
  EXPECT_EQ(t.Reversed['A'], 'a');
  EXPECT_EQ(t.Reversed['1'], '1');
  EXPECT_EQ(t.Reversed[0xE9], 0xC9);  // é and É in code page 1252
}

TEST(ColourNames, TablesHoldTheirColours) {
  EXPECT_EQ(StandardColourNames().size(), 20u);
  EXPECT_EQ(SystemColourNames().size(), 30u);
  EXPECT_EQ(PaletteColourNames().size(), 40u);
  for (auto table : {StandardColourNames(), SystemColourNames(), PaletteColourNames()}) {
    std::set<std::string> names;
    for (const TColourName& c : table) EXPECT_TRUE(names.insert(c.Name).second) << c.Name;
  }
  EXPECT_STREQ(FindColourName(StandardColourNames(), 0xA4A0A0)->Name, "clMedGray");
  EXPECT_STREQ(FindColourName(SystemColourNames(), clBackground)->Description, "Desktop background");
  EXPECT_STREQ(FindColourName(PaletteColourNames(), 0x00CC99)->Name, "clLime");
  EXPECT_STREQ(PaletteColourNames().back().Name, "clWhite");
  EXPECT_EQ(FindColourName(PaletteColourNames(), 0x123456), nullptr);
}

TEST(ControlSupport, TextHeightAndThemeStyle) {
  TBitmap bitmap;
  bitmap.SetSize(10, 10);
  TCanvas* canvas = bitmap.Canvas();
  canvas->Font()->SetName("Tahoma");  // scalable: the bitmap faces jump between sizes
  canvas->Font()->SetSize(10);
  const int small = CanvasTextHeight(canvas);
  canvas->Font()->SetSize(20);
  TEXTMETRICA metrics{};
  canvas->RequiredState(csHandleValid | csFontValid);
  GetTextMetricsA(canvas->Handle(), &metrics);
  EXPECT_EQ(CanvasTextHeight(canvas), metrics.tmHeight);
  EXPECT_GT(metrics.tmHeight, small + 5);

  TControl control(nullptr);
  control.ControlStyle = csOpaque;
  IncludeThemeStyle(&control, csParentBackground | csNeedsBorderPaint | csCaptureMouse);
  EXPECT_EQ(control.ControlStyle, static_cast<TControlStyle>(csOpaque | csParentBackground | csNeedsBorderPaint));
}

// Paints a red square and leaves its own text colour and brush in the DC.
class TScribbler : public TCustomControl {
 public:
  explicit TScribbler(TComponent* Owner) : TCustomControl(Owner) {
    SetVisible(false);
    SetBounds(0, 0, 40, 40);
  }

 protected:
  void CreateParams(TCreateParams& Params) override {
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.WndParent = nullptr;
  }
  bool IsTopLevelWindow() const override { return true; }
  void Paint() override {
    Canvas()->Brush()->SetColor(clRed);
    Canvas()->FillRect(RECT{0, 0, 20, 20});
    SetTextColor(Canvas()->Handle(), RGB(1, 2, 3));
  }
};

TEST(PrintClient, TheCallersDeviceContextComesBackUnchanged) {
  TScribbler control(nullptr);
  control.HandleNeeded();
  TBitmap target;
  target.SetSize(40, 40);
  HDC dc = target.Canvas()->Handle();
  SetTextColor(dc, RGB(9, 9, 9));
  HGDIOBJ brush = GetCurrentObject(dc, OBJ_BRUSH);
  SendMessageA(control.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  EXPECT_EQ(GetPixel(dc, 5, 5), RGB(255, 0, 0));  // it painted into the given DC
  EXPECT_EQ(GetTextColor(dc), RGB(9, 9, 9));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
}

}  // namespace
