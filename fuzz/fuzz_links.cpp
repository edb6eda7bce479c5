// Arbitrary bytes as a link: normalised, then taken through the whole delegate
// (get-URL event, opened file, Services, new-window shortcut) over a world with
// rules. Nothing is launched; every input must end.
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "HostSystem.h"
#include "ScratchRoot.h"
#include "app/AppDelegate.h"
#include "platform/host/AppInstaller.h"
#include "platform/host/HostAccessibility.h"
#include "platform/host/HostAppleEvents.h"
#include "platform/host/HostApplication.h"
#include "platform/host/HostEvents.h"
#include "platform/host/HostFileManager.h"
#include "platform/host/HostLinkDetector.h"
#include "platform/host/HostPasteboard.h"
#include "platform/host/HostRunLoop.h"
#include "platform/host/HostShortcuts.h"
#include "platform/host/HostSystemInfo.h"
#include "platform/host/HostUrlParser.h"
#include "platform/host/PlainUrl.h"
#include "routing/LinkHost.h"
#include "routing/LinkText.h"
#include "settings/HostName.h"
#include "settings/Keys.h"

namespace fs = std::filesystem;
using namespace routelle;

namespace {

// Answers like the open command: a path the open-with menu doubled is not found.
// Fails as the platform's command does: status 1 for an application it cannot
// find, or no start at all (an argument too long for a process).
class RecordingLauncher final : public ProcessLauncher {
 public:
  enum class Failure { realistic, notFound, cannotStart };
  std::optional<int> runAndWait(const std::string&, const std::vector<std::string>& args) override {
    ++started;
    ++waited;
    if (failure == Failure::cannotStart) return std::nullopt;
    if (failure == Failure::notFound) return 1;
    for (const auto& a : args)
      if (a.starts_with("/Applications//")) return 1;
    return 0;
  }
  bool start(const std::string&, const std::vector<std::string>&) override {
    ++started;
    return failure != Failure::cannotStart;
  }
  std::size_t started = 0;
  std::size_t waited = 0;  // launches of a browser (the Services hand-off is started, not waited for)
  Failure failure = Failure::realistic;
};

// The host world's application lookups; running applications and URL opening in memory.
class QuietWorkspace final : public Workspace {
 public:
  explicit QuietWorkspace(HostWorkspace& inner) : inner_(inner) {}
  std::optional<std::string> pathForBundleIdentifier(const std::string& id) override {
    return inner_.pathForBundleIdentifier(id);
  }
  std::optional<std::string> fullPathForApplication(const std::string& name) override {
    return inner_.fullPathForApplication(name);
  }
  std::optional<std::string> bundleIdentifier(const std::string& path) override {
    return inner_.bundleIdentifier(path);
  }
  std::vector<RunningApplication> runningApplications() override { return running; }
  std::optional<RunningApplication> frontmostApplication() override { return std::nullopt; }
  bool openURL(const std::string& url) override { return !url.empty(); }
  bool fileExists(const std::string& path) override { return inner_.fileExists(path); }
  bool activateIgnoringOtherApps(const RunningApplication&) override { return true; }

  std::vector<RunningApplication> running;

 private:
  HostWorkspace& inner_;
};

// Picks the entry (or window button) at a fixed position, if there is one.
class PickingPresenter final : public Presenter {
 public:
  std::optional<MenuItem> popUpMenu(const Menu& menu, Point) override {
    ++shown;
    if (pick < menu.items.size()) return menu.items[pick];
    return std::nullopt;
  }
  void showFloatingWindow(const WindowModel& w, Point) override {
    ++shown;
    window = w;
    visible = true;
  }
  void orderOutFloatingWindow() override { visible = false; }
  bool floatingWindowVisible() override { return visible; }
  void cancelMenuTracking(const Menu&) override {}
  void activate(bool) override {}
  void showStatusItem(const StatusItemModel&, const Menu&) override {}
  void removeStatusItem() override {}
  int runModalAlert(AlertModel&) override { return 0; }
  void pressAlertButton(std::size_t) override {}
  void beginOpenPanel(const OpenPanelModel&, std::function<void(std::optional<std::string>)> done) override {
    done(std::nullopt);
  }
  void showWindow(const std::string&, const WindowModel&) override {}
  void orderOutWindow(const std::string&) override {}

