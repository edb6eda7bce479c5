#include "ProgramRun.h"

#include <sys/prctl.h>
#include <sys/wait.h>

#include <cerrno>
#include <cmath>
#include <fstream>
#include <iterator>
#include <utility>

#include "platform/host/AppInstaller.h"
#include "platform/host/DialogAnswer.h"
#include "platform/host/MenuDescription.h"
#include "platform/host/MenuPath.h"
#include "routing/CleaningTables.h"
#include "support/Text.h"

namespace routelle::driver {

namespace {

constexpr unsigned kKeyCodeN = 45;
constexpr std::uint64_t kControlOptionCommand = 0x1C0000;

}  // namespace

ProgramRun::ProgramRun(const Invocation& inv, std::ostream& out, bool echo) : app_(inv.root), out_(out) {
  if (inv.trace) app_.delegate.setTraceSink([this](std::string_view line) { out_ << "trace: " << line << "\n"; });
  // Start-up shows its own things (the status item...) only when tracing.
  if (inv.trace) app_.transcript.echo = [this](const std::string& line) { out_ << line << "\n" << std::flush; };
  installOwnBundle(app_.system.world);
  app_.start();
  // The start-up's own timers (the first menu build) run before the user can act.
  settle();
  if (echo)
    app_.transcript.echo = [this](const std::string& line) { out_ << line << "\n" << std::flush; };
  else if (!inv.trace)
    app_.transcript.echo = nullptr;
}

void ProgramRun::deliver(const std::vector<std::string>& words) {
  // World state that lasts until changed.
  const std::string& first = words.at(0);
  auto& workspace = app_.system.workspace;
  if (first == "tabs") return setOrPrintTabs(app_.system.world, parseTabsLine(words), out_);
  if (first == "running") {
    if (words.size() != 2) throw UsageError("running needs one comma-separated list of names");
    std::vector<RunningApplication> running;
    for (const auto& name : text::split(words[1], ","))
      if (!name.empty()) running.push_back(workspace.runningApplicationNamed(name));
    workspace.setRunningApplications(std::move(running));
    return;
  }
  deliver(parseEventLine(words));
}

void ProgramRun::deliver(const Event& event) {
  const auto& options = event.options;
  const auto& args = event.args;
  const std::string& kind = event.kind;
  auto single = [&](const char* what) -> const std::string& {
    if (args.size() != 1) throw UsageError(kind + " needs exactly one " + what);
    return args[0];
  };
  auto none = [&] {
    if (!args.empty()) throw UsageError(kind + " takes no arguments");
  };
  if (options.noFocus && kind != "select") throw UsageError("--no-focus goes with select only");
  apply(options);
  auto& d = app_.delegate;
  if (kind == "open")
    app_.appleEvents.deliver(kInternetEventClass, kGetURLEventID, single("URL"));
  else if (kind == "file")
    d.applicationOpenFile(single("path"));
  else if (kind == "service") {
    app_.pasteboard.contents = single("text");
    app_.application.requestService(app_.pasteboard);
  } else if (kind == "shortcut") {
    none();
    app_.shortcuts.press(kKeyCodeN, kControlOptionCommand);
  } else if (kind == "advance") {
    app_.runLoop.advance(number(single("number of seconds")));
  } else if (kind == "reopen") {
    none();
    d.applicationShouldHandleReopen(false);
  } else if (kind == "quit") {
    none();
    click("Quit", options);
  } else if (kind == "click") {
    click(single("menu path"), options);
  } else if (kind == "menu") {
    none();
    settle();
    printMenu();
  } else if (!deliverSelectionEvent(kind, args, options.noFocus)) {
    throw UsageError("unknown event \"" + kind + "\"");
  }
  if (auto clicked = app_.presenter.takeWindowChoice()) d.perform(clicked->action, *clicked);
  finishDialogs();
  // What the event queued for this instant (a panel's answer, a fallback list) runs before the next event.
  while (!terminated() && app_.runLoop.runNextDue()) {
  }
  app_.presenter.openPanelAnswer.reset();
  app_.events.flags = 0;
  checkChoiceTaken();
}

// An open panel answered during the event brings its dialog back at once
// ("Choose another app"): the main queue's work of this moment runs while
// dialog answers wait. Answers left over, or that could not be given, are the
// caller's mistake.
void ProgramRun::finishDialogs() {
  auto& presenter = app_.presenter;
  while (!presenter.dialogAnswers.empty() && !presenter.answerProblem && app_.runLoop.runNextDue()) {
  }
  auto problem = std::exchange(presenter.answerProblem, std::nullopt);
  const std::size_t unused = presenter.dialogAnswers.size();
  presenter.dialogAnswers.clear();
  if (problem) throw UsageError(*problem);
  if (unused) throw UsageError(std::to_string(unused) + " --dialog answer(s) left: no dialog showed for them");
}

// The choice is the user's answer to what the event shows: one that fits nothing
// shown is the caller's mistake, named with what was offered.
void ProgramRun::checkChoiceTaken() {
  auto& presenter = app_.presenter;
  const auto choice = std::exchange(presenter.choice, std::nullopt);
  const auto misses = std::exchange(presenter.choiceMisses, {});
  if (!choice || misses.empty()) return;
  std::string offered;
  for (const auto& miss : misses) offered += "; " + miss;
  throw UsageError("--choose \"" + *choice + "\" matches nothing shown" + offered);
}

void ProgramRun::apply(const EventOptions& options) {
  auto& workspace = app_.system.workspace;
  app_.events.flags = options.modifiers;
  if (options.running) {
    std::vector<RunningApplication> running;
    for (const auto& name : *options.running)
      if (!name.empty()) running.push_back(workspace.runningApplicationNamed(name));
    workspace.setRunningApplications(std::move(running));
  }
  if (options.front) workspace.setFrontmostApplication(workspace.runningApplicationNamed(*options.front));
  if (options.previousApp) {
    auto app = workspace.runningApplicationNamed(*options.previousApp);
    UserInfo info{{kApplicationNameKey, app.localizedName}, {kApplicationBundleIdentifierKey, app.bundleIdentifier}};
    if (app.bundlePath) info[kApplicationBundlePathKey] = *app.bundlePath;
    app_.system.workspaceNotifications.post(kDidDeactivateApplicationNotification, info);
  }
  app_.presenter.choice = options.choose;
  app_.presenter.choiceMisses.clear();
  app_.presenter.openPanelAnswer = options.openPanel;
  app_.presenter.dialogAnswers.assign(options.dialogs.begin(), options.dialogs.end());
}

// The user opens the status menu (it refreshes as it opens) and picks the entry
// reached by the titles; an entry without a title is reached by its action.
void ProgramRun::click(const std::string& path, const EventOptions& options) {
  auto& d = app_.delegate;
  d.menuWillOpen(d.statusMenu().menu());
  app_.runLoop.advance(0.1);
  const auto match = findMenuEntry(d.statusMenu().menu(), path, {.untitledByAction = true});
  if (!match.item) throw UsageError("click \"" + path + "\": " + match.problem);
  menuAtClick_ = menuLines(d.statusMenu().menu());
  const MenuItem* item = match.item;
  MenuItem sender = *item;
  if (options.value && sender.view) {
    sender.view = std::make_shared<View>(*sender.view);
    for (auto& sub : sender.view->subviews)
      if (sub.kind == View::Kind::slider) sub.value = *options.value;
    sender.view->value = *options.value;
  }
  if (!sender.enabled || sender.action.empty()) {
    app_.transcript.add("\"" + sender.title + "\" does nothing when chosen");
    return;
  }
  if (!d.perform(sender.action, sender)) app_.transcript.add("no action " + sender.action + " in this version");
}

void ProgramRun::printMenuChanges() {
  for (const auto& line : describeMenuChanges(menuAtClick_, menuLines(app_.delegate.statusMenu().menu())))
    out_ << line << '\n';
  out_ << std::flush;
}

void ProgramRun::printMenuEntry(const std::string& path) {
  const auto match = findMenuEntry(app_.delegate.statusMenu().menu(), path, {.untitledByAction = true});
  if (!match.item) throw UsageError("menu \"" + path + "\": " + match.problem);
  Menu entry;
  entry.items = {*match.item};
  describeMenu(entry, 0, [this](const std::string& line) { out_ << line << '\n'; });
  out_ << std::flush;
}

void ProgramRun::printMenu() {
  // Written in large blocks: the rule lists alone make tens of thousands of lines.
  std::string block;
  describeMenu(app_.delegate.statusMenu().menu(), 0, [&](const std::string& line) {
    block.append(line) += '\n';
    if (block.size() < 60000) return;
    out_.write(block.data(), static_cast<std::streamsize>(block.size()));
    block.clear();
  });
  out_.write(block.data(), static_cast<std::streamsize>(block.size()));
  out_ << std::flush;
}

// The data files the Mac bundle carries in Contents/Resources, where the program
// looks for them; rewritten only when they differ, so a user's look stays cheap.
void installOwnResources(const std::filesystem::path& bundle) {
  const auto file = bundle / "Contents" / "Resources" / "LinkCleaning.txt";
  std::ifstream installed(file, std::ios::binary);
  const std::string current((std::istreambuf_iterator<char>(installed)), std::istreambuf_iterator<char>());
  if (current == shippedLinkCleaning()) return;
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  std::ofstream(file, std::ios::binary | std::ios::trunc) << shippedLinkCleaning();
}

// The program's own bundle, whose executable hands its arguments back to this
// driver as get-URL events, as the platform does for a running application; and,
// the first time, the user's Downloads folder (a world may do without it later).
void installOwnBundle(const World& world) {
  const auto bundle = world.hostPath("/Applications/Routelle.app");
  std::error_code exists;
  if (!std::filesystem::exists(bundle, exists))
    std::filesystem::create_directories(world.hostPath(HostFileManager::kDownloads), exists);
  AppSpec own;
  own.name = "Routelle";
  own.identifier = std::string(domains::ownBundleIdentifier);
  own.urlSchemes = {"http", "https", "mailto", "routelle"};
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  // It runs beside the run that started it, so what it shows goes to a log of its
  // own rather than into the middle of that run's output.
  own.executableScript =
      "for link in \"$@\"; do \"" + self.string() +
      "\" --root \"$ROUTELLE_WORLD\" open \"$link\" >> \"$ROUTELLE_WORLD/Library/Logs/handoffs.log\" "
      "2>&1; done\n";
  // Installed once: a hand-off may be running the executable right now, and a
  // script rewritten under the shell that reads it runs lines twice.
  std::ifstream installed(bundle / "Contents" / "MacOS" / own.executable, std::ios::binary);
  const std::string current((std::istreambuf_iterator<char>(installed)), std::istreambuf_iterator<char>());
  if (current == "#!/bin/sh\n" + own.executableScript &&
      std::filesystem::exists(bundle / "Contents" / "Info.plist", exists)) {
    installOwnResources(bundle);
    return;
  }
  installApplication(world, own);
  installOwnResources(bundle);
}

double number(const std::string& text) {
  size_t used = 0;
  double v = 0;
  try {
    v = std::stod(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used == 0 || used != text.size() || !std::isfinite(v)) throw UsageError("not a number: \"" + text + "\"");
  return v;
}

std::vector<std::string> splitWords(const std::string& line) {
  std::vector<std::string> out;
  std::string current;
  bool inWord = false;
  char quote = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quote) {
      if (c == quote)
        quote = 0;
      else if (c == '\\' && quote == '"' && i + 1 < line.size())
        current += line[++i];
      else
        current += c;
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

Descendants::Descendants() { prctl(PR_SET_CHILD_SUBREAPER, 1); }

Descendants::~Descendants() {
  while (waitpid(-1, nullptr, 0) > 0 || errno == EINTR) {
  }
}

}  // namespace routelle::driver
