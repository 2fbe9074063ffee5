// Local files written in chunks, identified by non-zero file numbers.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "text/bytes.h"
#include "text/text.h"

namespace tsm {

enum FileMode : int32_t {
  kFileTruncate = 4,  // created, or emptied when it exists
  kFileKeep = 5,      // created, or opened with its content kept
};

// True when a directory search finds an entry matching `path`.
bool FileExists(const Text& path);
// Write access shared with other readers and writers; 0 on failure.
int32_t OpenFile(const Text& path, int32_t mode);
bool SeekToEnd(int32_t file);
// All parts written in order at the current position. On failure the
// position moves back to where the call began; bytes written stay.
bool WriteBytes(int32_t file, std::initializer_list<ByteView> parts);
void CloseFile(int32_t file);

}  // namespace tsm
