#include "share/ShareController.h"

namespace routelle {
namespace {

constexpr const char* kNoUrlTitle = "No url found";
constexpr const char* kOpeningTitle = "Opening Routelle...";
constexpr const char* kNoAttachments = "No Attachments";
constexpr const char* kClose = "close";
constexpr const char* kOwnScheme = "routelle://";

std::string describeAttachments(const std::vector<ExtensionAttachment>& attachments) {
  std::string out = "(";
  for (std::size_t i = 0; i < attachments.size(); ++i) out += (i ? ", " : "") + attachments[i].description;
  return out + ")";
}

}  // namespace

std::shared_ptr<ShareController> ShareController::create(ShareServices services) {
  return std::shared_ptr<ShareController>(new ShareController(std::move(services)));
}

void ShareController::setSheetObserver(std::function<void(const ShareSheet&)> observer) {
  std::lock_guard lock(mutex_);
  observer_ = std::move(observer);
}

ShareSheet ShareController::sheet() const {
  std::lock_guard lock(mutex_);
  return sheet_;
}

std::optional<std::string> ShareController::urlToShare() const {
  std::lock_guard lock(mutex_);
  return urlToShare_;
}

bool ShareController::cancelled() const {
  std::lock_guard lock(mutex_);
  return cancelled_;
}

// Under the lock, so that observers see the changes in the order they were made.
void ShareController::show(ShareSheet sheet) {
  std::lock_guard lock(mutex_);
  sheet_ = std::move(sheet);
  if (observer_) observer_(sheet_);
}

void ShareController::loadView() {
  show({kNoUrlTitle, ""});
  const auto items = s_.context->inputItems();
  if (items.empty() || items.front().attachments.empty()) {
    trace_(kNoAttachments);
  } else {
    const auto& attachments = items.front().attachments;
    trace_(describeAttachments(attachments));
    {
      std::lock_guard lock(mutex_);
      urlToShare_.reset();
    }
    for (std::size_t i = 0; i < attachments.size(); ++i) {
      if (!attachments[i].conformsToUrlType) continue;
      s_.context->loadUrl(0, i,
                          [self = shared_from_this()](const std::optional<std::string>& url) { self->handOff(url); });
    }
  }
  s_.runLoop->schedule(kShareFallbackCloseSeconds, [self = shared_from_this()] { self->closeShareWindow(); });
}

void ShareController::handOff(const std::optional<std::string>& absoluteUrl) {
  // Once the user has cancelled, a load that finishes late shares nothing.
  if (!absoluteUrl || cancelled()) return;
  {
    // One step, so that racing hand-offs never leave the sheet showing another URL than the one shared.
    std::lock_guard lock(mutex_);
    urlToShare_ = *absoluteUrl;
    sheet_ = {kOpeningTitle, *absoluteUrl};
    if (observer_) observer_(sheet_);
  }
  trace_(kClose);
  s_.context->completeRequest();
  const std::string handOff = kOwnScheme + *absoluteUrl;
  if (!s_.urls->parse(handOff)) {
    trace_(trace::invalidUrl);
    return;
  }
  if (s_.workspace->openURL(handOff)) trace_(trace::urlOpened);
}

void ShareController::closeShareWindow() {
  if (cancelled()) return;
  trace_(kClose);
  s_.context->completeRequest();
}

void ShareController::cancel() {
  {
    std::lock_guard lock(mutex_);
    if (cancelled_) return;
    cancelled_ = true;
  }
  s_.context->cancelRequest({kUserCancelledErrorDomain, kUserCancelledErrorCode});
}

}  // namespace routelle
