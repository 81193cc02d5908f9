// The filter graph component: activation and its notices, modes, members, the graph
// editor's entry, the log file, and a real clip rendered, played, paused, stopped and cleared.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <evcode.h>

#include "preview/filter_graph.h"
#include "tests/preview/avi_clip.h"
#include "tests/preview/graph_recorder.h"
#include "tests/support/pump.h"

namespace {

using Log = std::vector<std::string>;

class FilterGraphTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Clip = TempFileName(L"kavo_preview_clip.avi");
    ASSERT_TRUE(WriteTestClip(Clip, 160, 120, 10, 5));  // two seconds
  }
  static void TearDownTestSuite() { DeleteFileW(Clip.c_str()); }

  void SetUp() override {
    graph.OnActivate = [this](TObject*) { log.push_back("OnActivate"); };
  }

  static std::wstring Clip;
  Log log;
  TFilterGraph graph{nullptr};
  TGraphRecorder recorder{log};
};
std::wstring FilterGraphTest::Clip;

TEST_F(FilterGraphTest, AnInactiveGraphStoresSettingsAndDoesNothingElse) {
  graph.InsertEventNotifier(&recorder);
  EXPECT_FALSE(graph.Play());
  EXPECT_FALSE(graph.Pause());
  EXPECT_FALSE(graph.Stop());
  EXPECT_EQ(graph.RenderFile(Clip), S_FALSE);
  EXPECT_EQ(graph.GetDuration(), 0u);
  graph.ClearGraph();
  graph.DisconnectFilters();
  EXPECT_TRUE(log.empty());

  graph.SetVolume(20000);
  EXPECT_EQ(graph.Volume(), 10000);
  graph.SetVolume(-5);
  EXPECT_EQ(graph.Volume(), 0);
  graph.SetBalance(-30000);
  EXPECT_EQ(graph.Balance(), -10000);
  graph.SetBalance(30000);
  EXPECT_EQ(graph.Balance(), 10000);
  graph.SetRate(2.0);
  EXPECT_EQ(graph.Rate(), 2.0);
  EXPECT_NE(graph.NotifyWindow(), nullptr);  // the notice window exists while inactive
  graph.RemoveEventNotifier(&recorder);
  graph.RemoveEventNotifier(&recorder);  // gone already: nothing happens
}

TEST_F(FilterGraphTest, ActivationAddsMembersThenTellsListenersAndDeactivationUndoesItInReverse) {
  graph.InsertMember(&recorder);
  graph.InsertEventNotifier(&recorder);
  EXPECT_TRUE(log.empty());  // inactive: the member waits

  graph.SetActive(true);
  ASSERT_TRUE(graph.Active());
  ASSERT_NE(graph.Graph(), nullptr);
  EXPECT_EQ(log, (Log{"moAdding", "moAdded", "OnActivate", "gceActive 1"}));
  EXPECT_EQ(FilterNames(graph.Graph()), std::vector<std::wstring>{L"recorder"});

  log.clear();
  graph.SetActive(true);  // the current value: nothing
  EXPECT_TRUE(log.empty());

  // Nothing rendered: stopping and clearing work and keep the member's filter.
  EXPECT_TRUE(graph.Stop());
  graph.ClearGraph();
  EXPECT_EQ(FilterNames(graph.Graph()), std::vector<std::wstring>{L"recorder"});
  EXPECT_EQ(log, (Log{"gceStop 0", "gceStop 0"}));
  log.clear();

  graph.SetActive(false);
  EXPECT_FALSE(graph.Active());
  EXPECT_EQ(graph.Graph(), nullptr);
  EXPECT_EQ(log, (Log{"gceActive 0", "moRemoving", "moRemoved"}));
  EXPECT_FALSE(graph.Stop());  // as the application does after deactivating
  graph.ClearGraph();
}

TEST_F(FilterGraphTest, MembersJoinAndLeaveALiveGraphAtOnce) {
  graph.SetActive(true);
  graph.InsertMember(&recorder);
  EXPECT_EQ(log, (Log{"OnActivate", "moAdding", "moAdded"}));
  EXPECT_EQ(FilterNames(graph.Graph()).size(), 1u);
  graph.RemoveMember(&recorder);
  EXPECT_EQ(log, (Log{"OnActivate", "moAdding", "moAdded", "moRemoving", "moRemoved"}));
  EXPECT_TRUE(FilterNames(graph.Graph()).empty());
  EXPECT_EQ(graph.MemberCount(), 0);
}

