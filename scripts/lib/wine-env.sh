# Shared by the scripts that run Windows programs under Wine.
#
# tavirel_wine_env: exports WINEPREFIX (build/wineprefix, made once and
# reused), the Chinese locale, and DISPLAY: the caller's own display when it
# has one and TAVIREL_VIRTUAL_DISPLAY is unset, else a virtual Xvfb display
# started once and left running. One persistent wineserver is started per
# prefix, detached from any captured output.

TAVIREL_ROOT=${TAVIREL_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
TAVIREL_BUILD=${TAVIREL_BUILD:-$TAVIREL_ROOT/build}

tavirel_virtual_display() {
  local n=${TAVIREL_DISPLAY_NUMBER:-77}
  if [ ! -e "/tmp/.X11-unix/X$n" ] || ! xdpyinfo -display ":$n" >/dev/null 2>&1; then
    rm -f "/tmp/.X$n-lock" "/tmp/.X11-unix/X$n"
    setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    timeout 10 sh -c "until xdpyinfo -display :$n >/dev/null 2>&1; do sleep 0.1; done" || true
  fi
  export DISPLAY=":$n"
}

tavirel_wine_env() {
  # The 64-bit loader, which hands 32-bit programs to the 32-bit one.
  export TAVIREL_WINE=${TAVIREL_WINE:-/usr/lib/wine/wine64}
  export WINELOADER=$TAVIREL_WINE
  export WINEPREFIX=${WINEPREFIX:-$TAVIREL_BUILD/wineprefix}
  export WINEARCH=${TAVIREL_WINEARCH:-win64}
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d"}
  export LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8
  if [ -n "${TAVIREL_VIRTUAL_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ]; then
    tavirel_virtual_display
  fi
  # One persistent server per prefix, with no pipe of ours held open. The
  # prefix's folder must exist for it, even before wineboot fills it.
  mkdir -p "$WINEPREFIX"
  setsid /usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1 || true
  if [ ! -f "$WINEPREFIX/.tavirel-ready" ]; then
    "$TAVIREL_WINE" wineboot -i </dev/null >/dev/null 2>&1 || true
    # Wine draws the title bar and border itself, as Windows does, instead
    # of leaving them to an X window manager (a virtual display has none).
    "$TAVIREL_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 || true
    "$TAVIREL_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f </dev/null >/dev/null 2>&1 || true
    touch "$WINEPREFIX/.tavirel-ready"
  fi
  # Wine draws the title bar's buttons with the symbol font that Debian's
  # fonts-wine ships, but finds it only among the prefix's own fonts.
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ ! -f "$fonts/marlett.ttf" ]; then
    mkdir -p "$fonts" && cp /usr/share/wine/fonts/marlett.ttf "$fonts/" || echo "wine-env: no marlett.ttf for the title bar (fonts-wine)" >&2
  fi
  tavirel_wine_desktop
}

# The desktop process that Wine starts with the first window keeps the
# standard error of whoever made that window, and lives as long as the
# server: started from a test, it would hold the test runner's pipe open.
# Start it here, detached, unless this prefix has one already.
tavirel_wine_desktop() {
  local pid
  for pid in $(pgrep -f 'explorer.exe /desktop' 2>/dev/null); do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
      return 0
    fi
  done
  setsid "$TAVIREL_WINE" explorer.exe /desktop </dev/null >/dev/null 2>&1 &
  disown 2>/dev/null || true
}
