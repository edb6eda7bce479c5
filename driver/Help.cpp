#include "Help.h"

#include <filesystem>

#include "scripting/ScriptCommands.h"

namespace routelle::driver::help {

const char* const kAbout = "Runs the program's core against a stand-in macOS world.";

std::string footer() {
  std::string text = R"(The world is a directory standing in for a Mac (applications, preferences,
default handlers). Without --root it is $XDG_DATA_HOME/routelle/world
(or ~/.local/share/routelle/world). The user's home in it is /Users/user;
paths given to the program (script arguments, --open-panel answers) are
paths of the world.

Every verb that runs the program (script, open, file, service, shortcut, run,
menu, click) first starts it as the system does: first-use defaults, the
status item, the one-time offer to be the default browser. The first start in
a world also installs the program itself (/Applications/Routelle.app, which
hands links it is opened with to a run of its own, logged to
/Library/Logs/handoffs.log) and makes the user's Downloads folder.

A usage error exits with status 64 and changes nothing; "routelle VERB --help"
shows a verb's options and details.

Script commands:
)";
  for (auto name : scriptCommandClassNames()) text += "  " + std::string(name) + "\n";
  std::error_code unknown;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", unknown);
  text += "\nThis driver: " + (unknown ? std::string("(unknown)") : self.string()) + "\n";
  return text;
}

const char* const kScript = R"(COMMAND is the command class name (listed by routelle --help); DIRECT is the
direct parameter (the empty key); --FilePath X and --BrowserName X are the
named parameters ("true"/"false" where the command takes a boolean). A
parameter the command does not take is a usage error that names those it takes.
Prints the result (true, false or 0) as the last line of output. With --trace,
notifications the command posts are printed first.
Exit status: 0 done, 1 script error, 64 usage error.)";

const char* const kInstallApp = R"(Place an application bundle NAME.app in the world (default folder
/Applications), declaring URL schemes and document extensions; its executable
logs how it was started ("NAME [(background)] ARG...") to
/Library/Logs/launches.log of the world.)";

const char* const kMenu = R"(Print the status-bar menu as rebuilt from the stored settings: one line per
entry, two blanks of indentation per submenu level, "---" for a separator;
after a tab: action, [key equivalent], image, (disabled). With a path of
titles (as "click" takes them), only that entry and its submenu.)";

const char* const kClick = R"(Open the status menu and choose the entry reached by those titles, then print
what changed in the menu: its lines as "menu" prints them, "-" before a line
that went and "+" before one that came, in groups headed by the submenu they
are in ("menu unchanged" when nothing did; "menu" prints the whole). A title matches as printed by "menu", or without its state
mark ("✓", the blanks of an entry that is off) and blanks around it, so
"Preferences... > Open in background" works either way; an exact title wins,
and a title that could be two entries is a usage error naming them. An entry
without a title, such as the icon-size slider, goes by its action:
"Preferences... > slideMove:" --value 20. A path that reaches nothing is a
usage error listing what that level offers.

--choose answers a chooser, alert or window it shows (a window's button by
its title); a title that fits nothing shown is a usage error listing what was
offered. --open-panel answers an open panel.
--dialog answers a dialog the click opens (a rule dialog, "Test a Link..."):
ANSWER is a ";"-separated list of what the user does, in order, then the
button pressed:
  input=TEXT          put TEXT in the text field over what it held (TEXT
                      holds no ";")
  type=TEXT           type TEXT after what the text field holds
  browser=TITLE       pick the browser pop-up's entry of that title
  app=TITLE           pick the application pop-up's entry of that title
  keys=TITLE          pick the modifier pop-up's entry of that title
  background=on|off   set the "Open in background" checkbox
  OK | Cancel         press that button; left out when a pick ends the
                      dialog by itself ("app=Choose another app")
Give --dialog once per dialog shown, in order: "Choose another app" is
followed by a file chooser (--open-panel PATH, or it is cancelled) and the
dialog again. A dialog without an answer is cancelled. Every dialog is
printed: message, informative text (line breaks as \n), each control with
its frame, pop-up entries in order (the selected one marked "selected"), the
checkbox state. A window that follows each edit ("Test a Link...") also
prints, after each, what it then shows differently. A title the pop-up does not offer or a dialog left open is a
usage error (exit status 64) and cancels the dialog; so is an answer no
dialog used, reported after the dialogs before it took effect.)";

