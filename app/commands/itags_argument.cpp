#include "app/commands/itags_argument.h"

#include "app/commands/command_line_quote.h"
#include "app/common/utf8.h"

namespace {

bool FromDialog(int Source) { return Source == PropertiesDialogSource; }

// Texts the older tool reads as UTF-8 bytes; for the newer one every value is written so.
AnsiString Utf8Piece(const char* Key, const WideString& Value) { return Key + WideToUtf8(Value); }
AnsiString AnsiPiece(const char* Key, const WideString& Value, const TMP4BoxVersion& V) {
  return Key + (TakesUnicodeArguments(V) ? WideToUtf8(Value) : WideToAnsi(Value));
}
// "key=N/T", "key=N", or nothing when only the total is given (MP4Box refuses "disk=/12",
// and a total given apart is lost).
AnsiString NumberOfTotal(const char* Key, const WideString& Number, const WideString& Total, const TMP4BoxVersion& V) {
  if (Number.empty()) return AnsiString();
  return AnsiPiece(Key, Total.empty() ? Number : Number + L"/" + Total, V);
}

}  // namespace

AnsiString BuildITagName(const TTagFields& F, int, const TMP4BoxVersion&) { return Utf8Piece("name=", F.Name); }
AnsiString BuildITagArtist(const TTagFields& F, int, const TMP4BoxVersion&) { return Utf8Piece("artist=", F.Artist); }
AnsiString BuildITagAlbum(const TTagFields& F, int, const TMP4BoxVersion&) { return Utf8Piece("album=", F.Album); }
AnsiString BuildITagCreated(const TTagFields& F, int, const TMP4BoxVersion& V) { return AnsiPiece("created=", F.Year, V); }
AnsiString BuildITagCover(const TTagFields& F, int, const TMP4BoxVersion& V) { return AnsiPiece("cover=", F.Cover, V); }
AnsiString BuildITagGenre(const TTagFields& F, int, const TMP4BoxVersion& V) { return AnsiPiece("genre=", F.Genre, V); }

AnsiString BuildITagWriter(const TTagFields& F, int Source, const TMP4BoxVersion&) {
  return FromDialog(Source) ? Utf8Piece("writer=", F.Writer) : AnsiString();
}
AnsiString BuildITagDisk(const TTagFields& F, int Source, const TMP4BoxVersion& V) {
  return FromDialog(Source) ? NumberOfTotal("disk=", F.DiskNum, F.DiskTotal, V) : AnsiString();
}
AnsiString BuildITagTrackNum(const TTagFields& F, int Source, const TMP4BoxVersion& V) {
  return FromDialog(Source) ? NumberOfTotal("tracknum=", F.TrackNum, F.TrackTotal, V) : AnsiString();
}
AnsiString BuildITagTempo(const TTagFields& F, int Source, const TMP4BoxVersion& V) {
  return FromDialog(Source) ? AnsiPiece("tempo=", F.Tempo, V) : AnsiString();
}
AnsiString BuildITagComposer(const TTagFields& F, int Source, const TMP4BoxVersion&) {
  return FromDialog(Source) ? Utf8Piece("composer=", F.Composer) : AnsiString();
}
AnsiString BuildITagEncoder(const TTagFields& F, int Source, const TMP4BoxVersion&) {
  return FromDialog(Source) ? Utf8Piece("encoder=", F.Encoder) : AnsiString();
}
AnsiString BuildITagGroup(const TTagFields& F, int Source, const TMP4BoxVersion&) {
  return FromDialog(Source) ? Utf8Piece("group=", F.Group) : AnsiString();
}
AnsiString BuildITagTool(const TTagFields& F, int Source, const TMP4BoxVersion&) {
  return FromDialog(Source) ? Utf8Piece("tool=", F.Tool) : AnsiString();
}
AnsiString BuildITagComment(const TTagFields& F, int Source, const TMP4BoxVersion&) {
  return FromDialog(Source) ? Utf8Piece("comment=", F.Comment) : AnsiString();
}
AnsiString BuildITagCompilation(const TTagFields& F, int Source, const TMP4BoxVersion&) {
  return FromDialog(Source) ? AnsiString("compilation=yes") : AnsiString();
}
// The older tool knows the flag as "gapeless"; today's only as "gapless" (the other spelling
// is an unknown key that even clears a compilation flag given before it).
AnsiString BuildITagGapless(const TTagFields& F, int Source, const TMP4BoxVersion& V) {
  if (!FromDialog(Source)) return AnsiString();
  return IsCurrentGeneration(V) ? AnsiString("gapless=yes") : AnsiString("gapeless=yes");
}

