// The shared DirectShow pieces: the error check and its text, the time and volume
// conversions, the letter box, the filter and pin lists and the graph editor's entry.
#include <gtest/gtest.h>

#include <string>

#include "preview/directshow_utils.h"

namespace {

TEST(DirectShowErrors, FailuresRaiseWithDirectShowsTextAndTheCodeSuccessesPass) {
  EXPECT_EQ(CheckDSError(S_OK), S_OK);
  EXPECT_EQ(CheckDSError(S_FALSE), S_FALSE);
  EXPECT_EQ(CheckDSError(0x00040242), 0x00040242);  // a partial render is a success
  struct {
    HRESULT code;
    const char* ending;
  } failures[] = {{E_FAIL, " ($80004005)."}, {HRESULT(0x80070002), " ($80070002)."}, {HRESULT(0x80040218), " ($80040218)."}};
  for (auto& f : failures) {
    try {
      CheckDSError(f.code);
      ADD_FAILURE() << std::hex << f.code << " did not raise";
    } catch (const EDirectShowException& e) {
      EXPECT_EQ(e.ErrorCode, f.code);
      std::string text = GetErrorText(f.code);
      EXPECT_FALSE(text.empty());
      EXPECT_EQ(e.Message, text + f.ending);
    }
  }
}

TEST(DirectShowConversions, TimesTimeCodesAndVolumeCurves) {
  EXPECT_EQ(RefTimeToMs(10000000), 1000u);
  EXPECT_EQ(RefTimeToMs(9999), 0u);
  EXPECT_EQ(RefTimeToMs(900000000), 90000u);
  EXPECT_EQ(RefTimeToMs(-10000), static_cast<uint32_t>(-1));  // kept to 32 bits

  TDvdTimeCode t;
  SplitTimeCode(0x12345678, t);
  const uint8_t expected[9] = {1, 2, 3, 4, 5, 6, 7, 2, 0};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(t.d[i], expected[i]) << "d" << i;
  SplitTimeCode(0xFFFFFFFF, t);
  EXPECT_EQ(t.d[6], 15);
  EXPECT_EQ(t.d[7], 3);
  EXPECT_EQ(t.d[8], 3);

  struct {
    int linear, volume;
  } volumes[] = {{0, -10000}, {100, -4989}, {1000, -2499}, {5000, -752}, {10000, 0}};
  for (auto& v : volumes) EXPECT_EQ(VolumeLinearToLog(v.linear), v.volume) << v.linear;
  struct {
    int linear, balance;
  } balances[] = {{0, 0}, {10000, -10000}, {-10000, 10000}, {100, -5011}, {-100, 5011}};
  for (auto& b : balances) EXPECT_EQ(BalanceLinearToLog(b.linear), b.balance) << b.linear;
}

TEST(DirectShowGeometry, LetterboxCentresTheLargestFittingRectangle) {
  struct {
    RECT dest, video, expected;
  } cases[] = {
      {{0, 0, 400, 300}, {0, 0, 1600, 900}, {0, 37, 400, 262}},   // wide picture: bars above and below
      {{0, 0, 300, 300}, {0, 0, 400, 300}, {0, 37, 300, 262}},
      {{0, 0, 228, 112}, {0, 0, 4, 3}, {39, 0, 188, 112}},         // tall picture: bars left and right
      {{10, 20, 410, 320}, {0, 0, 4, 3}, {10, 20, 410, 320}},       // same proportions: the whole area, moved
      {{0, 0, 101, 50}, {0, 0, 2, 1}, {0, 0, 100, 50}},             // odd leftover: the half pixel goes right
  };
  for (auto& c : cases) {
    RECT r;
    LetterboxRect(c.dest, c.video, r);
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.right, c.expected.right);
    EXPECT_EQ(r.bottom, c.expected.bottom);
  }
}

TEST(DirectShowLists, FiltersOfAGraphAndPinsOfAFilter) {
  TComRef<IFilterGraph> graph;
  ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterGraph,
                             reinterpret_cast<void**>(graph.GetAddressOf())), S_OK);
  EXPECT_EQ(TFilterList(graph.Get()).Count(), 0);
  EXPECT_EQ(TFilterList(nullptr).Count(), 0);

  TComRef<IBaseFilter> renderer;
  ASSERT_EQ(CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                             reinterpret_cast<void**>(renderer.GetAddressOf())), S_OK);
  ASSERT_EQ(graph->AddFilter(renderer.Get(), L"renderer"), S_OK);
  TFilterList filters(graph.Get());
  ASSERT_EQ(filters.Count(), 1);
  EXPECT_EQ(filters.Items(0), renderer.Get());
  EXPECT_EQ(filters.Remove(renderer.Get()), 0);
  EXPECT_EQ(filters.Remove(renderer.Get()), -1);

  TPinList pins(renderer.Get());
  ASSERT_EQ(pins.Count(), 1);
  PIN_DIRECTION dir;
  ASSERT_EQ(pins.Items(0)->QueryDirection(&dir), S_OK);
  EXPECT_EQ(dir, PINDIR_INPUT);
  EXPECT_EQ(TPinList(nullptr).Count(), 0);
}

// The graph editor finds a graph by enumerating the running-object table.
bool RotHasName(const std::wstring& wanted) {
  TComRef<IRunningObjectTable> table;
  TComRef<IEnumMoniker> monikers;
  TComRef<IBindCtx> context;
  if (FAILED(GetRunningObjectTable(0, &table)) || FAILED(table->EnumRunning(&monikers)) ||
      FAILED(CreateBindCtx(0, &context)))
    return false;
  for (;;) {
    TComRef<IMoniker> moniker;
    if (monikers->Next(1, &moniker, nullptr) != S_OK) return false;
    LPOLESTR name = nullptr;
    if (SUCCEEDED(moniker->GetDisplayName(context.Get(), nullptr, &name))) {
      bool match = std::wstring(name).find(wanted) != std::wstring::npos;
      CoTaskMemFree(name);
      if (match) return true;
    }
  }
}

TEST(DirectShowRot, AGraphIsRegisteredUnderItsNameAndRevoked) {
  EXPECT_EQ(GraphRotName(reinterpret_cast<void*>(0x1234ABCDull), 0x1F4), L"FilterGraph 000000001234ABCD pid 1F4");

  TComRef<IUnknown> graph;
  ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void**>(graph.GetAddressOf())), S_OK);
  DWORD cookie = 0;
  ASSERT_EQ(RegisterGraphInRot(graph.Get(), cookie), S_OK);
  EXPECT_NE(cookie, 0u);
  std::wstring name = GraphRotName(graph.Get(), GetCurrentProcessId());
  EXPECT_TRUE(RotHasName(name));
  EXPECT_EQ(RevokeGraphFromRot(cookie), S_OK);
  EXPECT_FALSE(RotHasName(name));
}

}  // namespace
