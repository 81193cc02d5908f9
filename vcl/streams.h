// Streams: the abstract TStream, streams on system handles and files, memory streams.
#pragma once

#include <cstdint>
#include <vector>

#include "vcl/classes.h"

enum TSeekOrigin { soBeginning = 0, soCurrent = 1, soEnd = 2 };

// File open modes and sharing flags, as the framework defines them.
constexpr unsigned fmCreate = 0xFFFF;
constexpr unsigned fmOpenRead = 0x0000;
constexpr unsigned fmOpenWrite = 0x0001;
constexpr unsigned fmOpenReadWrite = 0x0002;
constexpr unsigned fmShareCompat = 0x0000;
constexpr unsigned fmShareExclusive = 0x0010;
constexpr unsigned fmShareDenyWrite = 0x0020;
constexpr unsigned fmShareDenyRead = 0x0030;
constexpr unsigned fmShareDenyNone = 0x0040;

class TStream : public TObject {
  VCL_CLASS(TStream)
 public:
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  virtual void SetSize(int64_t size);

  void ReadBuffer(void* buffer, int64_t count);    // EReadError when short
  void WriteBuffer(const void* buffer, int64_t count);  // EWriteError when short
  int64_t CopyFrom(TStream* source, int64_t count);  // count 0: the whole source

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t p) { Seek(p, soBeginning); }
  virtual int64_t Size();
};

// A stream on an open system handle; the handle is the caller's.
class THandleStream : public TStream {
  VCL_CLASS(THandleStream)
 public:
  explicit THandleStream(HANDLE h) : FHandle(h) {}
  // Read and Write return the bytes moved; a failed call moves none and returns 0.
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t size) override;
  HANDLE Handle() const { return FHandle; }

 protected:
  HANDLE FHandle;
};

// A file stream opened by an 8-bit name; raises EFCreateError / EFOpenError with the
// full path and the system's message.
class TFileStream : public THandleStream {
  VCL_CLASS(TFileStream)
 public:
  TFileStream(const AnsiString& fileName, unsigned mode);
  ~TFileStream() override;
  const AnsiString& FileName() const { return FFileName; }

 protected:
  // For descendants that open the handle themselves (wide names).
  TFileStream() : THandleStream(INVALID_HANDLE_VALUE) {}
  AnsiString FFileName;
};

// Translates framework open modes into CreateFile arguments: fmCreate creates or
// truncates the file for reading and writing without sharing; any other mode opens an
// existing file with access from its low two bits and sharing from bits 4 to 7
// (compat and exclusive: none). False for a mode with access 3 or sharing above 4.
bool FileModeToCreateArgs(unsigned mode, DWORD& access, DWORD& share, DWORD& disposition);

class TMemoryStream : public TStream {
  VCL_CLASS(TMemoryStream)
 public:
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t size) override;
  int64_t Size() override { return static_cast<int64_t>(FData.size()); }
  void Clear();
  void* Memory() { return FData.data(); }
  void LoadFromStream(TStream* source);
  void SaveToStream(TStream* dest);
  void LoadFromFile(const AnsiString& fileName);
  void SaveToFile(const AnsiString& fileName);

 private:
  std::vector<uint8_t> FData;
  int64_t FPosition = 0;
};