void TITagsArgument::Add(const AnsiString& Piece) {
  if (Piece.empty()) return;
  if (!FPieces.empty()) FPieces += ':';
  FPieces += Piece;
}

AnsiString TITagsArgument::Text() const { return FPieces.empty() ? AnsiString() : " -itags " + QuoteArgument(FPieces); }

AnsiString MuxITagsArgument(const TTagFields& F, const TMP4BoxVersion& V) {
  const int s = PropertiesDialogSource;
  TITagsArgument a;
  if (!F.Name.empty()) a.Add(BuildITagName(F, s, V));
  if (!F.Artist.empty()) a.Add(BuildITagArtist(F, s, V));
  if (!F.Year.empty()) a.Add(BuildITagCreated(F, s, V));
  if (!F.Writer.empty()) a.Add(BuildITagWriter(F, s, V));
  if (!F.TrackNum.empty()) a.Add(BuildITagTrackNum(F, s, V));
  if (!F.Album.empty()) a.Add(BuildITagAlbum(F, s, V));
  if (!F.DiskNum.empty()) a.Add(BuildITagDisk(F, s, V));
  if (!F.Group.empty()) a.Add(BuildITagGroup(F, s, V));
  if (!F.Tempo.empty()) a.Add(BuildITagTempo(F, s, V));
  if (!F.Composer.empty()) a.Add(BuildITagComposer(F, s, V));
  if (!F.Genre.empty()) a.Add(BuildITagGenre(F, s, V));
  if (!F.Encoder.empty()) a.Add(BuildITagEncoder(F, s, V));
  if (!F.Tool.empty()) a.Add(BuildITagTool(F, s, V));
  if (!F.Comment.empty()) a.Add(BuildITagComment(F, s, V));
  if (!F.Cover.empty()) a.Add(BuildITagCover(F, s, V));
  if (F.Compilation) a.Add(BuildITagCompilation(F, s, V));
  if (F.Gapless) a.Add(BuildITagGapless(F, s, V));
  return a.Text();
}

AnsiString TagPageITagsArgument(const TTagFields& F, const TMP4BoxVersion& V) {
  const int s = PropertiesDialogSource;
  TITagsArgument a;
  if (!F.Name.empty()) a.Add(BuildITagName(F, s, V));
  if (!F.Artist.empty()) a.Add(BuildITagArtist(F, s, V));
  if (!F.Album.empty()) a.Add(BuildITagAlbum(F, s, V));
  if (!F.Year.empty()) a.Add(BuildITagCreated(F, s, V));
  if (!F.Genre.empty()) a.Add(BuildITagGenre(F, s, V));
  if (!F.Writer.empty()) a.Add(BuildITagWriter(F, s, V));
  if (!F.TrackNum.empty()) a.Add(BuildITagTrackNum(F, s, V));
  if (!F.DiskNum.empty()) a.Add(BuildITagDisk(F, s, V));
  if (!F.Tempo.empty()) a.Add(BuildITagTempo(F, s, V));
  if (!F.Group.empty()) a.Add(BuildITagGroup(F, s, V));
  if (!F.Encoder.empty()) a.Add(BuildITagEncoder(F, s, V));
  if (!F.Comment.empty()) a.Add(BuildITagComment(F, s, V));
  if (!F.Tool.empty()) a.Add(BuildITagTool(F, s, V));
  if (!F.Composer.empty()) a.Add(BuildITagComposer(F, s, V));
  if (F.Compilation) a.Add(BuildITagCompilation(F, s, V));
  if (F.Gapless) a.Add(BuildITagGapless(F, s, V));
  // Last: the picture's path holds the drive's colon.
  if (!F.Cover.empty()) a.Add(BuildITagCover(F, s, V));
  return a.Text();
}
