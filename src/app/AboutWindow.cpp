#include "app/AboutWindow.h"

#include <string_view>

#include "app/MakerPages.h"
#include "ui/Actions.h"

namespace routelle {
namespace {

constexpr const char* kAbout = "About";
constexpr unsigned long kTitled = 1;
constexpr unsigned long kClosable = 2;

View aboutButton(std::string title, Rect frame, Action action) {
  View button;
  button.kind = View::Kind::button;
  button.text = std::move(title);
  button.frame = frame;
  button.action = selector(action);
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

void AboutWindow::create() {
  window_ = WindowModel{};
  window_->styleMask |= kTitled;
}

void AboutWindow::show() {
  if (!window_) create();
  WindowModel& window = *window_;

  View icon;
  icon.kind = View::Kind::imageView;
  icon.frame = {0, 210, 350, 60};
  icon.image = ImageRef::bundle("AppIcon");

  window.content = View{};
  window.content.frame = {0, 0, 350, 300};
  window.content.subviews = {aboutText(application_.infoValue("CFBundleVersion")), std::move(icon),
                             aboutButton("Ok", {10, 10, 80, 35}, Action::closeAbout),
                             aboutButton("Support", {100, 10, 100, 35}, Action::openSupportPage),
                             aboutButton("Acknowledgements", {200, 10, 150, 35}, Action::openAcknowledgements)};
  window.styleMask |= kClosable;
  window.title = kAbout;
  window.frame.width = window.content.frame.width;
  window.frame.height = window.content.frame.height;
  window.floating = true;
  presenter_.showWindow(kAbout, window);
  application_.activateIgnoringOtherApps(true);
}

void AboutWindow::close() { presenter_.orderOutWindow(kAbout); }

void AboutWindow::openSupport() {
  close();
  registration_.openContactPage();
}

void AboutWindow::openAcknowledgements() {
  close();
  // Without the document, open would only complain about its arguments.
  if (auto path = application_.pathForResource("Acknowledgments", "pdf")) processes_.start("/usr/bin/open", {*path});
}

}  // namespace routelle
