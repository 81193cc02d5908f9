// A wave sound played from a file, a resource of the program, the bytes stored with the
// form, or a system event.
#pragma once

#include "desktop/file_storage.h"
#include "vcl/typinfo.h"

enum TdkWavPlayFrom { pfFile, pfResource, pfDFM, pfSystemEvent };
VCL_ENUM_INFO(TdkWavPlayFrom, "pfFile", "pfResource", "pfDFM", "pfSystemEvent")

class TdkWav : public TdkCustomFileStorage {
  VCL_CLASS(TdkWav)
 public:
  explicit TdkWav(TComponent* AOwner);
  ~TdkWav() override;

  // Works out the flags, module and sound argument of the system call from the options.
  virtual void BuildParams();
  // Plays the sound; false when the system could not play it (no device, no such sound).
  virtual bool Play();
  // Stops whatever sound the program plays.
  virtual void Stop();

  bool AsyncPlay() const { return FAsyncPlay; }
  virtual void SetAsyncPlay(bool Value);
  bool Looped() const { return FLooped; }
  virtual void SetLooped(bool Value);
  bool NoDefaultSound() const { return FNoDefaultSound; }
  void SetNoDefaultSound(bool Value) { FNoDefaultSound = Value; }
  bool NoStopSound() const { return FNoStopSound; }
  void SetNoStopSound(bool Value) { FNoStopSound = Value; }
  bool NoWaitIfBusy() const { return FNoWaitIfBusy; }
  virtual void SetNoWaitIfBusy(bool Value);
  TdkWavPlayFrom PlayFrom() const { return FPlayFrom; }
  virtual void SetPlayFrom(TdkWavPlayFrom Value);
  const AnsiString& ResourceName() const { return FResourceName; }
  virtual void SetResourceName(const AnsiString& Value);
  const AnsiString& EventAlias() const { return FEventAlias; }
  virtual void SetEventAlias(const AnsiString& Value);
  void SetFileName(const AnsiString& Value) override;
  bool Playing() const { return FPlaying; }

  // What BuildParams worked out, as the system call gets it.
  DWORD SoundFlags() const { return FSoundFlags; }
  HMODULE SoundModule() const { return FSoundModule; }
  const void* SoundArgument() const { return FSoundArgument; }

  bool IsEventAliasStored() const { return FPlayFrom == pfSystemEvent; }
  bool IsFileNameStored() const { return FPlayFrom == pfFile; }
  bool IsResourceNameStored() const { return FPlayFrom == pfResource; }

  TNotifyEvent OnPlayAfter;
  TNotifyEvent OnPlayBefore;

 private:
  // Plays again while playing, else stops (a changed source).
  void Restart();
  // The stored bytes are about to change: a sound playing from them must end first.
  void ReleaseStoredSound();

  bool FAsyncPlay = true;
  bool FLooped = false;
  bool FNoDefaultSound = true;
  bool FNoStopSound = false;
  bool FNoWaitIfBusy = true;
  TdkWavPlayFrom FPlayFrom = pfFile;
  AnsiString FResourceName = "WAVE1";
  AnsiString FEventAlias = ".Default";
  bool FPlaying = false;
  DWORD FSoundFlags = 0;
  HMODULE FSoundModule = nullptr;
  const void* FSoundArgument = nullptr;
};
