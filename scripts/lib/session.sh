# The Wine prefix, one persistent wineserver and an X display for a run of the programs
# (sourced). kavo_session_end stops only what kavo_session_begin started.

KAVO_OWN_WINESERVER=0
KAVO_XVFB_PID=""
KAVO_SESSION_LOG=""

# Creates the prefix when it does not exist yet: one wineboot, waited for, so that no two
# programs ever race to create it (nor two runs: the lock). The add-on prompts are off
# through WINEDLLOVERRIDES.
kavo_wine_prefix() {
  [[ -f $WINEPREFIX/system.reg ]] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 8
    [[ -f $WINEPREFIX/system.reg ]] && exit 0
    echo "wine: creating the prefix $WINEPREFIX" >&2
    t0=$SECONDS
    wine wineboot -i </dev/null >>"$KAVO_SESSION_LOG" 2>&1 ||
      { cat "$KAVO_SESSION_LOG" >&2; echo "wine: wineboot failed" >&2; exit 1; }
    # wineboot's helper processes and their server end a few seconds later.
    timeout 120 wineserver -w || true
    [[ -f $WINEPREFIX/system.reg ]] || { echo "wine: the prefix was not created" >&2; exit 1; }
    echo "wine: prefix ready in $((SECONDS - t0)) s" >&2
  ) 8>"$WINEPREFIX.lock"
}

# One persistent wineserver for the whole run saves a server start per program.
kavo_wineserver_start() {
  local rc=0
  wineserver -p </dev/null >>"$KAVO_SESSION_LOG" 2>&1 || rc=$?
  case $rc in
    0) KAVO_OWN_WINESERVER=1 ;;
    2) ;;  # this prefix has a server already (someone else's): use it, leave it running
    *) echo "wine: wineserver -p failed ($rc)" >&2; return 1 ;;
  esac
}

# Debian's Wine 8 does not load Wine's own fonts (fonts-wine: Tahoma, MS Sans Serif, Marlett,
# Wingdings, Symbol, ...) from its data folder, so every face falls back to Liberation Sans.
# Linked into the prefix's font folder, which Wine scans at every start, they are found.
kavo_wine_fonts() {
  local src=/usr/share/wine/fonts dst="$WINEPREFIX/drive_c/windows/Fonts" f
  [[ -d $src && -d $dst ]] || return 0
  for f in "$src"/*; do
    [[ -e $dst/${f##*/} ]] || ln -s "$f" "$dst/"
  done
}

# Japanese, Chinese and Greek text. No face that Wine shows by default has CJK glyphs, and
# Wine's Tahoma has no Greek ones either. Wine fills a face's missing glyphs from the faces
# listed under its full name in FontLink\SystemLink ("file,face" entries): Liberation Sans
# brings Greek, Droid Sans Fallback the CJK glyphs (both found through the host's fontconfig).
# Droid Sans Fallback has no Latin or Greek glyphs at all, so it is only ever linked behind a
# face, never substituted for one. Bold faces and the bitmap MS Sans Serif and System have keys
# of their own, named as Wine names the face it picks; faces the prefix lacks (Microsoft Sans
# Serif, Segoe UI, Arial) come out as Liberation Sans, hence its keys. "MS Shell Dlg" keys
# would be ignored: Wine resolves the substitute to Tahoma first.
KAVO_FONT_GREEK='LiberationSans-Regular.ttf,Liberation Sans'
KAVO_FONT_GREEK_BOLD='LiberationSans-Bold.ttf,Liberation Sans'
KAVO_FONT_CJK='DroidSansFallbackFull.ttf,Droid Sans Fallback'
declare -gA KAVO_FONT_LINKS=(
  ['Tahoma']="$KAVO_FONT_GREEK|$KAVO_FONT_CJK"
  ['Tahoma Bold']="$KAVO_FONT_GREEK_BOLD|$KAVO_FONT_CJK"
  ['MS Sans Serif Regular']="$KAVO_FONT_GREEK|$KAVO_FONT_CJK"
  ['System Regular']="$KAVO_FONT_GREEK|$KAVO_FONT_CJK"
  ['Liberation Sans']="$KAVO_FONT_CJK"
  ['Liberation Sans Bold']="$KAVO_FONT_CJK"
)
# Uniscribe (EDIT controls) takes no links: for a script that the font lacks it selects a
# fallback face, which Wine reads per script (value: the OpenType script tag in hex).
declare -gA KAVO_UNISCRIBE_FALLBACK=(
  ['696e6168']='Droid Sans Fallback'  # Han
  ['616e616b']='Droid Sans Fallback'  # Kana
)

# Reads the values of a registry key into the associative array named by $2 (REG_MULTI_SZ
# data keep reg's "\0" separators). The output goes through a file: the first program of a
# persistent server starts service processes that would hold a pipe open.
kavo_reg_values() {
  local key=$1 out="$KAVO_SESSION_DIR/reg-query.txt" line
  local -n values=$2
  values=()
  wine reg query "$key" </dev/null >"$out" 2>>"$KAVO_SESSION_LOG" || true
  local re='^    (.+)    REG_[A-Z_]+    (.*)$'
  while IFS= read -r line; do
    line=${line%$'\r'}
    if [[ $line =~ $re ]]; then values[${BASH_REMATCH[1]}]=${BASH_REMATCH[2]}; fi
  done <"$out"
}

