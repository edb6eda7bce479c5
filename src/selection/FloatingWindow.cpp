#include "selection/FloatingWindow.h"

namespace routelle {
namespace {

constexpr unsigned long kTitledWindowMask = 1;
constexpr unsigned long kFullSizeContentViewMask = 32768;

}  // namespace

void FloatingWindow::create() {
  window_ = WindowModel{};
  window_->styleMask |= kTitledWindowMask;
}

void FloatingWindow::show(View content, Point origin) {
  auto front = workspace_.frontmostApplication();
  previousFront_ = front && !front->localizedName.empty() ? front : std::nullopt;
  window_ = WindowModel{};
  showing_ = true;
  style(std::move(content));
  presenter_.showFloatingWindow(*window_, origin);
  if (outsideClicks_) outsideClicks_->start();
}

void FloatingWindow::style(View content) {
  WindowModel& w = *window_;
  w.styleMask |= kFullSizeContentViewMask;
  w.movableByBackground = true;
  w.titlebarTransparent = true;
  w.hideTitle = true;
  w.hideStandardButtons = true;
  w.opaque = false;
  w.backgroundColor = "black 0.7";
  w.frame = {0, 0, content.frame.width, content.frame.height};
  w.floating = true;
  w.content = std::move(content);
  presenter_.activate(false);
}

void FloatingWindow::hide() {
  if (!window_ || !presenter_.floatingWindowVisible()) return;
  presenter_.orderOutFloatingWindow();
  showing_ = false;
  if (outsideClicks_) outsideClicks_->stop();
}

void FloatingWindow::createOutsideClickMonitor(Events& events, EventMask mask) {
  outsideClicks_.emplace(events, mask, [this](const std::optional<GlobalEvent>&) { hide(); });
}

}  // namespace routelle
