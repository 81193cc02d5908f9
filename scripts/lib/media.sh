# Small media files for the program's tests, made once with ffmpeg into the cache and reused
# (sourced). KAVO_TEST_MEDIA then names the folder as the tests see it under Wine.

# Change the number when the recipe below changes: a new folder is made next to the old one.
KAVO_MEDIA_VERSION=27

kavo_make_test_media() {
  local dir=$1 v=(-f lavfi -i "testsrc=size=160x120:rate=25:duration=1")
  local a=(-f lavfi -i "sine=frequency=440:sample_rate=44100:duration=1")
  local q=(-hide_banner -loglevel error -y)
  local x264=(-c:v libx264 -preset ultrafast -pix_fmt yuv420p)
  ffmpeg "${q[@]}" "${v[@]}" "${a[@]}" "${x264[@]}" -c:a aac -b:a 64k \
    -metadata:s:v:0 title='Vidéo' -metadata:s:a:0 language=fre "$dir/clip.mp4"
  ffmpeg "${q[@]}" "${v[@]}" "${a[@]}" "${x264[@]}" -c:a aac -b:a 64k "$dir/clip.avi"
  ffmpeg "${q[@]}" "${v[@]}" "${x264[@]}" -f h264 "$dir/clip.h264"
  ffmpeg "${q[@]}" "${a[@]}" -c:a aac -b:a 64k -f adts "$dir/tone.aac"
  ffmpeg "${q[@]}" "${a[@]}" -c:a libmp3lame -b:a 64k "$dir/tone.mp3"
  ffmpeg "${q[@]}" "${v[@]}" "${a[@]}" "${x264[@]}" -c:a ac3 -b:a 96k -f mpegts "$dir/clip.ts"
  ffmpeg "${q[@]}" "${v[@]}" "${a[@]}" "${x264[@]}" -c:a ac3 -b:a 96k "$dir/ac3.mp4"
  cat >"$dir/chapters.ffmeta" <<'META'
;FFMETADATA1
[CHAPTER]
TIMEBASE=1/1000
START=0
END=500
title=Opening
[CHAPTER]
TIMEBASE=1/1000
START=500
END=1000
title=Closing
META
  ffmpeg "${q[@]}" "${v[@]}" -i "$dir/chapters.ffmeta" -map 0 -map_chapters 1 "${x264[@]}" \
    "$dir/chapters.mp4"
  # Files to split at their chapters: 3 chapters over 3 s (accents, a title holding "- "),
  # and 12 chapters of half a second over 6 s.
  local v3=(-f lavfi -i "testsrc=size=160x120:rate=25:duration=3")
  local v6=(-f lavfi -i "testsrc=size=160x120:rate=25:duration=6")
  {
    echo ';FFMETADATA1'
    printf '[CHAPTER]\nTIMEBASE=1/1000\nSTART=0\nEND=1000\ntitle=Générique\n'
    printf '[CHAPTER]\nTIMEBASE=1/1000\nSTART=1000\nEND=2500\ntitle=Part - two\n'
    printf '[CHAPTER]\nTIMEBASE=1/1000\nSTART=2500\nEND=3000\ntitle=Fin à Noël\n'
  } >"$dir/chapters3.ffmeta"
  {
    echo ';FFMETADATA1'
    for i in $(seq 0 11); do
      printf '[CHAPTER]\nTIMEBASE=1/1000\nSTART=%d\nEND=%d\ntitle=Chapter %d\n' $((i * 500)) $((i * 500 + 500)) $((i + 1))
    done
  } >"$dir/chapters12.ffmeta"
  ffmpeg "${q[@]}" "${v3[@]}" -i "$dir/chapters3.ffmeta" -map 0 -map_chapters 1 "${x264[@]}" "$dir/chapters3.mp4"
  ffmpeg "${q[@]}" "${v6[@]}" -i "$dir/chapters12.ffmeta" -map 0 -map_chapters 1 "${x264[@]}" "$dir/chapters12.mp4"
  rm "$dir/chapters3.ffmeta" "$dir/chapters12.ffmeta"
  printf '1\r\n00:00:00,000 --> 00:00:00,800\r\nHello\r\n\r\n' >"$dir/subs.srt"
  # A folder of tagged files for the tag page: two M4A files and an MP4 file, one title
  # outside the ANSI code page.
  mkdir -p "$dir/tags"
  local t=(-metadata creation_time=2009-06-01T10:00:00Z)
  ffmpeg "${q[@]}" "${a[@]}" -c:a aac -b:a 64k "${t[@]}" -metadata title='Ωmega Song' \
    -metadata artist='Zoë Keys' -metadata album='Été' -metadata date=2009 -metadata genre=Jazz \
    "$dir/tags/song.m4a"
  ffmpeg "${q[@]}" "${a[@]}" -c:a aac -b:a 64k "${t[@]}" -metadata title='Second Tone' \
    -metadata artist='Ann' -metadata album='Tones' -metadata date=2010 -metadata genre=Rock \
    "$dir/tags/tone.m4a"
  ffmpeg "${q[@]}" "${v[@]}" "${a[@]}" "${x264[@]}" -c:a aac -b:a 64k "${t[@]}" -metadata title='Clip' \
    -metadata artist='Bob' -metadata album='Films' -metadata date=2011 -metadata genre=Drama \
    "$dir/tags/clip.mp4"
  # A song carrying a dozen tags and a cover, for the tests that read every tag back.
  ffmpeg "${q[@]}" -f lavfi -i color=red:s=40x30 -frames:v 1 "$dir/cover.jpg"
  ffmpeg "${q[@]}" "${a[@]}" -i "$dir/cover.jpg" -map 0 -map 1 -c:a aac -b:a 64k -c:v copy \
    -disposition:v:0 attached_pic -metadata title='Ωmega Song' -metadata artist='Zoë Keys' \
    -metadata album_artist='Band' -metadata album='Été' -metadata date=2009 -metadata genre=Jazz \
    -metadata composer='Comp' -metadata comment='A comment' -metadata track=3/12 -metadata disc=1/2 \
    -metadata grouping='Grp' -metadata description='Desc' -metadata copyright='(c) K' \
    -metadata lyrics='La la' -metadata compilation=1 "$dir/dozen.m4a"
  # Every kind of stream the extract page lists: video, audio, text and chapters in one MP4;
  # a MOV with a text stream (which the page does not list).
  ffmpeg "${q[@]}" "${v[@]}" "${a[@]}" -i "$dir/subs.srt" -i "$dir/chapters.ffmeta" -map 0 -map 1 -map 2 \
    -map_chapters 3 "${x264[@]}" -c:a aac -b:a 64k -c:s mov_text "$dir/full.mp4"
  rm "$dir/chapters.ffmeta"
  ffmpeg "${q[@]}" "${v[@]}" -i "$dir/subs.srt" -map 0 -map 1 "${x264[@]}" -c:s mov_text "$dir/subs.mov"
  # An AVI of H.264 and two MP3 streams.
  ffmpeg "${q[@]}" "${v[@]}" "${a[@]}" -f lavfi -i "sine=frequency=880:sample_rate=44100:duration=1" \
    -map 0 -map 1 -map 2 "${x264[@]}" -bf 0 -c:a libmp3lame -b:a 64k "$dir/clip2a.avi"
  # Damaged films: one cut before its index (which ffmpeg writes last), one with its index
  # first cut in the middle of its media data.
  kavo_cut_before_moov "$dir/clip.mp4" >"$dir/trunc_nomoov.mp4" || return 1
  ffmpeg "${q[@]}" -i "$dir/full.mp4" -map 0:v -map 0:a -c copy -movflags +faststart "$dir/faststart.mp4"
  head -c $(($(stat -c %s "$dir/faststart.mp4") / 2)) "$dir/faststart.mp4" >"$dir/trunc_mdat.mp4"
  rm "$dir/faststart.mp4"
}

