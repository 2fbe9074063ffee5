// Files over the Windows file functions.
#include <windows.h>

#include <cstdint>
#include <utility>

#include "text/file_registry.h"
#include "text/files.h"

namespace tsm {
namespace {

// Owns one open file handle and knows its position: only these operations
// move it, so WriteBytes need not ask the system for it before every write.
struct OpenHandle {
  explicit OpenHandle(HANDLE file) : handle(file) {}
  OpenHandle(OpenHandle&& other) noexcept
      : handle(std::exchange(other.handle, INVALID_HANDLE_VALUE)), position(other.position) {}
  OpenHandle(const OpenHandle&) = delete;
  OpenHandle& operator=(const OpenHandle&) = delete;
  ~OpenHandle() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }

  HANDLE handle;
  uint64_t position = 0;
};

FileRegistry<OpenHandle>& Files() {
  static FileRegistry<OpenHandle> registry;
  return registry;
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
  return Files().Add(OpenHandle(handle));
}

bool SeekToEnd(int32_t file) {
  OpenHandle* found = Files().Find(file);
  DWORD end = 0;
  if (!found || !MovePointer(found->handle, 0, FILE_END, &end)) return false;
  found->position = end;
  return true;
}

bool WriteBytes(int32_t file, std::initializer_list<ByteView> parts) {
  OpenHandle* found = Files().Find(file);
  if (!found) return false;
  HANDLE handle = found->handle;
  return WritePartsAt(
      *found, parts, [handle](ByteView part) { return WriteAll(handle, part); },
      [handle](uint64_t start) {
        LONG high = static_cast<LONG>(start >> 32);
        SetFilePointer(handle, static_cast<LONG>(start & 0xFFFFFFFF), &high, FILE_BEGIN);
      });
}

void CloseFile(int32_t file) { Files().Remove(file); }

}  // namespace tsm
