// POSIX implementation of whole-file reads and atomic replacement.
#include "core/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <random>
#include <string>
#include <system_error>
#include <utility>

#include "core/InPlaceRewrite.h"

namespace {

// Owns one descriptor; close is never retried, as its descriptor is gone either way.
class TFileDescriptor {
 public:
  explicit TFileDescriptor(int fd) : fd_(fd) {}
  TFileDescriptor(const TFileDescriptor&) = delete;
  TFileDescriptor& operator=(const TFileDescriptor&) = delete;
  ~TFileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int Get() const { return fd_; }
  // Closes now so that a late write error (NFS, full disk) is reported.
  int Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

// The errno of the call that just failed, in the system's words.
[[noreturn]] void ThrowErrno() { throw EFileAccess(std::generic_category().message(errno)); }

// Removes the temporary file unless the rename has consumed it.
class TTemporaryFile {
 public:
  explicit TTemporaryFile(std::filesystem::path path) : path_(std::move(path)) {}
  TTemporaryFile(const TTemporaryFile&) = delete;
  TTemporaryFile& operator=(const TTemporaryFile&) = delete;
  ~TTemporaryFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  const std::filesystem::path& Path() const { return path_; }
  void Release() { path_.clear(); }

 private:
  std::filesystem::path path_;
};

// Where the chain of links ends, whether or not a file is there yet.
std::filesystem::path FollowSymlinks(const std::filesystem::path& file) {
  constexpr int kMostLinks = 40;  // the kernel's own bound on a chain
  std::filesystem::path path = file;
  for (int hop = 0; hop < kMostLinks; ++hop) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) return path;
    const std::filesystem::path target = std::filesystem::read_symlink(path, error);
    if (error) return path;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return path;
}

constexpr std::string_view kTemporaryInfix = ".tmp";

// Temporary files that a save killed before its rename left beside the target.
// One panel saves a settings file at a time, so every such file is stale.
void RemoveStaleTemporaries(const std::filesystem::path& target) {
  const std::string prefix = target.filename().string() + std::string(kTemporaryInfix);
  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  std::error_code error;
  for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
       entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    if (name.size() <= prefix.size() || !name.starts_with(prefix)) continue;
    if (!std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                     [](char c) { return c >= '0' && c <= '9'; })) {
      continue;
    }
    std::error_code ignored;
    if (entry->is_regular_file(ignored)) std::filesystem::remove(entry->path(), ignored);
  }
}

// Creates a new, empty file beside the target with a name nobody else uses.
int CreateTemporaryBeside(const std::filesystem::path& target, std::filesystem::path& created) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path candidate = target;
    candidate += std::string(kTemporaryInfix) + std::to_string(random() % 1000000u);
    // 0666 lets the umask decide, as for any file the program creates.
    const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      created = candidate;
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  errno = EEXIST;
  return -1;
}

// Only a regular file holds settings; a folder, device or FIFO in its place is
// an error that says what it is.
void RefuseIfNotRegular(const struct stat& status) {
  if (S_ISREG(status.st_mode)) return;
  throw EFileAccess(S_ISDIR(status.st_mode) ? "it is a folder, not a file"
                                            : "it is not a regular file");
}

void WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      ThrowErrno();
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
}

}  // namespace

std::optional<std::string> ReadFileBytes(const std::filesystem::path& file, size_t limit) {
  // Non-blocking, so that a FIFO in the file's place cannot hang the caller.
  TFileDescriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (fd.Get() < 0) {
    if (errno == ENOENT) return std::nullopt;
    ThrowErrno();
  }
  struct stat status {};
  if (::fstat(fd.Get(), &status) != 0) ThrowErrno();
  RefuseIfNotRegular(status);
  const auto tooLarge = [limit] {
    return EFileTooLarge("it is larger than " + std::to_string(limit / (1024 * 1024)) + " MiB");
  };
  if (static_cast<uintmax_t>(status.st_size) > limit) throw tooLarge();
  std::string bytes;
  bytes.reserve(static_cast<size_t>(status.st_size));
  char buffer[65536];
  while (true) {
    const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      ThrowErrno();
    }
    if (got == 0) break;
    // The file may grow while it is read.
    if (bytes.size() + static_cast<size_t>(got) > limit) throw tooLarge();
    bytes.append(buffer, static_cast<size_t>(got));
  }
  return RecoverInterruptedRewrite(std::move(bytes));
}

namespace {

// The in-place way: the file keeps its inode, owner, group, mode and links.
void RewriteExisting(const std::filesystem::path& target, std::string_view bytes) {
  TFileDescriptor fd(::open(target.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW));
  if (fd.Get() < 0) ThrowErrno();
  struct stat status {};
  if (::fstat(fd.Get(), &status) != 0) ThrowErrno();
  RefuseIfNotRegular(status);
  RewriteInPlace(fd.Get(), status.st_size, bytes);
  if (fd.Close() != 0) ThrowErrno();
}

bool CannotCreateBeside(int errorNumber) { return errorNumber == EACCES || errorNumber == EPERM; }

}  // namespace

void ReplaceFileAtomically(const std::filesystem::path& file, std::string_view bytes) {
  const std::filesystem::path target = FollowSymlinks(file);

  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (!exists && errno != ENOENT) ThrowErrno();
  if (exists) RefuseIfNotRegular(existing);
  // A file the administrator made read-only stays as it is, although the folder
  // would allow replacing it.
  if (exists && ::access(target.c_str(), W_OK) != 0) ThrowErrno();
  RemoveStaleTemporaries(target);

  std::filesystem::path temporaryPath;
  TFileDescriptor fd(CreateTemporaryBeside(target, temporaryPath));
  if (fd.Get() < 0) {
    if (exists && CannotCreateBeside(errno)) return RewriteExisting(target, bytes);
    ThrowErrno();
  }
  TTemporaryFile temporary(temporaryPath);

  if (exists) {
    struct stat created {};
    if (::fstat(fd.Get(), &created) != 0) ThrowErrno();
    // Root saving another user's file gives it back to that user; whoever may
    // not give the copy the file's owner and group keeps them by rewriting it.
    if ((created.st_uid != existing.st_uid || created.st_gid != existing.st_gid) &&
        ::fchown(fd.Get(), existing.st_uid, existing.st_gid) != 0) {
      if (!CannotCreateBeside(errno)) ThrowErrno();
      return RewriteExisting(target, bytes);
    }
    // After the change of owner, which clears the set-id bits.
    if (::fchmod(fd.Get(), existing.st_mode & 07777) != 0) ThrowErrno();
  }
  WriteAll(fd.Get(), bytes);
  if (::fsync(fd.Get()) != 0) ThrowErrno();
  if (fd.Close() != 0) ThrowErrno();
  if (::rename(temporary.Path().c_str(), target.c_str()) != 0) ThrowErrno();
  temporary.Release();

  // Makes the rename itself durable; the new file is complete either way.
  std::filesystem::path folder = target.parent_path();
  TFileDescriptor folderFd(
      ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folderFd.Get() >= 0) ::fsync(folderFd.Get());
}
