// The dispatch of the graph's queued events to the component's published events.
#include <evcode.h>
#include <dvdevcod.h>

#include "preview/filter_graph.h"

namespace {

template <class E, class... A>
void Fire(const E& event, A&&... args) {
  if (event) event(std::forward<A>(args)...);
}

int32_t Int(LONG_PTR v) { return static_cast<int32_t>(v); }
uint32_t Card(LONG_PTR v) { return static_cast<uint32_t>(v); }

AnsiString LanguageName(LCID lcid) {
  char buffer[260] = {};
  GetLocaleInfoA(lcid, LOCALE_SENGLANGUAGE, buffer, 260);
  return AnsiString(buffer);
}

}  // namespace

void TFilterGraph::DvdStreamChange(int Event, LONG_PTR Param1) {
  bool audio = Event == EC_DVD_AUDIO_STREAM_CHANGE;
  if (audio ? !OnDVDAudioStreamChange : !OnDVDSubpictureStreamChange) return;
  auto info = Query<IDvdInfo2>(IID_IDvdInfo2);
  if (!info) return;
  LCID lcid = 0;
  if (audio) {
    CheckDSError(info->GetAudioLanguage(Card(Param1), &lcid));
    OnDVDAudioStreamChange(this, Int(Param1), static_cast<int>(lcid), LanguageName(lcid));
  } else {
    info->GetSubpictureLanguage(Card(Param1), &lcid);
    OnDVDSubpictureStreamChange(this, Int(Param1), static_cast<int>(lcid), LanguageName(lcid));
  }
}

