# Debian packages the build and the tests need (sourced by the scripts).

KAVO_PACKAGES=(
  g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev  # the cross compiler, zlib
  cmake ninja-build googletest                                     # the build, GoogleTest's sources
  dpkg-dev xz-utils                                                # apt-get source and its tarballs
  wine64 wine fonts-wine                                           # running the programs
  fonts-liberation fonts-droid-fallback                            # Greek and CJK glyphs for Wine's faces
  xvfb xauth imagemagick x11-utils                                 # a display, screenshots, xprop
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good              # media Wine's DirectShow renders
  libgstreamer1.0-0 libgstreamer-plugins-base1.0-0                 # (winegstreamer, 64-bit)
  ffmpeg                                                           # the program's test media
)

# Installs the packages that are missing, without questions. Reads the package lists first
# only when something is missing, so a ready machine is left alone.
kavo_ensure_packages() {
  local missing=() p
  for p in "${KAVO_PACKAGES[@]}"; do
    if [[ "$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null)" != installed ]]; then
      missing+=("$p")
    fi
  done
  ((${#missing[@]})) || return 0

  local sudo=()
  if [[ $EUID -ne 0 ]]; then
    if command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
      sudo=(sudo -n)
    else
      echo "packages: missing ${missing[*]}; install them as root (apt-get install ...)" >&2
      return 1
    fi
  fi
  echo "packages: installing ${missing[*]}" >&2
  local t0=$SECONDS
  local apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -q -y
             -o Dpkg::Options::=--force-confdef -o Dpkg::Options::=--force-confold)
  "${apt[@]}" update </dev/null >&2
  "${apt[@]}" install "${missing[@]}" </dev/null >&2
  echo "packages: installed in $((SECONDS - t0)) s" >&2
}
