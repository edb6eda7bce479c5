// Subcommands that run the program and deliver events to it.
#include <fstream>
#include <iostream>

#include "Driver.h"
#include "ProgramRun.h"

namespace routelle::driver {

int runEvent(const Invocation& inv, std::ostream& out) {
  Descendants descendants;
  {
    ProgramRun run(inv, out, /*echo=*/true);
    run.deliver(inv.args);
    run.settle();
  }
  return 0;
}

int runMenu(const Invocation& inv, std::ostream& out) {
  if (inv.args.size() != 1) throw UsageError("menu takes no arguments");
  Descendants descendants;  // the tab watcher's first pass may move a tab at start-up
  ProgramRun run(inv, out, /*echo=*/false);
  run.settle();
  run.printMenu();
  return 0;
}

int runClick(const Invocation& inv, std::ostream& out) {
  Descendants descendants;
  {
    ProgramRun run(inv, out, /*echo=*/true);
    run.settle();
    run.deliver(inv.args);
    run.settle();
    run.printMenu();
  }
  return 0;
}

int runScriptFile(const Invocation& inv, std::ostream& out) {
  if (inv.args.size() != 2) throw UsageError("run needs a file (- for standard input)");
  std::ifstream file;
  std::istream* in = &std::cin;
  if (inv.args[1] != "-") {
    file.open(inv.args[1]);
    if (!file) throw UsageError("cannot read " + inv.args[1]);
    in = &file;
  }
  Descendants descendants;
  {
    ProgramRun run(inv, out, /*echo=*/true);
    // A pop-up waits for the next line: "choose TITLE" answers it, anything else dismisses it.
    auto& presenter = run.app().presenter;
    presenter.holdUnansweredMenus = true;
    std::string line;
    while (!run.terminated() && std::getline(*in, line)) {
      auto words = splitWords(line);
      if (words.empty() || words[0].starts_with("#")) continue;
      if (words[0] != "choose") presenter.dismissHeldMenu();
      out << "> " << line << "\n";
      run.deliver(words);
    }
    presenter.dismissHeldMenu();
    if (!run.terminated()) run.settle();
  }
  return 0;
}

}  // namespace routelle::driver
