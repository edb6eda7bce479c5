#include "platform/linux/LinuxPasteboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace routelle {
namespace {

QClipboard::Mode modeOf(bool primary) { return primary ? QClipboard::Selection : QClipboard::Clipboard; }

}  // namespace

std::optional<std::string> LinuxPasteboard::string() {
  const QString text = QGuiApplication::clipboard()->text(modeOf(primary_));
  if (text.isNull()) return std::nullopt;
  return text.toStdString();
}

void LinuxPasteboard::setString(const std::string& text) {
  QGuiApplication::clipboard()->setText(QString::fromStdString(text), modeOf(primary_));
}

}  // namespace routelle
