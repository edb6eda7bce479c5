#include <ostream>

#include "Driver.h"
#include "scripting/ScriptCommands.h"

namespace routelle::driver {

void printHelp(std::ostream& out) {
  out << R"(usage: routelle [--root DIR] [--trace] SUBCOMMAND ...

The world is a directory standing in for a Mac (applications, preferences,
default handlers). Without --root it is $XDG_DATA_HOME/routelle/world
(or ~/.local/share/routelle/world).

Subcommands:
  script COMMAND [DIRECT] [--NAME VALUE]...
      Run one script command. COMMAND is the command class name; DIRECT is the
      direct parameter (the empty key); --FilePath X and --BrowserName X are the
      named parameters ("true"/"false" where the command takes a boolean).
      Prints the result (true, false or 0) as the last line of output.
      With --trace, notifications the command posts are printed first.
      Exit status: 0 done, 1 script error, 64 usage error.
  install-app NAME [--id BUNDLE-ID] [--folder DIR] [--schemes S1,S2] [--binary]
      Place an application bundle NAME.app in the world (default folder
      /Applications); its executable logs how it was started to
      /Library/Logs/launches.log of the world.
  defaults [DOMAIN]
      Print the keys and values of a preferences domain (default
      com.kestrova.Routelle); archived lists are shown decoded.
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
