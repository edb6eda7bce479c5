#include "selection/SelectionPanel.h"

#include "selection/KeystrokeScripts.h"
#include "selection/SearchLink.h"
#include "support/Text.h"
#include "ui/Actions.h"

namespace routelle {
namespace {

constexpr double kButtonWidth = 55.0;
constexpr double kPanelHeight = 35.0;
constexpr double kKeystrokeDelaySeconds = 0.5;

struct PanelButton {
  const char* title;
  const char* key;  // the title's first letter, lower case
  Action action;
};
constexpr PanelButton kButtons[] = {
    {"Search", "s", Action::searchSelection},
    {"Copy", "c", Action::copySelection},
    {"Paste", "p", Action::pasteSelection},
    {"Delete", "d", Action::deleteSelection},
};

View panelButton(const PanelButton& entry, double x) {
  View button;
  button.kind = View::Kind::button;
  button.text = entry.title;
  button.keyEquivalent = entry.key;
  button.action = selector(entry.action);
  button.frame = {x, 0, kButtonWidth, kPanelHeight};
  button.bordered = false;
  button.textColor = "white";
  button.alignment = "center";
  // Where the font is missing the platform draws the system font at the same size.
  button.fontName = "Helvetica Neue";
  button.fontSize = 15.0;
  return button;
}

}  // namespace

SelectionPanel::SelectionPanel(const Dependencies& deps)
    : window_(deps.window),
      presenter_(deps.presenter),
      events_(deps.events),
      workspace_(deps.workspace),
      pasteboard_(deps.pasteboard),
      scripts_(deps.scripts),
      runLoop_(deps.runLoop),
      request_(deps.request),
      chooser_(deps.chooser),
      selectionMenu_(deps.selectionMenu),
      trace_(deps.trace) {}

void SelectionPanel::showSelectionPanel() {
  presenter_.cancelMenuTracking(selectionMenu_);
  trace_(trace::selectionPanelShown);
  View content;
  content.frame = {0, 0, kButtonWidth * static_cast<double>(std::size(kButtons)), kPanelHeight};
  for (std::size_t i = 0; i < std::size(kButtons); ++i)
    content.subviews.push_back(panelButton(kButtons[i], kButtonWidth * static_cast<double>(i)));
  window_.show(std::move(content), events_.mouseLocation());
}

void SelectionPanel::search() {
  // From the selection itself every time: the current link may already be an earlier
  // search. A "http://" in it is no search word and is left out.
  request_.setCurrentLink(searchLink(text::replaceAll(selectedText_, "http://", "")));
  // The panel stays: a pick in the list hides it, the browsers window takes its place.
  chooser_.showBrowsersList();
}

void SelectionPanel::copy() {
  closePanelAndRestoreFocus();
  pasteboard_.setString(selectedText_);
}

void SelectionPanel::paste() {
  closePanelAndRestoreFocus();
  runSystemEventsScriptLater(kPasteScript);
}

void SelectionPanel::erase() {
  closePanelAndRestoreFocus();
  runSystemEventsScriptLater(kDeleteScript);
}

void SelectionPanel::closePanelAndRestoreFocus() {
  trace_(trace::selectionPanelClosed);
  if (auto source = window_.takePreviousFrontApplication()) workspace_.activateIgnoringOtherApps(*source);
  window_.hide();
}

void SelectionPanel::runSystemEventsScriptLater(std::string_view source) {
  // The keystroke goes to whatever application is frontmost when the time comes.
  runLoop_.schedule(kKeystrokeDelaySeconds,
                    [&scripts = scripts_, script = std::string(source)] { scripts.run(script); });
}

}  // namespace routelle
