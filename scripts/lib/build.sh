# Shared by the scripts: configuring and building the project's builds.
#
#   build/          the program as shipped: 32-bit Windows, build/Tavirel.exe
#   build/win64/    the same sources and the Windows tests for 64-bit Windows,
#                   where the kernel cannot execute 32-bit code
#   build/native/   the portable engine and its tests, with ASan and UBSan
#   build/native32/ the same as 32-bit x86 code with the program's flags

TAVIREL_ROOT=${TAVIREL_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
TAVIREL_BUILD=${TAVIREL_BUILD:-$TAVIREL_ROOT/build}
# build/native's settings, wherever it is made first. Unoptimised: the
# sanitizers see every access as written, and GoogleTest compiles faster.
TAVIREL_NATIVE=(-DTAVIREL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0)

# tavirel_build DIR TOOLCHAIN(or "") [CMAKE-ARGS...] [-- TARGET...]
tavirel_build() {
  local dir=$1 toolchain=$2
  shift 2
  # Warnings are errors in every build of the scripts, whose compilers are known.
  local args=(-S "$TAVIREL_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
    -DTAVIREL_WERROR=ON)
  local targets=()
  [ -n "$toolchain" ] && args+=(-DCMAKE_TOOLCHAIN_FILE="$TAVIREL_ROOT/cmake/$toolchain.cmake")
  while [ $# -gt 0 ] && [ "$1" != -- ]; do args+=("$1"); shift; done
  [ $# -gt 0 ] && shift
  for t in "$@"; do targets+=(--target "$t"); done
  mkdir -p "$dir"
  # Configured again when made with other settings.
  if [ ! -f "$dir/build.ninja" ] || [ "$(cat "$dir/configure.args" 2>/dev/null)" != "${args[*]}" ]; then
    cmake "${args[@]}" >"$dir/configure.log" 2>&1 || { cat "$dir/configure.log" >&2; return 1; }
    echo "${args[*]}" >"$dir/configure.args"
  fi
  cmake --build "$dir" "${targets[@]}" -- -j"$(nproc)" >"$dir/build.log" 2>&1 || {
    grep -E 'error|Error|FAILED' -A3 "$dir/build.log" | head -60 >&2
    return 1
  }
}

# True when this machine's kernel runs 32-bit x86 programs (some kernels are
# built with that switched off). Probed with a 93-byte i386 program that
# only exits.
tavirel_can_run_32bit() {
  local probe="$TAVIREL_BUILD/i386-probe"
  mkdir -p "$TAVIREL_BUILD"
  if [ ! -f "$probe" ]; then
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\x31\xdb\xb8\x01\x00\x00\x00\xcd\x80' >"$probe"
    chmod +x "$probe"
  fi
  "$probe" 2>/dev/null
}

# Sets TAVIREL_WINDOWS to the folder whose Tavirel.exe and Windows tests
# Wine runs here: the shipped 32-bit build where the kernel runs 32-bit code
# (Wine's 64-bit loader hands it to its 32-bit one), else the 64-bit build
# of the same sources. TAVIREL_WIN64=1 takes the 64-bit one anyway.
tavirel_windows_build() {
  TAVIREL_WINDOWS=$TAVIREL_BUILD/win64
  if [ -z "${TAVIREL_WIN64:-}" ] && tavirel_can_run_32bit; then TAVIREL_WINDOWS=$TAVIREL_BUILD; fi
}
