#pragma once
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/ExtensionContext.h"
#include "platform/RunLoop.h"
#include "platform/UrlParser.h"
#include "platform/Workspace.h"
#include "support/Trace.h"

namespace routelle {

// What the share sheet shows.
struct ShareSheet {
  std::string title;  // "titleText"
  std::string url;    // "urlTextField"
};

// The services the extension acts through. Shared, because attachments load
// on the platform's threads and may finish after the view has gone.
struct ShareServices {
  std::shared_ptr<ExtensionContext> context;
  std::shared_ptr<Workspace> workspace;
  std::shared_ptr<RunLoop> runLoop;
  std::shared_ptr<const UrlParser> urls;
};

inline constexpr const char* kUserCancelledErrorDomain = "NSCocoaErrorDomain";
inline constexpr long kUserCancelledErrorCode = 3072;  // NSUserCancelledError
inline constexpr double kShareFallbackCloseSeconds = 10.0;

// The Share extension's view controller ("ShareViewController"): shows the
// shared URL and hands it to the program through its own URL scheme. Made
// with create(); pending loads and the fallback close keep it alive.
class ShareController : public std::enable_shared_from_this<ShareController> {
 public:
  static std::shared_ptr<ShareController> create(ShareServices services);

  // Lines the extension writes to standard output ("close", "invalid url"...).
  void setTraceSink(std::function<void(std::string_view)> sink) { trace_.setSink(std::move(sink)); }
  // Called with the sheet as it changes, from whichever thread changed it.
  void setSheetObserver(std::function<void(const ShareSheet&)> observer);

  // After the platform has loaded the view from the interface file.
  void loadView();
  // Ends the request, keeping nothing ("closeShareWindow").
  void closeShareWindow();
  // The sheet's Cancel button ("cancel:").
  void cancel();

  ShareSheet sheet() const;
  std::optional<std::string> urlToShare() const;

 private:
  explicit ShareController(ShareServices services) : s_(std::move(services)) {}
  void handOff(const std::optional<std::string>& absoluteUrl);
  void show(ShareSheet sheet);
  bool cancelled() const;

  ShareServices s_;
  Trace trace_;
  mutable std::mutex mutex_;
  std::function<void(const ShareSheet&)> observer_;
  ShareSheet sheet_;
  std::optional<std::string> urlToShare_;
  bool cancelled_ = false;
};

}  // namespace routelle
