#!/usr/bin/env bash
# A session with the installed program, driven as a user drives it: real key presses on a
# virtual X display, the program's own dialogs, files on disk. It
#
#   1. installs the build into a scratch root (cmake --install), or unpacks the Debian
#      package given in FW_E2E_DEB there, and runs the programs from that root;
#   2. opens three corpus forms of different encodings from the command line;
#   3. starts the program a second time with a fourth form, which the running window
#      must open while the second start ends;
#   4. switches the document to the form preview;
#   5. extracts a form from a Windows executable through Extract from EXE;
#   6. saves that form with Save As in each of the three encodings;
#   7. quits (declining to save the unnamed extracted form), starts again and checks
#      that the window came back where it was and the recent files with it.
#
# A screenshot is taken at each step into FW_E2E_OUT_DIR/shots, for a person to look at;
# the checks are made on what the program wrote and showed, not on the pictures.
#
# Environment (set by the test's CMake rule):
#   FW_E2E_BUILD_DIR   the configured and built build folder (required)
#   FW_E2E_TOOLS_DIR   where fw_e2e_screenshot and fw_e2e_make_pe are
#   FW_E2E_OUT_DIR     scratch folder for the root, settings, files and screenshots
#   FW_CORPUS_DIR      the real-file corpus
#   FW_E2E_DEB         a .deb to test instead of the installed build tree
#
# Exits 0 when every step passed, 1 on the first failure, 77 (skipped) when Xvfb,
# xdotool or the corpus is missing.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=${FW_E2E_BUILD_DIR:?FW_E2E_BUILD_DIR must name the build folder}
tools=${FW_E2E_TOOLS_DIR:-$build/tests/e2e}
out=${FW_E2E_OUT_DIR:-$build/tests/e2e/session}
mkdir -p "$out"
out=$(cd "$out" && pwd)
corpus=${FW_CORPUS_DIR:-$here/../../../shared/corpus}

skip() {
  echo "e2e: skipped: $*"
  exit 77
}
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed (scripts/install-deps installs it)"
done
[ -d "$corpus/forms/text" ] && [ -d "$corpus/forms/binary" ] || skip "no corpus at $corpus"
for helper in fw_e2e_screenshot fw_e2e_make_pe; do
  [ -x "$tools/$helper" ] || { echo "e2e: $tools/$helper is not built" >&2; exit 1; }
done

rm -rf "$out"
mkdir -p "$out/shots" "$out/root" "$out/home" "$out/config" "$out/data" "$out/cache" \
         "$out/runtime" "$out/forms" "$out/saved" "$out/logs"
chmod 700 "$out/runtime"
log=$out/logs/session.log
: >"$log"

say() { echo "e2e: $*" | tee -a "$log"; }

