#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "Driver.h"
#include "EventOptions.h"
#include "HostApp.h"
#include "platform/host/MenuDescription.h"

namespace routelle::driver {

// One run of the program in the world: started as the system starts it, then
// fed events line by line; what it shows and runs is printed as it happens.
class ProgramRun {
 public:
  ProgramRun(const Invocation& inv, std::ostream& out, bool echo);

  // One line of "run": the event word and its arguments ("open URL --choose X"...).
  void deliver(const std::vector<std::string>& words);
  void deliver(const Event& event);
  // Lets the timers due in the next second run.
  void settle() { app_.runLoop.advance(1.0); }
  void printMenu();
  // One entry as "menu" prints it, with its submenu; a path that reaches nothing is a usage error.
  void printMenuEntry(const std::string& path);
  // The lines of the status menu that the last click changed, against the menu
  // the user saw when choosing the entry.
  void printMenuChanges();
  bool terminated() const { return app_.application.terminated(); }
  HostApp& app() { return app_; }

 private:
  void apply(const EventOptions& options);
  void click(const std::string& path, const EventOptions& options);
  // What the user does around the selection assistant; false for another kind of event.
  bool deliverSelectionEvent(const std::string& kind, const std::vector<std::string>& args, bool noFocus);
  void finishDialogs();
  // A --choose title that nothing shown offered.
  void checkChoiceTaken();

  HostApp app_;
  std::ostream& out_;
  std::vector<MenuLine> menuAtClick_;
};

// Installs the program's own bundle in the world (and the first time, the
// user's Downloads folder), as the program is installed on a Mac.
void installOwnBundle(const World& world);

// A finite number written out in full, or a usage error.
double number(const std::string& text);
// Shell-like words: blanks separate, quotes group, a backslash escapes.
std::vector<std::string> splitWords(const std::string& line);
// Detached applications the run started are waited for before the driver exits,
// however the run ends (a usage error in the middle of a run, too).
class Descendants {
 public:
  Descendants();
  ~Descendants();
  Descendants(const Descendants&) = delete;
  Descendants& operator=(const Descendants&) = delete;
};

}  // namespace routelle::driver
