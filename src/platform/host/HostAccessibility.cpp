#include "platform/host/HostAccessibility.h"

#include <filesystem>
#include <fstream>

namespace routelle {
namespace {

std::filesystem::path trustFile(const World& world) { return world.root() / "Library" / "Accessibility" / "trusted"; }

// An element keeps the selection it had when it was handed out, as a real element
// keeps pointing at the same control.
class HostElement final : public AccessibilityElement {
 public:
  explicit HostElement(std::string text) : selected(std::move(text)) {}
  const std::string selected;
};

}  // namespace

bool HostAccessibility::isProcessTrusted(bool prompt) {
  std::error_code ec;
  const bool trusted = std::filesystem::exists(trustFile(world_), ec);
  if (!trusted && prompt) transcript_.add("accessibility prompt shown");
  return trusted;
}

void HostAccessibility::setTrusted(bool trusted) {
  std::error_code ec;
  if (!trusted) {
    std::filesystem::remove(trustFile(world_), ec);
    return;
  }
  std::filesystem::create_directories(trustFile(world_).parent_path(), ec);
  std::ofstream(trustFile(world_)).flush();
}

void HostAccessibility::focusElementSelecting(std::string text) { focused_ = std::move(text); }

AccessibilityAnswer<std::shared_ptr<const AccessibilityElement>> HostAccessibility::focusedElement() {
  if (focusedElementError != AccessibilityStatus::success) return {focusedElementError, std::nullopt};
  if (!focused_) return {AccessibilityStatus::noValue, std::nullopt};
  return {AccessibilityStatus::success, std::make_shared<const HostElement>(*focused_)};
}

AccessibilityAnswer<std::string> HostAccessibility::selectedText(const AccessibilityElement& element) {
  if (selectedTextError != AccessibilityStatus::success) return {selectedTextError, std::nullopt};
  const auto* host = dynamic_cast<const HostElement*>(&element);
  if (!host) return {AccessibilityStatus::illegalArgument, std::nullopt};
  return {AccessibilityStatus::success, host->selected};
}

}  // namespace routelle
