// The jobs of today's MP4Box, one per kind of command line, over the parsed arguments.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "mp4box/media_probe.h"

namespace standin {

struct TTodayArgs {
  std::vector<std::pair<std::string, std::string>> imports;  // -add / -cat / -chap and the value
  std::vector<std::string> positional;
  std::string out, newFile, itags, tmp, split, splitValue, raw, single, subtitle, subtitleTrack, infoTrack;
  bool infoAsked = false, threeGp = false;
};

int TodayMux(const TTodayArgs& a);
int TodaySplit(const TTodayArgs& a);
int TodayExtract(const TTodayArgs& a);
int TodaySubtitles(const TTodayArgs& a);
int TodayTags(const TTodayArgs& a);

// The file a job reads: the last name on the line.
const std::string& Input(const TTodayArgs& a);
// Stops the run as the tool does when a file it opens is not there.
void NeedFile(const std::string& name);
// The lines of an ISO file whose media data is cut: the box that runs past the end, then
// what the tool does about it (Next).
void SayCutBox(const TIsoFile& iso, const std::string& next);
// "Video (size W x H)", "Audio (SR R - C channels)" or "media type "hdlr:code"".
std::string TrackDescription(const TTrack& t);
bool IsIsoName(const std::string& name);
// The share of a track's samples in the file, as a percentage.
int AvailablePercent(const TTrack& t);

}  // namespace standin
