#include "platform/host/HostDefaults.h"

#include <fcntl.h>
#include <plist/plist.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <thread>
#include <type_traits>

namespace routelle {

namespace {

using hostplist::PlistNode;

std::int64_t mtimeNs(const struct stat& st) {
  return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
}

enum class ReadResult { ok, tooLarge, error };

// Straight into a buffer sized from the file (a list of thousands of rules
// makes it large), with a byte more to show a file that grew meanwhile.
ReadResult readAll(int fd, std::size_t sizeHint, std::unique_ptr<PlistBytes>& out) {
  constexpr std::size_t limit = hostplist::kMaxPlistBytes;
  out = PlistBytes::allocate(std::min(sizeHint, limit) + 1);
  std::size_t filled = 0;
  for (;;) {
    if (filled == out->size()) {
      if (filled > limit) return ReadResult::tooLarge;
      auto larger = PlistBytes::allocate(std::min(2 * filled, limit + 1));
      std::memcpy(larger->data(), out->data(), filled);
      out = std::move(larger);
    }
    const ssize_t n = ::read(fd, out->data() + filled, out->size() - filled);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return ReadResult::error;
    if (n == 0) break;
    filled += static_cast<std::size_t>(n);
  }
  out->shrink(filled);
  return ReadResult::ok;
}

bool writeAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

std::filesystem::path directoryOf(const std::filesystem::path& file) {
  return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

// Renames without ever replacing an existing file; the new name, or nothing.
std::optional<std::string> keepAside(const std::filesystem::path& file) {
  const std::string base = file.string() + ".corrupt-" + std::to_string(std::time(nullptr));
  for (int attempt = 1; attempt <= 100; ++attempt) {
    const std::string target = attempt == 1 ? base : base + "-" + std::to_string(attempt);
    if (::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return target;
    if (errno == EEXIST) continue;
    if (errno != EINVAL && errno != ENOSYS) return std::nullopt;
    // No RENAME_NOREPLACE on this file system; a hard link never replaces either.
    if (::link(file.c_str(), target.c_str()) == 0) {
      ::unlink(file.c_str());
      return target;
    }
    if (errno != EEXIST) return std::nullopt;
  }
  return std::nullopt;
}

plist_t toNode(const DefaultsValue& value) {
  return std::visit(
      [](const auto& v) -> plist_t {
        using V = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<V, bool>) return plist_new_bool(v ? 1 : 0);
        // libplist 2.2 knows only unsigned integers; the bits are what is stored.
        else if constexpr (std::is_same_v<V, std::int64_t>)
          return plist_new_uint(static_cast<std::uint64_t>(v));
        else if constexpr (std::is_same_v<V, double>)
          return plist_new_real(v);
        else if constexpr (std::is_same_v<V, std::string>)
          return plist_new_string(v.c_str());
        else {
          static const char none = 0;
          return plist_new_data(v.empty() ? &none : reinterpret_cast<const char*>(v.data()), v.size());
        }
      },
      value);
}

// A tree as the binary property list that is written, read back in place;
// nothing when libplist cannot encode it.
std::shared_ptr<const DefaultsContents> encoded(plist_t tree) {
  char* data = nullptr;
  std::uint32_t length = 0;
  plist_to_bin(tree, &data, &length);
  if (!data) return nullptr;
  return DefaultsContents::read(PlistBytes::adopt(data, length));
}

// libplist keys are C strings: a key holding NUL could only alias a shorter one.
bool usableKey(std::string_view key) { return key.find('\0') == std::string_view::npos; }

std::string systemError(int error) { return std::strerror(error); }

}  // namespace

// Holds the domain lock for its lifetime (reentrant).
class HostDefaults::Scope {
 public:
  explicit Scope(HostDefaults& d) : d_(d) { d_.acquire(); }
  ~Scope() { d_.release(); }
  Scope(const Scope&) = delete;
  Scope& operator=(const Scope&) = delete;

