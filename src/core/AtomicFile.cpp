// POSIX implementation of whole-file reads and atomic replacement.
#include "core/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>
#include <system_error>
#include <utility>

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

std::filesystem::path FollowSymlinks(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::is_symlink(file, error)) return file;
  std::filesystem::path target = std::filesystem::weakly_canonical(file, error);
  return error ? file : target;
}

// Creates a new, empty file beside the target with a name nobody else uses.
int CreateTemporaryBeside(const std::filesystem::path& target, std::filesystem::path& created) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path candidate = target;
    candidate += ".tmp" + std::to_string(random() % 1000000u);
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

std::optional<std::string> ReadFileBytes(const std::filesystem::path& file) {
  // Non-blocking, so that a FIFO in the file's place cannot hang the caller.
  TFileDescriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (fd.Get() < 0) {
    if (errno == ENOENT) return std::nullopt;
    ThrowErrno();
  }
  struct stat status {};
  if (::fstat(fd.Get(), &status) != 0) ThrowErrno();
  RefuseIfNotRegular(status);
  std::string bytes;
  char buffer[65536];
  while (true) {
    const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      ThrowErrno();
    }
    if (got == 0) break;
    bytes.append(buffer, static_cast<size_t>(got));
  }
  return bytes;
}

void ReplaceFileAtomically(const std::filesystem::path& file, std::string_view bytes) {
  const std::filesystem::path target = FollowSymlinks(file);

  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (!exists && errno != ENOENT) ThrowErrno();
  if (exists) RefuseIfNotRegular(existing);
  // A file the administrator made read-only stays as it is, although the folder
  // would allow replacing it.
  if (exists && ::access(target.c_str(), W_OK) != 0) ThrowErrno();

  std::filesystem::path temporaryPath;
  TFileDescriptor fd(CreateTemporaryBeside(target, temporaryPath));
  if (fd.Get() < 0) ThrowErrno();
  TTemporaryFile temporary(temporaryPath);

  if (exists && ::fchmod(fd.Get(), existing.st_mode & 07777) != 0) ThrowErrno();
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
