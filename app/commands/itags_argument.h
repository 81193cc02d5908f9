// MP4Box's "-itags" argument: one "key=value" piece per tag, joined by ":" into one
// quoted argument.
#pragma once

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

// One piece each, "key=value" as 8-bit text: values marked for UTF-8 as their UTF-8 bytes,
// the others in the ANSI code page. A tag the source does not have gives the empty piece.
AnsiString BuildITagName(const TTagFields& F, int Source);
AnsiString BuildITagArtist(const TTagFields& F, int Source);
AnsiString BuildITagAlbum(const TTagFields& F, int Source);
AnsiString BuildITagCreated(const TTagFields& F, int Source);
AnsiString BuildITagCover(const TTagFields& F, int Source);
AnsiString BuildITagGenre(const TTagFields& F, int Source);
AnsiString BuildITagWriter(const TTagFields& F, int Source);
AnsiString BuildITagDisk(const TTagFields& F, int Source);
AnsiString BuildITagDisk2(const TTagFields& F, int Source);
AnsiString BuildITagTrackNum(const TTagFields& F, int Source);
AnsiString BuildITagTrack(const TTagFields& F, int Source);
AnsiString BuildITagTempo(const TTagFields& F, int Source);
AnsiString BuildITagComposer(const TTagFields& F, int Source);
AnsiString BuildITagEncoder(const TTagFields& F, int Source);
AnsiString BuildITagGroup(const TTagFields& F, int Source);
AnsiString BuildITagTool(const TTagFields& F, int Source);
AnsiString BuildITagComment(const TTagFields& F, int Source);
AnsiString BuildITagCompilation(const TTagFields& F, int Source);
AnsiString BuildITagGapless(const TTagFields& F, int Source);

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
AnsiString MuxITagsArgument(const TTagFields& F);
// The tags of the tag page's run: from the properties dialog in tag mode, else from the
// tag page's own fields.
AnsiString TagPageITagsArgument(const TTagFields& F, bool FromPropertiesDialog);
