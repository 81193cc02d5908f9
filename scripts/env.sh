# Shared settings of the project's scripts (sourced, not run).
KAVO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export KAVO_ROOT
export KAVO_CACHE="${KAVO_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kavo}"
export KAVO_BUILD="${KAVO_BUILD:-$KAVO_ROOT/build}"
# Parallel compile jobs of the build and of scripts/deps.
export KAVO_JOBS="${KAVO_JOBS:-$(nproc)}"
export WINEPREFIX="${WINEPREFIX:-$KAVO_CACHE/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# No prompts for Wine's .NET and HTML add-ons.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# Wine takes the ANSI code page and the user locale from the Unix locale: C.UTF-8 gives
# code page 1252 and locale 0409, which the tests expect, whatever the machine is set to.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
unset LANGUAGE
