#include "platform/host/HostEvents.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace routelle {
namespace {

using ::testing::ElementsAre;

// Monitors that change the monitors while an event is handed out, as hiding and
// showing the floating window stops and starts one.
TEST(HostEventsTest, AnEventReachesTheMonitorsPresentWhenItArrived) {
  HostEvents events;
  std::vector<std::string> seen;
  std::optional<Events::MonitorToken> second;
  std::optional<Events::MonitorToken> added;
  events.addGlobalMonitor(
      maskOf(EventType::leftMouseDown) | maskOf(EventType::leftMouseUp), [&](const std::optional<GlobalEvent>& e) {
        seen.push_back("first " + std::to_string(static_cast<unsigned>(e->type)));
        // Removes the next one and adds one: neither sees this event.
        if (second) events.removeMonitor(*second);
        second.reset();
        if (!added)
          added = events.addGlobalMonitor(maskOf(EventType::leftMouseDown),
                                          [&](const std::optional<GlobalEvent>&) { seen.push_back("added"); });
      });
  second = events.addGlobalMonitor(maskOf(EventType::leftMouseDown),
                                   [&](const std::optional<GlobalEvent>&) { seen.push_back("second"); });
  // One that removes itself while it runs.
  std::optional<Events::MonitorToken> self;
  self = events.addGlobalMonitor(maskOf(EventType::keyDown), [&](const std::optional<GlobalEvent>& e) {
    seen.push_back("self at " + std::to_string(static_cast<int>(e->location.x)));
    events.removeMonitor(*self);
  });

  events.pointer = {7, 8};
  events.deliver(EventType::leftMouseDown);
  events.deliver(EventType::keyDown);
  events.deliver(EventType::keyDown);
  events.deliver(EventType::leftMouseDown);
  events.deliver(EventType::rightMouseDown);
  EXPECT_THAT(seen, ElementsAre("first 1", "self at 7", "first 1", "added"));
  EXPECT_EQ(events.monitorCount(), 2u);
}

}  // namespace
}  // namespace routelle
