#include <gtest/gtest.h>
#include <plist/plist.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/host/HostDefaults.h"
#include "platform/host/HostListArchiver.h"
#include "platform/host/PlistParse.h"
#include "support/TempDir.h"

namespace routelle {
namespace {

namespace fs = std::filesystem;

// Runs body in a child process that exits 0 when it returns true. Each child
// makes its own HostDefaults: an instance never crosses fork().
pid_t spawn(const std::function<bool()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    bool ok = false;
    try {
      ok = body();
    } catch (...) {
    }
    ::_exit(ok ? 0 : 1);
  }
  return pid;
}

int exitStatus(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

class ConcurrentDefaultsTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  fs::path file = dir.path() / "Library/Preferences/com.example.routelle.plist";
  const HostListArchiver archiver;

  // One read-modify-write of the rule list, as the rule editor does it.
  bool append(HostDefaults& d, const std::string& item) {
    bool ok = true;
    d.transaction([&] {
      std::vector<std::string> list;
      if (auto v = d.object("rules")) {
        auto stored = archiver.unarchive(std::get<Bytes>(*v));
        if (!stored)
          ok = false;
        else
          list = std::move(*stored);
      }
      list.push_back(item);
      d.set("rules", archiver.archive(list));
      ok = ok && d.synchronize();
    });
    return ok;
  }
};

TEST_F(ConcurrentDefaultsTest, ProcessesAppendingAtOnceLoseNothing) {
  constexpr int kChildren = 4;
  constexpr int kAppends = 12;
  int go[2];
  ASSERT_EQ(::pipe(go), 0);
  std::vector<pid_t> children;
  for (int c = 0; c < kChildren; ++c) {
    children.push_back(spawn([&, c] {
      ::close(go[1]);
      HostDefaults d(file);
      char start = 0;
      if (::read(go[0], &start, 1) != 1) return false;
      for (int i = 0; i < kAppends; ++i) {
        if (!append(d, "c" + std::to_string(c) + "-" + std::to_string(i))) return false;
      }
      d.set("child" + std::to_string(c), std::int64_t{c});  // a plain set must not drop the list either
      return d.synchronize();
    }));
  }
  ::close(go[0]);
  ASSERT_EQ(::write(go[1], "gogo", kChildren), kChildren);  // release them together
  ::close(go[1]);
  for (pid_t pid : children) EXPECT_EQ(exitStatus(pid), 0);

  HostDefaults d(file);
  const auto stored = archiver.unarchive(std::get<Bytes>(d.object("rules").value()));
  ASSERT_TRUE(stored);
  std::vector<std::string> items = *stored, expected;
  for (int c = 0; c < kChildren; ++c) {
    for (int i = 0; i < kAppends; ++i) expected.push_back("c" + std::to_string(c) + "-" + std::to_string(i));
    EXPECT_EQ(d.object("child" + std::to_string(c)), DefaultsValue(std::int64_t{c}));
  }
  std::sort(items.begin(), items.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(items, expected);
}

TEST_F(ConcurrentDefaultsTest, ThreadsSharingOrNotAnInstanceLoseNothing) {
  constexpr int kRounds = 12;
  HostDefaults shared(file);
  std::vector<std::thread> threads;
  std::vector<int> failures(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      HostDefaults own(file);
      HostDefaults& d = t % 2 ? own : shared;
      for (int i = 0; i < kRounds; ++i) {
        d.transaction([&] {
          const auto n = d.object("count");
          d.set("count", (n ? std::get<std::int64_t>(*n) : 0) + 1);
        });
        if (!d.synchronize()) ++failures[t];
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(failures, std::vector<int>(4, 0));
  EXPECT_EQ(HostDefaults(file).object("count"), DefaultsValue(std::int64_t{4 * kRounds}));
}

TEST_F(ConcurrentDefaultsTest, AWriterKilledMidWriteLeavesTheOldOrTheNewValue) {
  constexpr std::size_t kSize = 512 * 1024;
  for (int round = 0; round < 6; ++round) {
    int acks[2];
    ASSERT_EQ(::pipe(acks), 0);
    const pid_t pid = spawn([&] {
      ::close(acks[0]);
      HostDefaults d(file);
      for (int k = 1;; ++k) {
        d.set("big", Bytes(kSize, static_cast<std::uint8_t>(k)));
        if (!d.synchronize() || ::write(acks[1], &k, sizeof k) != sizeof k) return false;
      }
    });
    ::close(acks[1]);
    // Let it finish a few writes, then kill it a little later each round.
    int last = 0;
    for (int seen = 0; seen <= round % 3; ++seen) ASSERT_EQ(::read(acks[0], &last, sizeof last), sizeof last);
    std::atomic<int> spin{0};
    while (spin.fetch_add(1, std::memory_order_relaxed) < round * 300000) {
    }
    ::kill(pid, SIGKILL);
    exitStatus(pid);
    for (int k; ::read(acks[0], &k, sizeof k) == sizeof k;) last = k;
    ::close(acks[0]);

    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    const auto parsed = hostplist::parsePlist(bytes.data(), bytes.size());
    ASSERT_TRUE(parsed) << "round " << round;
    plist_t big = plist_dict_get_item(parsed.get(), "big");
    ASSERT_NE(big, nullptr);
    std::uint64_t length = 0;
    const char* data = plist_get_data_ptr(big, &length);
    ASSERT_EQ(length, kSize);
    const auto value = static_cast<std::uint8_t>(data[0]);
    EXPECT_TRUE(value == static_cast<std::uint8_t>(last) || value == static_cast<std::uint8_t>(last + 1))
        << "round " << round << ": " << int(value) << " after " << last;
    EXPECT_TRUE(std::all_of(data, data + length, [&](char c) { return static_cast<std::uint8_t>(c) == value; }));
  }
}

}  // namespace
}  // namespace routelle