const char* const kRun = R"(Several events in one run of the program, one per line (FILE "-" reads
standard input): open, file, service, shortcut, menu, click, reopen and quit
with the event options (see open --help), "advance SECONDS" to move the clock
on (the tab watcher makes a pass every 5 seconds), and world state that lasts
until changed: "running NAME,NAME..." (the running applications, in order),
"front NAME" (the frontmost application) and "tabs ...".
A pop-up the line shows waits for the next line: "choose TITLE" answers it.

Events around the text selection assistant ("Show List on text selection"):
  front [NAME]         the frontmost application (without NAME: none)
  trust on|off         Accessibility permission; a prompt the program asks
                       for is printed
  select [TEXT]        the focused element's selected text (none: nothing
                       selected); in TEXT, \n, \t, \\ and \xHH are escapes
                       (quote it with '...')
  select --no-focus    no element has the focus
  mouse down|up|drag|right [X Y]
                       a left button press, release or drag, or a right
                       click, in another application, at X Y (default: where
                       the pointer was)
  key [down|up|flags]  a key pressed (down and up) or a modifier change in
                       another application
  press TITLE|KEY      a button of the shown panel or window, by its title
                       (Search, Copy, Paste, Delete) or key (s, c, p, d)
  choose TITLE         the entry of the pop-up list the line before showed,
                       or the button of the floating browsers window
  pasteboard           print the general pasteboard's text
What the program shows and runs is printed as it happens (a shown window with
its place, size and buttons; "window closed" when it hides); --trace adds its
diagnostic lines. Every script the program runs is appended to
/Library/Logs/scripts.log of the world with the application then in front.)";

const char* const kTabs = R"(Set window 1 of the browser to these tabs (the N-th active, 1-based,
default 1); with no URL, print its tabs, the active one marked "*". A browser
without tabs has no window. Also a line of "run".)";

const char* const kDefaults = R"(Print the keys and values of a preferences domain (default
com.kestrova.Routelle); archived lists are shown decoded.)";

const char* const kShare = R"(Run the Share extension once, as when a page is shared from another
application's Share menu: one input item holding the attachments in order (a
URL attachment conforms to the URL type and loads as that URL, or as nothing
when the text is no URL; a text attachment does not conform); --no-items
shares no item at all. The attachments load each on a thread of its own;
--cancel presses the sheet's Cancel button before they do. Prints the sheet as
it changes ("sheet: TITLE URL"), the extension's standard output
("stdout: ..."), what it starts, and how the request ended on the extension's
clock (0 s, or 10 s for the fallback close). A URL handed off starts
Routelle.app with "routelle://URL".)";

const char* const kDate = R"(The world's calendar: fix today's date (exports are named after it) or go back
to the host's local date; prints the date in force.)";

const char* const kRules = R"(Print the stored rules: domain rules, per-application rules, priority,
modifier-key rules and the onion rule.)";

const char* const kExplain = R"(Print what the program would do with a link clicked now, and why, without
doing it: nothing is launched and nothing in the world changes. One line per
step routing takes (own scheme and extension marker, mail link, Clean Links,
modifier keys, rule order, application rules, onion rule, domain rules with
every rule that matched, default choice, opened browser, browsers list, the
browser profile a rule keeps); the deciding step is
marked "*"; then the decision and the open command that would start the
browser. A link the program would not open is explained too. Exit status 0.

With --json, one JSON object:
  received    the link as given
  link        as the program handles it
  host        the host rules compare (null when the link has none)
  path        the link's path
  steps       [{step, found, decided, matches?}] in routing's order; step is
              one of no-link, own-scheme, extension-marker, mail-link,
              clean-links, modifier-keys, rule-order, application-rules,
              onion-rule, domain-rules, default-choice, opened-browser,
              browsers-list, profile, launch; matches (domain rules) are [{rule, browser, reason}],
              the deciding rule first
  decided_by  the step that decided (null when none did)
  outcome     launch, browsers-list, open-with-menu or nothing
  browser     the browser launched (null unless outcome is launch)
  summary     the decision in one line ("Firefox — rule *.example.org")
  launch      null, or {way, background, commands: [{program, arguments}],
              refused?}; way is open-command (the second command runs when
              the first finds no application), open-command-once,
              executable, open-url or refused)";

const char* const kProfiles = R"(Print the profiles the program finds for a browser, one a line: the title
it offers them by ("Google Chrome — Work"), a tab, and the profile's directory.
With DIRECTORY=NAME pairs, first lay out the browser's own list of profiles in
the world as the browser writes it (Chromium family: "Local State" in its
folder under ~/Library/Application Support; Firefox family: "profiles.ini",
a DIRECTORY starting with "/" being an absolute path), replacing the list.)";

}  // namespace routelle::driver::help