  std::size_t pick = 0;
  std::size_t shown = 0;  // menus and windows put in front of the user
  std::optional<WindowModel> window;
  bool visible = false;
};

class AcceptingScripts final : public ScriptRunner {
 public:
  ScriptOutcome run(const std::string&) override { return {true, "", ""}; }
  void determinePermissionToAutomate(const std::string&) override {}
};

struct Harness {
  Harness() : system(root.path), workspace(system.workspace) {
    struct Installed {
      const char* name;
      const char* identifier;
      const char* scheme;
    };
    for (const Installed& app :
         {Installed{"Safari", "com.apple.Safari", ""}, Installed{"Firefox", "org.mozilla.firefox", ""},
          Installed{"Mail", "com.apple.mail", "mailto"}, Installed{"Helium", "net.imput.helium", "helium"},
          Installed{"Editor", "com.example.Editor", ""}}) {
      AppSpec wanted;
      wanted.name = app.name;
      wanted.identifier = app.identifier;
      if (*app.scheme) wanted.urlSchemes = {app.scheme};
      if (wanted.name == "Editor") wanted.documentExtensions = {"*"};
      installApplication(system.world, wanted);
    }
    auto& s = system.settings;
    s.setList(keys::domainRules, {"", "example.org", "Firefox", "a.com"});
    s.setList(keys::appRules, {"", "Safari/*/*/*/*/Mail", "Firefox"});
    s.setString(keys::onionRule, "TorBrowser");
    s.setString(keys::shiftRule, "Firefox");
    s.setBool("shiftback", true);
    s.setString(keys::controlRule, values::showBrowsersList);
    s.setString(keys::optionRule, values::useOpenedBrowser);
    s.setString(keys::commandRule, "Vivaldi.app");
    s.setBool(keys::hideChooserClose, false);
    s.setBool(keys::hideChooserUrl, false);
    s.setString(keys::hiddenBrowsers, "Opera Developer");
  }

  // Writes only what differs: every write reaches the disk.
  void set(std::string_view key, const std::string& value) {
    auto [last, fresh] = written.try_emplace(std::string(key), value);
    if (!fresh && last->second == value) return;
    system.settings.setString(key, value);
    last->second = value;
  }
  void setImageOnly(bool on) {
    if (imageOnly == on) return;
    system.settings.setBool(keys::imagesOnlyChooser, on);
    imageOnly = on;
  }

