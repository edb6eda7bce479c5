// Default-handler registration, updates, the About window and the maker's pages.
#include <optional>
#include <string>
#include <string_view>

#include "app/AppDelegate.h"
#include "app/MakerPages.h"
#include "settings/Keys.h"

namespace routelle {
namespace {

constexpr const char* kAbout = "About";
constexpr unsigned long kTitled = 1;
constexpr unsigned long kClosable = 2;

// Opens a page with the system's handler of its scheme; answers the line to trace, if any.
std::optional<std::string_view> openPage(AppServices& s, std::string_view page) {
  if (!s.urls.parse(page)) return "invalid url";
  if (s.workspace.openURL(std::string(page))) return "url successfully opened";
  return std::nullopt;
}

View aboutButton(std::string title, Rect frame, std::string action) {
  View button;
  button.kind = View::Kind::button;
  button.text = std::move(title);
  button.frame = frame;
  button.action = std::move(action);
  button.cornerRadius = 5.0;
  button.bezelStyle = 2;
  return button;
}

View aboutText(const std::string& version) {
  static constexpr std::string_view designer = "Mira Solvang";
  static constexpr std::string_view designerSite = "solvang.example";
  static constexpr std::string_view handle = "@mirasolvang";
  static constexpr std::string_view makerSite = "kestrova.example";

  View field;
  field.kind = View::Kind::textField;
  field.frame = {0, 50, 350, 150};
  field.text = "Routelle - Version \n" + version + "\n\nIcon designed by " + std::string(designer) + "\n" +
               std::string(designerSite) + " - " + std::string(handle) + "\n\n© 2025 Kestrova. All rights reserved.\n" +
               std::string(makerSite);
  field.links = {{std::string(designer), "https://solvang.example/"},
                 {std::string(designerSite), "https://solvang.example/"},
                 {std::string(handle), "https://social.example/@mirasolvang"},
                 {std::string(makerSite), std::string(pages::site)}};
  field.editable = false;
  field.selectable = true;
  field.allowsEditingTextAttributes = true;
  field.drawsBackground = false;
  return field;
}

}  // namespace

void AppDelegate::setBrowserDefault(const MenuItem&) {
  const std::string own(domains::ownBundleIdentifier);
  s_.launchServices.setDefaultHandler("http", own);
  s_.launchServices.setDefaultHandler("https", own);
  refreshMenu();
}

// The menu shows the new state the next time it opens.
void AppDelegate::setMailDefault(const MenuItem&) {
  if (isOwnIdentifier(s_.launchServices.defaultHandler("mailto")))
    s_.launchServices.setDefaultHandler("mailto", "com.apple.mail");
  else
    s_.launchServices.setDefaultHandler("mailto", std::string(domains::ownBundleIdentifier));
}

void AppDelegate::checkNow(const MenuItem&) { s_.updater.checkForUpdates(); }

void AppDelegate::checkWeek(const MenuItem&) {
  s_.updater.setAutomaticallyChecksForUpdates(!s_.updater.automaticallyChecksForUpdates());
  // Updates are never installed without asking.
  s_.updater.setAutomaticallyDownloadsUpdates(false);
  refreshMenu();
}

void AppDelegate::dialogOKCancel2(const MenuItem&) {
  if (!newWindow2) {
    newWindow2.emplace();
    newWindow2->styleMask = kTitled;
  }
  WindowModel& window = *newWindow2;

  View icon;
  icon.kind = View::Kind::imageView;
  icon.frame = {0, 210, 350, 60};
  icon.image = ImageRef::bundle("AppIcon");

  window.content = View{};
  window.content.frame = {0, 0, 350, 300};
  window.content.subviews = {aboutText(s_.application.infoValue("CFBundleVersion")), std::move(icon),
                             aboutButton("Ok", {10, 10, 80, 35}, "cancelBt"),
                             aboutButton("Support", {100, 10, 100, 35}, "saveBte"),
                             aboutButton("Acknowledgements", {200, 10, 150, 35}, "saveBte2")};
  window.styleMask |= kClosable;
  window.title = kAbout;
  window.frame.width = window.content.frame.width;
  window.frame.height = window.content.frame.height;
  window.floating = true;
  s_.presenter.showWindow(kAbout, window);
  s_.application.activateIgnoringOtherApps(true);
}

void AppDelegate::cancelBt(const MenuItem&) { s_.presenter.orderOutWindow(kAbout); }

void AppDelegate::saveBte(const MenuItem&) {
  s_.presenter.orderOutWindow(kAbout);
  if (auto line = openPage(s_, pages::contact)) trace(*line);
}

void AppDelegate::saveBte2(const MenuItem&) {
  s_.presenter.orderOutWindow(kAbout);
  // Without the document, open would only complain about its arguments.
  if (auto path = s_.application.pathForResource("Acknowledgments", "pdf"))
    s_.processes.start("/usr/bin/open", {*path});
}

void AppDelegate::readme(const MenuItem&) {
  if (auto line = openPage(s_, pages::instructions)) trace(*line);
}

void AppDelegate::maisApps(const MenuItem&) {
  s_.presenter.cancelMenuTracking(menux);
  if (auto line = openPage(s_, pages::site)) trace(*line);
}

void AppDelegate::openNew(const MenuItem&) {
  s_.application.activateIgnoringOtherApps(true);
  OpenPanelModel panel;
  panel.allowsMultipleSelection = false;
  panel.canChooseDirectories = false;
  panel.canCreateDirectories = false;
  panel.canChooseFiles = true;
  panel.allowedFileTypes = {"app"};
  panel.directory = "/Applications/";
  s_.presenter.beginOpenPanel(panel, [this](const std::optional<std::string>& path) {
    if (!path || !s_.registry.addBrowserAtPath(*path)) return;
    scheduleMenuRefresh();
    buildBrowsersListMenu();
  });
}

void AppDelegate::updaterDidNotFindUpdate() { trace("updaterDidNotFindUpdate"); }
void AppDelegate::updaterDidFindValidUpdate() { trace("didFindValidUpdate"); }

void AppDelegate::updaterDidFinishLoadingAppcast() {
  trace("didFinishLoadingAppcast");
  trace(s_.updater.userAgentString());
}

bool AppDelegate::updaterShouldRelaunchApplication() {
  refreshMenu();
  return true;
}

void AppDelegate::updaterWillRelaunchApplication() { refreshMenu(); }

}  // namespace routelle
