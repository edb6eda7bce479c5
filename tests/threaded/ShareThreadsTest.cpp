// The Share extension's attachments finish loading on the platform's threads,
// together, while the user may press Cancel on the main thread: nothing the
// hand-offs share may race, and each hand-off opens its own URL.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <latch>
#include <mutex>
#include <thread>

#include "platform/host/HostRunLoop.h"
#include "platform/host/HostUrlParser.h"
#include "share/ShareController.h"

namespace routelle {
namespace {

constexpr int kAttachments = 6;

// Holds each load until the test finishes them all at once.
class ConcurrentContext final : public ExtensionContext {
 public:
  std::vector<ExtensionItem> inputItems() override {
    return {ExtensionItem{std::vector<ExtensionAttachment>(kAttachments, {true, "public.url"})}};
  }
  void loadUrl(std::size_t, std::size_t attachment, std::function<void(std::optional<std::string>)> done) override {
    loads.push_back(
        [done = std::move(done), attachment] { done("https://example.org/" + std::to_string(attachment)); });
  }
  void completeRequest() override { ++completed; }
  void cancelRequest(const ExtensionError& error) override {
    if (error.code == kUserCancelledErrorCode) ++cancelled;
  }

  std::vector<std::function<void()>> loads;
  std::atomic<int> completed{0};
  std::atomic<int> cancelled{0};
};

class OpeningWorkspace final : public Workspace {
 public:
  std::optional<std::string> pathForBundleIdentifier(const std::string&) override { return std::nullopt; }
  std::optional<std::string> fullPathForApplication(const std::string&) override { return std::nullopt; }
  std::optional<std::string> bundleIdentifier(const std::string&) override { return std::nullopt; }
  std::vector<RunningApplication> runningApplications() override { return {}; }
  std::optional<RunningApplication> frontmostApplication() override { return std::nullopt; }
  bool fileExists(const std::string&) override { return false; }
  bool activateIgnoringOtherApps(const RunningApplication&) override { return false; }
  bool openURL(const std::string& url) override {
    std::lock_guard lock(mutex);
    opened.push_back(url);
    return true;
  }
  std::mutex mutex;
  std::vector<std::string> opened;
};

struct Extension {
  std::shared_ptr<ConcurrentContext> context = std::make_shared<ConcurrentContext>();
  std::shared_ptr<OpeningWorkspace> workspace = std::make_shared<OpeningWorkspace>();
  std::shared_ptr<HostRunLoop> runLoop = std::make_shared<HostRunLoop>();
  std::shared_ptr<ShareController> controller =
      ShareController::create({context, workspace, runLoop, std::make_shared<HostUrlParser>()});

  // The loads and the fallback close hold the controller, which holds them: let them go.
  ~Extension() {
    context->loads.clear();
    runLoop->advance(kShareFallbackCloseSeconds);
  }

  // Every load finishes on a thread of its own, all at once, while `meanwhile` runs here.
  void finishLoads(const std::function<void()>& meanwhile) {
    std::latch start(static_cast<std::ptrdiff_t>(context->loads.size()) + 1);
    std::vector<std::thread> threads;
    for (auto& load : context->loads)
      threads.emplace_back([&start, &load] {
        start.arrive_and_wait();
        load();
      });
    start.arrive_and_wait();
    meanwhile();
    for (auto& thread : threads) thread.join();
  }
};

TEST(ShareThreadsTest, HandOffsRunSideBySide) {
  Extension e;
  e.controller->loadView();
  e.finishLoads([&] {
    for (int i = 0; i < 50; ++i) (void)e.controller->sheet();
  });
  std::vector<std::string> opened = e.workspace->opened;
  std::sort(opened.begin(), opened.end());
  ASSERT_EQ(opened.size(), std::size_t(kAttachments));
  for (int i = 0; i < kAttachments; ++i) EXPECT_EQ(opened[i], "routelle://https://example.org/" + std::to_string(i));
  EXPECT_EQ(e.context->completed, kAttachments);
  EXPECT_EQ(e.controller->sheet().url, *e.controller->urlToShare());
}

TEST(ShareThreadsTest, CancelRacesTheLoadsAndEndsTheRequestOnce) {
  Extension e;
  e.controller->loadView();
  e.finishLoads([&] {
    e.controller->cancel();
    e.controller->cancel();
  });
  EXPECT_EQ(e.context->cancelled, 1);
  const std::size_t handedOff = e.workspace->opened.size();
  e.runLoop->advance(kShareFallbackCloseSeconds);  // the fallback close finds the request cancelled
  EXPECT_EQ(e.context->completed, static_cast<int>(handedOff));
}

}  // namespace
}  // namespace routelle
