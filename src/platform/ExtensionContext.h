#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace routelle {

// One attachment of a shared item (an item provider).
struct ExtensionAttachment {
  bool conformsToUrlType = false;  // hasItemConformingToTypeIdentifier: with the URL type
  std::string description;         // how the platform describes it, for the console
};

// One input item; an item without attachments has an empty list.
struct ExtensionItem {
  std::vector<ExtensionAttachment> attachments;
};

struct ExtensionError {
  std::string domain;
  long code = 0;
};

// The request an app extension serves: what the host application shared, and
// how the extension ends the request.
class ExtensionContext {
 public:
  virtual ~ExtensionContext() = default;
  virtual std::vector<ExtensionItem> inputItems() = 0;
  // Loads the URL-type item of an attachment (loadItemForTypeIdentifier:). The
  // completion runs later, once, on any thread; it receives the URL's absolute
  // string, or nothing when no item, an error or an item that is no URL came.
  virtual void loadUrl(std::size_t item, std::size_t attachment,
                       std::function<void(std::optional<std::string> absoluteUrl)> done) = 0;
  // completeRequestReturningItems: with no items and no completion handler.
  virtual void completeRequest() = 0;
  virtual void cancelRequest(const ExtensionError& error) = 0;
};

}  // namespace routelle
