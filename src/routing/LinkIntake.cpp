#include "routing/LinkIntake.h"

#include <cctype>

#include "routing/LinkText.h"
#include "settings/Keys.h"
#include "support/Text.h"
#include "ui/ImageRef.h"

namespace routelle {
namespace {

std::string fileURL(const std::string& path) {
  static const char* hex = "0123456789ABCDEF";
  std::string out = "file://";
  for (unsigned char c : path) {
    if (std::isalnum(c) || std::string_view("/-._~").find(static_cast<char>(c)) != std::string_view::npos) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

}  // namespace

LinkIntake::LinkIntake(const Dependencies& deps)
    : settings_(deps.settings),
      urls_(deps.urls),
      launchServices_(deps.launchServices),
      workspace_(deps.workspace),
      presenter_(deps.presenter),
      events_(deps.events),
      processes_(deps.processes),
      request_(deps.request),
      router_(deps.router),
      chooser_(deps.chooser),
      launcher_(deps.launcher),
      tabCapture_(deps.tabCapture),
      actions_(deps.actions),
      trace_(deps.trace) {}

void LinkIntake::handleGetURLEvent(const std::optional<std::string>& directParameter) {
  request_.setBackgroundOnce(false);
  request_.setOpensLink(true);
  trace_(trace::getUrlEvent);
  RoutingDecision decision;
  if (readEventLink(decision, directParameter)) {
    request_.setCurrentLink(std::move(decision.link));
    router_.routeLink();
  } else if (decision.outcome == DecisionOutcome::openWithMenu) {
    offerMailApplications(decision.link);
  } else {
    trace_(trace::noValidUrl);
  }
}

RoutingDecision LinkIntake::explainLink(const std::optional<std::string>& directParameter, const LinkMoment& moment) {
  RoutingDecision decision(true);
  if (readEventLink(decision, directParameter)) router_.explain(decision, moment);
  return decision;
}

bool LinkIntake::readEventLink(RoutingDecision& decision, const std::optional<std::string>& directParameter) const {
  auto& d = decision;
  if (!directParameter) {
    d.decide(
        DecisionStepKind::noLink, DecisionOutcome::none, "", [] { return std::string("the event carries no link"); },
        [] { return std::string("Nothing — the event carries no link"); });
    return false;
  }
  d.received = *directParameter;
  const std::string link = untilNul(*directParameter);
  if (d.explaining) {
    const std::string lowered = text::lowercased(link);
    auto removed = [&](std::string_view what) {
      return text::contains(lowered, what) ? "\"" + std::string(what) + "\" removed" : std::string("none");
    };
    d.note(DecisionStepKind::ownScheme, [&] { return removed("routelle://"); });
    d.note(DecisionStepKind::extensionMarker, [&] { return removed(";;;from:extension"); });
  }
  d.link = normaliseLink(link);
  if (auto mail = mailLink(d.link)) {
    d.link = std::move(*mail);
    d.decide(
        DecisionStepKind::mailLink, DecisionOutcome::openWithMenu, "",
        [] { return std::string("a mail link: the applications that handle mail are offered"); },
        [] { return std::string("Open-with menu — a mail link"); });
    return false;
  }
  d.note(DecisionStepKind::mailLink, [] { return std::string("not a mail link"); });
  return true;
}

bool LinkIntake::applicationOpenFile(const std::string& givenPath) {
  const std::string path = untilNul(givenPath);
  request_.setOpensLink(true);
  openWithMenu_.items.clear();
  request_.setCurrentLink(path);
  const bool showEditor = settings_.ensureBool(keys::multipleFileTypes, false);
  trace_(text::contains(path, "html") ? trace::yes : trace::no);
  const bool webPage = text::contains(path, "html") || text::contains(path, "shtml") || text::contains(path, "php");
  if (showEditor || !webPage) {
    trace_(trace::openWithMenu);
    showOpenWithMenu(path, true);
    return true;
  }
  trace_(trace::webPageFile);
  settings_.ensureString(keys::rulePriority, values::priorityDomainsFirst);
  if (!settings_.contains(keys::defaultChoice)) trace_(trace::defaultChoiceMissing);
  const std::string login = settings_.ensureString(keys::defaultChoice, values::showBrowserList);
  if (login == values::showBrowserList)
    chooser_.showBrowsersList();
  else if (login == values::useOpenedBrowser)
    router_.useOpenedBrowser();
  else
    launcher_.launchBrowser(path, login);
  return true;
}

void LinkIntake::openUrlWithRtl(Pasteboard& pasteboard) {
  auto selected = pasteboard.string();
  if (!selected) return;
  trace_(std::string(trace::servicePieces) + std::to_string(text::split(*selected, "//").size()));
  const std::string link = repairScheme(untilNul(*selected));
  std::vector<std::string> args{"-b", std::string(domains::ownBundleIdentifier), link};
  // A text beginning with "-" is no option of the open command.
  if (link.starts_with("-")) args.insert(args.end() - 1, "--");
  // The system hands the link back as a get-URL event; when the hand-off cannot
  // even start, the link is handled here rather than lost.
  if (!processes_.start("/usr/bin/open", args)) handleGetURLEvent(link);
}

void LinkIntake::offerMailApplications(const std::string& mail) {
  request_.setCurrentLink(mail);
  trace_(trace::mailLink);
  trace_(trace::openWithMenu);
  showOpenWithMenu(mail, false);
}

void LinkIntake::openCapturedTab() {
  request_.setCurrentLink(tabCapture_.frontTabUrl());
  chooser_.showBrowsersList();
}

void LinkIntake::showOpenWithMenu(const std::string& link, bool isFile) {
  openWithMenu_.items.clear();
  // A mail link the URL parser refuses (a blank, say) has no applications to offer.
  const bool parses = isFile || urls_.parse(link).has_value();
  const auto applications =
      parses ? launchServices_.applicationsForURL(isFile ? fileURL(link) : link) : std::vector<std::string>{};
  for (std::string path : applications) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    if (!workspace_.fileExists(path) || path.ends_with("Routelle.app")) continue;
    MenuItem item;
    item.title = text::replaceAll(text::replaceAll(path, "/Applications/", ""), ".app", "");
    item.action = selector(Action::openWithChosenBrowser);
    item.keyEquivalent = path;
    // The icon of the application its identifier resolves to, as the workspace knows it.
    auto identifier = workspace_.bundleIdentifier(path);
    auto iconPath = identifier ? workspace_.pathForBundleIdentifier(*identifier) : std::nullopt;
    item.image = ImageRef::iconOf(iconPath.value_or(path), {kListIconSide, kListIconSide});
    openWithMenu_.items.push_back(std::move(item));
  }
  if (!settings_.ensureBool(keys::hideChooserClose, true)) {
    MenuItem close;
    close.title = "      Close";
    close.keyEquivalent = "c";
    close.action = selector(Action::doNothing);
    openWithMenu_.items.push_back(std::move(close));
  }
  if (auto chosen = presenter_.popUpMenu(openWithMenu_, events_.mouseLocation()))
    actions_.perform(chosen->action, *chosen);
}

}  // namespace routelle
