// Every entry by which a link reaches the program, and the open-with menu.
#include "app/AppDelegate.h"
#include "settings/Keys.h"
#include "support/Text.h"

#include <cctype>

namespace routelle {

std::string normaliseLink(const std::string& input) {
  std::string link = text::replaceAll(input, "routelle://", "");
  link = text::replaceAll(link, ";;;from:extension", "");
  if (!text::contains(link, "//")) link = "http://" + link;
  link = text::replaceAll(link, "http//", "http://");
  return text::replaceAll(link, "https//", "https://");
}

void AppDelegate::handleGetURLEvent(const std::optional<std::string>& directParameter) {
  helpBack = false;
  som = true;
  trace("open");
  if (!directParameter) {
    trace("No valid URL to handle");
    return;
  }
  casa = normaliseLink(*directParameter);
  if (casa.starts_with("http://mailto:") || casa.starts_with("https://mailto:")) {
    casa = text::replaceAll(text::replaceAll(casa, "http://", ""), "https://", "");
    trace("MAILTO");
    trace("1");
    showOpenWithMenu(casa, false);
    return;
  }
  routeLink();
}

bool AppDelegate::applicationOpenFile(const std::string& path) {
  som = true;
  mview2.items.clear();
  casa = path;
  const bool showEditor = s_.settings.ensureBool(keys::showeditor, false);
  trace(text::contains(path, "html") ? "true" : "false");
  const bool webPage = text::contains(path, "html") || text::contains(path, "shtml") || text::contains(path, "php");
  if (showEditor || !webPage) {
    trace("1");
    showOpenWithMenu(path, true);
    return true;
  }
  trace("2");
  s_.settings.ensureString(keys::priority, values::priorityDomainsFirst);
  if (!s_.settings.contains(keys::login)) trace("login==nil");
  const std::string login = s_.settings.ensureString(keys::login, values::showBrowserList);
  if (login == values::showBrowserList)
    showBrowsersList();
  else if (login == values::useOpenedBrowser)
    useOpenedBrowser();
  else
    launchBrowser(casa, login);
  return true;
}

void AppDelegate::openUrlWithRtl(Pasteboard& pasteboard) {
  auto selected = pasteboard.string();
  if (!selected) return;
  trace("quantos: " + std::to_string(text::split(*selected, "//").size()));
  std::string link = *selected;
  if (!text::contains(link, "//")) link = "http://" + link;
  link = text::replaceAll(link, "http//", "http://");
  link = text::replaceAll(link, "https//", "https://");
  s_.processes.start("/usr/bin/open", {"-b", std::string(domains::ownBundleIdentifier), link});
}

void AppDelegate::linkUrl(const MenuItem&) {
  casa = urls;
  showBrowsersList();
}

namespace {

std::string percentDecoded(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size() && std::isxdigit(static_cast<unsigned char>(s[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(s[i + 2]))) {
      out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

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

void AppDelegate::showOpenWithMenu(const std::string& link, bool isFile) {
  mview2.items.clear();
  // A mail link the URL parser refuses (a blank, say) has no applications to offer.
  const bool parses = isFile || s_.urls.parse(link).has_value();
  const auto applications =
      parses ? s_.launchServices.applicationsForURL(isFile ? fileURL(link) : link) : std::vector<std::string>{};
  for (const auto& listed : applications) {
    std::string path = percentDecoded(listed);
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    if (!s_.workspace.fileExists(path) || path.ends_with("Routelle.app")) continue;
    MenuItem item;
    item.title = text::replaceAll(text::replaceAll(path, "/Applications/", ""), ".app", "");
    item.action = "openx:";
    item.keyEquivalent = path;
    // The icon of the application its identifier resolves to, as the workspace knows it.
    auto identifier = s_.workspace.bundleIdentifier(path);
    auto iconPath = identifier ? s_.workspace.pathForBundleIdentifier(*identifier) : std::nullopt;
    item.image = ImageRef::iconOf(iconPath.value_or(path), {lado, lado});
    mview2.items.push_back(std::move(item));
  }
  if (!s_.settings.ensureBool(keys::hideExit, true)) {
    MenuItem close;
    close.title = "      Close";
    close.keyEquivalent = "c";
    close.action = "nada";
    mview2.items.push_back(std::move(close));
  }
  if (auto chosen = s_.presenter.popUpMenu(mview2, s_.events.mouseLocation())) perform(chosen->action, *chosen);
}

}  // namespace routelle