 private:
  HostDefaults& d_;
};

HostDefaults::HostDefaults(std::filesystem::path file, bool readOnly, std::chrono::milliseconds lockWait)
    : file_(std::move(file)), readOnly_(readOnly), lockWait_(lockWait), contents_(DefaultsContents::empty()) {
  std::lock_guard guard(mutex_);
  refresh();
}

HostDefaults::~HostDefaults() {
  if (sharedWrites_) ::munmap(sharedWrites_, sizeof(std::uint64_t));
  if (heldFd_ >= 0) ::close(heldFd_);
  if (lockFd_ >= 0) ::close(lockFd_);
}

std::atomic<std::uint64_t>* HostDefaults::sharedWrites() {
  static_assert(std::atomic<std::uint64_t>::is_always_lock_free, "the count is shared between processes");
  if (sharedWrites_ || readOnly_) return sharedWrites_;
  // Opened, never created, here: reading creates nothing.
  const int fd = lockFd_ >= 0 ? lockFd_ : ::open((file_.string() + ".lock").c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st {};
  // The count's bytes must exist before they are mapped; lock files of older writers are empty.
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
      (st.st_size >= static_cast<off_t>(sizeof(std::uint64_t)) || ::ftruncate(fd, sizeof(std::uint64_t)) == 0)) {
    void* mapped = ::mmap(nullptr, sizeof(std::uint64_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (mapped != MAP_FAILED) sharedWrites_ = static_cast<std::atomic<std::uint64_t>*>(mapped);
  }
  if (lockFd_ < 0) lockFd_ = fd;
  return sharedWrites_;
}

// After the file in place changed, under the lock.
void HostDefaults::countWrite() {
  if (auto* writes = sharedWrites()) writesSeen_ = writes->fetch_add(1, std::memory_order_acq_rel) + 1;
}

void HostDefaults::acquire() {
  if (lockDepth_++ > 0) return;
  locked_ = false;
  lockTimedOut_ = false;
  if (lockFd_ < 0) {
    std::error_code ec;
    std::filesystem::create_directories(directoryOf(file_), ec);
    lockFd_ = ::open((file_.string() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  }
  if (lockFd_ >= 0) {
    // Polled rather than blocking, so that a writer that never lets go costs
    // a bounded wait and a clear error instead of a hang.
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + lockWait_;
    std::chrono::milliseconds pause{1};
    for (;;) {
      if (::flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
        locked_ = true;
        break;
      }
      if (errno == EINTR) continue;
      if (errno != EWOULDBLOCK) break;  // no locking on this file system: carry on without
      const auto now = Clock::now();
      if (now >= deadline) {
        lockTimedOut_ = true;
        break;
      }
      std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
      pause = std::min(pause * 2, std::chrono::milliseconds{50});
    }
  }
  refresh();
}

void HostDefaults::release() {
  if (--lockDepth_ > 0) return;
  if (locked_) ::flock(lockFd_, LOCK_UN);
  locked_ = false;
  lockTimedOut_ = false;
}

void HostDefaults::adopt(std::shared_ptr<const DefaultsContents> contents, PlistNode tree, int fd, const Stamp& stamp) {
  contents_ = std::move(contents);
  tree_ = std::move(tree);
  ++changes_;
  if (heldFd_ >= 0) ::close(heldFd_);
  heldFd_ = fd;
  stamp_ = stamp;
  unreadable_ = false;
  unsaved_ = false;
}

void HostDefaults::forget() { adopt(DefaultsContents::empty(), nullptr, -1, Stamp{}); }

void* HostDefaults::tree() {
  if (tree_) return tree_.get();
  const PlistBytes* bytes = contents_->bytes();
  if (bytes && bytes->size() > 0) {
    plist_t root = nullptr;
    plist_from_bin(reinterpret_cast<const char*>(bytes->data()), static_cast<std::uint32_t>(bytes->size()), &root);
    tree_.reset(root);
  }
  if (tree_ && plist_get_node_type(tree_.get()) == PLIST_DICT) return tree_.get();
  // Read in place but refused by libplist: kept aside by the write, as an unreadable file is.
  if (tree_) std::fprintf(stderr, "routelle: preferences file %s cannot be rewritten as it is\n", file_.c_str());
  unreadable_ = tree_ != nullptr;
  tree_.reset(plist_new_dict());
  return tree_.get();
}

// Brings the cache up to date with the file. Reading never renames, creates
// or deletes anything: unreadable contents read as an empty domain, and are
// only kept aside by the first write (under the lock, so that a file another
// writer has just put in place is never the one renamed away).
void HostDefaults::refresh() {
  // Read before the file is looked at: a write after it is seen next time.
  auto* writes = sharedWrites();
  const std::uint64_t counted = writes ? writes->load(std::memory_order_acquire) : 0;
  if (writes && looked_ && counted == writesSeen_) return;
  writesSeen_ = counted;
  looked_ = writes != nullptr;
  struct stat st {};
  if (::stat(file_.c_str(), &st) != 0) {
    // Gone since it was read: empty. Never there: keep any change not yet written.
    if ((errno == ENOENT || errno == ENOTDIR) && stamp_.exists) forget();
    return;  // other errors: keep what was read before
  }
  if (stamp_.exists && stamp_ == Stamp{true, st.st_dev, st.st_ino, st.st_size, mtimeNs(st)}) return;

  // Non-blocking so that a FIFO in its place cannot stall us; it is then refused below.
  const int fd = ::open(file_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENOENT && stamp_.exists) forget();
    return;
  }
  // The stamp is taken from the open file so that it describes the bytes read.
  std::unique_ptr<PlistBytes> bytes;
  ReadResult result = ReadResult::error;
  if (::fstat(fd, &st) == 0) {
    // Something else in the file's place is left alone: the write that would replace it fails.
    if (S_ISREG(st.st_mode)) {
      result = readAll(fd, static_cast<std::size_t>(st.st_size), bytes);
    } else if (!reportedNotAFile_) {
      std::fprintf(stderr, "routelle: preferences file %s is not a regular file; ignoring it\n", file_.c_str());
      reportedNotAFile_ = true;
    }
  }
  if (result == ReadResult::error) {
    ::close(fd);
    return;
  }
  reportedNotAFile_ = false;
  const Stamp stamp{true, st.st_dev, st.st_ino, st.st_size, mtimeNs(st)};
  std::shared_ptr<const DefaultsContents> contents;
  PlistNode tree;
  std::string refusal;
  if (result == ReadResult::ok && (bytes->size() == 0 || hostplist::isBinaryPlist(bytes->data(), bytes->size()))) {
    contents = DefaultsContents::read(std::move(bytes));  // read in place
  } else if (result == ReadResult::ok) {
    // Text: read through libplist, then kept as binary like everything written.
    tree = hostplist::parsePlist(reinterpret_cast<const char*>(bytes->data()), bytes->size(), &refusal);
    if (tree && plist_get_node_type(tree.get()) == PLIST_DICT) contents = encoded(tree.get());
  }
  if (contents) {
    adopt(std::move(contents), std::move(tree), fd, stamp);
    return;
  }
  adopt(DefaultsContents::empty(), PlistNode(plist_new_dict()), fd, stamp);
  unreadable_ = true;
  if (!refusal.empty()) refusal = " (" + refusal + ")";
  std::fprintf(stderr, "routelle: preferences file %s could not be read%s; %s\n", file_.c_str(), refusal.c_str(),
               readOnly_ ? "ignoring it" : "reading it as empty; it is kept aside when settings are next saved");
}

bool HostDefaults::failWrite(std::string cause) {
  lastError_ = std::move(cause);
  return false;
}

bool HostDefaults::setUnreadableFileAside() {
  if (!locked_) return failWrite(file_.string() + " cannot be read and cannot be kept aside without its lock");
  const auto aside = keepAside(file_);
  if (!aside) {
    return failWrite(file_.string() + " cannot be read and cannot be kept aside: " + systemError(errno));
  }
  std::fprintf(stderr, "routelle: preferences file %s could not be read; kept aside as %s\n", file_.c_str(),
               aside->c_str());
  unreadable_ = false;
  stamp_ = Stamp{};  // no file now: the change about to be written is kept even if that fails
  countWrite();
  return true;
}

// Writers only make temporaries while they hold the lock, so whatever is found
// while holding it was left by one that was killed.
void HostDefaults::removeStaleTemporaries() {
  if (!locked_) return;
  const std::string prefix = "." + file_.filename().string() + ".";
  std::error_code ec;
  for (std::filesystem::directory_iterator it(directoryOf(file_), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    std::error_code kind;
    if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0 && it->is_regular_file(kind))
      ::unlink(it->path().c_str());
  }
}

bool HostDefaults::writeFile() {
  if (lockTimedOut_) {
    return failWrite("another process has held the lock on " + file_.string() + " for over " +
                     std::to_string(lockWait_.count()) + " ms");
  }
  // A FIFO, a folder or a device where the file belongs is not the program's to replace.
  struct stat existing {};
  if (::stat(file_.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
    return failWrite("cannot replace " + file_.string() + ": " +
                     (S_ISDIR(existing.st_mode) ? systemError(EISDIR) : std::string("not a regular file")));
  }
  if (unreadable_ && !setUnreadableFileAside()) return false;
  const PlistBytes* bytes = contents_->bytes();
  if (!bytes) return failWrite("the preferences of " + file_.string() + " cannot be encoded");
  const char* data = reinterpret_cast<const char*>(bytes->data());
  const std::size_t length = bytes->size();

  const std::filesystem::path directory = directoryOf(file_);
  std::error_code ec;
  std::filesystem::create_directories(directory, ec);
  removeStaleTemporaries();
  std::string name = file_.filename().string();
  name.insert(0, 1, '.');
  name.append(".XXXXXX");
  std::string temp = (directory / name).string();
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return failWrite("cannot create a file in " + directory.string() + ": " + systemError(errno));
  struct stat st {};
  const char* step = "write";
  bool written = writeAll(fd, data, length);
  if (written) written = (step = "flush", ::fsync(fd) == 0) && ::fstat(fd, &st) == 0;
  if (written) written = (step = "replace", ::rename(temp.c_str(), file_.c_str()) == 0);
  if (!written) {
    const int error = errno;
    ::unlink(temp.c_str());
    ::close(fd);
    return failWrite(std::string("cannot ") + step + " " + file_.string() + ": " + systemError(error));
  }
  // The rename itself must survive a crash too.
  const int dirFd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  if (heldFd_ >= 0) ::close(heldFd_);
  heldFd_ = fd;
  stamp_ = Stamp{true, st.st_dev, st.st_ino, st.st_size, mtimeNs(st)};
  countWrite();
  return true;
}

void HostDefaults::write() {
  // Reads see the change at once, whether or not it reaches the file.
  auto contents = encoded(tree_.get());
  const bool encodable = contents != nullptr;
  if (encodable) contents_ = std::move(contents);
  lastWriteOk_ = encodable ? writeFile() : failWrite("the preferences of " + file_.string() + " cannot be encoded");
  unsaved_ = !lastWriteOk_;
  freshFailure_ = !lastWriteOk_;
  if (lastWriteOk_) {
    reportedError_.clear();
  } else if (lastError_ != reportedError_) {
    // Once per cause, so that a full disk does not fill the terminal.
    std::fprintf(stderr, "routelle: preferences not saved: %s\n", lastError_.c_str());
    reportedError_ = lastError_;
  }
}

std::optional<DefaultsValue> HostDefaults::object(std::string_view key) {
  std::lock_guard guard(mutex_);
  if (lockDepth_ == 0 && snapshotDepth_ == 0) refresh();
  return contents_->object(key);
}

std::optional<SharedData> HostDefaults::data(std::string_view key) {
  std::lock_guard guard(mutex_);
  if (lockDepth_ == 0 && snapshotDepth_ == 0) refresh();
  return contents_->data(key, contents_);
}

std::uint64_t HostDefaults::changeCount() {
  std::lock_guard guard(mutex_);
  if (lockDepth_ == 0 && snapshotDepth_ == 0) refresh();
  return changes_;
}

void HostDefaults::set(std::string_view key, const DefaultsValue& value) {
  std::lock_guard guard(mutex_);
  if (readOnly_) return;
  if (!usableKey(key)) {
    lastWriteOk_ = failWrite("a preferences key cannot hold a NUL character");  // refused, not pending
    return;
  }
  Scope scope(*this);
  plist_dict_set_item(tree(), std::string(key).c_str(), toNode(value));
  ++changes_;
  write();
}

void HostDefaults::remove(std::string_view key) {
  std::lock_guard guard(mutex_);
  if (readOnly_ || !usableKey(key)) return;
  Scope scope(*this);
  const std::string k(key);
  if (!plist_dict_get_item(tree(), k.c_str())) return;
  plist_dict_remove_item(tree(), k.c_str());
  ++changes_;
  write();
}

bool HostDefaults::synchronize() {
  std::lock_guard guard(mutex_);
  if (readOnly_) return failWrite(file_.string() + " is read only");
  if (unsaved_ && !freshFailure_) {
    Scope scope(*this);
    write();
  }
  freshFailure_ = false;
  return lastWriteOk_;
}

std::string HostDefaults::lastWriteError() {
  std::lock_guard guard(mutex_);
  return lastError_;
}

void HostDefaults::snapshot(const std::function<void()>& body) {
  std::lock_guard guard(mutex_);
  if (lockDepth_ == 0 && snapshotDepth_ == 0) refresh();
  ++snapshotDepth_;
  struct Leave {
    int& depth;
    ~Leave() { --depth; }
  } leave{snapshotDepth_};
  body();
}

void HostDefaults::transaction(const std::function<void()>& body) {
  std::lock_guard guard(mutex_);
  if (readOnly_) {
    body();
    return;
  }
  Scope scope(*this);
  body();
}

}  // namespace routelle
