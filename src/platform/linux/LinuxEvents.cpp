#include "platform/linux/LinuxEvents.h"

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace routelle {

double primaryScreenHeight() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry().height() : 0;
}

std::uint64_t LinuxEvents::modifierFlags() {
  const Qt::KeyboardModifiers held = QGuiApplication::queryKeyboardModifiers();
  std::uint64_t flags = 0;
  if (held & Qt::ShiftModifier) flags |= modifierFlags::shift;
  if (held & Qt::ControlModifier) flags |= modifierFlags::control;
  if (held & Qt::AltModifier) flags |= modifierFlags::option;
  if (held & Qt::MetaModifier) flags |= modifierFlags::command;
  return flags;
}

Point LinuxEvents::mouseLocation() {
  const QPoint at = QCursor::pos();
  return {static_cast<double>(at.x()), primaryScreenHeight() - at.y()};
}

}  // namespace routelle

namespace routelle {

std::optional<Events::MonitorToken> LinuxEvents::addGlobalMonitor(EventMask mask, GlobalEventHandler handler) {
  if (!(mask & maskOf(EventType::leftMouseUp))) return std::nullopt;
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard->supportsSelection()) return std::nullopt;
  if (!listening_) {
    listening_ = true;
    QObject::connect(clipboard, &QClipboard::selectionChanged, [this] { selectionChanged(); });
  }
  const MonitorToken token = next_++;
  selectionMonitors_[token] = std::move(handler);
  return token;
}

void LinuxEvents::selectionChanged() {
  // The program's own selections are none of the assistant's business.
  if (QGuiApplication::clipboard()->ownsSelection()) return;
  const GlobalEvent event{EventType::leftMouseUp, mouseLocation()};
  // A handler may remove monitors: each is looked up again before it is called.
  std::vector<MonitorToken> tokens;
  for (const auto& [token, handler] : selectionMonitors_) tokens.push_back(token);
  for (auto token : tokens)
    if (auto it = selectionMonitors_.find(token); it != selectionMonitors_.end()) {
      auto handler = it->second;
      handler(event);
    }
}

}  // namespace routelle
