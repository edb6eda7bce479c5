#include "platform/linux/LinuxLaunchServices.h"

#include <gio/gio.h>

#include "platform/linux/DesktopEntries.h"
#include "platform/linux/LinuxProcessLauncher.h"

namespace routelle {
namespace {

using linux_desktop::DesktopEntries;

std::string trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ' || text.back() == '\r')) text.pop_back();
  return text;
}

std::string mimeTypeOf(const std::string& scheme) { return "x-scheme-handler/" + scheme; }

}  // namespace

std::optional<std::string> LinuxLaunchServices::defaultHandler(const std::string& scheme) {
  auto out = captureOutput({"xdg-mime", "query", "default", mimeTypeOf(scheme)});
  if (!out) return std::nullopt;
  const std::string file = trimmed(*out);
  if (file.empty()) return std::nullopt;
  return linux_desktop::identifierOfEntry(linux_desktop::idOfApplicationPath(file));
}

bool LinuxLaunchServices::setDefaultHandler(const std::string& scheme, const std::string& bundleIdentifier) {
  const auto entry = DesktopEntries::byId(linux_desktop::entryOfIdentifier(bundleIdentifier));
  if (!entry) return false;
  const std::string file = linux_desktop::desktopFileId(entry->id);
  if (scheme == "http" || scheme == "https") {
    // The desktop's own setting first (it may keep one apart from the MIME lists).
    captureOutput({"xdg-settings", "set", "default-web-browser", file});
    if (!captureOutput({"xdg-mime", "default", file, "text/html"})) return false;
  }
  return captureOutput({"xdg-mime", "default", file, mimeTypeOf(scheme)}).has_value();
}

std::vector<std::string> LinuxLaunchServices::applicationsForURL(const std::string& url) {
  std::string type;
  if (url.starts_with("file:")) {
    gchar* path = g_filename_from_uri(url.c_str(), nullptr, nullptr);
    gchar* guessed = path ? g_content_type_guess(path, nullptr, 0, nullptr) : nullptr;
    if (guessed) type = guessed;
    g_free(guessed);
    g_free(path);
  } else if (const auto colon = url.find(':'); colon != std::string::npos) {
    type = mimeTypeOf(url.substr(0, colon));
  }
  std::vector<std::string> out;
  if (type.empty()) return out;
  GList* list = g_app_info_get_all_for_type(type.c_str());
  for (GList* l = list; l; l = l->next) {
    const char* id = g_app_info_get_id(G_APP_INFO(l->data));
    if (!id) continue;
    if (auto entry = DesktopEntries::byId(id)) out.push_back(entry->path);
  }
  g_list_free_full(list, g_object_unref);
  return out;
}

}  // namespace routelle
