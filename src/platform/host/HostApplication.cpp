#include "platform/host/HostApplication.h"

#include "platform/host/BundleInfo.h"

namespace routelle {

void HostApplication::setActivationPolicy(ActivationPolicy p) {
  policy = p;
  transcript_.add(std::string("activation policy ") + (p == ActivationPolicy::accessory ? "accessory"
                                                       : p == ActivationPolicy::regular ? "regular"
                                                                                        : "prohibited"));
}

void HostApplication::terminate() {
  terminated = true;
  transcript_.add("terminate");
}

std::string HostApplication::infoValue(const std::string& key) {
  auto info = readBundleInfo(system_.world.hostPath("/Applications/Routelle.app"));
  if (!info) return {};
  if (key == "CFBundleVersion") return info->version;
  if (key == "CFBundleIdentifier") return info->identifier;
  return {};
}

std::optional<std::string> HostApplication::pathForResource(const std::string& name, const std::string& type) {
  const std::string path = "/Applications/Routelle.app/Contents/Resources/" + name + "." + type;
  if (!system_.workspace.fileExists(path)) return std::nullopt;
  return path;
}

bool HostAccessibility::isProcessTrusted(bool prompt) {
  std::error_code ec;
  const bool trusted = std::filesystem::exists(world_.root() / "Library" / "Accessibility" / "trusted", ec);
  if (!trusted && prompt) transcript_.add("accessibility prompt shown");
  return trusted;
}

}  // namespace routelle
