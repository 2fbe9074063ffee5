// The open files of the process by their numbers, and the write rule, shared
// by the platform implementations of the file operations.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <utility>

#include "text/bytes.h"

namespace tsm {

// `File` owns one open file and closes it when destroyed. Numbers start at 1
// and are never reused during a run, so a stale number cannot reach a newer
// file.
template <typename File>
class FileRegistry {
 public:
  int32_t Add(File file) {
    open_.emplace(++last_, std::move(file));
    return last_;
  }
  // Null when the number is not that of an open file.
  File* Find(int32_t number) {
    auto found = open_.find(number);
    return found == open_.end() ? nullptr : &found->second;
  }
  // Closes the file; an unknown number is ignored.
  void Remove(int32_t number) { open_.erase(number); }

 private:
  std::map<int32_t, File> open_;
  int32_t last_ = 0;
};

// Writes the parts in order at `file.position`, which only these operations
// move. When a write fails the position goes back to where the call began
// (`moveTo`); bytes already written stay.
template <typename File, typename WriteAll, typename MoveTo>
bool WritePartsAt(File& file, std::initializer_list<ByteView> parts, WriteAll writeAll,
                  MoveTo moveTo) {
  const uint64_t start = file.position;
  for (ByteView part : parts) {
    if (part.empty()) continue;
    if (!writeAll(part)) {
      moveTo(start);
      file.position = start;
      return false;
    }
    file.position += part.size();
  }
  return true;
}

}  // namespace tsm
