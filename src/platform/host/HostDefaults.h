#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/Defaults.h"
#include "platform/host/DefaultsContents.h"
#include "platform/host/PlistParse.h"

namespace routelle {

// One defaults domain kept as a binary property list (the host world keeps
// ROOT/Library/Preferences/<domain>.plist). Keys of kinds the program never
// writes are carried along untouched by every write.
//
// Each set/remove replaces the file atomically while holding an advisory lock
// on "<file>.lock", after re-reading the file if another writer changed it, so
// several processes can share a domain without losing each other's writes.
// A writer waits a bounded time for the lock, then fails with a clear error
// rather than stalling; holding it, it removes temporaries killed writers left.
// An unreadable file reads as an empty domain and stays where it is until the
// first write, which renames it aside (never deletes it).
// Failed writes are reported on standard error and through lastWriteError().
//
// Every writer, in any process, counts its writes in the lock file, which each
// instance keeps mapped: a read that finds the count unchanged trusts its cache
// without a system call; another count looks at the file again. A file changed
// by other means than a HostDefaults is seen once something counts a write.
// Without a lock file (nothing has written yet) every read looks at the file.
//
// Thread-safe; an instance must not be carried across fork() (the child would
// share its lock). String values end at their first NUL, as in a C string.
class HostDefaults final : public Defaults {
 public:
  static constexpr std::chrono::milliseconds kLockWait{3000};

  // readOnly: never writes, renames or creates anything (the system-wide domain).
  explicit HostDefaults(std::filesystem::path file, bool readOnly = false,
                        std::chrono::milliseconds lockWait = kLockWait);
  ~HostDefaults() override;
  HostDefaults(const HostDefaults&) = delete;
  HostDefaults& operator=(const HostDefaults&) = delete;

  std::optional<DefaultsValue> object(std::string_view key) override;
  std::optional<SharedData> data(std::string_view key) override;
  void set(std::string_view key, const DefaultsValue& value) override;
  void remove(std::string_view key) override;
  // Whether the last set/remove reached the file; a write that failed before
  // this call's own set/remove is retried first.
  bool synchronize() override;
  std::string lastWriteError() override;
  // Counts every change of the cached contents: local writes and re-reads.
  std::uint64_t changeCount() override;
  // Reads in the body see the file as of its start, without looking again.
  void snapshot(const std::function<void()>& body) override;
  // Holds the lock across the body, which sees the file as of its start.
  void transaction(const std::function<void()>& body) override;

  const std::filesystem::path& file() const { return file_; }

 private:
  struct Stamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t mtimeNs = 0;
    bool operator==(const Stamp&) const = default;
  };
  class Scope;

  void acquire();
  void release();
  void refresh();
  // The writes counted in the lock file, mapping it first if it is there.
  std::atomic<std::uint64_t>* sharedWrites();
  void countWrite();
  void adopt(std::shared_ptr<const DefaultsContents> contents, hostplist::PlistNode tree, int fd, const Stamp& stamp);
  // The tree a write changes, made from the contents when first needed.
  void* tree();
  void forget();
  bool failWrite(std::string cause);
  bool setUnreadableFileAside();
  void removeStaleTemporaries();
  bool writeFile();
  void write();

  const std::filesystem::path file_;
  const bool readOnly_;
  const std::chrono::milliseconds lockWait_;
  std::recursive_mutex mutex_;
  // What reads see: the file's bytes, read in place. Writes go through a
  // libplist tree, made only once something is written, and what they encode
  // becomes the contents.
  std::shared_ptr<const DefaultsContents> contents_;
  hostplist::PlistNode tree_;
  Stamp stamp_;
  // The file the cache came from stays open so that its inode number cannot be
  // reused by a later file, which would make a changed file look unchanged.
  int heldFd_ = -1;
  int lockFd_ = -1;
  // The lock file's write count, mapped; the count as of the last look at the file.
  std::atomic<std::uint64_t>* sharedWrites_ = nullptr;
  std::uint64_t writesSeen_ = 0;
  bool looked_ = false;
  int lockDepth_ = 0;
  int snapshotDepth_ = 0;
  bool locked_ = false;
  // Another process held the lock past lockWait_: nothing may be written in this scope.
  bool lockTimedOut_ = false;
  bool lastWriteOk_ = true;
  std::string lastError_;
  std::string reportedError_;  // on standard error already; cleared by a write that succeeds
  std::uint64_t changes_ = 0;
  // The cache holds a change the file lacks (a write failed); kept until the file changes.
  bool unsaved_ = false;
  // The last write failed within the current set/remove, so synchronize need not retry it.
  bool freshFailure_ = false;
  // The file in place could not be read: the cache stands for it as empty, and
  // it is kept aside before anything is written over it.
  bool unreadable_ = false;
  // Said once that something other than a file stands where the file belongs.
  bool reportedNotAFile_ = false;
};

}  // namespace routelle
