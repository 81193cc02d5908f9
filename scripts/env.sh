# Shared settings of the project's scripts (sourced, not run).
KAVO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export KAVO_ROOT
export KAVO_CACHE="${KAVO_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kavo}"
export KAVO_BUILD="${KAVO_BUILD:-$KAVO_ROOT/build}"
export WINEPREFIX="${WINEPREFIX:-$KAVO_CACHE/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# No prompts for Wine's .NET and HTML add-ons.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# The ANSI code page follows the Unix locale: pin it so that tests see 1252.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
