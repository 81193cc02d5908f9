// The video window: its defaults and ranges, joining a graph, showing a real clip in its
// renderer, the overlay's failure and undo, zoom, the screen-saver guard and the idle cursor.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "preview/video_window.h"
#include "tests/preview/avi_clip.h"
#include "tests/preview/graph_recorder.h"
#include "tests/preview/preview_host.h"
#include "tests/support/pump.h"

namespace {

TEST(VideoWindowGeometry, DigitalZoomCutsAwayACentredShareOfThePicture) {
  struct {
    long w, h;
    int zoom;
    TZoomSource expected;
  } cases[] = {
      {640, 480, 50, {160, 120, 320, 240}},
      {640, 480, 0, {0, 0, 640, 480}},
      {160, 120, 25, {20, 15, 120, 90}},
      {100, 75, 99, {49, 37, 1, 0}},  // truncated toward zero throughout
      {720, 576, 33, {118, 95, 482, 385}},
  };
  for (auto& c : cases) {
    TZoomSource z = DigitalZoomSource(c.w, c.h, c.zoom);
    EXPECT_EQ(z.Left, c.expected.Left) << c.w << "x" << c.h << " @" << c.zoom;
    EXPECT_EQ(z.Top, c.expected.Top);
    EXPECT_EQ(z.Width, c.expected.Width);
    EXPECT_EQ(z.Height, c.expected.Height);
  }
}

class VideoWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Clip = TempFileName(L"kavo_preview_window.avi");
    ASSERT_TRUE(WriteTestClip(Clip, 160, 120, 25, 5));  // five seconds
  }
  static void TearDownTestSuite() { DeleteFileW(Clip.c_str()); }

  void SetUp() override {
    host = new TPreviewHost(nullptr);
    video = new TVideoWindowEx(host);
    video->SetName("VideoWindowEx1");
    video->SetParent(host);
    video->SetBounds(13, 50, 228, 112);
    host->SetVisible(true);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(video->Handle()) != 0; }));
  }
  void TearDown() override {
    delete host;  // frees the video window it owns
    graph.SetActive(false);
  }

  static std::wstring Clip;
  TFilterGraph graph{nullptr};
  TPreviewHost* host = nullptr;
  TVideoWindowEx* video = nullptr;
};
std::wstring VideoWindowTest::Clip;

TEST_F(VideoWindowTest, StartsBlackLetterBoxedAndUnzoomedWithEveryColourControl) {
  TVideoWindowEx fresh(nullptr);
  EXPECT_EQ(fresh.Width(), 320);
  EXPECT_EQ(fresh.Height(), 240);
  EXPECT_EQ(fresh.Color(), clBlack);
  EXPECT_EQ(fresh.ColorKey, 0x100010);
  EXPECT_EQ(fresh.AspectRatio(), rmLetterBox);
  EXPECT_EQ(fresh.DigitalZoom(), 0);
  EXPECT_TRUE(fresh.TabStop());
  TVideoWindowExCaps* caps = fresh.Capabilities();
  EXPECT_FALSE(caps->CanOverlayGraphic());
  EXPECT_TRUE(caps->CanControlBrigtness() && caps->CanControlContrast() && caps->CanControlHue() &&
              caps->CanControlSaturation() && caps->CanControlSharpness() && caps->CanControlGamma() &&
              caps->CanControlColorEnabled());
}

TEST_F(VideoWindowTest, DigitalZoomOutsideItsRangeRaisesAndChangesNothing) {
  for (int bad : {100, -1}) {
    try {
      video->SetDigitalZoom(bad);
      ADD_FAILURE() << bad << " accepted";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message, "Value " + std::to_string(bad) + " out of range. Value must bee between 0 -> 99");
    }
  }
  EXPECT_EQ(video->DigitalZoom(), 0);
  video->SetDigitalZoom(99);  // no renderer yet: only stored
  EXPECT_EQ(video->DigitalZoom(), 99);
}

