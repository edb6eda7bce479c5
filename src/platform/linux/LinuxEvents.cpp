#include "platform/linux/LinuxEvents.h"

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
