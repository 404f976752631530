#!/usr/bin/env bash
# Drives the real program in a real X server (Xvfb) with the real libmpv and FFmpeg, as a
# user would: keys and mouse through xdotool. Checks the saved file, and leaves a
# screenshot of every step in the artefacts folder.
#
#   run-e2e.sh CUEWRIGHT SOURCE_DIR ARTEFACTS_DIR
set -euo pipefail
app=$1
source_dir=$2
artefacts=$3

work=$(mktemp -d)
mkdir -p "$artefacts"
rm -f "$artefacts"/*.png
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_CACHE_HOME=$work/cache XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_CONFIG_HOME/Cuewright" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# A short autosave delay, so the kill below has something to recover.
printf '[General]\nautosaveDelaySeconds=1\n' >"$XDG_CONFIG_HOME/Cuewright/Cuewright.conf"
cp "$source_dir/demo/demo.srt" "$work/work.srt"

display=:$((200 + RANDOM % 500))
Xvfb "$display" -screen 0 1400x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
# A real window, whatever the caller set (a test run often sets offscreen).
export QT_QPA_PLATFORM=xcb
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  kill "$wm" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
# A window manager, as on a desktop: it gives the keyboard to the window that asks.
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
sleep 1

step=0
shot() {
  step=$((step + 1))
  import -window root "$artefacts/$(printf '%02d' $step)-$1.png"
}
fail() {
  echo "e2e: $*" >&2
  shot failure
  exit 1
}
keys() {
  for k in "$@"; do xdotool key --clearmodifiers "$k"; sleep 0.3; done
}
type_text() {
  xdotool type --delay 20 "$1"
  sleep 0.3
}
start_app() {
  "$app" "$@" >"$work/app.log" 2>&1 &
  app_pid=$!
}
wait_window() {
  local id
  # Searched again and again rather than with --sync: a window that goes while xdotool
  # walks the tree (a dialog closing) ends its search with an X error.
  for _ in $(seq 150); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
    [ -n "$id" ] && break
    sleep 0.2
  done
  [ -n "$id" ] || fail "no window named $1"
  sleep 2
  xdotool windowactivate --sync "$id" 2>/dev/null || true
  sleep 0.5
}
# Whether the saved file holds this block of lines (a timing line and its text).
check_file() {
  python3 - "$work/work.srt" "$1" <<'PY' || { cat "$work/work.srt" >&2; fail "the saved file lacks: $1"; }
import sys
sys.exit(0 if sys.argv[2] in open(sys.argv[1], encoding="utf-8").read() else 1)
PY
}
subtitle_count() {
  "$app" --check "$work/work.srt" | sed -E 's/.*: ([0-9]+) subtitles.*/\1/'
}

# 1. Open the subtitles with the video, play and pause.
start_app "$work/work.srt" --video "$source_dir/demo/demo.mp4"
wait_window "work.srt"
shot opened
keys space
sleep 1.5
keys space
shot played-and-paused

# 2. Go to subtitle 1, step five frames on, and take the end time from the player.
keys ctrl+g
type_text 1
keys Return
sleep 0.5
keys Right Right Right Right Right
sleep 0.5
keys ctrl+bracketright
shot end-time-from-player

# 3. Type a new text into subtitle 2 in the list.
keys ctrl+g
type_text 2
keys Return
keys Return ctrl+a
type_text "Typed in the list"
keys Return
shot typed-text

# 4. Drag the end of subtitle 3 (8.4 s to 10 s) to the start of subtitle 4 (11 s): it
#    snaps two frames before it. The 22 s film opens whole across the timeline, which is
#    as wide as the window.
eval "$(xdotool search --name "work.srt" getwindowgeometry --shell | sed 's/^/W/')"
block_y=$((WY + WHEIGHT - 60))
at() { python3 -c "print($WX + round($1 * $WWIDTH / 22))"; }
xdotool mousemove $(($(at 10) - 3)) $block_y
sleep 0.3
xdotool mousedown 1
for t in 10.2 10.5 10.8 10.97; do xdotool mousemove $(at $t) $block_y; sleep 0.1; done
xdotool mouseup 1
sleep 0.5
shot dragged-end

# 5. Duplicate the dragged subtitle, then undo that.
keys ctrl+d
shot duplicated
keys ctrl+z
shot undone

# 6. Import two paragraphs.
keys ctrl+shift+i
sleep 0.5
type_text "Imported one"
keys Return Return
type_text "Imported two"
# Placeholders, timed as pasted: not by the film's speech.
keys alt+t
shot import-window
keys ctrl+Return
sleep 0.5
shot imported

# 7. Save and check the file.
keys ctrl+s
sleep 1
shot saved
check_file $'00:00:01,000 --> 00:00:03,000\nImported one'
check_file $'00:00:01,000 --> 00:00:01,200\nWelcome to Cuewright.'
check_file $'00:00:04,000 --> 00:00:06,200\nTyped in the list'
check_file $'00:00:08,400 --> 00:00:10,920\nSome of them start too late.'
check_file $'00:00:03,080 --> 00:00:05,080\nImported two'
[ "$(subtitle_count)" = 8 ] || fail "expected 8 subtitles, found $(subtitle_count)"
saved=$(cat "$work/work.srt")

# 8. Change it, wait for the autosave, and kill the program.
keys ctrl+g
type_text 1
keys Return ctrl+d
sleep 3
kill -9 "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=""
[ "$(subtitle_count)" = 8 ] || fail "the kill changed the file"

# 9. The next start offers the unsaved work; recover it and save.
start_app
wait_window "Recover"
shot recovery-offered
keys Return
wait_window "work.srt"
shot recovered
keys ctrl+s
sleep 1
[ "$(subtitle_count)" = 9 ] || fail "the recovered change is missing"
keys ctrl+q
wait "$app_pid" 2>/dev/null || true
app_pid=""

# 10. Reopen the file: saving again writes the very same bytes.
cp "$work/work.srt" "$work/expected.srt"
start_app "$work/work.srt"
wait_window "work.srt"
shot reopened
keys ctrl+z ctrl+s
sleep 1
cmp -s "$work/work.srt" "$work/expected.srt" || fail "saving the reopened file changed it"
keys ctrl+q
wait "$app_pid" 2>/dev/null || true
app_pid=""
echo "e2e: all steps passed; screenshots in $artefacts"