TEST_F(VideoWindowTest, WithoutAGraphItOnlyPaintsItsBackground) {
  bool painted = false;
  video->OnPaint = [&](TObject*) { painted = true; };
  video->Invalidate();
  ASSERT_TRUE(PumpUntil([&] { return painted; }));
  RECT r;
  GetWindowRect(video->Handle(), &r);
  TScreenShot shot = GrabScreen(r);
  EXPECT_EQ(shot.At(0, 0), 0u);
  EXPECT_EQ(shot.At(shot.Width / 2, shot.Height / 2), 0u);
  EXPECT_EQ(shot.At(shot.Width - 1, shot.Height - 1), 0u);
}

LRESULT CALLBACK CountingDefaultProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SYSCOMMAND) return 77;  // seen by the default handling
  return DefWindowProcA(wnd, msg, wParam, lParam);
}

TEST_F(VideoWindowTest, NoScreenSaverSwallowsTheScreenSaverAndMonitorPowerCommands) {
  video->DefWndProc = &CountingDefaultProc;
  for (WPARAM command : {WPARAM(SC_SCREENSAVE), WPARAM(SC_MONITORPOWER)}) {
    video->NoScreenSaver = false;
    EXPECT_EQ(SendMessageA(video->Handle(), WM_SYSCOMMAND, command, 0), 77);
    video->NoScreenSaver = true;
    EXPECT_EQ(SendMessageA(video->Handle(), WM_SYSCOMMAND, command, 0), 0);
  }
  EXPECT_EQ(SendMessageA(video->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0), 77);  // others go on
}

TEST_F(VideoWindowTest, LinkingToALiveGraphAddsItsRendererAndUnlinkingTakesItOut) {
  graph.SetActive(true);
  video->SetFilterGraph(&graph);
  EXPECT_EQ(FilterNames(graph.Graph()), std::vector<std::wstring>{L"VideoWindowEx1"});
  EXPECT_NE(video->VideoWindow(), nullptr);
  video->SetFilterGraph(nullptr);
  EXPECT_TRUE(FilterNames(graph.Graph()).empty());
  EXPECT_EQ(video->VideoWindow(), nullptr);

  video->SetFilterGraph(&graph);  // and activation adds it, deactivation removes it
  graph.SetActive(false);
  EXPECT_EQ(video->VideoWindow(), nullptr);
  graph.SetActive(true);
  EXPECT_EQ(FilterNames(graph.Graph()).size(), 1u);
  EXPECT_EQ(graph.MemberCount(), 1);
  EXPECT_EQ(graph.ListenerCount(), 1);
}

TEST_F(VideoWindowTest, AGraphFreedFirstIsForgotten) {
  auto* owned = new TFilterGraph(nullptr);
  owned->SetActive(true);
  video->SetFilterGraph(owned);
  delete owned;
  EXPECT_EQ(video->FilterGraph(), nullptr);
  EXPECT_EQ(video->VideoWindow(), nullptr);
}

