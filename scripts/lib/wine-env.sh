# The Wine environment the end-to-end tests and the demo run in. Sourced by scripts/test and
# scripts/demo:
#
#   source scripts/lib/wine-env.sh
#   trap pmx_wine_env_stop EXIT
#   pmx_wine_env_start private   # always on an Xvfb display of our own
#   pmx_wine_env_start reuse     # on $DISPLAY when set, else on an Xvfb display of our own
#
# It uses a private WINEPREFIX under build/ (initialised once, then reused), and stops only
# what it started: its own Xvfb by pid and the wineserver of its own prefix.

PMX_ROOT=${PMX_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
PMX_WINE_STATE="$PMX_ROOT/build/wine-env"
PMX_XVFB_PID=
PMX_WINESERVER_STARTED=

export WINEPREFIX="$PMX_ROOT/build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# Starts Xvfb on a display number that is free (Xvfb picks it and reports it on a pipe), with
# an authority file of its own, and exports DISPLAY and XAUTHORITY for it.
pmx_start_xvfb() {
  mkdir -p "$PMX_WINE_STATE"
  local auth="$PMX_WINE_STATE/xauthority" numfile="$PMX_WINE_STATE/display" cookie
  cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
  rm -f "$auth" "$numfile"
  : >"$auth"
  # The server accepts every cookie in its file; the client entry for the real number follows.
  xauth -q -f "$auth" add :0 MIT-MAGIC-COOKIE-1 "$cookie"
  Xvfb -displayfd 3 -auth "$auth" -screen 0 1280x1024x24 -nolisten tcp \
    3>"$numfile" >"$PMX_WINE_STATE/xvfb.log" 2>&1 &
  PMX_XVFB_PID=$!

  local deadline=$((SECONDS + 20)) num=
  while ((SECONDS < deadline)); do
    num=$(head -n1 "$numfile" 2>/dev/null || true)
    [[ "$num" =~ ^[0-9]+$ ]] && break
    if ! kill -0 "$PMX_XVFB_PID" 2>/dev/null; then
      echo "wine-env: Xvfb did not start:" >&2
      cat "$PMX_WINE_STATE/xvfb.log" >&2
      PMX_XVFB_PID=
      return 1
    fi
    sleep 0.1
  done
  if [[ ! "$num" =~ ^[0-9]+$ ]]; then
    echo "wine-env: Xvfb reported no display number within 20 s" >&2
    return 1
  fi
  xauth -q -f "$auth" add ":$num" MIT-MAGIC-COOKIE-1 "$cookie"
  export DISPLAY=":$num" XAUTHORITY="$auth"
}

# Creates the prefix once: wineboot, then Wine's virtual desktop. Without a window manager on
# Xvfb, Wine otherwise waits on every window it hides, or loses the foreground window when the
# X focus moves to another process.
pmx_init_prefix() {
  local ready="$WINEPREFIX/.pmx-ready"
  [[ -f "$ready" ]] && return 0
  echo "wine-env: creating the Wine prefix (once) in ${WINEPREFIX#"$PMX_ROOT"/}"
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || { echo "wine-env: wineboot -i failed" >&2; return 1; }
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1 &&
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1024x768 /f \
      >/dev/null 2>&1 || { echo "wine-env: could not set the virtual desktop" >&2; return 1; }
  wineserver -w
  touch "$ready"
}

pmx_wine_env_start() {
  local mode=${1:-private}
  if [[ "$mode" == private || -z "${DISPLAY:-}" ]]; then
    pmx_start_xvfb || return 1
  fi
  pmx_init_prefix || return 1
  # One persistent server for the whole run, so every test does not start Wine afresh.
  wineserver -p || return 1
  PMX_WINESERVER_STARTED=1
  # Start Wine's background processes (services, the desktop) now, detached from our output:
  # started by the first test instead, they would inherit CTest's pipes and hold them open.
  wine cmd /c exit >/dev/null 2>&1 </dev/null || { echo "wine-env: wine does not run" >&2; return 1; }
}

pmx_wine_env_stop() {
  if [[ -n "$PMX_WINESERVER_STARTED" ]]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    PMX_WINESERVER_STARTED=
  fi
  if [[ -n "$PMX_XVFB_PID" ]]; then
    kill "$PMX_XVFB_PID" 2>/dev/null || true
    wait "$PMX_XVFB_PID" 2>/dev/null || true
    PMX_XVFB_PID=
  fi
}
