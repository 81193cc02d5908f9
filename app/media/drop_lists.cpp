#include "app/media/drop_lists.h"

#include <initializer_list>

#include "widetext/filenames.h"

namespace {

bool Listed(const WideString& FileName, std::initializer_list<const wchar_t*> Extensions) {
  const WideString ext = WideExtractFileExt(FileName);
  if (ext.empty()) return false;
  for (const wchar_t* e : Extensions)
    if (ext == e) return true;
  return false;
}

}  // namespace

bool IsMP4DropFile(const WideString& FileName) {
  return Listed(FileName, {L".avi", L".mp4",  L".m4a", L".m4b",  L".mov",  L".aac",  L".amr", L".awb",
                           L".evc", L".smv",  L".ogg", L".vob",  L".mpeg", L".mpg",  L".vcd", L".ts",
                           L".mp3", L".mp2",  L".h264", L".264", L".h263", L".263",  L".3gp", L".3g2",
                           L".m1v", L".m2v",  L".m4v", L".cmp",  L".txt",  L".srt",  L".ttxt", L".xml",
                           L".idx", L".nhnt", L".nhml", L".info", L".media", L".jpeg", L".jpg", L".qcp"});
}

bool Is3GPDropFile(const WideString& FileName) {
  return Listed(FileName, {L".avi", L".mp4", L".m4a", L".m4b", L".mov", L".aac",  L".amr",  L".awb",
                           L".evc", L".smv", L".vob", L".mpeg", L".mpg", L".vcd", L".mp3",  L".h264",
                           L".264", L".h263", L".263", L".3gp", L".3g2", L".m1v", L".m2v",  L".m4v",
                           L".cmp", L".txt", L".srt", L".ttxt", L".xml", L".jpeg", L".jpg"});
}

bool IsConcatDropFile(const WideString& FileName) {
  return Listed(FileName, {L".avi", L".mp4", L".m4a", L".m4b", L".mov", L".aac",  L".amr", L".awb", L".evc",
                           L".smv", L".vob", L".mpeg", L".mpg", L".vcd", L".mp3", L".h264", L".264", L".h263",
                           L".263", L".3gp", L".3g2", L".m1v", L".m2v", L".m4v", L".cmp"});
}