// Where the overlay mixer cannot be made, rendering leaves the graph as it was and the
// picture shows in the renderer's own window, placed over the control.
TEST_F(VideoWindowTest, WithoutAnOverlayMixerTheClipShowsInTheRenderersWindow) {
  graph.SetActive(true);
  video->SetFilterGraph(&graph);
  std::vector<bool> overlayVisible;
  video->OnOverlayVisible = [&](TObject*, bool v) { overlayVisible.push_back(v); };
  ASSERT_TRUE(SUCCEEDED(graph.RenderFile(Clip)));
  EXPECT_TRUE(video->OverlayTried());
  EXPECT_FALSE(video->OverlayActive());
  EXPECT_EQ(video->OverlayMixer(), nullptr);
  EXPECT_FALSE(video->Capabilities()->CanOverlayGraphic());
  // Our renderer is the one the clip went to.
  ASSERT_EQ(video->GraphRenderer(), video->GetMemberFilter());
  std::vector<std::wstring> names = FilterNames(graph.Graph());
  TPinList rendererPins(video->GetMemberFilter());
  TComRef<IPin> upstream;
  ASSERT_EQ(rendererPins.Items(0)->ConnectedTo(&upstream), S_OK);

  // A second attempt fails the same way and leaves the path alone.
  EXPECT_TRUE(FAILED(video->ConnectOverlayMixer()));
  EXPECT_EQ(FilterNames(graph.Graph()), names);
  TComRef<IPin> again;
  ASSERT_EQ(rendererPins.Items(0)->ConnectedTo(&again), S_OK);
  EXPECT_EQ(again.Get(), upstream.Get());

  graph.Pause();  // S_FALSE while the first frame is on its way
  EXPECT_TRUE(overlayVisible.empty());  // no overlay: nothing to show or hide
  // The renderer's window sits over the control and shows the first frame: the white band
  // top left, red, green, blue and yellow bars below it.
  HWND rendererWindow = nullptr;
  ASSERT_TRUE(PumpUntil([&] {
    rendererWindow = GetWindow(host->Handle(), GW_CHILD);
    return rendererWindow && rendererWindow != video->Handle() && IsWindowVisible(rendererWindow);
  }));
  RECT r;
  GetWindowRect(video->Handle(), &r);
  TScreenShot shot;
  ASSERT_TRUE(PumpUntil([&] {
    shot = GrabScreen(r);
    return shot.At(shot.Width / 8, shot.Height * 3 / 4) == 0xFF0000;
  }));
  EXPECT_EQ(shot.At(shot.Width * 3 / 8, shot.Height * 3 / 4), 0x00C800u);
  EXPECT_EQ(shot.At(shot.Width * 5 / 8, shot.Height * 3 / 4), 0x0000FFu);
  EXPECT_EQ(shot.At(shot.Width * 7 / 8, shot.Height * 3 / 4), 0xDCDC00u);
  EXPECT_EQ(shot.At(shot.Width / 20, shot.Height / 10), 0xFFFFFFu);
  if (const char* wait = std::getenv("KAVO_PREVIEW_SHOT_WAIT"))  // time for a screenshot from outside
    PumpUntil([] { return false; }, static_cast<DWORD>(std::atoi(wait)));

  // The renderer's window follows the control.
  video->SetBounds(20, 30, 200, 100);
  RECT control, renderer;
  GetWindowRect(video->Handle(), &control);
  GetWindowRect(rendererWindow, &renderer);
  EXPECT_TRUE(EqualRect(&control, &renderer)) << renderer.left << "," << renderer.top << " " << renderer.right
                                               << "," << renderer.bottom;

  EXPECT_TRUE(graph.Stop());
  EXPECT_TRUE(overlayVisible.empty());
}

TEST_F(VideoWindowTest, DigitalZoomReachesTheRenderersSourceRectangleThroughIBasicVideo2Only) {
  graph.SetActive(true);
  video->SetFilterGraph(&graph);
  ASSERT_TRUE(SUCCEEDED(graph.RenderFile(Clip)));
  IBaseFilter* renderer = video->GetMemberFilter();
  TComRef<IBasicVideo2> basic2;
  TComRef<IBasicVideo> basic;
  ASSERT_EQ(renderer->QueryInterface(IID_IBasicVideo, reinterpret_cast<void**>(basic.GetAddressOf())), S_OK);
  bool hasBasic2 = SUCCEEDED(renderer->QueryInterface(IID_IBasicVideo2, reinterpret_cast<void**>(basic2.GetAddressOf())));
  video->SetDigitalZoom(50);
  EXPECT_EQ(video->DigitalZoom(), 50);
  long left, top, width, height;
  ASSERT_EQ(basic->GetSourcePosition(&left, &top, &width, &height), S_OK);
  if (hasBasic2) {
    EXPECT_EQ(left, 40);
    EXPECT_EQ(top, 30);
    EXPECT_EQ(width, 80);
    EXPECT_EQ(height, 60);
  } else {  // Wine's renderer: the value is only stored, the picture stays whole
    EXPECT_EQ(left, 0);
    EXPECT_EQ(width, 160);
    EXPECT_EQ(height, 120);
  }
}

