#include "selection/SelectionMonitor.h"

#include "selection/FocusedText.h"
#include "selection/SelectedLink.h"
#include "settings/Keys.h"
#include "ui/Actions.h"

namespace routelle {
namespace {

constexpr double kDragCheckDelaySeconds = 2.0;

MenuItem selectionMenuEntry(const char* title, Action action, const char* key) {
  MenuItem item;
  item.title = title;
  item.action = selector(action);
  item.keyEquivalent = key;
  return item;
}

}  // namespace

SelectionMonitor::SelectionMonitor(const Dependencies& deps)
    : settings_(deps.settings),
      events_(deps.events),
      runLoop_(deps.runLoop),
      accessibility_(deps.accessibility),
      links_(deps.links),
      request_(deps.request),
      window_(deps.window),
      panel_(deps.panel),
      chooser_(deps.chooser),
      mailLinks_(deps.mailLinks),
      trace_(deps.trace) {}

void SelectionMonitor::installSelectionMonitors(Menu& selectionMenu) {
  // The always-on monitors live as long as the process: their tokens are not kept.
  events_.addGlobalMonitor(selectionEvents::clicks, [this](const std::optional<GlobalEvent>&) {
    window_.hide();
    checkSelection();
  });
  // Every drag event checks once, later; a window already shown by then stays as it is.
  events_.addGlobalMonitor(selectionEvents::drags, [this](const std::optional<GlobalEvent>&) {
    window_.hide();
    runLoop_.schedule(kDragCheckDelaySeconds, [this] { checkSelection(); });
  });
  window_.createOutsideClickMonitor(events_, selectionEvents::outsideClicks);
  events_.addGlobalMonitor(selectionEvents::keys, [this](const std::optional<GlobalEvent>&) { window_.hide(); });

  selectionMenu.items.push_back(selectionMenuEntry("Search", Action::searchSelection, "s"));
  selectionMenu.items.push_back(selectionMenuEntry("Copy", Action::copySelection, "c"));
  selectionMenu.items.push_back(selectionMenuEntry("Paste", Action::pasteSelection, "v"));
  selectionMenu.items.push_back(selectionMenuEntry("Delete", Action::deleteSelection, "d"));
}

void SelectionMonitor::checkSelection() {
  if (!ready_) return;
  if (!settings_.ensureBool(keys::selectionAssistant, false)) return;
  actOnSelection();
}

void SelectionMonitor::actOnSelection() {
  // Before start-up made the window, and while it shows, there is nothing to do.
  if (!window_.exists() || window_.visible()) return;
  ready_ = false;
  // Without trust the system prompts; asking again would prompt on every click, so the
  // assistant stays quiet until the program starts again.
  if (!accessibility_.isProcessTrusted(true)) return;
  auto selected = readFocusedSelectedText(accessibility_);
  ready_ = true;
  if (!selected) return;

  const auto found = links_.findLinks(*selected);
  if (found.empty()) {
    panel_.setSelectedText(*selected);
    trace_(trace::plainSelection);
    request_.setCurrentLink("http://" + *selected);
    if (!window_.isShowing()) panel_.showSelectionPanel();
    return;
  }
  // The first link as it stands in the text.
  trace_(std::string(trace::selectedLinkFound) + " " + found.front().text);
  SelectedLink link = selectedLink(found.front().text);
  if (link.kind == SelectedLink::Kind::mail) {
    mailLinks_.offerMailApplications(link.link);
    return;
  }
  request_.setCurrentLink(std::move(link.link));
  chooser_.showFloatingBrowsersWindow();
}

}  // namespace routelle
