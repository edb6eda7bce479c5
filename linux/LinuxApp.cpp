#include "LinuxApp.h"

#include <QCoreApplication>
#include <cstdio>

#include "platform/linux/ModelImages.h"
#include "platform/linux/ProcessTree.h"

namespace routelle::desktop {

LinuxApp::LinuxApp(const std::string& resourcesFolder)
    : application(resourcesFolder),
      delegate(AppServices{.settings = system.settings,
                           .registry = system.registry,
                           .rules = system.rules,
                           .workspace = system.workspace,
                           .launchServices = system.launchServices,
                           .processes = processes,
                           .scripts = scripts,
                           .events = events,
                           .runLoop = runLoop,
                           .presenter = presenter,
                           .system = systemInfo,
                           .urls = system.urls,
                           .workspaceNotifications = system.workspaceNotifications,
                           .updater = system.updater,
                           .appleEvents = appleEvents,
                           .application = application,
                           .accessibility = accessibility,
                           .shortcuts = shortcuts,
                           .linkDetector = linkDetector,
                           .pasteboard = pasteboard,
                           .files = files,
                           .calendar = calendar}) {
  linux_desktop::setResourcesFolder(resourcesFolder);
  delegate.serveScriptCommands(system.scripting);
  presenter.setActionTarget(delegate);
  presenter.setMenuWillOpen([this](const Menu& menu) { delegate.menuWillOpen(menu); });
  // The diagnostic lines go to standard output, as on the Mac.
  delegate.setTraceSink([](std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
  });
  processes.onLaunch = [](const std::string& id, const std::vector<std::string>& items) {
    std::string line = "started " + id;
    for (const auto& item : items) line += " " + item;
    std::fprintf(stdout, "%s\n", line.c_str());
    std::fflush(stdout);
  };
}

void LinuxApp::start() {
  delegate.awakeFromNib();
  delegate.applicationWillFinishLaunching();
  delegate.applicationDidFinishLaunching();
}

void LinuxApp::listenToScriptCommands() {
  // Only the work the commands hand over: the rest of the start-up would write
  // the first-use settings the tray's own start writes.
  presenter.tellAlertsOnStandardError();
  auto& center = system.workspaceNotifications;
  center.addObserver(kExportNotification, [this](const std::string&, const UserInfo& info) {
    delegate.exchange().exportListWithNotification(info);
  });
  center.addObserver(kImportNotification, [this](const std::string&, const UserInfo& info) {
    delegate.exchange().importListWithNotification(info);
  });
}

void LinuxApp::finishPostedWork() { QCoreApplication::processEvents(); }

UserInfo sourceOf(int requester) {
  UserInfo info;
  if (auto source = linux_desktop::sourceApplication(requester)) {
    info[kApplicationNameKey] = source->id;
    info[kApplicationBundlePathKey] = source->path;
    info[kApplicationBundleIdentifierKey] = source->id;
  }
  return info;
}

void LinuxApp::openLink(const std::string& link, const UserInfo& source) {
  if (link.empty()) return;
  // As the Mac's deactivation notification names the application the user was in;
  // none known is posted too, so an earlier link's application is not taken for this one's.
  if (auto name = source.find(kApplicationNameKey); name != source.end())
    std::fprintf(stdout, "source %s\n", name->second.c_str());
  std::fflush(stdout);
  system.workspaceNotifications.post(kDidDeactivateApplicationNotification, source);
  appleEvents.deliverLink(link);
}

}  // namespace routelle::desktop
