// The file storage (a file's bytes kept in the stored description and written out again)
// and the wave player built on it.
#include <gtest/gtest.h>
#include <windows.h>
#include <mmsystem.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "desktop/file_storage.h"
#include "desktop/wave_player.h"
#include "tests/desktop/temp_folder.h"
#include "tests/support/pump.h"
#include "vcl/streaming.h"
#include "vcl/typinfo.h"

namespace {

struct StorageEvents {
  std::vector<std::string> Log;
  bool AllowOverride = true;
  void Attach(TdkCustomFileStorage& Storage) {
    Storage.OnLoad = [this](TObject*, bool ok) { Log.push_back(ok ? "load ok" : "load failed"); };
    Storage.OnSave = [this](TObject*, bool ok) { Log.push_back(ok ? "save ok" : "save failed"); };
    Storage.OnConfirmOverride = [this](TObject*, bool& over) {
      Log.push_back("confirm");
      over = AllowOverride;
    };
  }
};

std::string DataOf(TdkCustomFileStorage& Storage) {
  return std::string(static_cast<const char*>(Storage.Data()->Memory()), Storage.GetDataSize());
}

TEST(FileStorage, LoadsAWholeFileAndAMissingOneLeavesNoData) {
  TTempFolder folder;
  std::string bytes("RIFF\0\x01\x02 binary\r\n", 18);
  folder.WriteFile("a.bin", bytes);
  TdkFileStorage storage(nullptr);
  StorageEvents events;
  events.Attach(storage);

  storage.SetFileName(folder / "a.bin");
  EXPECT_TRUE(storage.Load());
  EXPECT_EQ(storage.GetDataSize(), bytes.size());
  EXPECT_EQ(DataOf(storage), bytes);

  EXPECT_FALSE(storage.LoadFromFile(folder / "missing.bin"));
  EXPECT_EQ(storage.GetDataSize(), 0u);
  EXPECT_EQ(events.Log, (std::vector<std::string>{"load ok", "load failed"}));
}

TEST(FileStorage, SavingOverAnExistingFileAsksFirst) {
  TTempFolder folder;
  folder.WriteFile("src.txt", "new contents");
  folder.WriteFile("old.txt", "old");
  TdkFileStorage storage(nullptr);
  StorageEvents events;
  events.Attach(storage);
  ASSERT_TRUE(storage.LoadFromFile(folder / "src.txt"));
  events.Log.clear();

  storage.SetSaveName(folder / "fresh.txt");
  EXPECT_TRUE(storage.Save());
  EXPECT_EQ(folder.ReadFile("fresh.txt"), "new contents");

  events.AllowOverride = false;
  EXPECT_FALSE(storage.SaveToFile(folder / "old.txt"));
  EXPECT_EQ(folder.ReadFile("old.txt"), "old");

  events.AllowOverride = true;
  EXPECT_TRUE(storage.SaveToFile(folder / "old.txt"));
  EXPECT_EQ(folder.ReadFile("old.txt"), "new contents");

  // A folder that does not exist: reported, not thrown.
  EXPECT_FALSE(storage.SaveToFile(folder / "no such folder\\x.txt"));
  EXPECT_EQ(events.Log, (std::vector<std::string>{"save ok", "confirm", "save failed", "confirm", "save ok",
                                                  "save failed"}));
}

// The component written as a stored description and read back into a new one.
std::vector<uint8_t> Store(TComponent* Component) {
  TMemoryStream stream;
  WriteComponent(&stream, Component);
  const uint8_t* p = static_cast<const uint8_t*>(stream.Memory());
  return std::vector<uint8_t>(p, p + stream.Size());
}

void Restore(const std::vector<uint8_t>& Bytes, TComponent* Component) {
  ReadComponentData(Bytes.data(), Bytes.size(), Component, "test");
}

TEST(FileStorage, TheDataTravelsInTheDescriptionAfterItsSize) {
  TTempFolder folder;
  std::string bytes = std::string("\0\xff", 2) + std::string(300, 'x');
  folder.WriteFile("data.bin", bytes);
  TdkFileStorage source(nullptr);
  source.SetName("Storage1");
  ASSERT_TRUE(source.LoadFromFile(folder / "data.bin"));
  std::vector<uint8_t> stored = Store(&source);

  // "FileData", the binary kind, the block's length, then the size of the data and the data.
  std::string text(stored.begin(), stored.end());
  size_t at = text.find("FileData");
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(text.find("DataSize"), std::string::npos);
  const uint8_t* block = stored.data() + at + 8;
  EXPECT_EQ(block[0], vaBinary);
  uint32_t blockSize = block[1] | block[2] << 8 | block[3] << 16 | uint32_t{block[4]} << 24;
  EXPECT_EQ(blockSize, 4 + bytes.size());
  uint32_t dataSize = block[5] | block[6] << 8 | block[7] << 16 | uint32_t{block[8]} << 24;
  EXPECT_EQ(dataSize, bytes.size());

  TdkFileStorage copy(nullptr);
  Restore(stored, &copy);
  EXPECT_EQ(DataOf(copy), bytes);

  // A size that claims more than the block holds is a damaged description.
  std::vector<uint8_t> damaged = stored;
  damaged[at + 8 + 6] = 0x10;
  TdkFileStorage broken(nullptr);
  EXPECT_THROW(Restore(damaged, &broken), EReadError);

  // Without data nothing is stored.
  TdkFileStorage empty(nullptr);
  std::vector<uint8_t> none = Store(&empty);
  EXPECT_EQ(std::string(none.begin(), none.end()).find("FileData"), std::string::npos);
}

TEST(FileStorage, AutoSaveWritesTheFileWhenLoaded) {
  TTempFolder folder;
  folder.WriteFile("in.txt", "kept with the form");
  TdkFileStorage source(nullptr);
  ASSERT_TRUE(source.LoadFromFile(folder / "in.txt"));
  source.SetSaveName(folder / "out.txt");
  source.SetAutoSave(true);
  std::vector<uint8_t> stored = Store(&source);
  EXPECT_FALSE(folder.Exists("out.txt"));

  TdkFileStorage loaded(nullptr);
  Restore(stored, &loaded);
  EXPECT_EQ(folder.ReadFile("out.txt"), "kept with the form");
}

TEST(FileStorage, AtDesignTimeAutoSaveNeedsASaveNameThatCanBeCreated) {
  TTempFolder folder;
  TdkFileStorage storage(nullptr);
  storage.SetComponentState(csDesigning, true);
  {
    TMessageBoxWatcher box;
    storage.SetAutoSave(true);
    EXPECT_TRUE(box.Seen());
    EXPECT_EQ(box.Caption(), "Warning");
    EXPECT_EQ(box.Text(), "AutoSave can not be set because the SaveName property contains a wrong file name");
  }
  EXPECT_FALSE(storage.AutoSave());

  storage.SetSaveName(folder / "out.bin");
  storage.SetAutoSave(true);
  EXPECT_TRUE(storage.AutoSave());
  EXPECT_FALSE(folder.Exists("out.bin")) << "the trial file is removed again";
  storage.SetSaveName(folder / "no such folder\\out.bin");
  EXPECT_FALSE(storage.AutoSave());
}

// --- wave player ---------------------------------------------------------------------

// A short 8 kHz mono tone as a WAV file's bytes.
std::string ToneWav(int Milliseconds) {
  const uint32_t rate = 8000, samples = rate * Milliseconds / 1000;
  std::string data;
  for (uint32_t i = 0; i < samples; ++i)
    data += static_cast<char>(128 + 60 * std::sin(2 * 3.14159265 * 440 * i / rate));
  auto u32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  auto u16 = [](uint16_t v) { return std::string{char(v), char(v >> 8)}; };
  return "RIFF" + u32(36 + samples) + "WAVE" + "fmt " + u32(16) + u16(1) + u16(1) + u32(rate) + u32(rate) +
         u16(1) + u16(8) + "data" + u32(samples) + data;
}

TEST(WavePlayer, TheOptionsAndTheSourceMakeTheCallsArguments) {
  TTempFolder folder;
  folder.WriteFile("tone.wav", ToneWav(50));
  TdkWav wav(nullptr);
  wav.SetFileName(folder / "tone.wav");
  wav.BuildParams();
  EXPECT_EQ(wav.SoundFlags(), DWORD(SND_ASYNC | SND_NODEFAULT | SND_NOWAIT | SND_FILENAME));
  EXPECT_STREQ(static_cast<const char*>(wav.SoundArgument()), (folder / "tone.wav").c_str());

  wav.SetAsyncPlay(false);
  wav.SetLooped(true);
  wav.SetNoDefaultSound(false);
  wav.SetNoStopSound(true);
  wav.SetNoWaitIfBusy(false);
  struct Case {
    TdkWavPlayFrom From;
    DWORD Flag;
    bool Module;
  } cases[] = {{pfFile, SND_FILENAME, false},
               {pfResource, SND_RESOURCE, true},
               {pfDFM, SND_MEMORY, false},
               {pfSystemEvent, SND_ALIAS, false}};
  for (const Case& c : cases) {
    wav.SetPlayFrom(c.From);
    wav.BuildParams();
    EXPECT_EQ(wav.SoundFlags(), SND_LOOP | SND_NOSTOP | c.Flag) << c.From;
    EXPECT_EQ(wav.SoundModule(), c.Module ? GetModuleHandleA(nullptr) : nullptr) << c.From;
  }
  wav.SetPlayFrom(pfResource);
  wav.BuildParams();
  EXPECT_STREQ(static_cast<const char*>(wav.SoundArgument()), "WAVE1");
  wav.SetPlayFrom(pfSystemEvent);
  wav.BuildParams();
  EXPECT_STREQ(static_cast<const char*>(wav.SoundArgument()), ".Default");
}

TEST(WavePlayer, PlayingFromTheFormKeepsTheFilesBytesAndStoresOnlyWhatItPlays) {
  TTempFolder folder;
  std::string tone = ToneWav(50);
  folder.WriteFile("tone.wav", tone);
  TdkWav wav(nullptr);
  wav.SetFileName(folder / "tone.wav");
  EXPECT_EQ(wav.GetDataSize(), 0u);
  EXPECT_TRUE(IsStoredProp(&wav, "FileName"));
  EXPECT_FALSE(IsStoredProp(&wav, "EventAlias"));

  wav.SetPlayFrom(pfDFM);
  EXPECT_EQ(DataOf(wav), tone);
  wav.BuildParams();
  EXPECT_EQ(wav.SoundArgument(), wav.Data()->Memory());
  EXPECT_FALSE(IsStoredProp(&wav, "FileName"));

  // The bytes come back from the description without the file.
  std::vector<uint8_t> stored = Store(&wav);
  DeleteFileA((folder / "tone.wav").c_str());
  TdkWav copy(nullptr);
  Restore(stored, &copy);
  EXPECT_EQ(copy.PlayFrom(), pfDFM);
  EXPECT_EQ(DataOf(copy), tone);

  wav.SetPlayFrom(pfSystemEvent);
  EXPECT_EQ(wav.GetDataSize(), 0u);
  EXPECT_TRUE(IsStoredProp(&wav, "EventAlias"));
  EXPECT_FALSE(IsStoredProp(&wav, "ResourceName"));
}

TEST(WavePlayer, PlayRunsItsEventsAroundTheSystemCall) {
  TTempFolder folder;
  folder.WriteFile("tone.wav", ToneWav(50));
  TdkWav wav(nullptr);
  wav.SetAsyncPlay(false);
  wav.SetFileName(folder / "tone.wav");
  std::vector<std::string> log;
  wav.OnPlayBefore = [&](TObject*) { log.push_back(wav.Playing() ? "before, playing" : "before"); };
  wav.OnPlayAfter = [&](TObject*) { log.push_back(wav.Playing() ? "after, playing" : "after"); };
  // Whether the sound is heard depends on the machine's sound device; a machine without
  // one answers false, which Play passes on.
  bool played = wav.Play();
  EXPECT_EQ(played, waveOutGetNumDevs() > 0);
  EXPECT_FALSE(wav.Playing());
  EXPECT_EQ(log, (std::vector<std::string>{"before, playing", "after, playing"}));

  // No stored bytes: nothing is played (a null sound would only stop others).
  wav.SetPlayFrom(pfDFM);
  wav.SetFileName(folder / "missing.wav");
  EXPECT_EQ(wav.GetDataSize(), 0u);
  EXPECT_FALSE(wav.Play());
}

}  // namespace
