#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine: on the current X display, or, when
# there is none, on a virtual display, saving a screenshot to build/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."

[[ ${KIVO_SKIP_DEPS:-0} == 1 ]] || scripts/install-deps.sh
cmake --preset win >/dev/null
cmake --build --preset win

export WINEPREFIX=${WINEPREFIX:-$HOME/.local/share/kivo-launcher/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="winemenubuilder.exe=;mscoree=;mshtml="
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
mkdir -p "$(dirname "$WINEPREFIX")" "${XDG_DATA_HOME:-$HOME/.local/share}"
wine=/usr/lib/wine/wine64
exe=build/win/dist/KivoLauncher/KivoLauncher.exe

# A new prefix is made before anything else runs in it: two programs starting at once in a
# prefix that does not exist yet race to make it.
prepare_prefix() {
  if [[ ! -f $WINEPREFIX/system.reg ]]; then
    echo "Making the Wine prefix $WINEPREFIX"
    "$wine" wineboot -i >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w || true
  fi
}

if [[ -n ${DISPLAY:-} ]]; then
  prepare_prefix
  echo "Starting Kivo Launcher on $DISPLAY (prefix $WINEPREFIX)"
  exec "$wine" "$exe"
fi

echo "No X display: starting a virtual one"
exec 3< <(Xvfb -displayfd 1 -screen 0 1920x1080x24 -nolisten tcp 2>/dev/null)
xvfb_pid=$!
read -r number <&3
export DISPLAY=":$number"
cleanup() { /usr/lib/wine/wineserver -k 2>/dev/null || true; kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT
prepare_prefix
"$wine" "$exe" &
"$wine" build/win/tests/win/kivoctl.exe wait 60000 || { echo "Kivo Launcher did not start"; exit 1; }
sleep 3
/usr/bin/import -window root -display "$DISPLAY" build/screenshot.png
echo "Screenshot saved to build/screenshot.png"
"$wine" build/win/tests/win/kivoctl.exe close 30000 || true
