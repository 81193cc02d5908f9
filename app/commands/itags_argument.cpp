#include "app/commands/itags_argument.h"

#include "app/commands/command_line_quote.h"
#include "app/common/utf8.h"

namespace {

bool FromDialog(int Source) { return Source == PropertiesDialogSource; }

AnsiString Utf8Piece(const char* Key, const WideString& Value) { return Key + WideToUtf8(Value); }
AnsiString AnsiPiece(const char* Key, const WideString& Value) { return Key + WideToAnsi(Value); }
AnsiString DiskPair(const TTagFields& F) { return "disk=" + WideToAnsi(F.DiskNum + L"/" + F.DiskTotal); }

}  // namespace

AnsiString BuildITagName(const TTagFields& F, int) { return Utf8Piece("name=", F.Name); }
AnsiString BuildITagArtist(const TTagFields& F, int) { return Utf8Piece("artist=", F.Artist); }
AnsiString BuildITagAlbum(const TTagFields& F, int) { return Utf8Piece("album=", F.Album); }
AnsiString BuildITagCreated(const TTagFields& F, int) { return AnsiPiece("created=", F.Year); }
AnsiString BuildITagCover(const TTagFields& F, int) { return AnsiPiece("cover=", F.Cover); }
AnsiString BuildITagGenre(const TTagFields& F, int) { return AnsiPiece("genre=", F.Genre); }

AnsiString BuildITagWriter(const TTagFields& F, int Source) {
  return FromDialog(Source) ? Utf8Piece("writer=", F.Writer) : AnsiString();
}
AnsiString BuildITagDisk(const TTagFields& F, int Source) { return FromDialog(Source) ? DiskPair(F) : AnsiString(); }
AnsiString BuildITagDisk2(const TTagFields& F, int Source) { return FromDialog(Source) ? DiskPair(F) : AnsiString(); }
AnsiString BuildITagTrackNum(const TTagFields& F, int Source) {
  return FromDialog(Source) ? AnsiPiece("tracknum=", F.TrackNum) : AnsiString();
}
AnsiString BuildITagTrack(const TTagFields& F, int Source) {
  return FromDialog(Source) ? AnsiPiece("track=", F.TrackTotal) : AnsiString();
}
AnsiString BuildITagTempo(const TTagFields& F, int Source) {
  return FromDialog(Source) ? AnsiPiece("tempo=", F.Tempo) : AnsiString();
}
AnsiString BuildITagComposer(const TTagFields& F, int Source) {
  return FromDialog(Source) ? Utf8Piece("composer=", F.Composer) : AnsiString();
}
AnsiString BuildITagEncoder(const TTagFields& F, int Source) {
  return FromDialog(Source) ? Utf8Piece("encoder=", F.Encoder) : AnsiString();
}
AnsiString BuildITagGroup(const TTagFields& F, int Source) {
  return FromDialog(Source) ? Utf8Piece("group=", F.Group) : AnsiString();
}
AnsiString BuildITagTool(const TTagFields& F, int Source) {
  return FromDialog(Source) ? Utf8Piece("tool=", F.Tool) : AnsiString();
}
AnsiString BuildITagComment(const TTagFields& F, int Source) {
  return FromDialog(Source) ? Utf8Piece("comment=", F.Comment) : AnsiString();
}
AnsiString BuildITagCompilation(const TTagFields& F, int Source) {
  return FromDialog(Source) ? AnsiString("compilation=yes") : AnsiString();
}
// Spelled so: the key MP4Box knows.
AnsiString BuildITagGapless(const TTagFields& F, int Source) {
  return FromDialog(Source) ? AnsiString("gapeless=yes") : AnsiString();
}

void TITagsArgument::Add(const AnsiString& Piece) {
  if (Piece.empty()) return;
  if (!FPieces.empty()) FPieces += ':';
  FPieces += Piece;
}

AnsiString TITagsArgument::Text() const { return FPieces.empty() ? AnsiString() : " -itags " + QuoteArgument(FPieces); }

