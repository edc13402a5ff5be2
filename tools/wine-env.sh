# Sourced by the scripts that run Windows programs here: prepares one wine64 prefix and its display.
#   zavix_wine_prefix DIR   create DIR once, make sure it has a display and a lingering wineserver,
#                           and export WINEPREFIX, DISPLAY and WINEDEBUG for the caller
#   zavix_wine_stop DIR     stop the prefix's wineserver and the Xvfb it started (end of a test run)
# Background processes get /dev/null for their output, so none of them holds a caller's pipe open.

WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

_zavix_xvfb_alive() {
  [ -f "$1.xvfb" ] && kill -0 "$(cut -d' ' -f1 "$1.xvfb")" 2>/dev/null
}

zavix_wine_prefix() {
  export WINEPREFIX="$(realpath -m "$1")"
  export WINEDEBUG="${WINEDEBUG:--all}"
  # no Mono or Gecko installer dialogs when the prefix is made; no menu entries made on the Linux side
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
  mkdir -p "$(dirname "$WINEPREFIX")"
  exec 9>"$WINEPREFIX.lock"
  flock 9

  if [ -z "${DISPLAY:-}" ]; then
    if ! _zavix_xvfb_alive "$WINEPREFIX"; then
      # the old server's windows belong to a display that is gone: start everything afresh
      "$WINESERVER" -k >/dev/null 2>&1 || true
      local fifo
      fifo="$(mktemp -u)"
      mkfifo "$fifo"
      setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" </dev/null >/dev/null 2>&1 &
      local pid=$!
      local num
      read -r num <"$fifo"
      rm -f "$fifo"
      echo "$pid :$num" >"$WINEPREFIX.xvfb"
    fi
    DISPLAY="$(cut -d' ' -f2 "$WINEPREFIX.xvfb")"
    export DISPLAY
  fi

  if [ ! -f "$WINEPREFIX/.zavix-ready" ]; then
    rm -rf "$WINEPREFIX"
    "$WINESERVER" -p300 </dev/null >/dev/null 2>&1 || true
    "$WINE64" wineboot -i </dev/null >/dev/null 2>&1
    # The profile's Desktop, Documents and the like link to the Linux home: make them real folders,
    # so shortcuts and files made by the programs under test stay inside the prefix.
    local link
    for link in "$WINEPREFIX"/drive_c/users/*/*; do
      if [ -L "$link" ]; then
        rm "$link" && mkdir "$link"
      fi
    done
    "$WINE64" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v '微软雅黑' /t REG_SZ \
      /d 'WenQuanYi Micro Hei' /f </dev/null >/dev/null 2>&1
    touch "$WINEPREFIX/.zavix-ready"
  fi
  # Lingers five minutes after its last client: fast starts during a run, nothing left long after it.
  # A fresh server gets its background programs (services, explorer) started here, with no output
  # handles: started by a test they would inherit its output pipe and keep ctest waiting on it.
  if "$WINESERVER" -p300 </dev/null >/dev/null 2>&1; then
    "$WINE64" wineboot </dev/null >/dev/null 2>&1 || true
  fi

  flock -u 9
  exec 9>&-
}

zavix_wine_stop() {
  local prefix
  prefix="$(realpath -m "$1")"
  [ -d "$prefix" ] && WINEPREFIX="$prefix" "$WINESERVER" -k >/dev/null 2>&1 || true
  if _zavix_xvfb_alive "$prefix"; then
    kill "$(cut -d' ' -f1 "$prefix.xvfb")" 2>/dev/null || true
  fi
  rm -f "$prefix.xvfb"
}
