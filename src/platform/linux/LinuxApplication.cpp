#include "platform/linux/LinuxApplication.h"

#include <QCoreApplication>
#include <filesystem>

#include "routelle/Version.h"

namespace routelle {

void LinuxApplication::terminate() { QCoreApplication::quit(); }

std::string LinuxApplication::infoValue(const std::string& key) {
  if (key == "CFBundleVersion" || key == "CFBundleShortVersionString") return std::string(kVersion);
  if (key == "CFBundleName") return "Routelle";
  return {};
}

std::optional<std::string> LinuxApplication::pathForResource(const std::string& name, const std::string& type) {
  const std::filesystem::path file = std::filesystem::path(resources_) / (name + "." + type);
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return std::nullopt;
  return file.string();
}

}  // namespace routelle
