#!/usr/bin/env bash
# The desktop program against the real desktop tools: under Xvfb with a tray host
# (trayer) and xdotool, in a temporary HOME and XDG folders, with fake browsers
# whose Exec logs how they were started and Debian's firefox-esr.
#
#   bash scripts/test-desktop.sh [path/to/routelle-desktop]
#
# Screenshots go to $ROUTELLE_ARTIFACTS (default: desktop-artifacts/ beside the
# program). Counts what it checked and fails at zero.
set -euo pipefail
exe=$(realpath "${1:-build/dev/linux/routelle-desktop}")
artifacts=${ROUTELLE_ARTIFACTS:-$(dirname "$exe")/desktop-artifacts}

source "$(dirname "$0")/desktop-world.sh"
mkdir -p "$artifacts"
launches=$tmp/launches.log
: >"$launches"

checks=0 failures=0
pass() { checks=$((checks + 1)); echo "ok $checks - $*"; }
fail() { failures=$((failures + 1)); echo "FAIL - $*"; }
check() { # description, command...
  local what=$1; shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
# Real programs take real time: polls the condition for up to $2 seconds.
wait_for() { # command string, seconds
  local deadline=$((SECONDS + ${2:-10}))
  until eval "$1"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}
logged() { grep -qxF -- "$1" "$launches"; }
# A window is mapped before it is drawn: the picture waits a moment for it.
shot() { sleep 1.5; import -window root "$artifacts/$1.png"; echo "screenshot $artifacts/$1.png"; }
windows() { xdotool search --onlyvisible --classname routelle-desktop 2>/dev/null | sort; }
visible_windows() { windows | wc -l; }

# Browser entries whose program logs its name and arguments.
fake_program fake-browser <<'SH'
#!/bin/sh
name=$1; shift
echo "$name $*" >>"$LAUNCH_LOG"
SH
export LAUNCH_LOG=$launches
# Named otherwise than their ids: menus show the name, rules keep the id.
desktop_entry fakechrome "Fake Chrome" "$tmp/bin/fake-browser fakechrome %u" "$web_types"
desktop_entry fakefox "Fake Fox" "$tmp/bin/fake-browser fakefox %u" "$web_types"
# An application that opens a link the way applications do: through xdg-open.
fake_program notes-app <<'SH'
#!/bin/sh
xdg-open "$1"
SH
desktop_entry notes-app "Notes App" "$tmp/bin/notes-app %u"

echo "# install and become the default"
"$exe" --install --make-default
check "the entry is installed" test -f "$XDG_DATA_HOME/applications/routelle.desktop"
check "the entry starts the program with the link" \
  grep -qxF "Exec=$exe %u" "$XDG_DATA_HOME/applications/routelle.desktop"
check "xdg-settings names it the default web browser" \
  test "$(xdg-settings get default-web-browser)" = routelle.desktop
for t in x-scheme-handler/http x-scheme-handler/https x-scheme-handler/mailto text/html; do
  check "xdg-mime: $t is routelle's" test "$(xdg-mime query default $t)" = routelle.desktop
done

echo "# rules"
"$exe" script AddDomainScriptCommand example.org --FilePath fakechrome >/dev/null
"$exe" script AddDomainScriptCommand firefox.test --FilePath firefox-esr >/dev/null
"$exe" script AddAppScriptCommand notes-app --FilePath fakefox >/dev/null
check "explain names the domain rule's browser and launches nothing" \
  bash -c "'$exe' explain https://example.org/x | grep -q fakechrome && test ! -s '$tmp/launches.log'"
check "ExplainScriptCommand answers the same" \
  bash -c "'$exe' script ExplainScriptCommand https://example.org/x | grep -q fakechrome"
check "settings are binary property lists under XDG_CONFIG_HOME" \
  bash -c "head -c 8 '$XDG_CONFIG_HOME/routelle/com.kestrova.Routelle.plist' | grep -q bplist00"

echo "# rule files from the command line"
mkdir -p "$tmp/exported"
"$exe" script ExportCommandScript --FilePath "$tmp/exported" >/dev/null
exported=$(find "$tmp/exported" -name '*.xml' | head -n1)
check "ExportCommandScript writes a rule file into the folder" test -n "$exported"
check "the exported file holds the rules" \
  grep -q 'site="example.org" browser="fakechrome"' "${exported:-/dev/null}"
cat >"$tmp/import.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?><lists><domains><domain site="imported.example" browser="fakefox"/></domains><apps/></lists>
XML
"$exe" script ImportCommandScript --FilePath "$tmp/import.xml" >/dev/null
check "ImportCommandScript stores the file's rules" \
  bash -c "'$exe' explain https://imported.example/a | grep -q fakefox"
check "an import that fails says why, off screen" \
  bash -c "'$exe' script ImportCommandScript --FilePath '$tmp/missing.xml' 2>&1 >/dev/null | grep -q missing.xml"

trayer --edge top --align right --widthtype pixel --width 60 --height 24 --SetDockType true >/dev/null 2>&1 &
pids+=($!)
ROUTELLE_DESKTOP_PRINT_MENUS=1 "$exe" >"$tmp/routelle.log" 2>&1 &
pids+=($!)
check "the program starts and listens" wait_for "test -S '$instance_socket'" 10

echo "# links through the real xdg-open"
xdg-open https://example.org/x
check "a domain rule's browser gets the link" wait_for "logged 'fakechrome https://example.org/x'" 10
"$tmp/bin/notes-app" https://other.net/y
check "a link from an application follows that application's rule" \
  wait_for "logged 'fakefox https://other.net/y'" 10
check "the source application was found from the process chain" grep -q "^source notes-app$" "$tmp/routelle.log"
"$exe" https://example.org/second
check "a second start hands its link to the running program" \
  wait_for "logged 'fakechrome https://example.org/second'" 10
check "one program still runs" test "$(pgrep -cf "^$(dirname "$exe")/routelle-desktop-app" || true)" = 1

echo "# firefox-esr from its own entry"
xdg-open https://firefox.test/page
ffpid=""
find_firefox() { ffpid=$(pgrep -f '^/usr/lib/firefox-esr/firefox-esr https://firefox.test/page' | head -n1); [ -n "$ffpid" ]; }
check "firefox-esr is started with the link" wait_for find_firefox 15
if [ -n "$ffpid" ]; then
  check "its command line is the entry's Exec with the link" \
    test "$(tr '\0' ' ' </proc/$ffpid/cmdline)" = "/usr/lib/firefox-esr/firefox-esr https://firefox.test/page "
  kill "$ffpid" 2>/dev/null || true
fi

echo "# the tray, the chooser, the rule dialog"
wait_for "xdotool search --classname trayer >/dev/null" 5 || true
# The tray icon sits at trayer's right end, top of the screen.
tray_click() { xdotool mousemove 1012 12 click 1; }
before=$(visible_windows)
shown_before=$(windows)
tray_click
check "a click on the tray icon shows the status menu" wait_for "test \$(visible_windows) -gt $before" 5
shot tray-menu
check "the status menu's browsers are shown by name" grep -q "^menu .*: .*Fake Chrome | Fake Fox | Firefox ESR" "$tmp/routelle.log"
check "no menu shows an entry's id" bash -c "! grep '^menu ' '$tmp/routelle.log' | grep -qE 'fakechrome|fakefox|firefox-esr'"
xdotool key Escape
wait_for "test \$(visible_windows) -le $before" 5 || true

xdotool mousemove 300 300
xdg-open https://unruled.example/page &
check "a link without a rule shows the chooser" wait_for "test \$(visible_windows) -gt $before" 10
menu=$(comm -13 <(echo "$shown_before") <(windows) | head -n1)
geometry=$(xdotool getwindowgeometry "$menu" | sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p')
check "the chooser opens at the pointer" test "$geometry" = "300 300"
shot chooser
check "the chooser shows each browser by its entry's name" \
  grep -qxF "menu popUpMenu: Fake Chrome | Fake Fox | Firefox ESR" "$tmp/routelle.log"
xdotool key Down Return
check "the browser picked in the chooser gets the link" wait_for "logged 'fakechrome https://unruled.example/page'" 10

tray_click
wait_for "test \$(visible_windows) -gt $before" 5 || true
# Per Domain is the sixth entry the keyboard reaches; Add domains... is its last.
xdotool key Down Down Down Down Down Right Up Return
check "Add domains... opens the rule dialog" wait_for "xdotool search --onlyvisible --name '^Routelle$' >/dev/null 2>&1" 10
xdotool type --delay 20 news.example.com
shot rule-dialog
xdotool key Return
xdg-open https://news.example.com/a
check "the rule added through the dialog routes its links" wait_for "logged 'fakechrome https://news.example.com/a'" 10

echo "# the selection assistant on the PRIMARY selection"
"$exe" script EnablePreferenceScriptCommand "Show List on text selection" >/dev/null
xdotool mousemove 400 400
printf 'see example.com/news' | xclip -selection primary
check "a selected link shows the browsers window" wait_for "test \$(visible_windows) -gt $before" 10
panel=$(comm -13 <(echo "$shown_before") <(windows) | head -n1)
shot selection-link
eval "$(xdotool getwindowgeometry --shell "$panel")"
xdotool mousemove $((X + 20)) $((Y + 20)) click 1
check "the browser clicked in it opens the selected link" wait_for "logged 'fakechrome http://example.com/news'" 10
printf 'rock & roll' | xclip -selection primary
check "selected text shows the Search / Copy / Paste / Delete panel" \
  wait_for "test \$(visible_windows) -gt $before" 10
shot selection-panel

echo "# a rule naming a browser's profile"
# A Chromium-family entry known by its id, whose program logs each argument in
# brackets, and its "Local State" with two profiles where such browsers keep it.
fake_program fake-chromium <<'SH'
#!/bin/sh
line=google-chrome
for a in "$@"; do line="$line [$a]"; done
echo "$line" >>"$LAUNCH_LOG"
SH
desktop_entry google-chrome "Google Chrome" "$tmp/bin/fake-chromium %U" "x-scheme-handler/http;x-scheme-handler/https;"
mkdir -p "$XDG_CONFIG_HOME/google-chrome/Default" "$XDG_CONFIG_HOME/google-chrome/Profile 1"
cat >"$XDG_CONFIG_HOME/google-chrome/Local State" <<'JSON'
{"profile": {"info_cache": {"Default": {"name": "Personal"}, "Profile 1": {"name": "Work"}}, "last_used": "Default"}}
JSON
check "a rule can name a profile the browser lists" \
  bash -c "'$exe' script AddDomainScriptCommand work.example --FilePath google-chrome --Profile Work >/dev/null"
check "a profile the browser does not list is refused" \
  bash -c "! '$exe' script AddDomainScriptCommand home.example --FilePath google-chrome --Profile Nobody 2>/dev/null"
check "explain names the profile" \
  bash -c "'$exe' explain https://work.example/doc | grep -qF 'google-chrome opens in its profile \"Profile 1\"'"
xdg-open 'https://work.example/doc?a=1'
check "the profile's entry starts with the profile argument before the link, each its own word" \
  wait_for "logged 'google-chrome [--profile-directory=Profile 1] [https://work.example/doc?a=1]'" 10

cp "$tmp/routelle.log" "$artifacts/routelle.log"
echo "# $checks checks, $failures failed; screenshots and the program's output in $artifacts"
((checks > 0)) || { echo "nothing was checked" >&2; exit 1; }
((failures == 0))
