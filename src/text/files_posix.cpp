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

// Owns one open file descriptor and knows its position: only these
// operations move it, so WriteBytes needs no system call to note it.
struct OpenDescriptor {
  explicit OpenDescriptor(int descriptor) : fd(descriptor) {}
  OpenDescriptor(OpenDescriptor&& other) noexcept
      : fd(std::exchange(other.fd, -1)), position(other.position) {}
  OpenDescriptor(const OpenDescriptor&) = delete;
  OpenDescriptor& operator=(const OpenDescriptor&) = delete;
  ~OpenDescriptor() {
    if (fd >= 0) close(fd);
  }

  int fd;
  uint64_t position = 0;
};

FileRegistry<OpenDescriptor>& Files() {
  static FileRegistry<OpenDescriptor> registry;
  return registry;
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
  return Files().Add(OpenDescriptor(fd));
}

bool SeekToEnd(int32_t file) {
  OpenDescriptor* found = Files().Find(file);
  struct stat info {};
  if (!found || fstat(found->fd, &info) != 0 || info.st_size > kLargestPosition) return false;
  const off_t end = lseek(found->fd, 0, SEEK_END);
  if (end < 0) return false;
  found->position = static_cast<uint64_t>(end);
  return true;
}

bool WriteBytes(int32_t file, std::initializer_list<ByteView> parts) {
  OpenDescriptor* found = Files().Find(file);
  if (!found) return false;
  const int fd = found->fd;
  return WritePartsAt(
      *found, parts, [fd](ByteView part) { return WriteAll(fd, part); },
      [fd](uint64_t start) { lseek(fd, static_cast<off_t>(start), SEEK_SET); });
}

void CloseFile(int32_t file) { Files().Remove(file); }

}  // namespace tsm