# Writes the top-level boxes of an ISO file that come before its "moov" box.
kavo_cut_before_moov() {
  local file=$1 at=0 size box
  size=$(stat -c %s "$file")
  while ((at + 8 <= size)); do
    box=$(od -An -tx1 -j "$at" -N 8 "$file" | tr -d ' \n')
    if [[ ${box:8:8} == 6d6f6f76 ]]; then
      head -c "$at" "$file"
      return 0
    fi
    ((16#${box:0:8} >= 8)) || return 1
    at=$((at + 16#${box:0:8}))
  done
  return 1
}

# Makes a cache folder once, whoever asks first (the lock), through a maker that fills the
# folder it is given; a folder whose making was cut off is made anew. $1: the folder,
# $2: the maker, $3: what it holds (for the messages).
kavo_cached_folder() {
  local dir=$1 maker=$2 what=$3
  [[ -f $dir/.complete ]] && return 0
  mkdir -p "$KAVO_CACHE"
  (
    flock 8
    [[ -f $dir/.complete ]] && exit 0
    echo "media: making $what in $dir" >&2
    rm -rf "$dir.part" && mkdir -p "$dir.part"
    "$maker" "$dir.part" || { echo "media: making $what failed" >&2; exit 1; }
    touch "$dir.part/.complete"
    rm -rf "$dir" && mv "$dir.part" "$dir"
  ) 8>"$dir.lock"
}

kavo_test_media() {
  local dir="$KAVO_CACHE/test-media-$KAVO_MEDIA_VERSION"
  kavo_cached_folder "$dir" kavo_make_test_media "the test media" || return 1
  # Wine's drive Z: is the root of the Unix file system.
  export KAVO_TEST_MEDIA="Z:${dir//\//\\}"
}

# Folders of many tagged M4A files for the tag page's benchmark: 1000/ and 5000/, made once
# into the cache. One file is encoded; every other is a copy of it whose title carries its
# own number (the digits have the same length, so the file's layout is unchanged).
KAVO_TAG_FOLDERS_VERSION=1

kavo_make_tag_folders() {
  local dir=$1 q=(-hide_banner -loglevel error -y)
  ffmpeg "${q[@]}" -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=1" -c:a aac -b:a 64k \
    -metadata title='Song 00000' -metadata artist='Zoë Keys' -metadata album='Été' -metadata date=2009 \
    -metadata genre=Jazz "$dir/song.m4a" || return 1
  perl -e '
    my ($dir) = @ARGV;
    open(my $in, "<:raw", "$dir/song.m4a") or die "song.m4a: $!";
    local $/; my $bytes = <$in>; close $in;
    my $at = index($bytes, "Song 00000");
    die "the title is not in the file\n" if $at < 0 || index($bytes, "Song 00000", $at + 1) >= 0;
    for my $count (1000, 5000) {
      mkdir "$dir/$count" or die "$dir/$count: $!";
      for my $i (1 .. $count) {
        my $copy = $bytes;
        substr($copy, $at, 10) = sprintf("Song %05d", $i);
        open(my $out, ">:raw", sprintf("%s/%d/song %05d.m4a", $dir, $count, $i)) or die "$!";
        print $out $copy; close $out or die "$!";
      }
    }' "$dir" || return 1
  rm "$dir/song.m4a"
}

kavo_tag_folders() {
  local dir="$KAVO_CACHE/tag-folders-$KAVO_TAG_FOLDERS_VERSION"
  kavo_cached_folder "$dir" kavo_make_tag_folders "the tag page's folders" || return 1
  export KAVO_TAG_FOLDERS="Z:${dir//\//\\}"
}
