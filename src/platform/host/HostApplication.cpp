#include "platform/host/HostApplication.h"

#include "platform/host/BundleInfo.h"

namespace routelle {

void HostApplication::setActivationPolicy(ActivationPolicy p) {
  policy_ = p;
  transcript_.add(std::string("activation policy ") + (p == ActivationPolicy::accessory ? "accessory"
                                                       : p == ActivationPolicy::regular ? "regular"
                                                                                        : "prohibited"));
}

void HostApplication::terminate() {
  terminated_ = true;
  transcript_.add("terminate");
}

std::string HostApplication::infoValue(const std::string& key) {
  auto info = readBundleInfo(world_.hostPath("/Applications/Routelle.app"));
  if (!info) return {};
  if (key == "CFBundleVersion") return info->version;
  if (key == "CFBundleIdentifier") return info->identifier;
  return {};
}

std::optional<std::string> HostApplication::pathForResource(const std::string& name, const std::string& type) {
  const std::string path = "/Applications/Routelle.app/Contents/Resources/" + name + "." + type;
  if (!workspace_.fileExists(path)) return std::nullopt;
  return path;
}

bool HostApplication::requestService(Pasteboard& pasteboard) {
  if (!servicesProvider_) return false;
  servicesProvider_(pasteboard);
  return true;
}

}  // namespace routelle
