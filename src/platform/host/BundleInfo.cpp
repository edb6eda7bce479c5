#include "platform/host/BundleInfo.h"

#include <plist/plist.h>

#include <cstring>

#include <fstream>
#include <iterator>

#include "platform/host/PlistParse.h"

namespace routelle {
namespace {

constexpr std::uintmax_t kMaxInfoPlist = 4u << 20;

// Up to the first NUL, as the platform's C-string view of a bundle value.
std::string stringValue(plist_t node) {
  if (!node || plist_get_node_type(node) != PLIST_STRING) return {};
  uint64_t length = 0;
  const char* s = plist_get_string_ptr(node, &length);
  if (!s) return {};
  return std::string(s, strnlen(s, length));
}

// Every string of an array under `key` in each dictionary of the array `list`.
std::vector<std::string> collect(plist_t list, const char* key) {
  std::vector<std::string> out;
  if (!list || plist_get_node_type(list) != PLIST_ARRAY) return out;
  for (uint32_t i = 0; i < plist_array_get_size(list); ++i) {
    plist_t entry = plist_array_get_item(list, i);
    if (plist_get_node_type(entry) != PLIST_DICT) continue;
    plist_t values = plist_dict_get_item(entry, key);
    if (!values || plist_get_node_type(values) != PLIST_ARRAY) continue;
    for (uint32_t k = 0; k < plist_array_get_size(values); ++k) {
      std::string v = stringValue(plist_array_get_item(values, k));
      if (!v.empty()) out.push_back(std::move(v));
    }
  }
  return out;
}

}  // namespace

std::optional<BundleInfo> parseBundleInfo(const Bytes& infoPlist) {
  if (infoPlist.empty() || infoPlist.size() > kMaxInfoPlist) return std::nullopt;
  auto root = hostplist::parsePlist(reinterpret_cast<const char*>(infoPlist.data()), infoPlist.size());
  plist_t raw = root.get();
  if (!raw || plist_get_node_type(raw) != PLIST_DICT) return std::nullopt;
  BundleInfo info;
  info.identifier = stringValue(plist_dict_get_item(raw, "CFBundleIdentifier"));
  info.executable = stringValue(plist_dict_get_item(raw, "CFBundleExecutable"));
  info.version = stringValue(plist_dict_get_item(raw, "CFBundleVersion"));
  info.urlSchemes = collect(plist_dict_get_item(raw, "CFBundleURLTypes"), "CFBundleURLSchemes");
  info.documentExtensions = collect(plist_dict_get_item(raw, "CFBundleDocumentTypes"), "CFBundleTypeExtensions");
  return info;
}

std::optional<BundleInfo> readBundleInfo(const std::filesystem::path& bundle) {
  const auto file = bundle / "Contents" / "Info.plist";
  std::error_code ec;
  const auto size = std::filesystem::file_size(file, ec);
  if (ec || size > kMaxInfoPlist) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return parseBundleInfo(bytes);
}

}  // namespace routelle