TEST_F(FilterGraphTest, ChangingTheModeWhileActiveRecreatesTheGraph) {
  graph.InsertMember(&recorder);
  graph.InsertEventNotifier(&recorder);
  graph.SetActive(true);
  log.clear();
  graph.SetMode(gmNormal);  // the current mode: nothing
  EXPECT_TRUE(log.empty());

  graph.SetMode(gmCapture);
  EXPECT_TRUE(graph.Active());
  EXPECT_EQ(log, (Log{"gceActive 0", "moRemoving", "moRemoved", "moAdding", "moAdded", "OnActivate", "gceActive 1"}));
  // The capture builder answers through the component.
  EXPECT_NE(graph.Query<ICaptureGraphBuilder2>(IID_ICaptureGraphBuilder2), nullptr);
  EXPECT_NE(graph.Query<IMediaControl>(IID_IMediaControl), nullptr);
}

TEST_F(FilterGraphTest, AFailedActivationReleasesWhatWasMadeStaysInactiveAndRaises) {
  // Wine's DVD graph builder hands out no graph.
  graph.InsertMember(&recorder);
  graph.InsertEventNotifier(&recorder);
  graph.SetMode(gmDVD);
  try {
    graph.SetActive(true);
    // A system with a DVD graph: activation is real, nothing more to see here.
    EXPECT_TRUE(graph.Active());
    GTEST_SKIP() << "this system builds DVD graphs";
  } catch (const EDirectShowException& e) {
    EXPECT_TRUE(FAILED(e.ErrorCode));
    char code[32];
    std::snprintf(code, sizeof code, " ($%lX).", static_cast<unsigned long>(e.ErrorCode));
    EXPECT_EQ(e.Message, GetErrorText(e.ErrorCode) + code);
  }
  EXPECT_FALSE(graph.Active());
  EXPECT_EQ(graph.Graph(), nullptr);
  EXPECT_TRUE(log.empty());  // nobody heard of an activation
  EXPECT_FALSE(graph.Play());
  EXPECT_EQ(graph.Query<IDvdGraphBuilder>(IID_IDvdGraphBuilder), nullptr);

  graph.SetMode(gmNormal);
  graph.SetActive(true);
  EXPECT_TRUE(graph.Active());
}

// The graph editor's entry follows activation; the flag itself is kept throughout.
bool GraphInRot(TFilterGraph& graph) {
  TComRef<IRunningObjectTable> table;
  TComRef<IEnumMoniker> monikers;
  TComRef<IBindCtx> context;
  GetRunningObjectTable(0, &table);
  table->EnumRunning(&monikers);
  CreateBindCtx(0, &context);
  std::wstring wanted = GraphRotName(graph.Graph(), GetCurrentProcessId());
  for (TComRef<IMoniker> moniker; monikers->Next(1, moniker.ReleaseAndGetAddressOf(), nullptr) == S_OK;) {
    LPOLESTR name = nullptr;
    moniker->GetDisplayName(context.Get(), nullptr, &name);
    bool match = name && std::wstring(name).find(wanted) != std::wstring::npos;
    CoTaskMemFree(name);
    if (match) return true;
  }
  return false;
}

TEST_F(FilterGraphTest, GraphEditRegistersOnlyWhileActive) {
  graph.SetGraphEdit(true);
  EXPECT_EQ(graph.RotCookie(), 0u);
  graph.SetActive(true);
  EXPECT_NE(graph.RotCookie(), 0u);
  EXPECT_TRUE(GraphInRot(graph));
  graph.SetActive(false);
  EXPECT_EQ(graph.RotCookie(), 0u);
  EXPECT_TRUE(graph.GraphEdit());
  graph.SetActive(true);
  EXPECT_NE(graph.RotCookie(), 0u);
  graph.SetGraphEdit(false);
  EXPECT_EQ(graph.RotCookie(), 0u);
  EXPECT_FALSE(GraphInRot(graph));
}

