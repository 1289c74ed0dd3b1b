# Shared by the scripts: build/ (the shipped 32-bit program), build/win64/, build/native/ (sanitized) and
# build/native32/ (the engine as 32-bit x86 code).

TAVIREL_ROOT=${TAVIREL_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
TAVIREL_BUILD=${TAVIREL_BUILD:-$TAVIREL_ROOT/build}
# build/native's settings, unoptimised: the sanitizers see every access as written.
TAVIREL_NATIVE=(-DTAVIREL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0)

# tavirel_build DIR TOOLCHAIN(or "") [CMAKE-ARGS...] [-- TARGET...]
tavirel_build() {
  local dir=$1 toolchain=$2
  shift 2
  local args=(-S "$TAVIREL_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
    -DTAVIREL_WERROR=ON)
  local targets=()
  [ -n "$toolchain" ] && args+=(-DCMAKE_TOOLCHAIN_FILE="$TAVIREL_ROOT/cmake/$toolchain.cmake")
  while [ $# -gt 0 ] && [ "$1" != -- ]; do args+=("$1"); shift; done
  [ $# -gt 0 ] && shift
  for t in "$@"; do targets+=(--target "$t"); done
  mkdir -p "$dir"
  if [ ! -f "$dir/build.ninja" ] || [ "$(cat "$dir/configure.args" 2>/dev/null)" != "${args[*]}" ]; then
    cmake "${args[@]}" >"$dir/configure.log" 2>&1 || { cat "$dir/configure.log" >&2; return 1; }
    echo "${args[*]}" >"$dir/configure.args"
  fi
  cmake --build "$dir" "${targets[@]}" -- -j"$(nproc)" >"$dir/build.log" 2>&1 || {
    grep -E 'error|Error|FAILED' -A3 "$dir/build.log" | head -60 >&2
    return 1
  }
}

# True when this machine's kernel runs 32-bit x86 programs: a 93-byte i386 program that only exits.
tavirel_can_run_32bit() {
  local probe="$TAVIREL_BUILD/i386-probe"
  mkdir -p "$TAVIREL_BUILD"
  if [ ! -f "$probe" ]; then
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\x31\xdb\xb8\x01\x00\x00\x00\xcd\x80' >"$probe"
    chmod +x "$probe"
  fi
  "$probe" 2>/dev/null
}

# TAVIREL_WINDOWS: the build Wine runs here, the 32-bit one where the kernel runs it (or TAVIREL_WIN64=1).
tavirel_windows_build() {
  TAVIREL_WINDOWS=$TAVIREL_BUILD/win64
  if [ -z "${TAVIREL_WIN64:-}" ] && tavirel_can_run_32bit; then TAVIREL_WINDOWS=$TAVIREL_BUILD; fi
}
