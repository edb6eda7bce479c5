#include "HostSystem.h"

#include <cstdlib>

namespace routelle {

std::filesystem::path HostSystem::defaultOpenCommand() {
  if (const char* named = std::getenv("ROUTELLE_OPEN_COMMAND"); named && *named) return named;
  std::error_code ec;
  auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path("routelle-open") : self.parent_path() / "routelle-open";
}

}  // namespace routelle
