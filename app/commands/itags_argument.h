// MP4Box's "-itags" argument: one "key=value" piece per tag, joined by ":" into one
// quoted argument.
#pragma once

#include "app/commands/mp4box_version.h"
#include "vcl/sysutils.h"

// The tag fields, from the properties dialog or from the tag page (which has only name,
// artist, album, year, genre and cover).
struct TTagFields {
  WideString Name, Artist, Album, Year, Writer;
  WideString TrackNum, TrackTotal, DiskNum, DiskTotal;
  WideString Group, Tempo, Composer, Genre, Encoder, Tool, Comment;
  WideString Cover;  // the picture file
  bool Compilation = false;
  bool Gapless = false;
};

// Where the fields come from: the properties dialog, or (any other value) the tag page.
constexpr int PropertiesDialogSource = 1;
constexpr int TagPageSource = 2;

// One piece each, "key=value" as 8-bit text. For the older MP4Box, values marked for UTF-8
// as their UTF-8 bytes and the others in the ANSI code page; for one that reads UTF-16
// arguments every value as UTF-8, in a line that goes to the tool as UTF-16
// (tool_command_line.h). A tag the source does not have gives the empty piece.
// The track and disk numbers carry their totals ("tracknum=3/12", "disk=1/2"); a total
// without its number adds nothing.
AnsiString BuildITagName(const TTagFields& F, int Source, const TMP4BoxVersion& V = TMP4BoxVersion());
AnsiString BuildITagArtist(const TTagFields& F, int Source, const TMP4BoxVersion& V = TMP4BoxVersion());
AnsiString BuildITagAlbum(const TTagFields& F, int Source, const TMP4BoxVersion& V = TMP4BoxVersion());
AnsiString BuildITagCreated(const TTagFields& F, int Source, const TMP4BoxVersion& V = TMP4BoxVersion());
AnsiString BuildITagCover(const TTagFields& F, int Source, const TMP4BoxVersion& V = TMP4BoxVersion());
AnsiString BuildITagGenre(const TTagFields& F, int Source, const TMP4BoxVersion& V = TMP4BoxVersion());
AnsiString BuildITagWriter(const TTagFields& F, int Source, const TMP4BoxVersion& V = TMP4BoxVersion());
AnsiString BuildITagDisk(const TTagFields& F, int Source, const TMP4BoxVersion& V = TMP4BoxVersion());
AnsiString BuildITagTrackNum(const TTagFields& F, int Source, const TMP4BoxVersion& V = TMP4BoxVersion());
AnsiString BuildITagTempo(const TTagFields& F, int Source, const TMP4BoxVersion& V = TMP4BoxVersion());
AnsiString BuildITagComposer(const TTagFields& F, int Source, const TMP4BoxVersion& V = TMP4BoxVersion());
AnsiString BuildITagEncoder(const TTagFields& F, int Source, const TMP4BoxVersion& V = TMP4BoxVersion());
AnsiString BuildITagGroup(const TTagFields& F, int Source, const TMP4BoxVersion& V = TMP4BoxVersion());
AnsiString BuildITagTool(const TTagFields& F, int Source, const TMP4BoxVersion& V = TMP4BoxVersion());
AnsiString BuildITagComment(const TTagFields& F, int Source, const TMP4BoxVersion& V = TMP4BoxVersion());
AnsiString BuildITagCompilation(const TTagFields& F, int Source, const TMP4BoxVersion& V = TMP4BoxVersion());
AnsiString BuildITagGapless(const TTagFields& F, int Source, const TMP4BoxVersion& V = TMP4BoxVersion());

// Collects the pieces of the present tags in the caller's order.
class TITagsArgument {
 public:
  // An empty piece is passed over.
  void Add(const AnsiString& Piece);
  bool Empty() const { return FPieces.empty(); }
  // " -itags " and the pieces as one quoted argument; empty when no tag is present.
  AnsiString Text() const;

 private:
  AnsiString FPieces;
};

// The tags of a mux job (properties dialog).
AnsiString MuxITagsArgument(const TTagFields& F, const TMP4BoxVersion& V = TMP4BoxVersion());
// The tags of a file of the tag page: every tag its row holds (what the page's edits and the
// properties dialog put there), the cover last.
AnsiString TagPageITagsArgument(const TTagFields& F, const TMP4BoxVersion& V = TMP4BoxVersion());