AnsiString MuxITagsArgument(const TTagFields& F) {
  const int s = PropertiesDialogSource;
  TITagsArgument a;
  if (!F.Name.empty()) a.Add(BuildITagName(F, s));
  if (!F.Artist.empty()) a.Add(BuildITagArtist(F, s));
  if (!F.Year.empty()) a.Add(BuildITagCreated(F, s));
  if (!F.Writer.empty()) a.Add(BuildITagWriter(F, s));
  if (!F.TrackNum.empty()) a.Add(BuildITagTrackNum(F, s));
  if (!F.TrackTotal.empty()) a.Add(BuildITagTrack(F, s));
  if (!F.Album.empty()) a.Add(BuildITagAlbum(F, s));
  if (!F.DiskNum.empty()) a.Add(BuildITagDisk(F, s));
  if (!F.DiskTotal.empty()) a.Add(BuildITagDisk2(F, s));
  if (!F.Group.empty()) a.Add(BuildITagGroup(F, s));
  if (!F.Tempo.empty()) a.Add(BuildITagTempo(F, s));
  if (!F.Composer.empty()) a.Add(BuildITagComposer(F, s));
  if (!F.Genre.empty()) a.Add(BuildITagGenre(F, s));
  if (!F.Encoder.empty()) a.Add(BuildITagEncoder(F, s));
  if (!F.Tool.empty()) a.Add(BuildITagTool(F, s));
  if (!F.Comment.empty()) a.Add(BuildITagComment(F, s));
  if (!F.Cover.empty()) a.Add(BuildITagCover(F, s));
  if (F.Compilation) a.Add(BuildITagCompilation(F, s));
  if (F.Gapless) a.Add(BuildITagGapless(F, s));
  return a.Text();
}

AnsiString TagPageITagsArgument(const TTagFields& F, bool FromPropertiesDialog) {
  TITagsArgument a;
  if (!FromPropertiesDialog) {
    const int s = TagPageSource;
    if (!F.Name.empty()) a.Add(BuildITagName(F, s));
    if (!F.Artist.empty()) a.Add(BuildITagArtist(F, s));
    if (!F.Album.empty()) a.Add(BuildITagAlbum(F, s));
    if (!F.Year.empty()) a.Add(BuildITagCreated(F, s));
    if (!F.Genre.empty()) a.Add(BuildITagGenre(F, s));
    if (!F.Cover.empty()) a.Add(BuildITagCover(F, s));
    return a.Text();
  }
  const int s = PropertiesDialogSource;
  if (!F.Name.empty()) a.Add(BuildITagName(F, s));
  if (!F.Artist.empty()) a.Add(BuildITagArtist(F, s));
  if (!F.Album.empty()) a.Add(BuildITagAlbum(F, s));
  if (!F.Year.empty()) a.Add(BuildITagCreated(F, s));
  if (!F.Genre.empty()) a.Add(BuildITagGenre(F, s));
  if (!F.Writer.empty()) a.Add(BuildITagWriter(F, s));
  if (!F.TrackNum.empty()) a.Add(BuildITagTrackNum(F, s));
  if (!F.TrackTotal.empty()) a.Add(BuildITagTrack(F, s));
  if (!F.DiskNum.empty()) a.Add(BuildITagDisk(F, s));
  if (!F.DiskTotal.empty()) a.Add(BuildITagDisk2(F, s));
  if (!F.Tempo.empty()) a.Add(BuildITagTempo(F, s));
  if (!F.Group.empty()) a.Add(BuildITagGroup(F, s));
  if (!F.Encoder.empty()) a.Add(BuildITagEncoder(F, s));
  if (!F.Comment.empty()) a.Add(BuildITagComment(F, s));
  if (!F.Tool.empty()) a.Add(BuildITagTool(F, s));
  if (!F.Cover.empty()) a.Add(BuildITagCover(F, s));
  return a.Text();
}
