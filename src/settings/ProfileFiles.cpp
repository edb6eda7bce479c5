#include "settings/ProfileFiles.h"

#include <ini.h>

#include <algorithm>
#include <map>

// No paths are converted, and std::filesystem is missing from the oldest macOS the program runs on.
#define JSON_HAS_FILESYSTEM 0
#define JSON_HAS_EXPERIMENTAL_FILESYSTEM 0
#include <nlohmann/json.hpp>

namespace routelle {
namespace {

// Browsers nest a few levels; far deeper input is not theirs.
constexpr int kMaxDepth = 64;
constexpr std::size_t kMaxText = 1024;

bool validUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    size_t extra = 0;
    std::uint32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    }
    if (c >= 0xc2 && c <= 0xdf) {
      extra = 1;
      cp = c & 0x1f;
    } else if (c >= 0xe0 && c <= 0xef) {
      extra = 2;
      cp = c & 0x0f;
    } else if (c >= 0xf0 && c <= 0xf4) {
      extra = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + extra >= s.size()) return false;
    for (size_t k = 1; k <= extra; ++k) {
      const auto d = static_cast<unsigned char>(s[i + k]);
      if ((d & 0xc0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3f);
    }
    if ((extra == 2 && (cp < 0x800 || (cp >= 0xd800 && cp <= 0xdfff))) ||
        (extra == 3 && (cp < 0x10000 || cp > 0x10ffff)))
      return false;
    i += extra + 1;
  }
  return true;
}

// A name shown in a menu or a folder name passed to a browser: one line, bounded.
bool plainText(std::string_view s) {
  return !s.empty() && s.size() <= kMaxText &&
         std::none_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

bool plainFolderName(std::string_view s) {
  return plainText(s) && s != "." && s != ".." && s.find('/') == std::string_view::npos;
}

// A relative Path stays inside the browser's folder.
bool plainRelativePath(std::string_view s) {
  if (!plainText(s) || s.starts_with('/')) return false;
  size_t start = 0;
  while (start <= s.size()) {
    const size_t end = std::min(s.find('/', start), s.size());
    if (s.substr(start, end - start) == "..") return false;
    start = end + 1;
  }
  return true;
}

// Nesting depth outside strings, without parsing: the parser never sees deeper input.
bool shallow(std::string_view json) {
  int depth = 0;
  bool inString = false;
  for (size_t i = 0; i < json.size(); ++i) {
    const char c = json[i];
    if (inString) {
      if (c == '\\')
        ++i;
      else if (c == '"')
        inString = false;
    } else if (c == '"') {
      inString = true;
    } else if (c == '{' || c == '[') {
      if (++depth > kMaxDepth) return false;
    } else if (c == '}' || c == ']') {
      --depth;
    }
  }
  return true;
}

bool readable(std::string_view bytes) { return bytes.size() <= kMaxProfileFile && validUtf8(bytes); }

}  // namespace

std::vector<BrowserProfile> chromiumProfiles(std::string_view localState) {
  std::vector<BrowserProfile> out;
  if (!readable(localState) || !shallow(localState)) return out;
  const auto json = nlohmann::json::parse(localState.begin(), localState.end(), nullptr, /*allow_exceptions=*/false);
  if (json.is_discarded() || !json.is_object()) return out;
  const auto profile = json.find("profile");
  if (profile == json.end() || !profile->is_object()) return out;
  const auto cache = profile->find("info_cache");
  if (cache == profile->end() || !cache->is_object()) return out;
  for (const auto& [directory, info] : cache->items()) {
    if (!info.is_object() || !plainFolderName(directory)) continue;
    const auto name = info.find("name");
    if (name == info.end() || !name->is_string()) continue;
    const auto& text = name->get_ref<const std::string&>();
    if (plainText(text)) out.push_back({directory, text, true});
  }
  return out;
}

namespace {

struct IniProfile {
  std::string name, path;
  bool relative = true;
};

int iniEntry(void* user, const char* section, const char* key, const char* value) {
  auto& sections = *static_cast<std::map<std::string, IniProfile>*>(user);
  const std::string_view s(section);
  if (!s.starts_with("Profile")) return 1;
  auto& profile = sections[std::string(s)];
  const std::string_view k(key);
  if (k == "Name")
    profile.name = value;
  else if (k == "Path")
    profile.path = value;
  else if (k == "IsRelative")
    profile.relative = std::string_view(value) != "0";
  return 1;
}

}  // namespace

std::vector<BrowserProfile> firefoxProfiles(std::string_view profilesIni) {
  std::vector<BrowserProfile> out;
  // The reader wants a terminated string; a NUL inside would cut the file short.
  if (!readable(profilesIni) || profilesIni.find('\0') != std::string_view::npos) return out;
  std::map<std::string, IniProfile> sections;
  const std::string text(profilesIni);
  if (ini_parse_string(text.c_str(), iniEntry, &sections) != 0) return out;
  for (const auto& [section, p] : sections) {
    if (!plainText(p.name)) continue;
    if (p.relative ? !plainRelativePath(p.path) : !(plainText(p.path) && p.path.starts_with('/'))) continue;
    out.push_back({p.path, p.name, p.relative});
  }
  return out;
}

}  // namespace routelle
