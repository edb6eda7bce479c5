// Arbitrary bytes as a browser's list of profiles, read both ways ("Local State"
// JSON and "profiles.ini"): every input ends with a list (often empty), and what
// is listed is fit to show and to hand to a browser.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/ProfileFiles.h"

namespace {

void checkFit(const routelle::BrowserProfile& p) {
  if (p.directory.empty() || p.name.empty()) std::abort();
  for (char c : p.directory + p.name)
    if (static_cast<unsigned char>(c) < 0x20) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const auto& p : routelle::chromiumProfiles(bytes)) {
    checkFit(p);
    if (p.directory.find('/') != std::string::npos) std::abort();
  }
  for (const auto& p : routelle::firefoxProfiles(bytes)) {
    checkFit(p);
    if (p.relative && (p.directory.starts_with('/') || p.directory.find("..") == 0)) std::abort();
  }
  return 0;
}
