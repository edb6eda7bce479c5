#include "routing/BrowserLauncher.h"

#include "routing/RunningBrowsers.h"
#include "settings/Keys.h"

namespace routelle {
namespace {

constexpr const char* kOpen = "/usr/bin/open";
constexpr const char* kNewWindowScript =
    "delay 0.5\ntell application \"System Events\" to keystroke \"n\" using {command down}";

// "/Applications/" and the text, with ".app" appended unless it ends so already.
std::string applicationPath(const std::string& browser) {
  constexpr std::string_view kFolder = "/Applications/";
  constexpr std::string_view kSuffix = ".app";
  std::string path;
  path.reserve(kFolder.size() + browser.size() + kSuffix.size());
  path.append(kFolder).append(browser);
  if (!path.ends_with(kSuffix)) path.append(kSuffix);
  return path;
}

}  // namespace

BrowserLauncher::BrowserLauncher(const Dependencies& deps)
    : settings_(deps.settings),
      registry_(deps.registry),
      request_(deps.request),
      presenter_(deps.presenter),
      statusMenu_(deps.statusMenu),
      urls_(deps.urls),
      workspace_(deps.workspace),
      processes_(deps.processes),
      scripts_(deps.scripts),
      runLoop_(deps.runLoop),
      trace_(deps.trace),
      chooser_(deps.chooser),
      profiles_(deps.profiles) {}

void BrowserLauncher::launchBrowser(const std::string& link, const std::string& browser) {
  if (auto titled = profiles_.splitTitle(browser)) {
    launchBrowser(link, titled->browser, titled->profile);
    return;
  }
  launch(link, browser, {});
}

void BrowserLauncher::launchBrowser(const std::string& link, const std::string& browser, const std::string& profile) {
  auto arguments = profileArguments(link, browser, profile);
  if (!arguments) trace_(profileFallback(link, browser, profile));
  launch(link, browser, arguments.value_or(std::vector<std::string>{}));
}

std::string BrowserLauncher::profileFallback(const std::string& link, const std::string& browser,
                                             const std::string& profile) {
  if (link.starts_with("-")) return "the link would read as an option of " + browser + ": it opens as itself";
  return browser + " lists no profile \"" + profile + "\" any more: it opens as itself";
}

std::optional<std::vector<std::string>> BrowserLauncher::profileArguments(const std::string& link,
                                                                          const std::string& browser,
                                                                          const std::string& profile) {
  // A link read as an option by the browser could change how it starts.
  if (link.starts_with("-")) return std::nullopt;
  auto found = profiles_.find(browser, profile);
  if (!found) return std::nullopt;
  return profiles_.launchArguments(browser, *found);
}

void BrowserLauncher::launchInProfile(const std::string& link, const std::string& browser,
                                      const std::vector<std::string>& profileArguments) {
  launch(link, browser, profileArguments);
}

void BrowserLauncher::launch(const std::string& link, const std::string& browser,
                             const std::vector<std::string>& profileArguments) {
  trace_(browser);
  bool background = settings_.ensureBool(keys::openInBackground, false);
  if (request_.takeBackgroundOnce()) background = true;
  if (!request_.opensLink()) {
    openNewBrowserWindow(browser);
    return;
  }
  if (!background) trace_(trace::foreground);
  presenter_.cancelMenuTracking(statusMenu_);
  const bool started =
      !registry_.isProgramItself(browser) && start(link, browser, background, profileArguments) != Start::failed;
  request_.setOpensLink(true);
  if (!started) offerOtherBrowsers(link, browser);
}

bool BrowserLauncher::openMovedTab(const std::string& url, const std::string& browser) {
  trace_(browser);
  const bool background = settings_.ensureBool(keys::openInBackground, false);
  if (!background) trace_(trace::foreground);
  // The status menu is the main thread's, as is closing it.
  runLoop_.post([this] { presenter_.cancelMenuTracking(statusMenu_); });
  // The tab is closed once the browser has it: only a start known to succeed counts.
  return !registry_.isProgramItself(browser) && start(url, browser, background) == Start::opened;
}

LaunchPlan BrowserLauncher::plan(const std::string& link, const std::string& browser, bool background,
                                 const std::optional<std::vector<RunningApplication>>& running,
                                 const std::vector<std::string>& profileArguments) const {
  if (registry_.isProgramItself(browser)) {
    LaunchPlan refused;
    refused.background = background;
    refused.reason = "\"" + browser + "\" is this program, which never opens a link itself: the browsers list is shown";
    return refused;
  }
  return commandsFor(link, browser, background, running, profileArguments);
}

LaunchPlan BrowserLauncher::commandsFor(const std::string& link, const std::string& browser, bool background,
                                        const std::optional<std::vector<RunningApplication>>& running,
                                        const std::vector<std::string>& profileArguments, Commands wanted) const {
  LaunchPlan plan;
  plan.background = background;
  // A link beginning with "-" must never read as an option of the command.
  auto command = [&](std::string application) {
    // Sized once: this runs for every link.
    std::vector<std::string> args;
    args.reserve(6 + profileArguments.size());
    if (background) args.emplace_back("-g");
    args.emplace_back("-a");
    args.push_back(std::move(application));
    if (!profileArguments.empty()) {
      // A running browser would take the link in its current profile: a new
      // instance is the one that reads the profile argument.
      args.insert(args.begin(), "-n");
      args.emplace_back("--args");
      args.insert(args.end(), profileArguments.begin(), profileArguments.end());
      args.push_back(link);
      return LaunchPlan::Command{kOpen, std::move(args)};
    }
    if (link.starts_with("-")) args.emplace_back("--");
    args.push_back(link);
    return LaunchPlan::Command{kOpen, std::move(args)};
  };
  if (browser == "Helium") {
    std::string url = "helium://" + link;
    if (!urls_.parse(url)) {
      plan.reason = "\"helium://\" followed by the link is no valid URL";
      return plan;
    }
    plan.way = LaunchPlan::Way::openURL;
    plan.commands.push_back({std::move(url), {}});
    return plan;
  }
  if (browser == "TorBrowser") {
    bool torRunning = false;
    for (const auto& app : running ? *running : workspace_.runningApplications())
      torRunning = torRunning || app.localizedName == "TorBrowser" || app.localizedName == "Tor Browser";
    if (torRunning) {
      plan.way = LaunchPlan::Way::openCommandStrict;
      plan.commands.push_back(command(applicationPath(browser)));
      return plan;
    }
    auto tor = workspace_.fullPathForApplication("TorBrowser");
    if (!tor) {
      plan.reason = "TorBrowser is neither running nor installed";
      return plan;
    }
    std::vector<std::string> args{link};
    if (link.starts_with("-")) args.insert(args.begin(), "--");
    plan.way = LaunchPlan::Way::executable;
    plan.commands.push_back({*tor + "/Contents/MacOS/firefox", std::move(args)});
    return plan;
  }
  plan.way = LaunchPlan::Way::openCommand;
  plan.commands.reserve(wanted == Commands::all ? 2 : 1);
  plan.commands.push_back(command(applicationPath(browser)));
  if (wanted == Commands::all) plan.commands.push_back(command(browser));
  return plan;
}

BrowserLauncher::Start BrowserLauncher::start(const std::string& link, const std::string& browser, bool background,
                                              const std::vector<std::string>& profileArguments) {
  const LaunchPlan plan =
      commandsFor(link, browser, background, std::nullopt, profileArguments, Commands::untilTheFirstAnswers);
  auto opened = [](bool ok) { return ok ? Start::opened : Start::failed; };
  auto run = [&](const LaunchPlan::Command& command) {
    return processes_.runAndWait(command.program, command.arguments);
  };
  switch (plan.way) {
    case LaunchPlan::Way::refused:
      if (browser == "Helium") trace_(trace::invalidUrl);
      return Start::failed;
    case LaunchPlan::Way::openURL:
      if (!workspace_.openURL(plan.commands.front().program)) return Start::failed;
      trace_(trace::urlOpened);
      return Start::opened;
    case LaunchPlan::Way::executable:
      return opened(processes_.start(plan.commands.front().program, plan.commands.front().arguments));
    case LaunchPlan::Way::openCommandStrict:
      return opened(run(plan.commands.front()) == 0);
    case LaunchPlan::Way::openCommand:
      break;
  }
  const auto status = run(plan.commands.front());
  if (status == 1) {
    const LaunchPlan whole = commandsFor(link, browser, background, std::nullopt, profileArguments);
    return opened(run(whole.commands.back()) == 0);
  }
  return !status ? Start::failed : *status == 0 ? Start::opened : Start::uncertain;
}

void BrowserLauncher::offerOtherBrowsers(const std::string& link, const std::string& browser) {
  constexpr size_t kShownLength = 200;
  const std::string shown = link.size() > kShownLength ? link.substr(0, kShownLength) + "..." : link;
  settings_.report()("\"" + browser + "\" could not open " + shown);
  if (offering_) return;
  offering_ = true;
  request_.setCurrentLink(link);
  chooser_.showBrowsersList();
  offering_ = false;
}

bool BrowserLauncher::isRunning(const std::string& browser) {
  for (const auto& app : workspace_.runningApplications())
    if (app.bundlePath && namesRunningBrowser(browser, runningBrowserName(*app.bundlePath, app.bundleIdentifier)))
      return true;
  return false;
}

void BrowserLauncher::openNewBrowserWindow(const std::string& browser) {
  request_.setOpensLink(true);
  const bool running = isRunning(browser);
  processes_.start(kOpen, {"-a", browser});
  if (running && scripts_.run(kNewWindowScript).ok) trace_(trace::newWindowScriptRan);
}

}  // namespace routelle