TEST_F(VideoWindowTest, TheJournalPutsBrokenAndMadeConnectionsBack) {
  graph.SetActive(true);
  video->SetFilterGraph(&graph);
  ASSERT_TRUE(SUCCEEDED(graph.RenderFile(Clip)));
  IPin* rendererIn = TPinList(video->GetMemberFilter()).Items(0);
  TComRef<IPin> upstream;
  ASSERT_EQ(rendererIn->ConnectedTo(&upstream), S_OK);

  // A second renderer stands where the mixer would.
  TComRef<IBaseFilter> other;
  ASSERT_EQ(CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                             reinterpret_cast<void**>(other.GetAddressOf())), S_OK);
  ASSERT_EQ(graph.Graph()->AddFilter(other.Get(), L"other"), S_OK);
  IPin* otherIn = TPinList(other.Get()).Items(0);
  auto builder = graph.Query<IGraphBuilder>(IID_IGraphBuilder);
  TConnectionJournal journal(graph.Graph(), builder.Get());
  ASSERT_EQ(journal.Break(upstream.Get(), rendererIn), S_OK);
  TComRef<IPin> peer;
  EXPECT_EQ(rendererIn->ConnectedTo(&peer), VFW_E_NOT_CONNECTED);
  ASSERT_TRUE(SUCCEEDED(journal.Make(upstream.Get(), otherIn)));
  EXPECT_EQ(journal.Count(), 2);

  journal.Undo();
  EXPECT_EQ(otherIn->ConnectedTo(peer.ReleaseAndGetAddressOf()), VFW_E_NOT_CONNECTED);
  ASSERT_EQ(rendererIn->ConnectedTo(peer.ReleaseAndGetAddressOf()), S_OK);
  EXPECT_EQ(peer.Get(), upstream.Get());
  graph.Graph()->RemoveFilter(other.Get());
}

TEST_F(VideoWindowTest, TheIdleCursorIsHiddenAfterStillnessAndShownOnMovement) {
  graph.SetActive(true);
  video->SetFilterGraph(&graph);
  ASSERT_TRUE(SUCCEEDED(graph.RenderFile(Clip)));
  graph.Pause();
  std::vector<bool> shown;
  video->OnCursorShowHide = [&](TObject*, bool v) { shown.push_back(v); };
  bool done = false;

  video->AutoHideCursor = 0;  // never hides
  Application->OnIdle(Application, done);
  EXPECT_TRUE(done);
  EXPECT_TRUE(shown.empty());

  video->AutoHideCursor = 1;
  SendMessageA(video->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));  // the last movement: now
  ASSERT_TRUE(PumpUntil([&] {
    Application->OnIdle(Application, done);
    return !shown.empty();
  }));
  EXPECT_EQ(shown, std::vector<bool>{false});
  Application->OnIdle(Application, done);  // hidden already: nothing more
  EXPECT_EQ(shown.size(), 1u);

  SendMessageA(video->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(9, 9));
  EXPECT_EQ(shown, (std::vector<bool>{false, true}));
  graph.Stop();
}

TEST(VideoWindowIdle, TheApplicationsHandlerIsChainedAndGivenBackWhenTheWindowGoes) {
  int previousCalls = 0;
  Application->OnIdle = [&](TObject*, bool& done) {
    ++previousCalls;
    done = true;
  };
  auto* first = new TVideoWindowEx(nullptr);
  auto* second = new TVideoWindowEx(nullptr);
  bool done = false;
  Application->OnIdle(Application, done);
  EXPECT_EQ(previousCalls, 1);

  // The application's own idle step runs the chain: a message posted from the handler
  // lets the loop return.
  Application->OnIdle = [inner = Application->OnIdle](TObject* sender, bool& d) {
    inner(sender, d);
    PostMessageA(Application->Handle(), WM_NULL, 0, 0);
  };
  Application->HandleMessage();
  EXPECT_EQ(previousCalls, 2);

  // Our wrapper stands in front now: freeing the windows leaves it, and the chain behind it
  // still reaches the first handler without the freed windows.
  first->Free();
  second->Free();
  Application->OnIdle(Application, done);
  EXPECT_EQ(previousCalls, 3);
  Application->OnIdle = nullptr;

  // A window freed while its handler is current gives back the one before it.
  int before = 0;
  Application->OnIdle = [&](TObject*, bool&) { ++before; };
  auto* only = new TVideoWindowEx(nullptr);
  only->Free();
  Application->OnIdle(Application, done);
  EXPECT_EQ(before, 1);
  Application->OnIdle = nullptr;
}

}  // namespace
