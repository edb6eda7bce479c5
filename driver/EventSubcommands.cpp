// Subcommands that run the program and deliver events to it.
#include <fstream>
#include <iostream>

#include "Driver.h"
#include "ProgramRun.h"

namespace routelle::driver {

int runEvent(const Invocation& inv, const Event& event, std::ostream& out) {
  Descendants descendants;
  {
    ProgramRun run(inv, out, /*echo=*/true);
    run.deliver(event);
    run.settle();
  }
  return 0;
}

int runMenu(const Invocation& inv, const std::optional<std::string>& path, std::ostream& out) {
  Descendants descendants;  // the tab watcher's first pass may move a tab at start-up
  ProgramRun run(inv, out, /*echo=*/false);
  run.settle();
  if (path)
    run.printMenuEntry(*path);
  else
    run.printMenu();
  return 0;
}

int runClick(const Invocation& inv, const Event& event, std::ostream& out) {
  Descendants descendants;
  {
    ProgramRun run(inv, out, /*echo=*/true);
    run.settle();
    run.deliver(event);
    run.settle();
    run.printMenuChanges();
  }
  return 0;
}

int runScriptFile(const Invocation& inv, const std::string& path, std::ostream& out) {
  std::ifstream file;
  std::istream* in = &std::cin;
  if (path != "-") {
    file.open(path);
    if (!file) throw UsageError("cannot read " + path);
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
