#pragma once
#include <cstdint>
#include <filesystem>
#include <mutex>

#include "platform/Defaults.h"
#include "platform/host/PlistParse.h"

namespace routelle {

// One defaults domain kept as a binary property list (the host world keeps
// ROOT/Library/Preferences/<domain>.plist). Keys of kinds the program never
// writes are carried along untouched by every write.
//
// Each set/remove replaces the file atomically while holding an advisory lock
// on "<file>.lock", after re-reading the file if another writer changed it, so
// several processes can share a domain without losing each other's writes.
// An unreadable file is renamed aside (never deleted) and the domain starts empty.
//
// Thread-safe; an instance must not be carried across fork() (the child would
// share its lock). String values end at their first NUL, as in a C string.
class HostDefaults final : public Defaults {
 public:
  // readOnly: never writes, renames or creates anything (the system-wide domain).
  explicit HostDefaults(std::filesystem::path file, bool readOnly = false);
  ~HostDefaults() override;
  HostDefaults(const HostDefaults&) = delete;
  HostDefaults& operator=(const HostDefaults&) = delete;

  std::optional<DefaultsValue> object(std::string_view key) override;
  void set(std::string_view key, const DefaultsValue& value) override;
  void remove(std::string_view key) override;
  // Whether the last set/remove reached the file; a failed write is retried first.
  bool synchronize() override;
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
  enum class Refresh { done, needsLock };

  void acquire();
  void release();
  Refresh refresh(bool exclusive);
  void adopt(hostplist::PlistNode dict, int fd, const Stamp& stamp);
  void forget();
  bool writeFile();
  void write();

  const std::filesystem::path file_;
  const bool readOnly_;
  std::recursive_mutex mutex_;
  hostplist::PlistNode dict_;
  Stamp stamp_;
  // The file the cache came from stays open so that its inode number cannot be
  // reused by a later file, which would make a changed file look unchanged.
  int heldFd_ = -1;
  int lockFd_ = -1;
  int lockDepth_ = 0;
  int snapshotDepth_ = 0;
  bool locked_ = false;
  bool lastWriteOk_ = true;
  std::uint64_t changes_ = 0;
  // The cache holds a change the file lacks (a write failed); kept until the file changes.
  bool unsaved_ = false;
  // An unreadable file that could not be kept aside: writing would destroy it.
  bool stuck_ = false;
};

}  // namespace routelle
