// Stream facts of a media file, from MediaInfo.dll beside the program.
//
// The analysis asks its questions through TMediaAnswers, so that a file opened in the
// library and a set of chosen answers serve it alike.
#pragma once

#include "vcl/sysutils.h"

// The library's stream kinds. Kind 4 held the chapters in older libraries (today it is
// "Other"); today's libraries report a file's chapters as a menu stream (kind 6).
enum class TStreamKind { General = 0, Video = 1, Audio = 2, Text = 3, Chapters = 4, Menu = 6 };

class TMediaAnswers {
 public:
  virtual ~TMediaAnswers() = default;
  // The text form of a parameter of one stream (numbers count from 0 within a kind);
  // empty when the value is absent.
  virtual WideString Get(TStreamKind Kind, int Number, const WideString& Parameter) = 0;
};

// The library, loaded once from the program's folder. Without it every file reads as
// empty and gets only the rows its extension gives.
class TMediaInfoLibrary {
 public:
  // Loads the library on the first call: the program asks for it with the first file it
  // analyses, not at its start.
  static TMediaInfoLibrary& Instance();
  bool Loaded() const { return FNew != nullptr; }
  // Whether the library's file is beside the program, without loading it.
  static bool Present();
  // Called once when the file is there but will not load (the program tells the user).
  static inline void (*LoadFailed)() = nullptr;

 private:
  friend class TMediaInfoFile;
  using NewFn = void*(__stdcall*)();
  using OpenFn = size_t(__stdcall*)(void*, const wchar_t*);
  using GetFn = const wchar_t*(__stdcall*)(void*, int, size_t, const wchar_t*, int, int);
  using HandleFn = void(__stdcall*)(void*);

  TMediaInfoLibrary();
  NewFn FNew = nullptr;
  OpenFn FOpen = nullptr;
  GetFn FGet = nullptr;
  HandleFn FClose = nullptr;
  HandleFn FDelete = nullptr;
};

// One file opened in the library for the life of the object; closed and freed on every
// path out.
class TMediaInfoFile : public TMediaAnswers {
 public:
  explicit TMediaInfoFile(const WideString& FileName);
  ~TMediaInfoFile() override;
  TMediaInfoFile(const TMediaInfoFile&) = delete;
  TMediaInfoFile& operator=(const TMediaInfoFile&) = delete;

  // Whether the library recognised the file (the analysis goes by the answers alone).
  bool Opened() const { return FOpened; }
  // A parameter the library no longer answers under its older name ("Codec/String",
  // "Codec/Info", "Codec_Profile") is answered from its current one.
  WideString Get(TStreamKind Kind, int Number, const WideString& Parameter) override;

 private:
  WideString Ask(TStreamKind Kind, int Number, const wchar_t* Parameter);
  TMediaInfoLibrary& FLibrary;
  void* FHandle = nullptr;
  bool FOpened = false;
};