  fuzzing::ScratchRoot root{"links"};
  HostSystem system;
  QuietWorkspace workspace;
  RecordingLauncher launcher;
  PickingPresenter presenter;
  AcceptingScripts scripts;
  HostEvents events;
  HostSystemInfo systemInfo;
  HostRunLoop runLoop;
  HostPasteboard pasteboard;
  HostAppleEvents appleEvents;
  Transcript transcript;
  HostApplication application{system.world, system.workspace, transcript};
  HostAccessibility accessibility{system.world, transcript};
  HostShortcuts shortcuts;
  HostLinkDetector linkDetector;
  HostFileManager files{system.world};
  std::map<std::string, std::string> written;
  std::optional<bool> imageOnly;
};

constexpr std::uint64_t kFlags[] = {0,
                                    modifierFlags::shift,
                                    modifierFlags::control,
                                    modifierFlags::option,
                                    modifierFlags::command,
                                    modifierFlags::shift | modifierFlags::command,
                                    modifierFlags::capsLock,
                                    modifierFlags::function};
constexpr const char* kLogins[] = {
    "Show Browser List", "Use the opened browser", "Firefox", "Helium", "TorBrowser", "Safari.app", "", "Opera"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Harness h;
  const std::uint8_t a = size > 0 ? data[0] : 0;
  const std::uint8_t b = size > 1 ? data[1] : 0;
  const std::uint8_t c = size > 2 ? data[2] : 0;
  const std::string input(reinterpret_cast<const char*>(data) + std::min<std::size_t>(size, 3),
                          size - std::min<std::size_t>(size, 3));

  // A plain link read in one pass reads exactly as the general parser reads it.
  for (const std::string& text : {input, "https://" + input}) {
    const auto plain = parsePlainUrl(text);
    if (!plain) continue;
    const auto general = HostUrlParser::parseGenerally(text);
    if (!general || general->scheme != plain->scheme || general->host != plain->host || general->path != plain->path ||
        general->query != plain->query)
      std::abort();
  }

  const std::string link = normaliseLink(input);
  // Whatever came in, the link names a scheme separator.
  if (link.find("//") == std::string::npos) std::abort();

  // The same text typed as a domain: a host that is stored is one a link can
  // carry, so it reads back as itself however it is looked up again.
  if (const auto stored = normalisedDomain(h.system.urls, input)) {
    if (normalisedDomain(h.system.urls, *stored) != stored) std::abort();
    if (comparableHost(h.system.urls, *stored) != stored) std::abort();
    if (linkHost(h.system.urls, "http://" + *stored + "/") != stored) std::abort();
  }

  h.set(keys::defaultChoice, kLogins[a & 7]);
  h.set(keys::rulePriority, std::to_string((a >> 3) & 3));
  h.setImageOnly((b & 0x40) != 0);
  h.events.flags = kFlags[(b >> 3) & 7];
  h.presenter.pick = b & 7;
  h.presenter.visible = false;
  h.workspace.running.clear();
  if (b & 0x80) {
    h.workspace.running.push_back(h.system.workspace.runningApplicationNamed("Firefox"));
    h.workspace.running.push_back(h.system.workspace.runningApplicationNamed("TorBrowser"));
  }
  h.launcher.started = 0;
  h.launcher.waited = 0;
  h.launcher.failure = static_cast<RecordingLauncher::Failure>(c % 3);
  h.presenter.shown = 0;

  AppDelegate delegate(AppServices{.settings = h.system.settings,
                                   .registry = h.system.registry,
                                   .rules = h.system.rules,
                                   .workspace = h.workspace,
                                   .launchServices = h.system.launchServices,
                                   .processes = h.launcher,
                                   .scripts = h.scripts,
                                   .events = h.events,
                                   .runLoop = h.runLoop,
                                   .presenter = h.presenter,
                                   .system = h.systemInfo,
                                   .urls = h.system.urls,
                                   .workspaceNotifications = h.system.workspaceNotifications,
                                   .updater = h.system.updater,
                                   .appleEvents = h.appleEvents,
                                   .application = h.application,
                                   .accessibility = h.accessibility,
                                   .shortcuts = h.shortcuts,
                                   .linkDetector = h.linkDetector,
                                   .pasteboard = h.pasteboard,
                                   .files = h.files,
                                   .calendar = h.system.calendar});
  if (a & 0x20) delegate.linkRequest().setPreviousApplication(h.system.workspace.runningApplicationNamed("Mail"));

  switch (a >> 6) {
    case 0:
      delegate.linkIntake().handleGetURLEvent(input);
      break;
    case 1:
      if (!delegate.applicationOpenFile(input)) std::abort();
      break;
    case 2:
      h.pasteboard.contents = input;
      delegate.linkIntake().openUrlWithRtl(h.pasteboard);
      break;
    default:
      delegate.linkRequest().setCurrentLink(input);
      delegate.router().handleNewWindowShortcut();
      break;
  }
  // A click on the floating window, when one is up.
  if (h.presenter.visible && h.presenter.window) {
    const auto& views = h.presenter.window->content.subviews;
    for (std::size_t i = 0, buttons = 0; i < views.size(); ++i) {
      if (views[i].kind != View::Kind::button || buttons++ != h.presenter.pick) continue;
      MenuItem sender;
      sender.title = sender.keyEquivalent = views[i].keyEquivalent;
      sender.action = views[i].action;
      delegate.perform(sender.action, sender);
      break;
    }
  }
  // A launch and its retry, then at most the same once more for the browser the
  // user picks from the list offered after a failure: a link never fans out.
  if (h.launcher.started > 4) std::abort();
  // A link that no browser could take ends in front of the user.
  if (h.launcher.failure != RecordingLauncher::Failure::realistic && h.launcher.waited > 0 && h.presenter.shown == 0)
    std::abort();
  return 0;
}
