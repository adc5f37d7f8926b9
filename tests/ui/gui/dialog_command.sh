#!/usr/bin/env bash
# `folio dialog` as a person at a desktop meets it, on a private Xvfb server.
#   dialog_command.sh CASE FOLIO_BINARY SCREENSHOT_FOLDER
set -euo pipefail
case_name=$1 folio=$2 shots=$3
work=$(mktemp -d)
server=""
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Settings and folders of our own, never the user's.
printf '[HKEY_CURRENT_USER\\Software\\Folio]\nUserPath=%s/\n' "$work" > "$work/folio.ini"
export FOLIO_SETTINGS=$work/folio.ini NO_AT_BRIDGE=1 GSETTINGS_BACKEND=memory GDK_BACKEND=x11
unset WAYLAND_DISPLAY
printf '<html><body><p>Hello</p></body></html>' > "$work/t.htm"

start_display() {
  command -v Xvfb >/dev/null || fail "Xvfb is missing (scripts/bootstrap --gui installs it)"
  Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$work/display" 2>/dev/null &
  server=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
  [ -s "$work/display" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -1 "$work/display")"
}

case "$case_name" in
opens_on_a_display_and_closes_with_its_mnemonic)
  command -v xdotool >/dev/null || fail "xdotool is missing (scripts/bootstrap --gui installs it)"
  start_display
  "$folio" dialog "$work/t.htm" 2>"$work/err" &
  pid=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Livesheeter$' | head -1) ||
    fail "no report dialog appeared: $(cat "$work/err")"
  sleep 0.3
  if command -v import >/dev/null; then import -window "$window" "$shots/folio_dialog_command.png" || true; fi
  # Alt+L is the mnemonic of Close: typed on the real keyboard path of the toolkit.
  xdotool windowfocus --sync "$window" key --clearmodifiers alt+l
  timeout 20 tail --pid="$pid" -f /dev/null || fail "the dialog did not close"
  wait "$pid" || fail "folio dialog exited with $?: $(cat "$work/err")"
  grep -q "^DefaultWordTemplate=$work/t.htm$" "$work/Kori.ini" ||
    fail "the template was not remembered: $(cat "$work/Kori.ini" 2>/dev/null)"
  ;;
refuses_without_a_display)
  status=0
  DISPLAY= "$folio" dialog "$work/t.htm" 2>"$work/err" || status=$?
  [ "$status" -eq 2 ] || fail "exit status $status, expected 2"
  grep -q "needs a desktop" "$work/err" || fail "unexpected message: $(cat "$work/err")"
  ;;
*) fail "unknown case $case_name" ;;
esac
echo "ok: $case_name"
