// Files over the Windows file functions.
#include <windows.h>

#include "text/file_registry.h"
#include "text/files.h"

namespace tsm {
namespace {

// Owns one open file handle.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(FileHandle&& other) noexcept : handle_(other.handle_) {
    other.handle_ = INVALID_HANDLE_VALUE;
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

FileRegistry<FileHandle>& Files() {
  static FileRegistry<FileHandle> registry;
  return registry;
}

HANDLE Handle(int32_t file) {
  const FileHandle* found = Files().Find(file);
  return found ? found->get() : INVALID_HANDLE_VALUE;
}

// SetFilePointer without a high part: fails for positions of 4 GiB and more.
bool MovePointer(HANDLE file, LONG distance, DWORD method, DWORD* position) {
  SetLastError(NO_ERROR);
  DWORD result = SetFilePointer(file, distance, nullptr, method);
  if (result == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return false;
  if (position) *position = result;
  return true;
}

bool WriteAll(HANDLE file, ByteView part) {
  const uint8_t* data = part.data();
  size_t left = part.size();
  while (left > 0) {
    DWORD asked = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
    DWORD written = 0;
    if (!WriteFile(file, data, asked, &written, nullptr) || written != asked) return false;
    data += written;
    left -= written;
  }
  return true;
}

}  // namespace

bool FileExists(const Text& path) {
  if (path.empty()) return false;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path.bytes().c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

int32_t OpenFile(const Text& path, int32_t mode) {
  if (path.empty() || (mode != kFileTruncate && mode != kFileKeep)) return 0;
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE handle = CreateFileA(
      path.bytes().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
      mode == kFileTruncate ? CREATE_ALWAYS : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return 0;
  return Files().Add(FileHandle(handle));
}

bool SeekToEnd(int32_t file) {
  HANDLE handle = Handle(file);
  return handle != INVALID_HANDLE_VALUE && MovePointer(handle, 0, FILE_END, nullptr);
}

bool WriteBytes(int32_t file, std::initializer_list<ByteView> parts) {
  HANDLE handle = Handle(file);
  if (handle == INVALID_HANDLE_VALUE) return false;
  DWORD start = 0;
  bool noted = MovePointer(handle, 0, FILE_CURRENT, &start);
  for (ByteView part : parts) {
    if (part.empty() || WriteAll(handle, part)) continue;
    if (noted) {
      LONG high = 0;  // with a high part, start counts as unsigned up to 4 GiB
      SetFilePointer(handle, static_cast<LONG>(start), &high, FILE_BEGIN);
    }
    return false;
  }
  return true;
}

void CloseFile(int32_t file) { Files().Remove(file); }

}  // namespace tsm
