#pragma once
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/ExtensionContext.h"
#include "platform/UrlParser.h"
#include "platform/host/HostRunLoop.h"
#include "platform/host/Transcript.h"

namespace routelle {

// The request of a Share extension in the host world: the driver sets what the
// host application shares; how the request ends goes to the transcript with the
// run loop's clock. Loads wait until deliverLoads(), which runs each on a
// thread of its own, as the platform does, one after the other.
class HostExtensionContext final : public ExtensionContext {
 public:
  struct Attachment {
    bool isUrl = false;  // a URL (public.url), or a text (public.plain-text)
    std::string value;   // a URL's text that is no URL delivers no URL
  };

  HostExtensionContext(Transcript& transcript, const HostRunLoop& clock, const UrlParser& urls)
      : transcript_(transcript), clock_(clock), urls_(urls) {}

  // Each input item with its attachments, in order.
  std::vector<std::vector<Attachment>> items;

  std::vector<ExtensionItem> inputItems() override;
  void loadUrl(std::size_t item, std::size_t attachment, std::function<void(std::optional<std::string>)> done) override;
  void completeRequest() override;
  void cancelRequest(const ExtensionError& error) override;

  void deliverLoads();

 private:
  void ended(const std::string& how);

  Transcript& transcript_;
  const HostRunLoop& clock_;
  const UrlParser& urls_;
  std::mutex mutex_;
  std::vector<std::function<void()>> pendingLoads_;
  bool ended_ = false;
};

}  // namespace routelle