kavo_reg_set() {
  wine reg add "$1" /v "$2" /t "$3" /d "$4" /f </dev/null >>"$KAVO_SESSION_LOG" 2>&1 ||
    { tail -n 20 "$KAVO_SESSION_LOG" >&2; echo "wine: could not write $1\\$2" >&2; return 1; }
}

# Appends the missing entries to Wine's own (Windows' CJK fonts, absent here), so that a real
# font put into the prefix still comes first; a prefix that has them all is left alone.
kavo_wine_font_links() {
  local key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
  local -A have=()
  kavo_reg_values "$key" have
  local face entry value entries
  for face in "${!KAVO_FONT_LINKS[@]}"; do
    value=${have[$face]:-}
    IFS='|' read -ra entries <<<"${KAVO_FONT_LINKS[$face]}"
    for entry in "${entries[@]}"; do
      [[ "\\0$value\\0" == *"\\0$entry\\0"* ]] || value=${value:+$value\\0}$entry
    done
    [[ $value == "${have[$face]:-}" ]] ||
      kavo_reg_set "$key" "$face" REG_MULTI_SZ "$value" || return 1
  done

  key='HKCU\Software\Wine\Uniscribe\Fallback'
  kavo_reg_values "$key" have
  local tag
  for tag in "${!KAVO_UNISCRIBE_FALLBACK[@]}"; do
    [[ ${have[$tag]:-} == "${KAVO_UNISCRIBE_FALLBACK[$tag]}" ]] ||
      kavo_reg_set "$key" "$tag" REG_SZ "${KAVO_UNISCRIBE_FALLBACK[$tag]}" || return 1
  done
}

# Settings of the prefix, applied on every run so that an older prefix gets them too. The
# first program also starts Wine's service processes for the persistent server: they keep
# the standard handles of the program that started them, which must therefore not be a test
# (CTest would wait for the end of its output pipe until the time-out).
kavo_wine_settings() {
  # With no window manager on the display, every managed top-level window costs a program
  # about 2 s of waiting for one (measured). Unmanaged windows get Wine's own frames and
  # cost nothing.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
    </dev/null >>"$KAVO_SESSION_LOG" 2>&1 ||
    { tail -n 20 "$KAVO_SESSION_LOG" >&2; echo "wine: could not write the registry" >&2; return 1; }
}

# Xvfb at 24-bit depth on the first free display; it writes the number once it accepts clients.
kavo_xvfb_start() {
  local numfile="$KAVO_SESSION_DIR/display"
  : >"$numfile"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$numfile" </dev/null \
    >>"$KAVO_SESSION_LOG" 2>&1 &
  KAVO_XVFB_PID=$!
  local i
  for ((i = 0; i < 300; i++)); do
    [[ -s $numfile ]] && break
    kill -0 "$KAVO_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  [[ -s $numfile ]] || { echo "xvfb: did not start" >&2; KAVO_XVFB_PID=""; return 1; }
  export DISPLAY=":$(tr -d '[:space:]' <"$numfile")"
  echo "xvfb: display $DISPLAY" >&2
  kavo_xvfb_resources
}

# A desktop's display carries a resource database; a bare Xvfb has none, and then Xlib reads
# its resource files from disk again on every lookup. Wine looks one up on every font
# selection, which made selecting a font cost several times a whole line of text (measured).
# The entry is one no program reads, so every setting keeps its default. The server runs
# with -noreset: a reset, when its last client leaves, would clear the database again.
kavo_xvfb_resources() {
  xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "kavo.session: 1" \
    </dev/null >>"$KAVO_SESSION_LOG" 2>&1 ||
    echo "xvfb: could not give the display a resource database (slower font selection)" >&2
}

kavo_session_begin() {
  KAVO_SESSION_DIR="$(mktemp -d "${TMPDIR:-/tmp}/kavo-session.XXXXXX")"
  KAVO_SESSION_LOG="$KAVO_SESSION_DIR/session.log"
  : >"$KAVO_SESSION_LOG"
  kavo_xvfb_start
  kavo_wine_prefix
  kavo_wine_fonts
  kavo_wineserver_start
  kavo_wine_settings
  kavo_wine_font_links
}

kavo_session_end() {
  if ((KAVO_OWN_WINESERVER)); then
    wineserver -k </dev/null >/dev/null 2>&1 || true
    KAVO_OWN_WINESERVER=0
  fi
  if [[ -n $KAVO_XVFB_PID ]]; then
    kill "$KAVO_XVFB_PID" 2>/dev/null || true
    wait "$KAVO_XVFB_PID" 2>/dev/null || true
    KAVO_XVFB_PID=""
  fi
  [[ -n ${KAVO_SESSION_DIR:-} ]] && rm -rf "$KAVO_SESSION_DIR"
  KAVO_SESSION_DIR=""
}
