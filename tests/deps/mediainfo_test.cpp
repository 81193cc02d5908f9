#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// The C interface of MediaInfo.dll, as its own DLL loader declares it.
enum MediaInfoStream { StreamGeneral = 0, StreamVideo = 1, StreamAudio = 2 };
enum MediaInfoInfo { InfoName = 0, InfoText = 1 };
using NewFn = void*(__stdcall*)();
using OpenFn = size_t(__stdcall*)(void*, const wchar_t*);
using GetFn = const wchar_t*(__stdcall*)(void*, int, size_t, const wchar_t*, int, int);
using CloseFn = void(__stdcall*)(void*);
using DeleteFn = void(__stdcall*)(void*);

std::wstring ModuleFolder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s(path, n);
  return s.substr(0, s.find_last_of(L'\\') + 1);
}

// A PCM WAV file: 16-bit samples of a sine tone, interleaved over the channels.
std::vector<uint8_t> MakeWav(uint32_t rate, uint16_t channels, uint32_t frames) {
  std::vector<uint8_t> b;
  auto u16 = [&](uint16_t v) { b.push_back(v & 0xFF); b.push_back(v >> 8); };
  auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
  auto tag = [&](const char* t) { for (int i = 0; i < 4; ++i) b.push_back(uint8_t(t[i])); };
  const uint16_t blockAlign = channels * 2;
  const uint32_t dataSize = frames * blockAlign;
  tag("RIFF"); u32(36 + dataSize); tag("WAVE");
  tag("fmt "); u32(16); u16(1 /* PCM */); u16(channels); u32(rate); u32(rate * blockAlign);
  u16(blockAlign); u16(16);
  tag("data"); u32(dataSize);
  for (uint32_t i = 0; i < frames; ++i) {
    auto sample = static_cast<int16_t>(8000 * std::sin(2 * 3.14159265 * 440.0 * i / rate));
    for (uint16_t c = 0; c < channels; ++c) u16(static_cast<uint16_t>(sample));
  }
  return b;
}

class MediaInfoDll : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dll_ = LoadLibraryW((ModuleFolder() + L"MediaInfo.dll").c_str());
    if (!dll_) return;
    new_ = reinterpret_cast<NewFn>(GetProcAddress(dll_, "MediaInfo_New"));
    open_ = reinterpret_cast<OpenFn>(GetProcAddress(dll_, "MediaInfo_Open"));
    get_ = reinterpret_cast<GetFn>(GetProcAddress(dll_, "MediaInfo_Get"));
    close_ = reinterpret_cast<CloseFn>(GetProcAddress(dll_, "MediaInfo_Close"));
    delete_ = reinterpret_cast<DeleteFn>(GetProcAddress(dll_, "MediaInfo_Delete"));
  }
  static void TearDownTestSuite() {
    if (dll_) FreeLibrary(dll_);
    dll_ = nullptr;
  }

  void SetUp() override {
    ASSERT_NE(dll_, nullptr) << "LoadLibraryW failed with error " << GetLastError();
    ASSERT_TRUE(new_ && open_ && get_ && close_ && delete_);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"kavo-mediainfo-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder_.c_str(), nullptr);
  }
  void TearDown() override {
    for (auto& f : written_) DeleteFileW(f.c_str());
    RemoveDirectoryW(folder_.c_str());
  }

  std::wstring Write(const std::wstring& name, const std::vector<uint8_t>& bytes) {
    std::wstring path = folder_ + L"\\" + name;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    DWORD done = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
    CloseHandle(h);
    written_.push_back(path);
    return path;
  }

  std::wstring Get(void* mi, MediaInfoStream kind, const wchar_t* parameter) {
    const wchar_t* v = get_(mi, kind, 0, parameter, InfoText, InfoName);
    return v ? v : L"(null)";
  }

  static inline HMODULE dll_ = nullptr;
  static inline NewFn new_ = nullptr;
  static inline OpenFn open_ = nullptr;
  static inline GetFn get_ = nullptr;
  static inline CloseFn close_ = nullptr;
  static inline DeleteFn delete_ = nullptr;
  std::wstring folder_;
  std::vector<std::wstring> written_;
};

// Names outside the ANSI code page too: Kavo hands MediaInfo UTF-16 paths.
TEST_F(MediaInfoDll, ReadsFormatRateAndChannelsOfAWavFile) {
  struct Case {
    const wchar_t* name;
    uint32_t rate;
    uint16_t channels;
    uint32_t milliseconds;
  } cases[] = {
      {L"tone.wav", 22050, 2, 250},
      {L"\u03AE\u03C7\u03BF\u03C2 \u97F3.wav", 8000, 1, 500},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "rate " << c.rate);
    std::wstring path = Write(c.name, MakeWav(c.rate, c.channels, c.rate * c.milliseconds / 1000));
    void* mi = new_();
    ASSERT_NE(mi, nullptr);
    ASSERT_EQ(open_(mi, path.c_str()), 1u);
    EXPECT_EQ(Get(mi, StreamGeneral, L"Format"), L"Wave");
    EXPECT_EQ(Get(mi, StreamAudio, L"Format"), L"PCM");
    EXPECT_EQ(Get(mi, StreamAudio, L"SamplingRate"), std::to_wstring(c.rate));
    EXPECT_EQ(Get(mi, StreamAudio, L"Channel(s)"), std::to_wstring(c.channels));
    EXPECT_EQ(Get(mi, StreamAudio, L"BitDepth"), L"16");
    EXPECT_EQ(Get(mi, StreamAudio, L"Duration"), std::to_wstring(c.milliseconds));
    EXPECT_EQ(Get(mi, StreamVideo, L"Format"), L"");  // no such stream
    close_(mi);
    delete_(mi);
  }
}

TEST_F(MediaInfoDll, OpenFailsForAMissingFile) {
  void* mi = new_();
  EXPECT_EQ(open_(mi, (folder_ + L"\\missing.wav").c_str()), 0u);
  EXPECT_EQ(Get(mi, StreamGeneral, L"Format"), L"");
  close_(mi);
  delete_(mi);
}

}  // namespace
