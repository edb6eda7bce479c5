#pragma once
#include <filesystem>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/host/World.h"

namespace routelle::driver {

struct Invocation {
  std::filesystem::path root;
  bool trace = false;
  std::vector<std::string> args;  // the subcommand and what follows it
};

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

int runScript(const Invocation& inv, std::ostream& out, std::ostream& err);
int runInstallApp(const Invocation& inv, std::ostream& out);
int runDefaults(const Invocation& inv, std::ostream& out);
int runUpdater(const Invocation& inv, std::ostream& out);
int runDefaultBrowserAnswer(const Invocation& inv, std::ostream& out);
int runRules(const Invocation& inv, std::ostream& out);
int runEvent(const Invocation& inv, std::ostream& out);
int runScriptFile(const Invocation& inv, std::ostream& out);
int runMenu(const Invocation& inv, std::ostream& out);
int runClick(const Invocation& inv, std::ostream& out);
int runShare(const Invocation& inv, std::ostream& out);
int runDate(const Invocation& inv, std::ostream& out);

int runTabs(const Invocation& inv, std::ostream& out);
// "tabs BROWSER [URL...] [--active N]": window 1's tabs, set or printed.
void setOrPrintTabs(const World& world, const std::vector<std::string>& words, std::ostream& out);

void printHelp(std::ostream& out);

}  // namespace routelle::driver
