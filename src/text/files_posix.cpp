// Files over POSIX open/lseek/write, for running the download logic natively.
#include <fcntl.h>
#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <utility>

#include "text/file_registry.h"
#include "text/files.h"

namespace tsm {
namespace {

// Positions are 32-bit offsets, as on the product's platform.
constexpr off_t kLargestPosition = 0xFFFFFFFF;

// Owns one open file descriptor.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

FileRegistry<FileDescriptor>& Files() {
  static FileRegistry<FileDescriptor> registry;
  return registry;
}

int Descriptor(int32_t file) {
  const FileDescriptor* found = Files().Find(file);
  return found ? found->get() : -1;
}

bool WriteAll(int fd, ByteView part) {
  size_t done = 0;
  while (done < part.size()) {
    ssize_t written = write(fd, part.data() + done, part.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<size_t>(written);
  }
  return true;
}

}  // namespace

bool FileExists(const Text& path) {
  if (path.empty()) return false;
  if (path.view().find_first_of("*?") == std::string_view::npos) {
    struct stat info {};
    return lstat(path.bytes().c_str(), &info) == 0;
  }
  // Only * and ? are wildcards, as in a Windows directory search; '[' stands
  // for itself and a backslash (also a GBK trail byte) is no escape.
  std::string pattern;
  for (char c : path.view()) pattern += c == '[' ? std::string("[[]") : std::string(1, c);
  glob_t found{};
  bool exists = glob(pattern.c_str(), GLOB_NOSORT | GLOB_NOESCAPE, nullptr, &found) == 0;
  globfree(&found);
  return exists;
}

int32_t OpenFile(const Text& path, int32_t mode) {
  if (path.empty() || (mode != kFileTruncate && mode != kFileKeep)) return 0;
  int flags = O_WRONLY | O_CREAT | (mode == kFileTruncate ? O_TRUNC : 0);
  int fd = open(path.bytes().c_str(), flags, 0666);
  if (fd < 0) return 0;
  return Files().Add(FileDescriptor(fd));
}

bool SeekToEnd(int32_t file) {
  int fd = Descriptor(file);
  struct stat info {};
  if (fd < 0 || fstat(fd, &info) != 0 || info.st_size > kLargestPosition) return false;
  return lseek(fd, 0, SEEK_END) >= 0;
}

bool WriteBytes(int32_t file, std::initializer_list<ByteView> parts) {
  int fd = Descriptor(file);
  if (fd < 0) return false;
  off_t start = lseek(fd, 0, SEEK_CUR);
  for (ByteView part : parts) {
    if (part.empty() || WriteAll(fd, part)) continue;
    if (start >= 0) lseek(fd, start, SEEK_SET);
    return false;
  }
  return true;
}

void CloseFile(int32_t file) { Files().Remove(file); }

}  // namespace tsm
