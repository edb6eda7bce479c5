#include <ostream>

#include "Driver.h"
#include "scripting/ScriptCommands.h"

namespace routelle::driver {

void printHelp(std::ostream& out) {
  out << R"(usage: routelle [--root DIR] [--trace] SUBCOMMAND ...

The world is a directory standing in for a Mac (applications, preferences,
default handlers). Without --root it is $XDG_DATA_HOME/routelle/world
(or ~/.local/share/routelle/world). The user's home in it is /Users/user;
paths given to the program (script arguments, --open-panel answers) are
paths of the world.

Every subcommand that runs the program (script, open, file, service,
shortcut, run, menu, click) first starts it as the system does: first-use
defaults, the status item, the one-time offer to be the default browser. The
first start in a world also installs the program itself (/Applications/
Routelle.app, which hands links it is opened with to a run of its own, logged
to /Library/Logs/handoffs.log) and makes the user's Downloads folder.

Subcommands:
  script COMMAND [DIRECT] [--NAME VALUE]...
      Run one script command. COMMAND is the command class name; DIRECT is the
      direct parameter (the empty key); --FilePath X and --BrowserName X are the
      named parameters ("true"/"false" where the command takes a boolean).
      Prints the result (true, false or 0) as the last line of output.
      With --trace, notifications the command posts are printed first.
      Exit status: 0 done, 1 script error, 64 usage error.
  install-app NAME [--id BUNDLE-ID] [--folder DIR] [--schemes S1,S2]
              [--extensions E1,E2] [--executable NAME] [--binary]
      Place an application bundle NAME.app in the world (default folder
      /Applications), declaring URL schemes and document extensions; its
      executable logs how it was started ("NAME [(background)] ARG...") to
      /Library/Logs/launches.log of the world.
  open URL [EVENT OPTIONS]
      A get-URL event, as when a link is clicked anywhere.
  file PATH [EVENT OPTIONS]
      A document opened with the program.
  service TEXT
      The Services entry with TEXT on the pasteboard.
  shortcut [--choose TITLE]
      The global new-window shortcut (Control-Option-Command-N).
  menu
      Print the status-bar menu as rebuilt from the stored settings: one line
      per entry, two blanks of indentation per submenu level, "---" for a
      separator; after a tab: action, [key equivalent], image, (disabled).
  click "TITLE > TITLE > ..." [--choose TITLE] [--open-panel PATH] [--value N]
        [--dialog ANSWER]...
      Open the status menu and choose the entry reached by those exact titles
      (an entry without a title, such as the icon-size slider, by its action:
      "Preferences... > slideMove:" --value 20), then print the menu again.
      --choose answers a chooser, alert or window it shows (a window's button by
      its title), --open-panel an open panel.
      --dialog answers a rule dialog the click opens: ANSWER is a ";"-separated
      list of what the user does, in order, then the button pressed:
        input=TEXT          type TEXT in the text field (TEXT holds no ";")
        browser=TITLE       pick the browser pop-up's entry of that title
        app=TITLE           pick the application pop-up's entry of that title
        background=on|off   set the "Open in background" checkbox
        OK | Cancel         press that button; left out when a pick ends the
                            dialog by itself ("app=Choose another app")
      Give --dialog once per dialog shown, in order: "Choose another app" is
      followed by a file chooser (--open-panel PATH, or it is cancelled) and the
      dialog again. A dialog without an answer is cancelled. Every dialog is
      printed: message, informative text (line breaks as \n), each control with
      its frame, pop-up entries in order (the selected one marked "selected"),
      the checkbox state. A title the pop-up does not offer or a dialog left
      open is a usage error (exit status 64) and cancels the dialog; so is an
      answer no dialog used, reported after the dialogs before it took effect.
  run FILE
      Several events in one run of the program, one per line (FILE "-" reads
      standard input): open, file, service, shortcut, menu, click, reopen and
      quit with their options, "advance SECONDS" to move the clock on (the tab
      watcher makes a pass every 5 seconds), and world state that lasts until
      changed: "running NAME,NAME..." (the running applications, in order),
      "front NAME" (the frontmost application) and "tabs ...".
      Event options:
        --modifiers LIST     keys held: shift,control,option,command,capslock,function
        --previous-app NAME  the application that was active before
        --running LIST       running applications by name, in the workspace's order
        --front NAME         the frontmost application
        --choose TITLE       pick this entry or button when a menu, window or alert
                             shows ("A > B" for an entry of a submenu)
        --open-panel PATH    the application an open panel answers with
        --dialog ANSWER      the answer to a rule dialog (see click)
      What the program shows and runs is printed as it happens; --trace adds
      its diagnostic lines.
  tabs BROWSER [URL...] [--active N]
      Set window 1 of the browser to these tabs (the N-th active, 1-based,
      default 1); with no URL, print its tabs, the active one marked "*". A
      browser without tabs has no window. Also a line of "run".
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
      What the program shows and runs is printed as it happens (a shown window
      with its place, size and buttons; "window closed" when it hides); --trace
      adds its diagnostic lines. Every script the program runs is appended to
      /Library/Logs/scripts.log of the world with the application then in front.
  defaults [DOMAIN]
      Print the keys and values of a preferences domain (default
      com.kestrova.Routelle); archived lists are shown decoded.
  updater
      Print the updater's stored settings (feed, check interval, automatic checks).
  default-browser-answer accept|decline
      How the user answers when the system asks whether the program may become
      the default web browser (accept until told otherwise).
  share [--url URL]... [--text TEXT]... [--no-items] [--cancel]
      Run the Share extension once, as when a page is shared from another
      application's Share menu: one input item holding the attachments in
      order (a URL attachment conforms to the URL type and loads as that URL,
      or as nothing when the text is no URL; a text attachment does not
      conform); --no-items shares no item at all. The attachments load each on
      a thread of its own; --cancel presses the sheet's Cancel button before
      they do. Prints the sheet as it changes ("sheet: TITLE URL"), the
      extension's standard output ("stdout: ..."), what it starts, and how the
      request ended on the extension's clock (0 s, or 10 s for the fallback
      close). A URL handed off starts Routelle.app with "routelle://URL".
  date [YYYY-MM-DD | --now]
      The world's calendar: fix today's date (exports are named after it) or
      go back to the host's local date; prints the date in force.
  rules
      Print the stored rules: domain rules, per-application rules, priority,
      modifier-key rules and the onion rule.
  help, --help
      This text.

Script commands:
)";
  for (auto name : scriptCommandClassNames()) out << "  " << name << "\n";
}

}  // namespace routelle::driver
