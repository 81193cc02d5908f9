// The graph's queued events reach the listeners, OnDSEvent and then the published event of
// their code, with the parameters made from the two raw values.
#include <gtest/gtest.h>

#include <evcode.h>
#include <dvdevcod.h>

#include <string>
#include <vector>

#include "preview/filter_graph.h"
#include "tests/preview/graph_recorder.h"
#include "vcl/typinfo.h"

namespace {

using Log = std::vector<std::string>;

// Every event of the graph bound to a recorder that writes its name and arguments.
void RecordAllEvents(TFilterGraph& g, Log& log) {
  auto s = [](auto v) { return std::to_string(v); };
  // The plain notifications, found through the published properties.
  for (const TPropInfo* prop : GetPropList(TFilterGraph::StaticClass())) {
    if (prop->Kind != tkMethod || *prop->EventType != typeid(TNotifyEvent)) continue;
    std::string name = prop->Name;
    SetMethodProp(&g, prop, std::any(TNotifyEvent([&log, name](TObject*) { log.push_back(name); })));
  }
  g.OnDSEvent = [&log, s](TComponent*, int e, LONG_PTR, LONG_PTR) { log.push_back("OnDSEvent " + s(e)); };
  g.OnGraphComplete = [&log, s](TObject*, HRESULT r, IBaseFilter* f) {
    log.push_back("OnGraphComplete " + s(r) + " " + s(reinterpret_cast<uintptr_t>(f)));
  };
  auto result = [&log, s](const char* name) {
    return [&log, s, name](TObject*, HRESULT r) { log.push_back(std::string(name) + " " + s(r)); };
  };
  g.OnGraphErrorAbort = result("OnGraphErrorAbort");
  g.OnGraphErrorStillPlaying = result("OnGraphErrorStillPlaying");
  g.OnGraphPaused = result("OnGraphPaused");
  auto streamError = [&log, s](const char* name) {
    return [&log, s, name](TObject*, HRESULT op, uint32_t v) { log.push_back(std::string(name) + " " + s(op) + " " + s(v)); };
  };
  g.OnGraphStreamErrorStopped = streamError("OnGraphStreamErrorStopped");
  g.OnGraphStreamErrorStillPlaying = streamError("OnGraphStreamErrorStillPlaying");
  g.OnGraphVideoSizeChanged = [&log, s](TObject*, WORD w, WORD h) { log.push_back("OnGraphVideoSizeChanged " + s(w) + " " + s(h)); };
  g.OnGraphOpeningFile = [&log, s](TObject*, bool b) { log.push_back("OnGraphOpeningFile " + s(b)); };
  g.OnGraphBufferingData = [&log, s](TObject*, bool b) { log.push_back("OnGraphBufferingData " + s(b)); };
  g.OnGraphFullscreenLost = [&log, s](TObject*, IBaseFilter* f) { log.push_back("OnGraphFullscreenLost " + s(reinterpret_cast<uintptr_t>(f))); };
  g.OnGraphOleEvent = [&log](TObject*, const WideString& a, const WideString& b) {
    log.push_back("OnGraphOleEvent " + WideToAnsi(a) + " " + WideToAnsi(b));
  };
  auto control = [&log, s](const char* name) {
    return [&log, s, name](TObject*, IPin* p, uint32_t c) {
      log.push_back(std::string(name) + " " + s(reinterpret_cast<uintptr_t>(p)) + " " + s(c));
    };
  };
  g.OnGraphStreamControlStopped = control("OnGraphStreamControlStopped");
  g.OnGraphStreamControlStarted = control("OnGraphStreamControlStarted");
  g.OnGraphEndOfSegment = [&log, s](TObject*, int64_t t, uint32_t n) { log.push_back("OnGraphEndOfSegment " + s(t) + " " + s(n)); };
  g.OnGraphDeviceLost = [&log, s](TObject*, IUnknown* d, bool r) {
    log.push_back("OnGraphDeviceLost " + s(reinterpret_cast<uintptr_t>(d)) + " " + s(r));
  };
  g.OnGraphTimeCodeAvailable = [&log, s](TObject*, IBaseFilter* f, uint32_t id) {
    log.push_back("OnGraphTimeCodeAvailable " + s(reinterpret_cast<uintptr_t>(f)) + " " + s(id));
  };
  g.OnGraphEXTDeviceModeChange = [&log, s](TObject*, uint32_t m, uint32_t id) { log.push_back("OnGraphEXTDeviceModeChange " + s(m) + " " + s(id)); };
  g.OnGraphVMRRenderDevice = [&log, s](TObject*, int d) { log.push_back("OnGraphVMRRenderDevice " + s(d)); };
  auto one = [&log, s](const char* name) { return [&log, s, name](TObject*, int v) { log.push_back(std::string(name) + " " + s(v)); }; };
  g.OnDVDTitleChange = one("OnDVDTitleChange");
  g.OnDVDChapterStart = one("OnDVDChapterStart");
  g.OnDVDValidUOPSChange = one("OnDVDValidUOPSChange");
  g.OnDVDParentalLevelChange = one("OnDVDParentalLevelChange");
  auto two = [&log, s](const char* name) {
    return [&log, s, name](TObject*, int a, int b) { log.push_back(std::string(name) + " " + s(a) + " " + s(b)); };
  };
  g.OnDVDAngleChange = two("OnDVDAngleChange");
  g.OnDVDButtonChange = two("OnDVDButtonChange");
  g.OnDVDStillOn = [&log, s](TObject*, bool b, int sec) { log.push_back("OnDVDStillOn " + s(b) + " " + s(sec)); };
  g.OnDVDCurrentTime = [&log, s](TObject*, int h, int m, int sec, int f, int r) {
    log.push_back("OnDVDCurrentTime " + s(h) + ":" + s(m) + ":" + s(sec) + "." + s(f) + " @" + s(r));
  };
  g.OnDVDPlaybackRateChange = [&log](TObject*, float r) { log.push_back("OnDVDPlaybackRateChange " + std::to_string(r)); };
  g.OnDVDAnglesAvailable = [&log, s](TObject*, bool b) { log.push_back("OnDVDAnglesAvailable " + s(b)); };
  auto card = [&log, s](const char* name) { return [&log, s, name](TObject*, uint32_t v) { log.push_back(std::string(name) + " " + s(v)); }; };
  g.OnDVDButtonAutoActivated = card("OnDVDButtonAutoActivated");
  g.OnDVDCMDStart = card("OnDVDCMDStart");
  g.OnDVDCMDEnd = card("OnDVDCMDEnd");
  g.OnDVDCurrentHMSFTime = [&log, s](TObject*, const DVD_HMSF_TIMECODE& t, const TDvdTimeCode& c) {
    log.push_back("OnDVDCurrentHMSFTime " + s(t.bHours) + ":" + s(t.bMinutes) + ":" + s(t.bSeconds) + "." + s(t.bFrames) +
                  " " + s(c.d[0]) + s(c.d[8]));
  };
  g.OnDVDKaraokeMode = [&log, s](TObject*, bool b) { log.push_back("OnDVDKaraokeMode " + s(b)); };
  auto snd = [&log, s](const char* name) {
    return [&log, s, name](TObject*, _tagSND_DEVICE_ERROR w, uint32_t c) { log.push_back(std::string(name) + " " + s(int(w)) + " " + s(c)); };
  };
  g.OnGraphSNDDevInError = snd("OnGraphSNDDevInError");
  g.OnGraphSNDDevOutError = snd("OnGraphSNDDevOutError");
  // The language look-ups need a DVD navigator: without one these are never raised.
  g.OnDVDAudioStreamChange = [&log](TObject*, int, int, const AnsiString&) { log.push_back("OnDVDAudioStreamChange"); };
  g.OnDVDSubpictureStreamChange = [&log](TObject*, int, int, const AnsiString&) { log.push_back("OnDVDSubpictureStreamChange"); };
}

TEST(GraphEvents, ListenersThenOnDSEventThenThePublishedEventOfTheCode) {
  Log log;
  TFilterGraph graph(nullptr);
  TGraphRecorder listener(log);
  graph.InsertEventNotifier(&listener);
  RecordAllEvents(graph, log);
  graph.DoEvent(EC_COMPLETE, S_OK, 0x1234);
  EXPECT_EQ(log, (Log{"graph 1", "OnDSEvent 1", "OnGraphComplete 0 4660"}));
}

TEST(GraphEvents, EveryCodeReachesItsEventWithItsArguments) {
  static int64_t segmentTime = 123456789012LL;
  static const wchar_t first[] = L"one", second[] = L"two";
  struct {
    int code;
    LONG_PTR p1, p2;
    const char* expected;  // empty: nothing beyond OnDSEvent
  } cases[] = {
      {EC_COMPLETE, E_FAIL, 0, "OnGraphComplete -2147467259 0"},
      {EC_USERABORT, 0, 0, "OnGraphUserAbort"},
      {EC_ERRORABORT, E_OUTOFMEMORY, 0, "OnGraphErrorAbort -2147024882"},
      {EC_STREAM_ERROR_STOPPED, E_FAIL, 7, "OnGraphStreamErrorStopped -2147467259 7"},
      {EC_STREAM_ERROR_STILLPLAYING, 5, 8, "OnGraphStreamErrorStillPlaying 5 8"},
      {EC_ERROR_STILLPLAYING, 3, 0, "OnGraphErrorStillPlaying 3"},
      {EC_PALETTE_CHANGED, 0, 0, "OnGraphPaletteChanged"},
      {EC_VIDEO_SIZE_CHANGED, 0x01E00280, 0, "OnGraphVideoSizeChanged 640 480"},
      {EC_QUALITY_CHANGE, 0, 0, "OnGraphQualityChange"},
      {EC_CLOCK_CHANGED, 0, 0, "OnGraphClockChanged"},
      {EC_PAUSED, S_OK, 0, "OnGraphPaused 0"},
      {EC_OPENING_FILE, 1, 0, "OnGraphOpeningFile 1"},
      {EC_OPENING_FILE, 2, 0, "OnGraphOpeningFile 0"},
      {EC_BUFFERING_DATA, 1, 0, "OnGraphBufferingData 1"},
      {EC_FULLSCREEN_LOST, 0, 99, "OnGraphFullscreenLost 99"},
      {EC_OLE_EVENT, reinterpret_cast<LONG_PTR>(first), reinterpret_cast<LONG_PTR>(second), "OnGraphOleEvent one two"},
      {EC_STREAM_CONTROL_STOPPED, 11, 12, "OnGraphStreamControlStopped 11 12"},
      {EC_STREAM_CONTROL_STARTED, 13, 14, "OnGraphStreamControlStarted 13 14"},
      {EC_END_OF_SEGMENT, reinterpret_cast<LONG_PTR>(&segmentTime), 3, "OnGraphEndOfSegment 123456789012 3"},
      {EC_DEVICE_LOST, 21, 1, "OnGraphDeviceLost 21 1"},
      {EC_STEP_COMPLETE, 0, 0, "OnGraphStepComplete"},
      {EC_TIMECODE_AVAILABLE, 31, 32, "OnGraphTimeCodeAvailable 31 32"},
      {EC_EXTDEVICE_MODE_CHANGE, 41, 42, "OnGraphEXTDeviceModeChange 41 42"},
      {EC_GRAPH_CHANGED, 0, 0, "OnGraphChanged"},
      {EC_CLOCK_UNSET, 0, 0, "OnGraphClockUnset"},
      {EC_VMR_RENDERDEVICE_SET, 2, 0, "OnGraphVMRRenderDevice 2"},
      {EC_DVD_DOMAIN_CHANGE, 1, 0, "OnDVDDomainFirstPlay"},
      {EC_DVD_DOMAIN_CHANGE, 2, 0, "OnDVDDomainVideoManagerMenu"},
      {EC_DVD_DOMAIN_CHANGE, 3, 0, "OnDVDDomainVideoTitleSetMenu"},
      {EC_DVD_DOMAIN_CHANGE, 4, 0, "OnDVDDomainTitle"},
      {EC_DVD_DOMAIN_CHANGE, 5, 0, "OnDVDDomainStop"},
      {EC_DVD_DOMAIN_CHANGE, 0, 0, ""},
      {EC_DVD_DOMAIN_CHANGE, 6, 0, ""},
      {EC_DVD_TITLE_CHANGE, 4, 0, "OnDVDTitleChange 4"},
      {EC_DVD_CHAPTER_START, 9, 0, "OnDVDChapterStart 9"},
      {EC_DVD_AUDIO_STREAM_CHANGE, 1, 0, ""},       // no DVD navigator: not raised
      {EC_DVD_SUBPICTURE_STREAM_CHANGE, 1, 0, ""},
      {EC_DVD_ANGLE_CHANGE, 3, 2, "OnDVDAngleChange 3 2"},
      {EC_DVD_BUTTON_CHANGE, 5, 1, "OnDVDButtonChange 5 1"},
      {EC_DVD_VALID_UOPS_CHANGE, 255, 0, "OnDVDValidUOPSChange 255"},
      {EC_DVD_STILL_ON, 1, 10, "OnDVDStillOn 1 10"},
      {EC_DVD_STILL_OFF, 0, 0, "OnDVDStillOff"},
      {EC_DVD_CURRENT_TIME, 0x12345671, 0, "OnDVDCurrentTime 21:43:65.7 @25"},
      {EC_DVD_CURRENT_TIME, 0x12345673, 0, "OnDVDCurrentTime 21:43:65.7 @30"},
      {EC_DVD_CURRENT_TIME, 0x12345672, 0, "OnDVDCurrentTime 21:43:65.7 @0"},
      {EC_DVD_ERROR, 1, 0, "OnDVDErrorUnexpected"},
      {EC_DVD_ERROR, 2, 0, "OnDVDErrorInvalidDVD1_0Disc"},
      {EC_DVD_ERROR, 3, 0, "OnDVDErrorInvalidDVD1_0Disc"},
      {EC_DVD_ERROR, 4, 0, "OnDVDErrorInvalidDiscRegion"},
      {EC_DVD_ERROR, 5, 0, "OnDVDErrorLowParentalLevel"},
      {EC_DVD_ERROR, 6, 0, "OnDVDErrorIncompatibleSystemAndDecoderRegions"},
      {EC_DVD_ERROR, 7, 0, "OnDVDErrorIncompatibleSystemAndDecoderRegions"},
      {EC_DVD_ERROR, 8, 0, "OnDVDErrorIncompatibleDiscAndDecoderRegions"},
      {EC_DVD_ERROR, 9, 0, ""},
      {EC_DVD_WARNING, 1, 0, "OnDVDWarningInvalidDVD1_0Disc"},
      {EC_DVD_WARNING, 2, 0, "OnDVDWarningFormatNotSupported"},
      {EC_DVD_WARNING, 3, 0, "OnDVDWarningIllegalNavCommand"},
      {EC_DVD_WARNING, 4, 0, "OnDVDWarningOpen"},
      {EC_DVD_WARNING, 5, 0, "OnDVDWarningSeek"},
      {EC_DVD_WARNING, 6, 0, "OnDVDWarningRead"},
      {EC_DVD_WARNING, 7, 0, ""},
      {EC_DVD_CHAPTER_AUTOSTOP, 0, 0, "OnDVDChapterAutoStop"},
      {EC_DVD_NO_FP_PGC, 0, 0, "OnDVDNoFP_PGC"},
      {EC_DVD_PLAYBACK_RATE_CHANGE, -20000, 0, "OnDVDPlaybackRateChange -2.000000"},
      {EC_DVD_PLAYBACK_RATE_CHANGE, 5000, 0, "OnDVDPlaybackRateChange 0.500000"},
      {EC_DVD_PARENTAL_LEVEL_CHANGE, 8, 0, "OnDVDParentalLevelChange 8"},
      {EC_DVD_PLAYBACK_STOPPED, 0, 0, "OnDVDPlaybackStopped"},
      {EC_DVD_ANGLES_AVAILABLE, 1, 0, "OnDVDAnglesAvailable 1"},
      {EC_DVD_PLAYPERIOD_AUTOSTOP, 0, 0, "OnDVDPlayPeriodAutoStop"},
      {EC_DVD_BUTTON_AUTO_ACTIVATED, 6, 0, "OnDVDButtonAutoActivated 6"},
      {EC_DVD_CMD_START, 17, 0, "OnDVDCMDStart 17"},
      {EC_DVD_CMD_END, 18, 0, "OnDVDCMDEnd 18"},
      {EC_DVD_DISC_EJECTED, 0, 0, "OnDVDDiscEjected"},
      {EC_DVD_DISC_INSERTED, 0, 0, "OnDVDDiscInserted"},
      {EC_DVD_CURRENT_HMSF_TIME, 0x04030201, 0x10000003, "OnDVDCurrentHMSFTime 1:2:3.4 13"},
      {EC_DVD_KARAOKE_MODE, 2, 0, "OnDVDKaraokeMode 1"},
      {EC_DVD_KARAOKE_MODE, 0, 0, "OnDVDKaraokeMode 0"},
      {EC_SNDDEV_IN_ERROR, 1, 77, "OnGraphSNDDevInError 1 77"},
      {EC_SNDDEV_OUT_ERROR, 2, 78, "OnGraphSNDDevOutError 2 78"},
      {EC_TIME, 0, 0, ""},           // codes without an event reach only the first two
      {EC_SHUTTING_DOWN, 0, 0, ""},
      {0x7FFF, 0, 0, ""},
  };
  TFilterGraph graph(nullptr);
  Log log;
  RecordAllEvents(graph, log);
  for (auto& c : cases) {
    log.clear();
    graph.DoEvent(c.code, c.p1, c.p2);
    Log expected{"OnDSEvent " + std::to_string(c.code)};
    if (*c.expected) expected.push_back(c.expected);
    EXPECT_EQ(log, expected) << "code " << std::hex << c.code << " param " << c.p1;
  }
}

TEST(GraphEvents, UnassignedEventsAreSkipped) {
  TFilterGraph graph(nullptr);
  Log log;
  TGraphRecorder listener(log);
  graph.InsertEventNotifier(&listener);
  graph.DoEvent(EC_COMPLETE, 0, 0);
  graph.DoEvent(EC_DVD_AUDIO_STREAM_CHANGE, 0, 0);
  EXPECT_EQ(log, (Log{"graph 1", "graph " + std::to_string(EC_DVD_AUDIO_STREAM_CHANGE)}));
}

}  // namespace
