#!/usr/bin/env bash
# Takes the pictures in docs/images/: builds the Windows binaries and the two tools in
# tools/menu_host, starts zurimo.exe under Wine on a private virtual display in a private
# prefix (build/wine/shots), fills its history, shows each window in turn and crops a
# screenshot to it. Not part of `make test`.
#   scripts/screenshots.sh [FOLDER [SCALE]]
# The PNGs go to FOLDER (default docs/images). SCALE is the display scaling in percent
# (default 100): 150 sets the prefix's DPI to 144, as Windows does at 150 %, so that the
# program lays itself out and draws its icons at that scale. The build goes to
# build/shots-win64, the logs of a run to build/shots-logs.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$(mkdir -p "${1:-docs/images}" && cd "${1:-docs/images}" && pwd)
scale=${2:-100}
case $scale in
    '' | *[!0-9]*) echo "screenshots: SCALE is a percentage, such as 150" >&2; exit 2 ;;
esac
build=$root/build/shots-win64
logs=$root/build/shots-logs
mkdir -p "$logs"

scripts/setup.sh wine
if ! command -v import >/dev/null; then  # ImageMagick takes the screenshots
    SUDO=; [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
        imagemagick >/dev/null
fi

echo "screenshots: building in $build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZURIMO_TESTS=OFF > "$logs/configure.log"
ninja -C "$build" zurimo Zurimo ZurimoEx menu_host shot_driver > "$logs/build.log"

. scripts/wine-env.sh
zw_env
if [ "$scale" = 100 ]; then zw_prefix shots fresh; else zw_prefix "shots-$scale" fresh; fi
ZW_USE_DISPLAY=0 zw_display   # always a virtual display: never a picture of the user's desktop
trap zw_stop EXIT
trap 'exit 130' INT TERM
# Wine reads the DPI when it starts.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $((96 * scale / 100)) /f \
    > /dev/null 2>&1
wineserver -k 2> /dev/null || true
# A plain desktop colour behind the windows, where a picture shows more than one.
timeout 10 display -window root -size 8x8 xc:'#3a6ea5' >/dev/null 2>&1 || true

# The program's folder and the files the Explorer menu is shown for, inside the prefix.
prog=$WINEPREFIX/drive_c/Zurimo
docs=$WINEPREFIX/drive_c/資料
mkdir -p "$prog" "$docs"
cp "$build"/bin/{zurimo.exe,Zurimo.dll,ZurimoEx.dll,zurimo.html} "$build"/tools/*.exe "$prog/"
printf '\0\0' > "$prog/zurimo.zhd"   # an empty saved history, so that 終了時に履歴を保存 can be on
printf '%s\r\n' '[InternetShortcut]' 'URL=https://www.kestro.example/zurimo/' \
    > "$docs/Kestro Zurimo.url"
printf 'Zurimo!\r\n' > "$docs/memo.txt"
printf 'PK' > "$docs/2026年度 事業計画書.docx"

# The settings of a user who has set a hot key, three user strings and the Explorer menu.
K='HKEY_CURRENT_USER\Software\Kestro!\Zurimo!'
reg=$(mktemp --suffix=.reg)
printf '%s\r\n' 'REGEDIT4' '' "[$K\\Settings]" \
    '"HotKeyLo"=dword:0000005a' '"HotKeyHi"=dword:00000006' \
    '"Paste"=dword:00000001' '"File"=dword:00000001' \
    '"ShellMenu"=dword:00000001' '"ShellUserMenu"=dword:00000001' '"ShellSep"=dword:00000001' \
    '"ShellHierarchy"=dword:00000000' '"ShellLimit"=dword:00000020' \
    '"FindHistory0"="議事録"' '"FindHistory1"="example"' '"FindHistory2"="14:00"' '' \
    "[$K\\User0]" '"Caption"="メールアドレス"' '"Content"="taro.yamada@example.jp"' \
    '"Show"=dword:00000001' '' \
    "[$K\\User1]" '"Caption"="会社名"' '"Content"="株式会社ケストロ"' '"Show"=dword:00000001' '' \
    "[$K\\User2]" '"Caption"="挨拶"' '"Content"="いつもお世話になっております。"' \
    '"Show"=dword:00000001' '' \
    "[$K\\ShellExt]" '"DriveType"="std"' '' | iconv -f utf-8 -t cp932 > "$reg"
wine regedit "$(winepath -w "$reg")" > "$logs/regedit.log" 2>&1
rm -f "$reg"

drive() { wine "$prog/shot_driver.exe" "$@" | tr -d '\r'; }
# shot NAME WINDOW...: a picture of the rectangle around the windows (see shot_driver.cpp).
shot() {
    local name=$1 geometry; shift
    geometry=$(drive rect "$@")
    import -window root -crop "$geometry" +repage -strip -define png:compression-level=9 \
        "$out/$name.png"
    echo "screenshots: $name.png ($geometry)"
}

(cd "$prog" && exec wine zurimo.exe) > "$logs/zurimo.log" 2>&1 &
zurimo=$!
# The newest text ends up first in the list.
drive clip 'Hello, world!' \
    '〒100-0001 東京都千代田区千代田1-1' \
    'git commit -m "Fix the history window"' \
    '会議の議事録は共有フォルダにあります。' \
    'https://www.kestro.example/zurimo/' \
    '品名\t数量\t単価' \
    'The quick brown fox jumps over the lazy dog.' \
    'お世話になっております。\n山田です。\n\n明日の打ち合わせは 14:00 からでお願いします。' \
    '明日の打ち合わせは 14:00 からです。'

# The tray menu, opened below the icon as a right click on it opens it.
tray=$(drive rect tray)
IFS='x+' read -r _ height left top <<< "$tray"
drive cursor $((left + 16)) $((top + height - 1))
tray_menu() { drive post main reg:ZurimoTrayIcon 128 0x205; }   # WM_RBUTTONUP on icon 128
tray_menu
shot tray-menu tray menu

# The history window from its 表示(&S), with the second entry chosen. (Windows that open for
# the hot key or a posted command get a caption drawn as inactive under Wine.)
drive keys menu s
drive keys history down
shot history history

# Its context menu (Shift+F10 opens it at the middle of the window).
drive keys history shift+f10
shot context-menu history menu
drive post history 0x1F         # WM_CANCELMODE ends the menu
drive gone menu

# Find, after a search for its last search text (議事録) has found an entry.
drive click history/1009        # 検索
drive click 'Zurimo! 検索/1056'  # 次を検索
shot find 'Zurimo! 検索' history
drive click 'Zurimo! 検索/2'     # 閉じる
drive gone 'Zurimo! 検索'

# The editor, with the second entry.
drive send history/1012 0x186 1 0 > /dev/null  # LB_SETCURSEL
drive click history/1010        # 編集
shot edit 'Zurimo! 履歴の編集'
drive click 'Zurimo! 履歴の編集/2'
drive gone 'Zurimo! 履歴の編集'
drive post history 0x111 2 0    # 閉じる
drive gone history

# The About box from the tray menu's バージョン情報 (&Zurimo!).
tray_menu
drive keys menu z
shot about 'Zurimo! バージョン情報'
drive post 'Zurimo! バージョン情報' 0x111 1 0   # OK
drive gone 'Zurimo! バージョン情報'

# Each page of the options sheet, from the tray menu's オプション(&O); the context-menu page's
# two dialogs as well.
tray_menu
drive keys menu o
pages=(general view key context-menu shell-ext)
for i in 0 1 2 3 4; do
    drive send 'Zurimo! オプション' 0x465 $i 0 > /dev/null   # PSM_SETCURSEL
    shot "options-${pages[i]}" 'Zurimo! オプション'
    if [ $i = 3 ]; then
        drive click 'Zurimo! オプション/1026'   # メニュー編集
        shot folder-menu 'Zurimo! メニューに表示するフォルダ'
        drive click 'Zurimo! メニューに表示するフォルダ/2'
        drive gone 'Zurimo! メニューに表示するフォルダ'
        drive click 'Zurimo! オプション/1025'   # ユーザーメニュー編集
        drive send 'Zurimo! ユーザーメニュー/1041' 0x186 2 0 > /dev/null
        shot user-menu 'Zurimo! ユーザーメニュー'
        drive click 'Zurimo! ユーザーメニュー/1040'   # 編集
        shot user-string 'Zurimo! ユーザー定義文字列の編集'
        drive click 'Zurimo! ユーザー定義文字列の編集/2'
        drive gone 'Zurimo! ユーザー定義文字列の編集'
        drive click 'Zurimo! ユーザーメニュー/2'
        drive gone 'Zurimo! ユーザーメニュー'
    fi
done
drive post 'Zurimo! オプション' 0x111 2 0
drive gone 'Zurimo! オプション'

# The Explorer menu in a host window, for three files: one long name, one Internet shortcut.
files=('C:\資料\2026年度 事業計画書.docx' 'C:\資料\Kestro Zurimo.url' 'C:\資料\memo.txt')
wine "$prog/menu_host.exe" "${files[@]}" > "$logs/menu_host.log" 2>&1 &
shot explorer-menu class:ZurimoMenuHost menus:2
drive post class:ZurimoMenuHost 0x1F
drive gone class:ZurimoMenuHost
# The same with the grouped layout, its third entry プロパティ(&P) unfolded.
wine reg add "$K\\Settings" /v ShellHierarchy /t REG_DWORD /d 1 /f > /dev/null 2>&1
wine "$prog/menu_host.exe" --open 3 "${files[@]}" >> "$logs/menu_host.log" 2>&1 &
shot explorer-menu-grouped class:ZurimoMenuHost menus:3
drive post class:ZurimoMenuHost 0x1F
drive gone class:ZurimoMenuHost

drive post main 0x10            # WM_CLOSE: the program saves and ends
for _ in $(seq 100); do kill -0 "$zurimo" 2>/dev/null || break; sleep 0.1; done
echo "screenshots: done; the pictures are in $out"
