// The host driver: runs the program's core against a stand-in macOS world.
#include <cstdlib>
#include <iostream>
#include <stdexcept>

#include "Driver.h"

using namespace routelle::driver;

namespace {

std::filesystem::path defaultRoot() {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
    return std::filesystem::path(data) / "routelle" / "world";
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home && *home ? home : ".") / ".local" / "share" / "routelle" / "world";
}

Invocation parse(int argc, char** argv) {
  Invocation inv;
  inv.root = defaultRoot();
  int i = 1;
  for (; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--root") {
      if (++i >= argc) throw UsageError("--root needs a directory");
      inv.root = argv[i];
    } else if (a == "--trace") {
      inv.trace = true;
    } else {
      break;
    }
  }
  for (; i < argc; ++i) inv.args.emplace_back(argv[i]);
  return inv;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    Invocation inv = parse(argc, argv);
    if (inv.args.empty() || inv.args[0] == "--help" || inv.args[0] == "help") {
      printHelp(inv.args.empty() ? std::cerr : std::cout);
      return inv.args.empty() ? 64 : 0;
    }
    const std::string& sub = inv.args[0];
    if (sub == "script") return runScript(inv, std::cout, std::cerr);
    if (sub == "install-app") return runInstallApp(inv, std::cout);
    if (sub == "defaults") return runDefaults(inv, std::cout);
    if (sub == "updater") return runUpdater(inv, std::cout);
    if (sub == "tabs") return runTabs(inv, std::cout);
    if (sub == "default-browser-answer") return runDefaultBrowserAnswer(inv, std::cout);
    if (sub == "rules") return runRules(inv, std::cout);
    if (sub == "open" || sub == "file" || sub == "service" || sub == "shortcut") return runEvent(inv, std::cout);
    if (sub == "run") return runScriptFile(inv, std::cout);
    if (sub == "menu") return runMenu(inv, std::cout);
    if (sub == "click") return runClick(inv, std::cout);
    if (sub == "share") return runShare(inv, std::cout);
    if (sub == "date") return runDate(inv, std::cout);
    throw UsageError("unknown subcommand \"" + sub + "\" (see routelle --help)");
  } catch (const UsageError& e) {
    std::cerr << "routelle: " << e.what() << "\n";
    return 64;
  } catch (const std::exception& e) {
    std::cerr << "routelle: " << e.what() << "\n";
    return 70;
  }
}
