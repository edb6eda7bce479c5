// Opens arbitrary bytes as a preferences file, writes to it and reopens it: no
// crash, reading moves nothing, the write lands, what was readable before stays
// readable, and reading holds no more memory than a multiple of the file's size.
// Values read in place are those libplist reads from the same bytes.
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <plist/plist.h>

#include "AllocationPeak.h"
#include "platform/host/HostDefaults.h"
#include "platform/host/PlistParse.h"

namespace fs = std::filesystem;
using routelle::DefaultsValue;
using routelle::HostDefaults;

namespace {

// tmpfs when there is one: every write is fsynced.
const fs::path& scratch() {
  static const fs::path dir = [] {
    const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string pattern = (base / "routelle-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    return fs::path(pattern);
  }();
  return dir;
}

constexpr const char* kKeys[] = {"a", "k", "domains", "AppleInterfaceStyle"};

// Equality where a stored NaN equals itself.
bool same(const std::optional<DefaultsValue>& a, const std::optional<DefaultsValue>& b) {
  if (a && b && std::holds_alternative<double>(*a) && std::holds_alternative<double>(*b)) {
    return std::memcmp(&std::get<double>(*a), &std::get<double>(*b), sizeof(double)) == 0;
  }
  return a == b;
}

// A value as libplist reads it, in the kinds the program keeps.
std::optional<DefaultsValue> viaLibplist(plist_t dict, const char* key) {
  plist_t node = dict ? plist_dict_get_item(dict, key) : nullptr;
  if (!node) return std::nullopt;
  std::uint64_t length = 0;
  switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
      std::uint8_t b = 0;
      plist_get_bool_val(node, &b);
      return DefaultsValue(b != 0);
    }
    case PLIST_UINT: {
      std::uint64_t u = 0;
      plist_get_uint_val(node, &u);
      return DefaultsValue(static_cast<std::int64_t>(u));
    }
    case PLIST_REAL: {
      double d = 0;
      plist_get_real_val(node, &d);
      return DefaultsValue(d);
    }
    case PLIST_STRING: {
      const char* text = plist_get_string_ptr(node, &length);
      return DefaultsValue(std::string(text, ::strnlen(text, length)));
    }
    case PLIST_DATA: {
      const auto* p = reinterpret_cast<const std::uint8_t*>(plist_get_data_ptr(node, &length));
      return DefaultsValue(routelle::Bytes(p, p + length));
    }
    default:
      return std::nullopt;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fs::path prefs = scratch() / "Library/Preferences";
  std::error_code ec;
  fs::remove_all(prefs, ec);
  fs::create_directories(prefs);
  const fs::path file = prefs / "com.example.fuzz.plist";
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

  std::optional<DefaultsValue> before[std::size(kKeys)];
  {
    const fuzzing::AllocationPeak peak;
    HostDefaults readOnly(file, /*readOnly=*/true);
    for (std::size_t i = 0; i < std::size(kKeys); ++i) before[i] = readOnly.object(kKeys[i]);
    if (peak.bytes() > fuzzing::allowedPeak(size)) std::abort();
    for (std::size_t i = 0; i < std::size(kKeys); ++i) {
      const auto shared = readOnly.data(kKeys[i]);
      const auto* bytes = before[i] ? std::get_if<routelle::Bytes>(&*before[i]) : nullptr;
      if (shared.has_value() != (bytes != nullptr)) std::abort();
      if (shared && !std::equal(shared->bytes.begin(), shared->bytes.end(), bytes->begin(), bytes->end())) std::abort();
    }
  }
  const auto tree = routelle::hostplist::parsePlist(reinterpret_cast<const char*>(data), size);
  if (tree && plist_get_node_type(tree.get()) == PLIST_DICT) {
    for (std::size_t i = 0; i < std::size(kKeys); ++i)
      if (!same(viaLibplist(tree.get(), kKeys[i]), before[i])) std::abort();
  }
  {
    HostDefaults d(file);
    for (std::size_t i = 0; i < std::size(kKeys); ++i) {
      if (!same(d.object(kKeys[i]), before[i])) std::abort();
    }
    if (!fs::exists(file) || fs::file_size(file) != size) std::abort();  // reading leaves the file as it is
    d.set("fuzz", static_cast<std::int64_t>(size));
    if (!d.synchronize()) std::abort();
  }
  HostDefaults reopened(file);
  if (reopened.object("fuzz") != DefaultsValue(static_cast<std::int64_t>(size))) std::abort();
  for (std::size_t i = 0; i < std::size(kKeys); ++i) {
    if (!same(reopened.object(kKeys[i]), before[i])) std::abort();
  }
  return 0;
}