TEST_F(FilterGraphTest, TheLogFileIsCreatedWhileActiveAndABadNameIsDropped) {
  std::wstring wide = TempFileName(L"kavo_preview_graph.log");
  AnsiString name = WideToAnsi(wide);
  DeleteFileW(wide.c_str());
  graph.SetLogFile(name);
  EXPECT_EQ(graph.LogFile(), name);
  EXPECT_EQ(GetFileAttributesW(wide.c_str()), INVALID_FILE_ATTRIBUTES);  // inactive: only the name

  graph.SetActive(true);  // opened now
  EXPECT_NE(GetFileAttributesW(wide.c_str()), INVALID_FILE_ATTRIBUTES);

  graph.SetLogFile("C:\\no such folder\\graph.log");
  EXPECT_EQ(graph.LogFile(), name);  // not created: the old name stays, nothing raised
  graph.SetLogFile("");
  EXPECT_EQ(graph.LogFile(), "");
  EXPECT_TRUE(DeleteFileW(wide.c_str()));  // released by the graph
}

TEST_F(FilterGraphTest, TheComponentIsTheGraphsServiceAndAnswersForItsCallbacks) {
  void* found = nullptr;
  EXPECT_EQ(graph.QueryService(FilterGraphServiceID, FilterGraphServiceID, &found), S_OK);
  EXPECT_EQ(found, static_cast<void*>(&graph));
  EXPECT_EQ(graph.QueryService(FilterGraphServiceID, IID_IUnknown, &found), E_NOINTERFACE);
  void* callback = nullptr;
  EXPECT_EQ(graph.QueryInterface(IID_IAMGraphBuilderCallback, &callback), S_OK);
  EXPECT_EQ(graph.QueryInterface(IID_IAMFilterGraphCallback, &callback), S_OK);
  EXPECT_EQ(graph.QueryInterface(IID_IMediaControl, &callback), E_NOINTERFACE);  // inactive

  // Unassigned callbacks let the builder go on; an assigned one decides.
  TComRef<IBaseFilter> renderer = recorder.Filter;
  EXPECT_EQ(graph.CreatedFilter(renderer.Get()), S_OK);
  GUID seen = GUID_NULL;
  graph.OnCreatedFilter = [&](IBaseFilter*, const GUID& id) {
    seen = id;
    return false;
  };
  EXPECT_EQ(graph.CreatedFilter(renderer.Get()), E_FAIL);
  EXPECT_EQ(seen, CLSID_VideoRenderer);
  EXPECT_EQ(graph.UnableToRender(nullptr), S_FALSE);
}

TEST_F(FilterGraphTest, UnableToRenderFindsTheComponentThroughThePinsGraph) {
  graph.InsertMember(&recorder);
  graph.SetActive(true);
  int asked = 0;
  graph.OnUnableToRender = [&](IPin*) {
    ++asked;
    return true;
  };
  IPin* pin = TPinList(recorder.Filter.Get()).Items(0);
  HRESULT hr = graph.UnableToRender(pin);
  // The graph reaches its site's services only where it offers IServiceProvider itself.
  TComRef<IServiceProvider> provider;
  if (SUCCEEDED(graph.Graph()->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(provider.GetAddressOf())))) {
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(asked, 1);
  } else {
    EXPECT_EQ(hr, S_FALSE);
    EXPECT_EQ(asked, 0);
  }
  TComRef<IBaseFilter> loose;  // a filter in no graph
  CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                   reinterpret_cast<void**>(loose.GetAddressOf()));
  EXPECT_EQ(graph.UnableToRender(TPinList(loose.Get()).Items(0)), S_FALSE);
}

