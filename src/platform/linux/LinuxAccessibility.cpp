#include "platform/linux/LinuxAccessibility.h"

#include <QClipboard>
#include <QGuiApplication>

namespace routelle {

std::optional<std::string> LinuxAccessibility::selectionUnavailableReason() {
  if (QGuiApplication::clipboard()->supportsSelection()) return std::nullopt;
  return "Needs the X11 selection, which this Wayland session does not offer";
}

AccessibilityAnswer<std::shared_ptr<const AccessibilityElement>> LinuxAccessibility::focusedElement() {
  if (selectionUnavailableReason()) return {AccessibilityStatus::apiDisabled, std::nullopt};
  return {AccessibilityStatus::success, std::make_shared<const AccessibilityElement>()};
}

AccessibilityAnswer<std::string> LinuxAccessibility::selectedText(const AccessibilityElement&) {
  const QString text = QGuiApplication::clipboard()->text(QClipboard::Selection);
  if (text.isEmpty()) return {AccessibilityStatus::noValue, std::nullopt};
  return {AccessibilityStatus::success, text.toStdString()};
}

}  // namespace routelle
