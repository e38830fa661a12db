# Helpers for running the Windows build under Wine, headless or on the user's display.
# Source it:  . scripts/wine-env.sh ; zw_env ; zw_prefix run ; zw_display
# Every prefix lives under build/wine/, private to this checkout; ~/.wine is never touched.

ZW_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ZW_WINE_DIR=${ZW_WINE_DIR:-$ZW_ROOT/build/wine}
ZW_TEMPLATE=$ZW_WINE_DIR/template

zw_env() {
    export WINEDEBUG=${WINEDEBUG:--all}
    export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8   # gives the programs ANSI code page 932
    export WINEDLLOVERRIDES="mscoree,mshtml="    # never offer the Mono or Gecko installers
    export WINEARCH=win64
}

# The registry settings every prefix gets: the dialog font maps to an installed Japanese
# proportional font, and windows hide at once without a window manager.
_zw_configure() {
    local reg; reg=$(mktemp --suffix=.reg)
    printf '%s\r\n' 'REGEDIT4' '' \
        '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
        '"ＭＳ Ｐゴシック"="IPAPGothic"' \
        '"ＭＳ ゴシック"="IPAGothic"' \
        '"MS PGothic"="IPAPGothic"' \
        '"MS Gothic"="IPAGothic"' \
        '"MS UI Gothic"="IPAPGothic"' \
        '"MS Shell Dlg"="IPAPGothic"' \
        '"MS Shell Dlg 2"="IPAPGothic"' \
        '' \
        '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' \
        '"Managed"="N"' \
        '"Decorated"="N"' '' | iconv -f utf-8 -t cp932 > "$reg"
    wine regedit "$(winepath -w "$reg")" >/dev/null 2>&1
    rm -f "$reg"
}

# The template prefix is made once (about 20 s) and kept until Wine changes.
zw_template() {
    local ver; ver="$(wine --version 2>/dev/null) zurimo-3"
    if [ -f "$ZW_TEMPLATE/.zw-version" ] && [ "$(cat "$ZW_TEMPLATE/.zw-version")" = "$ver" ]; then
        return 0
    fi
    echo "wine: creating the template prefix (once, about 20 s)"
    rm -rf "$ZW_TEMPLATE"; mkdir -p "$ZW_WINE_DIR"
    ( unset DISPLAY; export WINEPREFIX="$ZW_TEMPLATE"
      wineboot -i >/dev/null 2>&1; _zw_configure; wineserver -w )
    # Wine-drawn caption buttons need Marlett in the prefix.
    cp /usr/share/wine/fonts/marlett.ttf "$ZW_TEMPLATE/drive_c/windows/Fonts/" 2>/dev/null || true
    echo "$ver" > "$ZW_TEMPLATE/.zw-version"
}

# zw_prefix NAME [fresh]: build/wine/NAME, copied from the template when missing
# (or always with "fresh"); exports WINEPREFIX.
zw_prefix() {
    local p=$ZW_WINE_DIR/$1
    zw_template
    if [ "${2:-}" = fresh ] || [ ! -f "$p/.zw-version" ] ||
       [ "$(cat "$p/.zw-version")" != "$(cat "$ZW_TEMPLATE/.zw-version")" ]; then
        WINEPREFIX="$p" wineserver -k 2>/dev/null || true
        rm -rf "$p"; cp -a "$ZW_TEMPLATE" "$p"
    fi
    export WINEPREFIX="$p"
}

# A virtual X display (Xvfb) with openbox, unless ZW_USE_DISPLAY=1 keeps the current one.
zw_display() {
    if [ "${ZW_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then return 0; fi
    local fifo; fifo=$(mktemp -u /tmp/zw-xvfb.XXXXXX); mkfifo "$fifo"
    Xvfb -displayfd 7 -screen 0 1280x1024x24 -nolisten tcp 7>"$fifo" >/dev/null 2>&1 &
    ZW_XVFB_PID=$!
    local n=; read -r -t 15 n < "$fifo" || true; rm -f "$fifo"
    [ -n "$n" ] || { echo "wine: Xvfb did not start" >&2; return 1; }
    export DISPLAY=":$n"
    openbox >/dev/null 2>&1 &
    ZW_WM_PID=$!
    for _ in $(seq 50); do wmctrl -m >/dev/null 2>&1 && break; sleep 0.1; done
    return 0
}

zw_stop() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
    [ -n "${ZW_WM_PID:-}" ] && kill "$ZW_WM_PID" 2>/dev/null
    [ -n "${ZW_XVFB_PID:-}" ] && kill "$ZW_XVFB_PID" 2>/dev/null
    ZW_WM_PID=; ZW_XVFB_PID=
    return 0
}
