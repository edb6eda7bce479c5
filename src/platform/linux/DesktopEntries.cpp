#include "platform/linux/DesktopEntries.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include <filesystem>
#include <mutex>

#include "platform/linux/OpenCommand.h"
#include "platform/linux/ProgramStart.h"
#include "support/OwnIdentity.h"
#include "support/Text.h"

namespace routelle::linux_desktop {
namespace {

constexpr std::string_view kSuffix = ".desktop";

std::string orEmpty(const char* text) { return text ? text : ""; }

// The Exec line's program, as an absolute path when PATH finds it.
std::string programOf(GAppInfo* info) {
  std::string program = orEmpty(g_app_info_get_executable(info));
  if (program.empty()) return program;
  if (program.find('/') == std::string::npos) {
    gchar* found = g_find_program_in_path(program.c_str());
    if (found) program = found;
    g_free(found);
  }
  std::error_code error;
  auto canonical = std::filesystem::canonical(program, error);
  return error ? program : canonical.string();
}

bool handlesWeb(GDesktopAppInfo* info) {
  const char* const* types = g_app_info_get_supported_types(G_APP_INFO(info));
  for (; types && *types; ++types) {
    const std::string_view type = *types;
    if (type == "x-scheme-handler/http" || type == "x-scheme-handler/https") return true;
  }
  return false;
}

std::optional<DesktopEntry> describe(GDesktopAppInfo* info) {
  if (!info) return std::nullopt;
  DesktopEntry entry;
  entry.id = orEmpty(g_app_info_get_id(G_APP_INFO(info)));
  if (entry.id.ends_with(kSuffix)) entry.id.resize(entry.id.size() - kSuffix.size());
  std::string file = orEmpty(g_desktop_app_info_get_filename(info));
  if (file.ends_with(kSuffix)) file.resize(file.size() - kSuffix.size());
  entry.path = file;
  entry.name = orEmpty(g_app_info_get_name(G_APP_INFO(info)));
  if (GIcon* icon = g_app_info_get_icon(G_APP_INFO(info))) {
    gchar* text = g_icon_to_string(icon);
    entry.icon = orEmpty(text);
    g_free(text);
  }
  entry.program = programOf(G_APP_INFO(info));
  entry.webBrowser = handlesWeb(info);
  return entry;
}

GDesktopAppInfo* open(const std::string& id) { return g_desktop_app_info_new(desktopFileId(id).c_str()); }

}  // namespace

std::string identifierOfEntry(const std::string& id) {
  return id == kOwnEntryId ? std::string(kOwnBundleIdentifier) : id;
}

std::string entryOfIdentifier(const std::string& identifier) {
  return text::equalsIgnoringCase(identifier, kOwnBundleIdentifier) ? std::string(kOwnEntryId) : identifier;
}

std::string desktopFileId(const std::string& id) { return id.ends_with(kSuffix) ? id : id + std::string(kSuffix); }

std::string idOfApplicationPath(const std::string& pathOrName) {
  std::string_view bare = pathOrName;
  while (bare.size() > 1 && bare.back() == '/') bare.remove_suffix(1);
  std::string id = text::lastPathComponent(bare);
  for (std::string_view suffix : {std::string_view(".app"), kSuffix})
    if (id.size() > suffix.size() && id.ends_with(suffix)) id.resize(id.size() - suffix.size());
  return id;
}

namespace {

std::vector<DesktopEntry> readAll() {
  std::vector<DesktopEntry> out;
  GList* list = g_app_info_get_all();
  for (GList* l = list; l; l = l->next) {
    auto* info = G_DESKTOP_APP_INFO(l->data);
    if (g_app_info_should_show(G_APP_INFO(info)) || handlesWeb(info))
      if (auto entry = describe(info)) out.push_back(std::move(*entry));
  }
  g_list_free_full(list, g_object_unref);
  return out;
}

// Read once, then again only when GIO says the installed entries changed (its
// monitor reports through the main loop), so that a link does not read every entry.
struct EntryCache {
  std::mutex mutex;
  std::optional<std::vector<DesktopEntry>> entries;
  bool watching = false;
};

EntryCache& cache() {
  static EntryCache shared;
  return shared;
}

void forget(GAppInfoMonitor*, gpointer) {
  std::lock_guard lock(cache().mutex);
  cache().entries.reset();
}

}  // namespace

std::vector<DesktopEntry> DesktopEntries::all() {
  EntryCache& shared = cache();
  std::lock_guard lock(shared.mutex);
  if (!shared.watching) {
    shared.watching = true;
    g_signal_connect(g_app_info_monitor_get(), "changed", G_CALLBACK(forget), nullptr);
  }
  if (!shared.entries) shared.entries = readAll();
  return *shared.entries;
}

std::optional<DesktopEntry> DesktopEntries::byId(const std::string& id) {
  if (id.empty() || id.find('/') != std::string::npos) return std::nullopt;
  GDesktopAppInfo* info = open(id);
  auto entry = describe(info);
  if (info) g_object_unref(info);
  return entry;
}

std::optional<DesktopEntry> DesktopEntries::byName(const std::string& name) {
  const std::string id = idOfApplicationPath(name);
  if (auto entry = byId(id)) return entry;
  for (auto& entry : all())
    if (text::equalsIgnoringCase(entry.id, id) || text::equalsIgnoringCase(entry.name, name)) return entry;
  return std::nullopt;
}

std::optional<DesktopEntry> DesktopEntries::byProgram(const std::vector<std::string>& executables) {
  for (auto& entry : all())
    for (const auto& executable : executables)
      if (!executable.empty() && entry.program == executable) return entry;
  return std::nullopt;
}

std::optional<std::string> DesktopEntries::entryFile(const std::string& id) {
  GDesktopAppInfo* info = open(id);
  if (!info) return std::nullopt;
  std::string file = orEmpty(g_desktop_app_info_get_filename(info));
  g_object_unref(info);
  return file;
}

namespace {

// An entry's links given to its program without GIO's launch, which costs the
// browser's start a D-Bus connection (a forked helper when there is no session
// bus), a wrapper program and a fork of this process. Nothing when the entry asks
// for what only GIO does: activation over D-Bus, a terminal, links as files.
std::optional<bool> startDirectly(GDesktopAppInfo* info, const std::vector<std::string>& uris) {
  if (g_desktop_app_info_get_boolean(info, "DBusActivatable") || g_desktop_app_info_get_boolean(info, "Terminal"))
    return std::nullopt;
  const char* exec = g_app_info_get_commandline(G_APP_INFO(info));
  gchar** words = nullptr;
  if (!exec || !g_shell_parse_argv(exec, nullptr, &words, nullptr)) return std::nullopt;
  const std::vector<std::string> line(words, words + g_strv_length(words));
  g_strfreev(words);
  gchar* icon = g_desktop_app_info_get_string(info, "Icon");
  gchar* folder = g_desktop_app_info_get_string(info, "Path");
  const EntryFields fields{orEmpty(icon), orEmpty(g_app_info_get_name(G_APP_INFO(info))),
                           orEmpty(g_desktop_app_info_get_filename(info))};
  const std::string workingFolder = orEmpty(folder);
  g_free(icon);
  g_free(folder);
  const auto commands = linkCommandLines(line, uris, fields);
  if (!commands) return std::nullopt;
  bool ok = !commands->empty();
  for (const auto& command : *commands) ok = startProgram(command, workingFolder) && ok;
  return ok;
}

}  // namespace

bool DesktopEntries::launch(const std::string& id, const std::vector<std::string>& uris) {
  GDesktopAppInfo* info = open(id);
  if (!info) return false;
  if (const auto started = startDirectly(info, uris)) {
    g_object_unref(info);
    return *started;
  }
  GList* list = nullptr;
  for (const auto& uri : uris) list = g_list_append(list, g_strdup(uri.c_str()));
  GError* error = nullptr;
  // Not reaped by GIO, which would fork twice (a short-lived middle process of
  // a process as large as this one) so the program had no parent; the main loop
  // reaps it instead, and it starts one fork sooner.
  const bool ok = g_desktop_app_info_launch_uris_as_manager(
      info, list, nullptr, static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD), nullptr, nullptr,
      [](GDesktopAppInfo*, GPid pid, gpointer) {
        g_child_watch_add(
            pid, [](GPid child, gint, gpointer) { g_spawn_close_pid(child); }, nullptr);
      },
      nullptr, &error);
  if (error) g_error_free(error);
  g_list_free_full(list, g_free);
  g_object_unref(info);
  return ok;
}

}  // namespace routelle::linux_desktop
