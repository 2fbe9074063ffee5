// DownloadToFile over the scripted WinInet: 1 GiB in 10240-byte chunks to a
// file, with an empty progress callback, against a bare loop that reads the
// same chunks from the same table and write()s them. Goal: within 1.2x. A
// second bare loop writes through WriteBytes, for the file layer's share.
//   download_bench [folder for the file, default: the working folder]
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "http/download.h"
#include "support/fake_wininet.h"
#include "text/files.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint64_t kBodySize = 1ull << 30;
constexpr uint32_t kChunk = 10240;

void IgnoreProgress(int32_t, int32_t, int32_t, int32_t) {}

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

bool SizeIs(const std::string& path, uint64_t size) {
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  const off_t end = lseek(fd, 0, SEEK_END);
  close(fd);
  return end == static_cast<off_t>(size);
}

double TimeDownload(const tsm::FakeScript& script, const std::string& path) {
  unlink(path.c_str());
  tsm::FakeWinInet fake(script);
  const auto start = Clock::now();
  const int32_t result =
      tsm::DownloadToFile("http://127.0.0.1/big", tsm::Text(path), IgnoreProgress);
  const double seconds = Seconds(start);
  if (result != 0 || !SizeIs(path, kBodySize)) {
    std::fprintf(stderr, "download_bench: DownloadToFile failed\n");
    std::exit(1);
  }
  return seconds;
}

template <typename Open, typename Write, typename Close>
double TimeBareLoop(const tsm::FakeScript& script, const std::string& path, Open openFile,
                    Write writeChunk, Close closeFile) {
  unlink(path.c_str());
  tsm::FakeWinInet fake(script);
  const tsm::WinInetApi& api = tsm::WinInet();
  const auto start = Clock::now();
  const int file = openFile(path);
  uint8_t buffer[kChunk];
  for (;;) {
    tsm::wininet::DWORD count = 0;
    api.InternetReadFile(nullptr, buffer, kChunk, &count);
    if (count == 0) break;
    if (!writeChunk(file, buffer, count)) std::exit(1);
  }
  closeFile(file);
  const double seconds = Seconds(start);
  if (!SizeIs(path, kBodySize)) std::exit(1);
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  constexpr int kRounds = 4;
  const std::string path = std::string(argc > 1 ? argv[1] : ".") + "/download_bench.bin";

  tsm::FakeScript script;
  std::mt19937 random(1);
  script.body.resize(1 << 20);
  for (char& c : script.body) c = static_cast<char>(random());
  script.bodyLength = kBodySize;
  script.contentLength = static_cast<uint32_t>(kBodySize);
  script.record = false;

  auto openPosix = [](const std::string& name) {
    return open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  };
  auto writePosix = [](int fd, const uint8_t* data, uint32_t size) {
    return write(fd, data, size) == static_cast<ssize_t>(size);
  };
  auto closePosix = [](int fd) { close(fd); };
  auto openFile = [](const std::string& name) {
    return tsm::OpenFile(tsm::Text(name), tsm::kFileTruncate);
  };
  auto writeFile = [](int32_t file, const uint8_t* data, uint32_t size) {
    return tsm::WriteBytes(file, {tsm::ByteView(data, size)});
  };

  // Alternate the three so that all meet the same state of the page cache.
  double download = 1e30, bare = 1e30, bareFiles = 1e30;
  for (int round = 0; round < kRounds; ++round) {
    bare = std::min(bare, TimeBareLoop(script, path, openPosix, writePosix, closePosix));
    download = std::min(download, TimeDownload(script, path));
    bareFiles =
        std::min(bareFiles, TimeBareLoop(script, path, openFile, writeFile, tsm::CloseFile));
  }
  unlink(path.c_str());

  auto line = [](const char* what, double seconds) {
    std::printf("%-46s %6.0f ms  %.2f GB/s\n", what, seconds * 1e3, kBodySize / seconds / 1e9);
  };
  std::printf("1 GiB in 10240-byte chunks, best of %d:\n", kRounds);
  line("DownloadToFile, empty callback", download);
  line("bare loop: read, write()", bare);
  line("bare loop: read, WriteBytes", bareFiles);
  const double ratio = download / bare;
  std::printf("ratio to write() %.3f (goal <= 1.2), to WriteBytes %.3f\n", ratio,
              download / bareFiles);
  return ratio <= 1.2 ? 0 : 3;
}
