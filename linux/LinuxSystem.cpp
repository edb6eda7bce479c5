#include "LinuxSystem.h"

#include <cstdlib>
#include <iostream>

namespace routelle::desktop {

std::filesystem::path settingsFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  const std::filesystem::path base =
      config && *config ? std::filesystem::path(config) : std::filesystem::path(home ? home : "/") / ".config";
  return base / "routelle";
}

LinuxSystem::LinuxSystem() {
  std::error_code error;
  std::filesystem::create_directories(settingsFolder(), error);
  settings.report().setSink([](std::string_view line) { std::cerr << "routelle: " << line << "\n"; });
  scripting.profiles = &profiles;
}

}  // namespace routelle::desktop
