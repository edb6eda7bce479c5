#include "platform/host/HostExtensionContext.h"

#include <thread>
#include <utility>

#include "platform/host/MenuDescription.h"

namespace routelle {

std::vector<ExtensionItem> HostExtensionContext::inputItems() {
  std::vector<ExtensionItem> out;
  for (const auto& attachments : items) {
    ExtensionItem item;
    for (const auto& a : attachments)
      item.attachments.push_back({a.isUrl, a.isUrl ? "public.url" : "public.plain-text"});
    out.push_back(std::move(item));
  }
  return out;
}

void HostExtensionContext::loadUrl(std::size_t item, std::size_t attachment,
                                   std::function<void(std::optional<std::string>)> done) {
  std::optional<std::string> url;
  if (item < items.size() && attachment < items[item].size()) {
    const Attachment& a = items[item][attachment];
    if (a.isUrl && urls_.parse(a.value)) url = a.value;
  }
  std::lock_guard lock(mutex_);
  pendingLoads_.push_back([done = std::move(done), url = std::move(url)] { done(url); });
}

void HostExtensionContext::deliverLoads() {
  std::vector<std::function<void()>> loads;
  {
    std::lock_guard lock(mutex_);
    loads.swap(pendingLoads_);
  }
  for (auto& load : loads) std::thread(std::move(load)).join();
}

void HostExtensionContext::ended(const std::string& how) {
  const std::string at = " at " + describeNumber(clock_.now()) + " s";
  bool again = false;
  {
    std::lock_guard lock(mutex_);
    again = std::exchange(ended_, true);
  }
  transcript_.add("request " + how + at + (again ? " (it had ended already)" : ""));
}

void HostExtensionContext::completeRequest() { ended("completed"); }

void HostExtensionContext::cancelRequest(const ExtensionError& error) {
  ended("cancelled with " + error.domain + " code " + std::to_string(error.code));
}

}  // namespace routelle