void TFilterGraph::DoEvent(int Event, LONG_PTR Param1, LONG_PTR Param2) {
  GraphEvents(Event, Param1, Param2);
  if (OnDSEvent) OnDSEvent(this, Event, Param1, Param2);
  auto filter = [](LONG_PTR p) { return reinterpret_cast<IBaseFilter*>(p); };
  switch (Event) {
    case EC_COMPLETE: Fire(OnGraphComplete, this, Int(Param1), filter(Param2)); break;
    case EC_USERABORT: Fire(OnGraphUserAbort, this); break;
    case EC_ERRORABORT: Fire(OnGraphErrorAbort, this, Int(Param1)); break;
    case EC_STREAM_ERROR_STOPPED: Fire(OnGraphStreamErrorStopped, this, Int(Param1), Card(Param2)); break;
    case EC_STREAM_ERROR_STILLPLAYING: Fire(OnGraphStreamErrorStillPlaying, this, Int(Param1), Card(Param2)); break;
    case EC_ERROR_STILLPLAYING: Fire(OnGraphErrorStillPlaying, this, Int(Param1)); break;
    case EC_PALETTE_CHANGED: Fire(OnGraphPaletteChanged, this); break;
    case EC_VIDEO_SIZE_CHANGED:
      Fire(OnGraphVideoSizeChanged, this, LOWORD(Param1), HIWORD(Param1));
      break;
    case EC_QUALITY_CHANGE: Fire(OnGraphQualityChange, this); break;
    case EC_CLOCK_CHANGED: Fire(OnGraphClockChanged, this); break;
    case EC_PAUSED: Fire(OnGraphPaused, this, Int(Param1)); break;
    case EC_OPENING_FILE: Fire(OnGraphOpeningFile, this, Param1 == 1); break;
    case EC_BUFFERING_DATA: Fire(OnGraphBufferingData, this, Param1 == 1); break;
    case EC_FULLSCREEN_LOST: Fire(OnGraphFullscreenLost, this, filter(Param2)); break;
    case EC_OLE_EVENT:
      if (OnGraphOleEvent) {
        auto text = [](LONG_PTR p) { return p ? WideString(reinterpret_cast<const wchar_t*>(p)) : WideString(); };
        OnGraphOleEvent(this, text(Param1), text(Param2));
      }
      break;
    case EC_STREAM_CONTROL_STOPPED:
      Fire(OnGraphStreamControlStopped, this, reinterpret_cast<IPin*>(Param1), Card(Param2));
      break;
    case EC_STREAM_CONTROL_STARTED:
      Fire(OnGraphStreamControlStarted, this, reinterpret_cast<IPin*>(Param1), Card(Param2));
      break;
    case EC_END_OF_SEGMENT:
      if (OnGraphEndOfSegment)
        OnGraphEndOfSegment(this, Param1 ? *reinterpret_cast<const int64_t*>(Param1) : 0, Card(Param2));
      break;
    case EC_DEVICE_LOST: Fire(OnGraphDeviceLost, this, reinterpret_cast<IUnknown*>(Param1), Param2 == 1); break;
    case EC_STEP_COMPLETE: Fire(OnGraphStepComplete, this); break;
    case EC_TIMECODE_AVAILABLE: Fire(OnGraphTimeCodeAvailable, this, filter(Param1), Card(Param2)); break;
    case EC_EXTDEVICE_MODE_CHANGE: Fire(OnGraphEXTDeviceModeChange, this, Card(Param1), Card(Param2)); break;
    case EC_GRAPH_CHANGED: Fire(OnGraphChanged, this); break;
    case EC_CLOCK_UNSET: Fire(OnGraphClockUnset, this); break;
    case EC_VMR_RENDERDEVICE_SET: Fire(OnGraphVMRRenderDevice, this, Int(Param1)); break;
    case EC_DVD_DOMAIN_CHANGE:
      switch (Param1) {
        case 1: Fire(OnDVDDomainFirstPlay, this); break;
        case 2: Fire(OnDVDDomainVideoManagerMenu, this); break;
        case 3: Fire(OnDVDDomainVideoTitleSetMenu, this); break;
        case 4: Fire(OnDVDDomainTitle, this); break;
        case 5: Fire(OnDVDDomainStop, this); break;
      }
      break;
    case EC_DVD_TITLE_CHANGE: Fire(OnDVDTitleChange, this, Int(Param1)); break;
    case EC_DVD_CHAPTER_START: Fire(OnDVDChapterStart, this, Int(Param1)); break;
    case EC_DVD_AUDIO_STREAM_CHANGE:
    case EC_DVD_SUBPICTURE_STREAM_CHANGE: DvdStreamChange(Event, Param1); break;
    case EC_DVD_ANGLE_CHANGE: Fire(OnDVDAngleChange, this, Int(Param1), Int(Param2)); break;
    case EC_DVD_BUTTON_CHANGE: Fire(OnDVDButtonChange, this, Int(Param1), Int(Param2)); break;
    case EC_DVD_VALID_UOPS_CHANGE: Fire(OnDVDValidUOPSChange, this, Int(Param1)); break;
    case EC_DVD_STILL_ON: Fire(OnDVDStillOn, this, Param1 == 1, Int(Param2)); break;
    case EC_DVD_STILL_OFF: Fire(OnDVDStillOff, this); break;
    case EC_DVD_CURRENT_TIME:
      if (OnDVDCurrentTime) {
        TDvdTimeCode t;
        SplitTimeCode(Card(Param1), t);
        int frate = t.d[8] == 1 ? 25 : t.d[8] == 3 ? 30 : 0;
        OnDVDCurrentTime(this, t.d[0] + 10 * t.d[1], t.d[2] + 10 * t.d[3], t.d[4] + 10 * t.d[5],
                         t.d[6] + 10 * t.d[7], frate);
      }
      break;
    case EC_DVD_ERROR:
      switch (Param1) {
        case 1: Fire(OnDVDErrorUnexpected, this); break;
        case 2:
        case 3: Fire(OnDVDErrorInvalidDVD1_0Disc, this); break;
        case 4: Fire(OnDVDErrorInvalidDiscRegion, this); break;
        case 5: Fire(OnDVDErrorLowParentalLevel, this); break;
        case 6:
        case 7: Fire(OnDVDErrorIncompatibleSystemAndDecoderRegions, this); break;
        case 8: Fire(OnDVDErrorIncompatibleDiscAndDecoderRegions, this); break;
      }
      break;
    case EC_DVD_WARNING:
      switch (Param1) {
        case 1: Fire(OnDVDWarningInvalidDVD1_0Disc, this); break;
        case 2: Fire(OnDVDWarningFormatNotSupported, this); break;
        case 3: Fire(OnDVDWarningIllegalNavCommand, this); break;
        case 4: Fire(OnDVDWarningOpen, this); break;
        case 5: Fire(OnDVDWarningSeek, this); break;
        case 6: Fire(OnDVDWarningRead, this); break;
      }
      break;
    case EC_DVD_CHAPTER_AUTOSTOP: Fire(OnDVDChapterAutoStop, this); break;
    case EC_DVD_NO_FP_PGC: Fire(OnDVDNoFP_PGC, this); break;
    case EC_DVD_PLAYBACK_RATE_CHANGE:
      Fire(OnDVDPlaybackRateChange, this, static_cast<float>(Int(Param1) / 10000.0));
      break;
    case EC_DVD_PARENTAL_LEVEL_CHANGE: Fire(OnDVDParentalLevelChange, this, Int(Param1)); break;
    case EC_DVD_PLAYBACK_STOPPED: Fire(OnDVDPlaybackStopped, this); break;
    case EC_DVD_ANGLES_AVAILABLE: Fire(OnDVDAnglesAvailable, this, Param1 == 1); break;
    case EC_DVD_PLAYPERIOD_AUTOSTOP: Fire(OnDVDPlayPeriodAutoStop, this); break;
    case EC_DVD_BUTTON_AUTO_ACTIVATED: Fire(OnDVDButtonAutoActivated, this, Card(Param1)); break;
    case EC_DVD_CMD_START: Fire(OnDVDCMDStart, this, Card(Param1)); break;
    case EC_DVD_CMD_END: Fire(OnDVDCMDEnd, this, Card(Param1)); break;
    case EC_DVD_DISC_EJECTED: Fire(OnDVDDiscEjected, this); break;
    case EC_DVD_DISC_INSERTED: Fire(OnDVDDiscInserted, this); break;
    case EC_DVD_CURRENT_HMSF_TIME:
      if (OnDVDCurrentHMSFTime) {
        DVD_HMSF_TIMECODE hmsf;
        uint32_t raw = Card(Param1);
        static_assert(sizeof hmsf == sizeof raw);
        memcpy(&hmsf, &raw, sizeof hmsf);
        TDvdTimeCode t;
        SplitTimeCode(Card(Param2), t);
        OnDVDCurrentHMSFTime(this, hmsf, t);
      }
      break;
    case EC_DVD_KARAOKE_MODE: Fire(OnDVDKaraokeMode, this, Param1 != 0); break;
    case EC_SNDDEV_IN_ERROR:
      Fire(OnGraphSNDDevInError, this, static_cast<_tagSND_DEVICE_ERROR>(Param1), Card(Param2));
      break;
    case EC_SNDDEV_OUT_ERROR:
      Fire(OnGraphSNDDevOutError, this, static_cast<_tagSND_DEVICE_ERROR>(Param1), Card(Param2));
      break;
  }
}
