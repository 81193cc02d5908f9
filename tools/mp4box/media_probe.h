// What the stand-in MP4Box reads of its inputs: the boxes and tracks of an ISO file (MP4,
// M4A, MOV, 3GP), the streams of an AVI file, the header of an ADTS AAC file. It reads the
// real structure, so a file cut inside its media data or before its index is found the way
// the tool finds it: by a box that runs past the end of the file, or by no "moov" box.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace standin {

struct TTrack {
  uint32_t Id = 0;
  std::string Handler;  // "vide", "soun", "sbtl", "text", ...
  std::string Codec;    // the first sample entry: "avc1", "mp4a", "tx3g", "text", ...
  int Width = 0, Height = 0;
  int SampleRate = 0, Channels = 0;
  uint32_t Samples = 0;    // in the sample table
  uint32_t Available = 0;  // whose bytes are all in the file
  uint64_t Bytes = 0;      // of the available samples
  double Seconds = 0;
};

struct TIsoFile {
  bool Opened = false;  // the file could be read
  bool HasMovie = false;
  uint64_t Size = 0;
  // The first top-level box that runs past the end of the file.
  std::string CutBox;
  uint64_t CutStart = 0, CutSize = 0;
  double Seconds = 0;
  std::vector<TTrack> Tracks;

  const TTrack* Find(uint32_t id) const;
  bool Truncated() const { return !CutBox.empty(); }
};

struct TAviStream {
  bool Video = false;
  uint32_t Codec = 0;  // video: the compression four-cc; audio: the wave format tag
  int Width = 0, Height = 0, SampleRate = 0, Channels = 0;
};

struct TAdts {
  bool Valid = false;
  int SampleRate = 0, Channels = 0;
};

std::string ReadWholeFile(const std::string& utf8Name);
uint64_t FileSize(const std::string& utf8Name);
TIsoFile ProbeIso(const std::string& utf8Name);
std::vector<TAviStream> ProbeAvi(const std::string& utf8Name);
TAdts ProbeAdts(const std::string& utf8Name);

}  // namespace standin