xvfb_pid=
program_pids=()
cleanup() {
  local pid
  for pid in "${program_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

visible_windows() {
  local id
  for id in $(xdotool search --onlyvisible --name . 2>/dev/null || true); do
    echo "  $id $(xdotool getwindowname "$id" 2>/dev/null || true)"
  done
}

fail() {
  echo "e2e: FAILED: $*" | tee -a "$log" >&2
  if [ -n "${DISPLAY:-}" ]; then
    "$tools/fw_e2e_screenshot" "$out/shots/failure.png" 2>/dev/null &&
      echo "e2e: the screen at the failure: $out/shots/failure.png" >&2
    echo "e2e: visible windows:" >&2
    visible_windows >&2
  fi
  local file
  for file in "$out"/logs/formwright-*.log; do
    [ -s "$file" ] || continue
    echo "e2e: $file:" >&2
    tail -n 20 "$file" >&2
  done
  exit 1
}

shots=0
shot() {
  shots=$((shots + 1))
  local file
  file=$(printf '%s/shots/%02d-%s.png' "$out" "$shots" "$1")
  "$tools/fw_e2e_screenshot" "$file" 2>>"$out/logs/screenshot.log" || fail "cannot take the screenshot $file"
  say "screenshot $file"
}

# Waits up to SECONDS for a visible window whose title matches the (case-insensitive)
# pattern and prints its id.
wait_window() {
  local pattern=$1 seconds=${2:-30} i id
  for ((i = 0; i < seconds * 10; i++)); do
    id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | tail -n 1 || true)
    if [ -n "$id" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  fail "no window titled /$pattern/ within ${seconds}s"
}

# Waits until the window is no longer shown.
wait_closed() {
  local id=$1 what=$2 i
  for ((i = 0; i < 300; i++)); do
    xdotool search --onlyvisible --name . 2>/dev/null | grep -qx "$id" || return 0
    sleep 0.1
  done
  fail "$what did not close"
}

# Waits until the main window's title matches the pattern: the title names the active
# document.
wait_title() {
  local pattern=$1 what=$2 i title=
  for ((i = 0; i < 300; i++)); do
    title=$(xdotool getwindowname "$main" 2>/dev/null || true)
    grep -qE -- "$pattern" <<<"$title" && return 0
    sleep 0.1
  done
  fail "$what: the main window's title is '$title', not /$pattern/"
}

# Gives the window the keyboard and presses the keys in order.
press() {
  local id=$1
  shift
  timeout 10 xdotool windowfocus --sync "$id" || fail "cannot focus window $id"
  xdotool key --clearmodifiers --delay 120 "$@"
}

# Presses keys in whatever has the keyboard now, such as an open menu.
keys() {
  xdotool key --clearmodifiers --delay 120 "$@"
}

type_into() {
  timeout 10 xdotool windowfocus --sync "$1" || fail "cannot focus window $1"
  xdotool type --delay 12 -- "$2"
}

# Waits for a started program to end within SECONDS and checks its exit status.
wait_exit() {
  local pid=$1 seconds=$2 what=$3 i status
  for ((i = 0; i < seconds * 10; i++)); do
    if ! kill -0 "$pid" 2>/dev/null; then
      status=0
      wait "$pid" || status=$?
      [ "$status" -eq 0 ] || fail "$what ended with status $status"
      return 0
    fi
    sleep 0.1
  done
  fail "$what was still running after ${seconds}s"
}

first_bytes() { head -c "$2" "$1" | od -An -tx1 | tr -d ' \n'; }

settings_section() {
  # The lines of one section of the settings file ("Main", "Editor", ...).
  grep -E "^$1\\\\Line" "$settings" || true
}

# ---- 1. the installed program ----------------------------------------------------------

root=$out/root
if [ -n "${FW_E2E_DEB:-}" ]; then
  say "unpacking $FW_E2E_DEB into $root"
  dpkg-deb -x "$FW_E2E_DEB" "$root" || fail "cannot unpack $FW_E2E_DEB"
else
  say "installing $build into $root/usr"
  cmake --install "$build" --prefix "$root/usr" >"$out/logs/install.log" 2>&1 ||
    fail "cmake --install failed (see $out/logs/install.log)"
fi
program=$root/usr/bin/formwright
cli=$root/usr/bin/formwright-cli
for file in "$program" "$cli"; do
  [ -x "$file" ] || fail "$file was not installed"
done
for file in share/applications/formwright.desktop share/mime/packages/formwright.xml \
            share/icons/hicolor/scalable/apps/formwright.svg share/icons/hicolor/48x48/apps/formwright.png \
            share/man/man1/formwright.1 share/man/man1/formwright-cli.1; do
  [ -f "$root/usr/$file" ] || [ -f "$root/usr/$file.gz" ] || fail "$root/usr/$file was not installed"
done
"$program" --version >"$out/logs/version.txt" 2>&1 || fail "formwright --version failed"
say "installed $(cat "$out/logs/version.txt")"

# The session's own home, settings, data and runtime folders: the user's are not touched,
# and a Formwright the user runs is not the one reached by the second start.
export HOME=$out/home XDG_CONFIG_HOME=$out/config XDG_DATA_HOME=$out/data XDG_CACHE_HOME=$out/cache
export XDG_RUNTIME_DIR=$out/runtime
export FW_INSTANCE_NAME="formwright-e2e-$$"
export QT_QPA_PLATFORM=xcb
unset QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE SESSION_MANAGER || true
settings=$XDG_CONFIG_HOME/Zentrix/Formwright.ini

# ---- the forms -----------------------------------------------------------------------

pick() {
  # The first existing of the given corpus files, else the first file of the folder.
  local folder=$1 name
  shift
  for name in "$@"; do
    [ -f "$folder/$name" ] && { echo "$folder/$name"; return 0; }
  done
  find "$folder" -maxdepth 1 -name '*.dfm' -size -64k | sort | head -n 1
}
text_source=$(pick "$corpus/forms/text" Embarcadero__Dev-Cpp__Source__AboutFrm.dfm)
forwarded_source=$(pick "$corpus/forms/text" Embarcadero__Dev-Cpp__Source__CompOptionsFrm.dfm)
resource_source=$(pick "$corpus/forms/binary" Embarcadero__Dev-Cpp__source__Vcl__synedit__Source__SynAutoCorrectEditor.dfm)
binary_source=$(pick "$corpus/forms/binary" Embarcadero__Dev-Cpp__source__CPUFrm.dfm)
text_form=$out/forms/About.dfm
forwarded_form=$out/forms/CompilerOptions.dfm
binary_form=$out/forms/Cpu.dfm
resource_form=$out/forms/AutoCorrect.dfm
cp "$text_source" "$text_form"
cp "$forwarded_source" "$forwarded_form"
cp "$resource_source" "$resource_form"
# The corpus's compiled forms are all resource-wrapped, as the IDE writes them; the
# installed tool unwraps one into a bare binary form.
"$cli" convert --to binary "$binary_source" -o "$binary_form" >>"$log" 2>&1 ||
  fail "formwright-cli could not make the binary form"
"$cli" detect "$text_form" "$binary_form" "$resource_form" >"$out/logs/detect.txt" 2>&1 ||
  fail "formwright-cli detect failed"
# Each line: the file, its encoding, then its code page and where that comes from.
for expected in "$text_form"$'\t'text "$binary_form"$'\t'binary "$resource_form"$'\t'resource; do
  cut -f1,2 "$out/logs/detect.txt" | grep -qxF -- "$expected" ||
    fail "the forms are not of three encodings: $(tr '\n' ' ' <"$out/logs/detect.txt")"
done

# A Windows executable holding real form resources, for the extraction.
executable=$out/forms/FrameDemo.exe
payloads=$corpus/pe-resources/BerndGabriel__HtmlViewer__Demos__Compiled\ Framedemo__FrameDem.exe
extracted_name=TFORM1
if [ ! -f "$payloads/$extracted_name.0.bin" ]; then
  # The reader tests' sample package carries a form of the same name.
  payloads=
fi
"$tools/fw_e2e_make_pe" "$executable" ${payloads:+"$payloads"} >>"$log" 2>&1 ||
  fail "cannot write the test executable"

# ---- the display -----------------------------------------------------------------------

# Xvfb picks a free display itself and reports its number, so parallel sessions do not
# race for one.
Xvfb -displayfd 9 -screen 0 1280x800x24 -nolisten tcp 9>"$out/logs/display" 2>"$out/logs/xvfb.log" &
xvfb_pid=$!
for ((i = 0; i < 100; i++)); do
  [ -s "$out/logs/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(tail -n 3 "$out/logs/xvfb.log")"
  sleep 0.1
done
[ -s "$out/logs/display" ] || fail "Xvfb reported no display"
export DISPLAY=:$(tr -d '\n' <"$out/logs/display")
say "display $DISPLAY"

# ---- 2. three forms from the command line ----------------------------------------------

"$program" "$text_form" "$resource_form" "$binary_form" >"$out/logs/formwright-1.log" 2>&1 &
first=$!
program_pids+=("$first")
main=$(wait_window '^Formwright' 60)
wait_title '\[Cpu\.dfm\]' "opening three forms"
# The place and size the restart must bring back.
xdotool windowsize "$main" 1180 740 windowmove "$main" 24 16
sleep 1
eval "$(xdotool getwindowgeometry --shell "$main")"
placed="$X,$Y ${WIDTH}x$HEIGHT"
[ "$placed" = "24,16 1180x740" ] || fail "the main window is at $placed after moving it to 24,16 1180x740"
# Every opened file is in the recent files, written as it opens.
for form in "$text_form" "$resource_form" "$binary_form"; do
  grep -qF -- "=$form" "$settings" 2>/dev/null || fail "$form is not among the recent files"
done
shot three-forms-open

# ---- 3. a fourth form through a second start -------------------------------------------

"$program" "$forwarded_form" >"$out/logs/formwright-2.log" 2>&1 &
second=$!
wait_exit "$second" 30 "the second start (which should hand its file over and end)"
wait_title '\[CompilerOptions\.dfm\]' "the form handed over by the second start"
[ "$(xdotool search --onlyvisible --name '^Formwright' | wc -l)" -eq 1 ] ||
  fail "a second main window appeared"
shot fourth-form-forwarded

# ---- 4. the preview --------------------------------------------------------------------

before=$out/logs/before-preview.png
"$tools/fw_e2e_screenshot" "$before" 2>/dev/null || fail "cannot take a screenshot"
press "$main" F12
sleep 2
shot form-preview
cmp -s "$before" "$out/shots/$(printf '%02d' "$shots")-form-preview.png" &&
  fail "F12 did not change what the window shows"

# ---- 5. a form extracted from an executable --------------------------------------------

press "$main" ctrl+e
open=$(wait_window '^Open')
type_into "$open" "$executable"
press "$open" Return
extract=$(wait_window '^Form Resources - \[FrameDemo\.exe\]')
shot extraction-dialog
# Typing a name selects it in the list, which shows its text; Enter loads it.
type_into "$extract" "$extracted_name"
sleep 1.5
shot extraction-form-selected
press "$extract" Return
wait_title "\\[$extracted_name\\]" "loading the extracted form"
press "$extract" Escape
wait_closed "$extract" "the extraction dialog"
shot extracted-form-loaded

# ---- 6. Save As in each encoding ---------------------------------------------------------

save_as() {
  local encoding=$1 downs=$2 path=$3 type_dialog file_dialog i
  shift 3
  # File > Save As... is the fourth item of the File menu.
  press "$main" alt+f
  sleep 0.5
  keys Down Down Down Return
  type_dialog=$(wait_window '^Save as')
  # Text, Binary, Resource: the arrow keys move the choice down from Text.
  if [ "$downs" -gt 0 ]; then
    local keys=()
    for ((i = 0; i < downs; i++)); do keys+=(Down); done
    press "$type_dialog" "${keys[@]}"
  fi
  shot "save-as-$encoding-type"
  press "$type_dialog" Return
  wait_closed "$type_dialog" "the Save as type dialog"
  file_dialog=$(wait_window '^Save As')
  # The dialog proposes the document's name; the typed path replaces it.
  press "$file_dialog" ctrl+a
  type_into "$file_dialog" "$path"
  press "$file_dialog" Return
  wait_closed "$file_dialog" "the Save As file dialog"
  for ((i = 0; i < 100; i++)); do
    [ -s "$path" ] && break
    sleep 0.1
  done
  [ -s "$path" ] || fail "Save As $encoding wrote nothing to $path"
  say "saved $path ($(stat -c %s "$path") bytes)"
}
save_as text 0 "$out/saved/Form1-text.dfm"
save_as binary 1 "$out/saved/Form1-binary.dfm"
save_as resource 2 "$out/saved/Form1-resource.dfm"
[ "$(head -c 6 "$out/saved/Form1-text.dfm")" = object ] || fail "the text save does not start with 'object'"
[ "$(first_bytes "$out/saved/Form1-binary.dfm" 4)" = 54504630 ] || fail "the binary save does not start with TPF0"
[ "$(first_bytes "$out/saved/Form1-resource.dfm" 3)" = ff0a00 ] ||
  fail "the resource save does not start with FF 0A 00"
# The three files hold the same form, and it is the one in the executable.
"$cli" extract --out-dir "$out/saved/reference" "$executable" "$extracted_name" >>"$log" 2>&1 ||
  fail "formwright-cli could not extract $extracted_name"
reference=$(find "$out/saved/reference" -type f | head -n 1)
[ -n "$reference" ] || fail "formwright-cli extracted nothing"
for encoding in text binary resource; do
  "$cli" convert --to text "$out/saved/Form1-$encoding.dfm" -o "$out/saved/back-$encoding.dfm" >>"$log" 2>&1 ||
    fail "the $encoding save does not convert back to text"
  cmp -s "$out/saved/back-$encoding.dfm" "$reference" ||
    fail "the $encoding save differs from the form in the executable"
done
shot saved-in-three-encodings

# ---- 7. quit, start again ----------------------------------------------------------------

press "$main" alt+x
# The extracted form was never saved under its own name: the program asks, and the
# answer is No.
confirm=$(wait_window '^Confirmation' 20)
shot quit-asks-about-unsaved-form
press "$confirm" n
wait_exit "$first" 30 "the first session"
[ -f "$settings" ] || fail "no settings were written to $settings"
cp "$settings" "$out/logs/settings-after-first-session.ini"

"$program" >"$out/logs/formwright-3.log" 2>&1 &
third=$!
program_pids+=("$third")
main=$(wait_window '^Formwright' 60)
sleep 1.5
eval "$(xdotool getwindowgeometry --shell "$main")"
[ "$X,$Y ${WIDTH}x$HEIGHT" = "$placed" ] ||
  fail "the window came back at $X,$Y ${WIDTH}x$HEIGHT instead of $placed"
shot restarted
# The recent files follow Exit in the File menu.
press "$main" alt+f
sleep 1
shot recent-files-menu
keys Escape
press "$main" alt+x
wait_exit "$third" 30 "the restarted session"

# What came back is what is kept: the window's place and the four files, in the order
# they were opened, the latest first.
for section in Main Editor; do
  diff <(grep -E "^$section\\\\Line" "$out/logs/settings-after-first-session.ini") <(settings_section "$section") \
    >>"$log" || fail "the $section layout changed across the restart"
done
grep -qF '"  Left = 24"' "$settings" && grep -qF '"  Width = 1180"' "$settings" ||
  fail "the window's place is not among the settings"
recent=$(sed -n 's/^Main\\MRUHistory\\H\([0-9]*\)=\(.*\)\\b$/\1 \2/p' "$settings" | sort -n | cut -d' ' -f2-)
expected=$(printf '%s\n' "$forwarded_form" "$binary_form" "$resource_form" "$text_form")
[ "$recent" = "$expected" ] || fail "the recent files are
$recent
instead of
$expected"

say "passed: $shots screenshots in $out/shots"
