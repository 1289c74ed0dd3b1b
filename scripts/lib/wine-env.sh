# tavirel_wine_env: WINEPREFIX (build/wineprefix), the Chinese locale, and the caller's DISPLAY, or (no display, or
# TAVIREL_VIRTUAL_DISPLAY set) an Xvfb left running. One persistent wineserver a prefix, detached from our output.

source "$(dirname "${BASH_SOURCE[0]}")/build.sh"

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
  # The prefix's folder must exist for the server, even before wineboot fills it.
  mkdir -p "$WINEPREFIX"
  setsid /usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1 || true
  if [ ! -f "$WINEPREFIX/.tavirel-ready" ]; then
    "$TAVIREL_WINE" wineboot -i </dev/null >/dev/null 2>&1 || true
    # Wine draws the frame itself, as Windows does: a virtual display has no window manager.
    "$TAVIREL_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 || true
    "$TAVIREL_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f </dev/null >/dev/null 2>&1 || true
    touch "$WINEPREFIX/.tavirel-ready"
  fi
  # The title bar's symbol font, which Wine finds only among the prefix's fonts.
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ ! -f "$fonts/marlett.ttf" ]; then
    mkdir -p "$fonts" && cp /usr/share/wine/fonts/marlett.ttf "$fonts/" || echo "wine-env: no marlett.ttf for the title bar (fonts-wine)" >&2
  fi
  tavirel_wine_desktop
}

# Wine's desktop process keeps the standard error of whoever made the first window, as long as the server lives:
# started here, detached, it holds no test runner's pipe open.
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
