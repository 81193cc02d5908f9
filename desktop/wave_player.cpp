#include "desktop/wave_player.h"

#include <mmsystem.h>

#include "vcl/typinfo.h"

namespace {

const std::vector<TPropInfo>& WavProperties() {
  using T = TdkWav;
  static const std::vector<TPropInfo> table = TPropertyTable<T>()
      .Property("AsyncPlay", &T::AsyncPlay, &T::SetAsyncPlay).Default(true)
      .Property("EventAlias", &T::EventAlias, &T::SetEventAlias).Stored(&T::IsEventAliasStored)
      .Property("FileName", &T::FileName, &T::SetFileName).Stored(&T::IsFileNameStored)
      .Property("Looped", &T::Looped, &T::SetLooped).Default(false)
      .Property("NoDefaultSound", &T::NoDefaultSound, &T::SetNoDefaultSound).Default(true)
      .Property("NoStopSound", &T::NoStopSound, &T::SetNoStopSound).Default(false)
      .Property("NoWaitIfBusy", &T::NoWaitIfBusy, &T::SetNoWaitIfBusy).Default(true)
      .Property("PlayFrom", &T::PlayFrom, &T::SetPlayFrom).Default(pfFile)
      .Property("ResourceName", &T::ResourceName, &T::SetResourceName).Stored(&T::IsResourceNameStored)
      .Property("OnPlayAfter", &T::OnPlayAfter)
      .Property("OnPlayBefore", &T::OnPlayBefore)
      .Table();
  return table;
}

}  // namespace

VCL_CLASS_IMPL(TdkWav, TdkCustomFileStorage, &CreateComponentOf<TdkWav>, &WavProperties)

TdkWav::TdkWav(TComponent* AOwner) : TdkCustomFileStorage(AOwner) {}

TdkWav::~TdkWav() { Stop(); }

void TdkWav::BuildParams() {
  FSoundFlags = 0;
  if (FAsyncPlay) FSoundFlags |= SND_ASYNC;
  if (FLooped) FSoundFlags |= SND_LOOP;
  if (FNoDefaultSound) FSoundFlags |= SND_NODEFAULT;
  if (FNoStopSound) FSoundFlags |= SND_NOSTOP;
  if (FNoWaitIfBusy) FSoundFlags |= SND_NOWAIT;
  FSoundModule = nullptr;
  switch (FPlayFrom) {
    case pfFile:
      FSoundFlags |= SND_FILENAME;
      FSoundArgument = FFileName.c_str();
      break;
    case pfResource:
      FSoundFlags |= SND_RESOURCE;
      FSoundModule = GetModuleHandleA(nullptr);
      FSoundArgument = FResourceName.c_str();
      break;
    case pfDFM:
      FSoundFlags |= SND_MEMORY;
      FSoundArgument = GetDataSize() ? Data()->Memory() : nullptr;
      break;
    case pfSystemEvent:
      FSoundFlags |= SND_ALIAS;
      FSoundArgument = FEventAlias.c_str();
      break;
  }
}

bool TdkWav::Play() {
  BuildParams();
  FPlaying = true;
  if (OnPlayBefore) OnPlayBefore(this);
  // No stored bytes: nothing to play (a null argument would stop sounds instead).
  bool played = FSoundArgument &&
                PlaySoundA(static_cast<LPCSTR>(FSoundArgument), FSoundModule, FSoundFlags) != FALSE;
  if (OnPlayAfter) OnPlayAfter(this);
  FPlaying = false;
  return played;
}

void TdkWav::Stop() {
  FPlaying = false;
  PlaySoundA(nullptr, nullptr, 0);
}

void TdkWav::Restart() {
  if (FPlaying)
    Play();
  else
    Stop();
}

void TdkWav::ReleaseStoredSound() {
  // The system reads an asynchronous memory sound from our buffer while it plays.
  if (FPlayFrom == pfDFM) PlaySoundA(nullptr, nullptr, 0);
}

void TdkWav::SetAsyncPlay(bool Value) {
  if (FAsyncPlay == Value) return;
  FAsyncPlay = Value;
  if (Value && FPlaying) Stop();
}

void TdkWav::SetLooped(bool Value) {
  if (FLooped == Value) return;
  FLooped = Value;
  if (FPlaying) {
    Stop();
    if (Value) Play();
  }
}

void TdkWav::SetNoWaitIfBusy(bool Value) {
  if (FNoWaitIfBusy == Value) return;
  FNoWaitIfBusy = Value;
  if (Value && FPlaying) {
    Stop();
    Play();
  }
}

void TdkWav::SetPlayFrom(TdkWavPlayFrom Value) {
  if (FPlayFrom == Value) return;
  ReleaseStoredSound();
  FPlayFrom = Value;
  // While a description is read, the stored bytes arrive on their own.
  if (HasState(csLoading | csReading)) return;
  if (Value == pfDFM)
    LoadFromFile(FFileName);
  else
    Clear();
}

void TdkWav::SetFileName(const AnsiString& Value) {
  if (FFileName == Value) return;
  if (FPlayFrom != pfDFM) {
    FFileName = Value;
    return;
  }
  ReleaseStoredSound();
  FFileName = Value;
  if (!HasState(csLoading | csReading)) LoadFromFile(FFileName);
  Restart();
}

void TdkWav::SetResourceName(const AnsiString& Value) {
  if (FResourceName == Value) return;
  FResourceName = Value;
  if (FPlayFrom == pfResource) Restart();
}

void TdkWav::SetEventAlias(const AnsiString& Value) {
  if (FEventAlias == Value) return;
  FEventAlias = Value;
  if (FPlayFrom == pfSystemEvent) Restart();
}
