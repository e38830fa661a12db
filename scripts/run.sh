#!/usr/bin/env bash
# Starts zurimo.exe under Wine in the project's own prefix (build/wine/run). Uses the
# current X display when there is one, else a virtual one. Stop it with Ctrl+C or from the
# tray menu's 終了.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh
zw_env
zw_prefix run
if [ -n "${DISPLAY:-}" ]; then
    ZW_USE_DISPLAY=1 zw_display
else
    zw_display
    echo "No X display: running on the virtual display $DISPLAY."
fi
trap zw_stop EXIT INT TERM
echo "Zurimo! runs (prefix $WINEPREFIX). Ctrl+C ends it."
wine build/win64/bin/zurimo.exe
