# Configures and builds the project with the dependencies of scripts/deps (sourced).
# KAVO_UNITY=OFF compiles every file on its own (quicker rebuilds after editing one file; the
# whole build takes about half as long again).

kavo_build() {
  local deps atomicparsley
  deps="$("$KAVO_ROOT/scripts/deps")"
  atomicparsley="$("$KAVO_ROOT/scripts/deps" --atomicparsley)"
  cmake -S "$KAVO_ROOT" -B "$KAVO_BUILD" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$KAVO_ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DKAVO_DEPS_DIR="$deps" -DKAVO_ATOMICPARSLEY_DIR="$atomicparsley" -DKAVO_UNITY="${KAVO_UNITY:-ON}" </dev/null
  local t0=$SECONDS
  ninja -C "$KAVO_BUILD" -j "$KAVO_JOBS" </dev/null
  echo "build: $((SECONDS - t0)) s" >&2
}
