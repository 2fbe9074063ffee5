// The whole download workflow with its live display, against the platform's
// floor: a bare loop of InternetReadFile (10240-byte reads) and WriteFile of
// the same file. Run under Wine with the local site serving a large archive
// (scripts/bench-workflow starts it):
//   workflow_bench.exe <archive size in bytes> [rounds]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_window_win.h"
#include "app/progress.h"
#include "app/workflow.h"
#include "http/download.h"
#include "http/site.h"
#include "http/wininet_api.h"

namespace tsm {
namespace {

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The floor: WinInet's reads and the file's writes, nothing else.
double BareLoop(const char* fileName) {
  const double started = Now();
  const WinInetApi& net = WinInet();
  InternetHandle internet(
      net.InternetOpenA("bench", wininet::INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  InternetHandle url(net.InternetOpenUrlA(internet.get(), AttachmentAddress().bytes().c_str(),
                                          nullptr, 0, 0x84000100, 0));
  HANDLE file = CreateFileA(fileName, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (!url || file == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "bare loop: cannot open the archive or the file\n");
    std::exit(1);
  }
  static char buffer[10240];
  wininet::DWORD got = 0;
  DWORD written = 0;
  while (net.InternetReadFile(url.get(), buffer, sizeof buffer, &got) && got > 0) {
    WriteFile(file, buffer, got, &written, nullptr);
  }
  CloseHandle(file);
  return Now() - started;
}

void NoDisplay(int32_t, int32_t, int32_t, int32_t) {}

// The live display, with the time spent in it added up.
double gDisplaySeconds = 0;
void TimedDisplay(int32_t total, int32_t done, int32_t elapsedMs, int32_t thisRun) {
  const double started = Now();
  ShowProgress(total, done, elapsedMs, thisRun);
  gDisplaySeconds += Now() - started;
}

// DownloadToFile alone, with the live display or with a callback that shows
// nothing: the difference is what the display costs.
double DownloadOnly(const char* fileName, ProgressCallback callback) {
  const double started = Now();
  BeginProgress();
  DownloadToFile(AttachmentAddress(), Text(fileName), callback);
  const double finishing = Now();
  FinishProgress();
  if (callback == TimedDisplay) gDisplaySeconds += Now() - finishing;
  return Now() - started;
}

// A click on 下载 in the real window: page request, title, download and
// the live display, all inside the handler.
double Workflow(HWND window, int64_t size) {
  const std::string page = "http://" + SiteHost().bytes() +
                           "/page?title=bench-workflow.bin&size=" + std::to_string(size);
  SetWindowTextA(GetDlgItem(window, kAddressEditId), page.c_str());
  const double started = Now();
  SendMessageA(GetDlgItem(window, kDownloadButtonId), BM_CLICK, 0, 0);
  return Now() - started;
}

// The least time of the rounds: what the code costs once the machine's
// other work is out of the way.
double Best(const std::vector<double>& values) {
  return *std::min_element(values.begin(), values.end());
}

int64_t FileSize(const char* name) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(name, GetFileExInfoStandard, &data)) return -1;
  return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace
}  // namespace tsm

int main(int argc, char** argv) {
  using namespace tsm;
  if (argc < 2) {
    std::fprintf(stderr, "usage: workflow_bench <archive size> [rounds]\n");
    return 2;
  }
  const int64_t size = std::atoll(argv[1]);
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
  HWND window = CreateMainWindow();
  if (!window) return 1;
  ShowWindow(window, SW_SHOW);

  std::vector<double> floor, workflow, shown, hidden, shares;
  for (int round = 0; round < rounds; ++round) {
    floor.push_back(BareLoop("bench-floor.bin"));
    workflow.push_back(Workflow(window, size));
    gDisplaySeconds = 0;
    shown.push_back(DownloadOnly("bench-display.bin", TimedDisplay));
    shares.push_back(gDisplaySeconds / shown.back());
    hidden.push_back(DownloadOnly("bench-nodisplay.bin", NoDisplay));
    std::printf(
        "round %d: floor %.3f s, workflow %.3f s, download with display %.3f s "
        "(%.2f%% of it in the display), without %.3f s\n",
        round + 1, floor.back(), workflow.back(), shown.back(), 100 * shares.back(), hidden.back());
  }
  const char* files[] = {"bench-floor.bin", "bench-workflow.bin", "bench-display.bin",
                         "bench-nodisplay.bin"};
  for (const char* name : files) {
    if (FileSize(name) != size) {
      std::fprintf(stderr, "%s holds %lld bytes, not %lld\n", name,
                   static_cast<long long>(FileSize(name)), static_cast<long long>(size));
      return 1;
    }
    DeleteFileA(name);
  }
  const double f = Best(floor), w = Best(workflow), d = Best(shown), b = Best(hidden);
  std::printf("best of %d rounds, %lld bytes:\n", rounds, static_cast<long long>(size));
  std::printf("  floor (InternetReadFile + WriteFile)  %.3f s  %.1f MB/s\n", f, size / f / 1e6);
  std::printf("  whole workflow (click) with display   %.3f s  %.2fx the floor\n", w, w / f);
  std::printf("  DownloadToFile with the display       %.3f s  %.2fx the floor\n", d, d / f);
  std::printf("  DownloadToFile without display        %.3f s  %.2fx the floor\n", b, b / f);
  std::printf("  time spent in the display (worst round) %.2f%% of the download\n",
              100 * *std::max_element(shares.begin(), shares.end()));
  DestroyWindow(window);
  return 0;
}