TEST_F(FilterGraphTest, ARealClipRendersPlaysToTheEndPausesStopsAndClears) {
  graph.InsertMember(&recorder);
  graph.InsertEventNotifier(&recorder);
  graph.SetActive(true);
  std::vector<GUID> created;
  graph.OnCreatedFilter = [&](IBaseFilter*, const GUID& id) {
    created.push_back(id);
    return true;
  };
  std::vector<std::wstring> selected;
  graph.OnSelectedFilter = [&](IMoniker*, const WideString& name, const GUID& id) {
    if (id != GUID_NULL) selected.push_back(name);
    return true;
  };
  log.clear();

  HRESULT hr = graph.RenderFile(Clip);
  ASSERT_TRUE(SUCCEEDED(hr)) << std::hex << hr;
  EXPECT_EQ(log, (Log{"gceFileRendering 0", "gceFileRendered 0"}));
  EXPECT_FALSE(created.empty());  // the builder asked about the filters it made...
  ASSERT_FALSE(selected.empty());  // ...and those it chose, by name and class
  EXPECT_FALSE(selected[0].empty());
  EXPECT_GT(FilterNames(graph.Graph()).size(), 1u);
  EXPECT_EQ(graph.GetDuration(), 2000u);

  bool complete = false;
  HRESULT completion = E_FAIL;
  graph.OnGraphComplete = [&](TObject*, HRESULT result, IBaseFilter*) {
    complete = true;
    completion = result;
  };
  log.clear();
  EXPECT_TRUE(graph.Play());
  EXPECT_EQ(log.front(), "gcePlay 0");
  ASSERT_TRUE(PumpUntil([&] { return complete; }, 15000));  // through the notice window
  EXPECT_EQ(completion, S_OK);
  // The listener heard the raw event before the published one.
  EXPECT_NE(std::find(log.begin(), log.end(), "graph 1"), log.end());

  log.clear();
  graph.Pause();
  EXPECT_TRUE(graph.Stop());
  EXPECT_EQ(log, (Log{"gcePause 0", "gceStop 0"}));

  graph.ClearGraph();  // only the member's filter stays, unconnected
  EXPECT_EQ(FilterNames(graph.Graph()), std::vector<std::wstring>{L"recorder"});
  TPinList pins(recorder.Filter.Get());
  TComRef<IPin> peer;
  EXPECT_EQ(pins.Items(0)->ConnectedTo(&peer), VFW_E_NOT_CONNECTED);
  EXPECT_EQ(graph.GetDuration(), 0u);  // nothing to tell: no duration
}

TEST_F(FilterGraphTest, AHandlerMayDeactivateTheGraphWhileItsEventsAreDispatched) {
  graph.SetActive(true);
  // Two events queued at once, as a filter would queue them.
  auto sink = graph.Query<IMediaEventSink>(IID_IMediaEventSink);
  ASSERT_NE(sink, nullptr);
  std::vector<int> seen;
  graph.OnDSEvent = [&](TComponent*, int code, LONG_PTR, LONG_PTR) {
    seen.push_back(code);
    graph.SetActive(false);
  };
  ASSERT_EQ(sink->Notify(EC_USER + 1, 0, 0), S_OK);
  ASSERT_EQ(sink->Notify(EC_USER + 2, 0, 0), S_OK);
  sink.Reset();
  ASSERT_TRUE(PumpUntil([&] { return !seen.empty(); }));
  Application->ProcessMessages();
  EXPECT_EQ(seen, std::vector<int>{EC_USER + 1});  // the second went with its graph
  EXPECT_FALSE(graph.Active());
}

TEST_F(FilterGraphTest, AMissingFileRaisesDirectShowsErrorAfterTheRenderingNotice) {
  graph.InsertEventNotifier(&recorder);
  graph.SetActive(true);
  log.clear();
  try {
    graph.RenderFile(TempFileName(L"kavo_no_such_clip.avi"));
    FAIL() << "no exception";
  } catch (const EDirectShowException& e) {
    EXPECT_TRUE(FAILED(e.ErrorCode));
  }
  EXPECT_EQ(log, (Log{"gceFileRendering 0"}));
}

TEST_F(FilterGraphTest, AnExceptionOfAnEventHandlerReachesTheApplicationAndNotTheSystem) {
  graph.SetActive(true);
  ASSERT_TRUE(SUCCEEDED(graph.RenderFile(Clip)));
  std::vector<std::string> reported;
  Application->OnException = [&](TObject*, const std::exception& e) { reported.push_back(e.what()); };
  graph.OnGraphComplete = [](TObject*, HRESULT, IBaseFilter*) { throw Exception("handler failed"); };
  graph.Play();
  bool ok = PumpUntil([&] { return !reported.empty(); }, 15000);
  Application->OnException = nullptr;
  ASSERT_TRUE(ok);
  EXPECT_EQ(reported[0], "handler failed");
  EXPECT_TRUE(graph.Stop());  // the graph goes on
}

}  // namespace
