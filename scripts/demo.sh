#!/usr/bin/env bash
# The demo: a sandbox world with a few browsers, changed through script commands
# and through the menu and its dialogs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build/demo -G Ninja -DCMAKE_BUILD_TYPE=Release -DROUTELLE_BENCH=OFF >/dev/null
cmake --build build/demo --target routelle routelle-open >/dev/null
routelle=build/demo/driver/routelle
world=$(mktemp -d "${TMPDIR:-/tmp}/routelle-demo-XXXXXX")
trap 'rm -rf "$world"' EXIT
r() { printf "$ routelle"; printf " %q" "$@"; echo; "$routelle" --root "$world" "$@"; }

echo "== A sandbox world in $world"
r install-app Safari --id com.apple.Safari
r install-app Firefox --id org.mozilla.firefox
r install-app "Google Chrome" --id com.google.Chrome --binary
r install-app Mail --id com.apple.mail --schemes mailto
r install-app Slack --id com.tinyspeck.slackmacgap --folder /Applications/Utilities

echo; echo "== Script commands"
r script AddDomainScriptCommand "https://www.example.com/news?id=7" --FilePath Firefox
r script AddDomainScriptCommand github.com --FilePath "Google Chrome"
r script AddDomainScriptCommand localhost --FilePath Safari || true
r script AddDomainScriptCommand github.com --FilePath Safari
r script AddAppScriptCommand Slack --FilePath Firefox
r script AddAppScriptCommand Mail --FilePath Safari
r script ModifierKeyScriptCommand SHIFT --FilePath "Show Browsers List"
r script BackModifierKeyScriptCommand shift --FilePath true
r script ChangePriorityScriptCommand --FilePath "Per App"
r script SaveScriptCommand --BrowserName "google chrome"
r script EnablePreferenceScriptCommand "Use Routelle for mailto: links"
r script AddBrowserScriptCommand Slack
r script RemoveRuleScriptCommand github.com
r script EnablePreferenceScriptCommand "Show url on Browsers List selection menu"
echo "(a missing argument is a script error:)"
r script AddDomainScriptCommand example.org || true

echo; echo "== The stored rules"
r rules
echo; echo "== The preferences domain as stored (binary property list)"
r defaults
echo; echo "== Read back with plistutil"
plistutil -i "$world/Library/Preferences/com.kestrova.Routelle.plist" | head -n 12

echo; echo "== Links routed in one run of the program (the fake browsers log how they were started)"
r script SaveScriptCommand --BrowserName "Show Browsers List" >/dev/null
r script ChangePriorityScriptCommand --FilePath "per domain" >/dev/null
r script EnablePreferenceScriptCommand "Show Close on Browsers List selection menu" >/dev/null
r run - <<'EVENTS'
# a domain rule
open https://www.example.com/news
# a per-application rule: the link was clicked in Slack
open https://unruled.example.net/ --previous-app Slack
# shift held: the chooser, and the user picks Safari (opened in the background)
open https://github.com/ --modifiers shift --choose Safari
# no rule: the default choice shows the chooser; the user picks Firefox
open example.org --previous-app Finder --choose Firefox
# a mail link: the applications that handle mail
open mailto:someone@example.com --choose Mail
# the Services entry hands the text back to the program as a link
service https://www.example.com/from-services
EVENTS
echo; echo "== What the fake browsers were started with"
cat "$world/Library/Logs/launches.log"

echo; echo "== The status-bar menu, rebuilt from the stored settings"
r menu
echo; echo "== A rule made through the menu's dialog (a full address: only its host is kept)"
r click "Per Domain > Add domains..." \
  --dialog "input=https://docs.example.org:8443/guide?page=2;browser=Google Chrome;OK" | sed -n '1,/^pressed/p'
r rules | sed -n '1,/^Per-application/p'

echo; echo "== Links inside browsers: the front tab in the menu, and the tab watcher"
r tabs Safari https://www.example.com/moved https://docs.example.org/guide https://unruled.example.net/ --active 3
r run - <<'EVENTS'
running Safari,Firefox
front Safari
# the frontmost browser's current tab is the menu's first entry; choosing it offers the browsers
click https://unruled.example.net/ --choose Firefox
# "Manipulate links inside browsers": every 5 seconds, tabs go where their domain rule says
click 'Experimental >    Manipulate links inside browsers'
advance 5
EVENTS
r tabs Safari

echo; echo "== Changed through the menu: default browser, a preference, the priority"
"$routelle" --root "$world" click "Temporally open with: > Firefox" >/dev/null
"$routelle" --root "$world" click "Preferences... >    Open in background" >/dev/null
"$routelle" --root "$world" click "Priority (Domain/App) >    Per App" >/dev/null
echo "\$ routelle click \"Temporally open with: > Firefox\"   (and two more clicks)"
r menu | sed -n '1,12p;/^Priority/,/Per App/p;/^Preferences/,/Menu Bar Only/p'

echo; echo "== The text selection assistant (\"Show List on text selection\") in one run"
"$routelle" --root "$world" run - >/dev/null <<<"trust on"   # Accessibility granted before the start
"$routelle" --root "$world" click "Experimental >    Show List on text selection" >/dev/null
echo "\$ routelle click \"Experimental >    Show List on text selection\""
r run - <<'EVENTS'
front Slack
# a link inside the selected text: the browsers window at the pointer; the user picks Firefox
select 'the report is at www.example.com/report, have a look'
mouse up 200 300
choose Firefox
# plain text: the Search / Copy / Paste / Delete panel at the pointer
select 'rock & roll'
mouse up 220 310
press Search
choose Safari
select 'two lines\nof text'
mouse up
press Copy
pasteboard
mouse up
press Paste
advance 0.5
mouse up
press d
advance 0.5
# any key in another application hides the panel
mouse up
key
EVENTS
echo; echo "== The scripts the program ran, after the application in front at the time"
cat "$world/Library/Logs/scripts.log"

echo; echo "== The rules exported to the Downloads folder (named after the world's date)"
r date 2026-03-05
r script ExportCommandScript --FilePath /Users/user/Downloads
echo "\$ cat \$world/Users/user/Downloads/routelle-03-05-2026.xml"
cat "$world/Users/user/Downloads/routelle-03-05-2026.xml"
echo "(the file browser was asked to show it:)"
cat "$world/Library/Logs/finder.log"

echo; echo "== Imported into a second world that has rules of its own"
second=$(mktemp -d "${TMPDIR:-/tmp}/routelle-demo2-XXXXXX")
trap 'rm -rf "$world" "$second"' EXIT
r2() { printf "$ routelle --root second"; printf " %q" "$@"; echo; "$routelle" --root "$second" "$@"; }
r2 install-app Safari --id com.apple.Safari >/dev/null
r2 install-app Firefox --id org.mozilla.firefox >/dev/null
r2 script AddDomainScriptCommand www.example.com --FilePath Safari
r2 script AddDomainScriptCommand kept.example.org --FilePath Safari
cp "$world/Users/user/Downloads/routelle-03-05-2026.xml" "$second/Users/user/Downloads/"
r2 run - <<'EVENTS'
click "Preferences... >    Rules > Import" --open-panel /Users/user/Downloads/routelle-03-05-2026.xml
EVENTS
r2 rules

echo; echo "== A page shared from another application's Share menu"
r share --url "https://www.example.com/shared?id=7#comments" --text "a note"
echo "(the program, started with routelle://..., routed it by the domain rule:)"
tail -n 1 "$world/Library/Logs/launches.log"
