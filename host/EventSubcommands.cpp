// Subcommands that deliver events to one run of the program.
#include <sys/prctl.h>
#include <sys/wait.h>

#include <fstream>
#include <iostream>
#include <sstream>

#include "Driver.h"
#include "platform/host/AppInstaller.h"
#include "platform/host/HostApp.h"
#include "support/Text.h"

namespace routelle::driver {
namespace {

struct EventOptions {
  std::uint64_t modifiers = 0;
  std::optional<std::string> previousApp;
  std::optional<std::vector<std::string>> running;
  std::optional<std::string> front;
  std::optional<std::string> choose;
};

std::uint64_t parseModifiers(const std::string& list) {
  static const std::map<std::string, std::uint64_t> names{
      {"shift", modifierFlags::shift},       {"control", modifierFlags::control},
      {"option", modifierFlags::option},     {"command", modifierFlags::command},
      {"capslock", modifierFlags::capsLock}, {"function", modifierFlags::function}};
  std::uint64_t flags = 0;
  for (const auto& name : text::split(list, ",")) {
    if (name.empty()) continue;
    auto it = names.find(name);
    if (it == names.end()) throw UsageError("unknown modifier \"" + name + "\"");
    flags |= it->second;
  }
  return flags;
}

// Splits the words after the subcommand into positional words and event options.
std::vector<std::string> takeOptions(const std::vector<std::string>& words, size_t from, EventOptions& options) {
  std::vector<std::string> positional;
  for (size_t i = from; i < words.size(); ++i) {
    const std::string& w = words[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= words.size()) throw UsageError(w + " needs a value");
      return words[++i];
    };
    if (w == "--modifiers") options.modifiers = parseModifiers(value());
    else if (w == "--previous-app") options.previousApp = value();
    else if (w == "--running") options.running = text::split(value(), ",");
    else if (w == "--front") options.front = value();
    else if (w == "--choose") options.choose = value();
    else if (w.size() > 2 && w.starts_with("--")) throw UsageError("unknown option \"" + w + "\"");
    else positional.push_back(w);
  }
  return positional;
}

// The program's own bundle, whose executable hands its arguments back to this
// driver as get-URL events, as the platform does for a running application.
void installOwnBundle(const World& world) {
  AppSpec wanted;
  wanted.name = "Routelle";
  wanted.identifier = std::string(domains::ownBundleIdentifier);
  wanted.urlSchemes = {"http", "https", "mailto", "routelle"};
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  wanted.executableScript = "for link in \"$@\"; do \"" + self.string() +
                          "\" --root \"$ROUTELLE_WORLD\" open \"$link\"; done\n";
  installApplication(world, wanted);
}

class EventRun {
 public:
  EventRun(const Invocation& inv, std::ostream& out) : app_(inv.root), out_(out) {
    app_.transcript.echo = [this](const std::string& line) { out_ << line << "\n" << std::flush; };
    if (inv.trace) app_.delegate.traceSink = [this](std::string_view line) { out_ << "trace: " << line << "\n"; };
    installOwnBundle(app_.system.world);
    app_.delegate.awakeFromNib();
  }

  // Delivers one event line: the subcommand word and its arguments.
  void deliver(const std::vector<std::string>& words) {
    EventOptions options;
    const std::string& kind = words.at(0);
    auto args = takeOptions(words, 1, options);
    apply(options);
    auto single = [&](const char* what) -> const std::string& {
      if (args.size() != 1) throw UsageError(kind + " needs exactly one " + what);
      return args[0];
    };
    if (kind == "open") app_.appleEvents.deliver(kInternetEventClass, kGetURLEventID, single("URL"));
    else if (kind == "file") app_.delegate.applicationOpenFile(single("path"));
    else if (kind == "service") {
      app_.pasteboard.contents = single("text");
      app_.delegate.openUrlWithRtl(app_.pasteboard);
    } else if (kind == "shortcut") {
      if (!args.empty()) throw UsageError("shortcut takes no arguments");
      app_.delegate.handleNewWindowShortcut();
    } else if (kind == "advance") {
      app_.runLoop.advance(std::stod(single("number of seconds")));
    } else {
      throw UsageError("unknown event \"" + kind + "\"");
    }
    if (auto clicked = app_.presenter.takeWindowChoice()) app_.delegate.perform(clicked->action, *clicked);
    app_.presenter.choice.reset();
    app_.events.flags = 0;
  }

  void finish() { app_.runLoop.advance(1.0); }

 private:
  void apply(const EventOptions& options) {
    auto& workspace = app_.system.workspace;
    app_.events.flags = options.modifiers;
    if (options.running) {
      std::vector<RunningApplication> running;
      for (const auto& name : *options.running)
        if (!name.empty()) running.push_back(workspace.runningApplicationNamed(name));
      workspace.setRunningApplications(std::move(running));
    }
    if (options.front) workspace.setFrontmostApplication(workspace.runningApplicationNamed(*options.front));
    if (options.previousApp) app_.delegate.setPreviousApplication(workspace.runningApplicationNamed(*options.previousApp));
    app_.presenter.choice = options.choose;
  }

  HostApp app_;
  std::ostream& out_;
};

// Shell-like words: blanks separate, quotes group, a backslash escapes.
std::vector<std::string> words(const std::string& line) {
  std::vector<std::string> out;
  std::string current;
  bool inWord = false;
  char quote = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quote) {
      if (c == quote) quote = 0;
      else if (c == '\\' && quote == '"' && i + 1 < line.size()) current += line[++i];
      else current += c;
    } else if (c == '"' || c == '\'') {
      quote = c;
      inWord = true;
    } else if (c == '\\' && i + 1 < line.size()) {
      current += line[++i];
      inWord = true;
    } else if (c == ' ' || c == '\t') {
      if (inWord) out.push_back(std::move(current));
      current.clear();
      inWord = false;
    } else {
      current += c;
      inWord = true;
    }
  }
  if (quote) throw UsageError("unterminated quote in: " + line);
  if (inWord) out.push_back(std::move(current));
  return out;
}

// Started applications are detached; as their subreaper the driver waits for
// them, so a run ends only when everything it started has.
void becomeSubreaper() { prctl(PR_SET_CHILD_SUBREAPER, 1); }

void reapDescendants() {
  int status = 0;
  while (waitpid(-1, &status, 0) > 0 || errno == EINTR) {
  }
}

}  // namespace

int runEvent(const Invocation& inv, std::ostream& out) {
  becomeSubreaper();
  {
    EventRun run(inv, out);
    run.deliver(inv.args);
    run.finish();
  }
  reapDescendants();
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
  becomeSubreaper();
  {
    EventRun run(inv, out);
    std::string line;
    while (std::getline(*in, line)) {
      auto w = words(line);
      if (w.empty() || w[0].starts_with("#")) continue;
      out << "> " << line << "\n";
      run.deliver(w);
    }
    run.finish();
  }
  reapDescendants();
  return 0;
}

}  // namespace routelle::driver
