// Start-up, MainWindow and its controls, and the control operations.
#include "app/main_window_win.h"

#include <commctrl.h>
#include <float.h>

#include <cstdlib>
#include <string>
#include <utility>

#include "app/controls.h"
#include "app/main_window.h"
#include "app/workflow.h"
#include "http/site.h"

namespace tsm {
namespace {

constexpr char kWindowClass[] = "TesmaraDownloaderMainWindow";
constexpr int kWindowWidth = 468;
constexpr int kWindowHeight = 149;
constexpr int kStatusParts = 6;
constexpr int kStatusEdges[kStatusParts] = {60, 160, 250, 350, 420, 520};
constexpr int32_t kLargestPosition = 32767;
constexpr int kProgressRange = 100;

// The controls of the one main window; all null while none exists.
struct MainWindowParts {
  HWND window = nullptr;
  HWND titleLabel = nullptr;
  HWND percentLabel = nullptr;
  HWND progress = nullptr;
  HWND status = nullptr;
  HWND address = nullptr;
  HWND lastFocus = nullptr;
  int32_t position = 0;  // 进度条1's stored value, beyond what the bar can hold
};
MainWindowParts gMain;

struct ControlLayout {
  int id;
  const char* className;
  const char* text;
  DWORD style;
  DWORD exStyle;
  int left, top, width, height;
};

// In the order the window description stores them; the first one created
// is on top, so the labels lie over the bar.
const ControlLayout kControls[] = {
    {kTitleLabelId, WC_STATICA, "", SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX,
     WS_EX_TRANSPARENT, 8, 40, 368, 28},
    {kPercentLabelId, WC_STATICA, "", SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX,
     WS_EX_TRANSPARENT, 368, 80, 96, 20},
    {kProgressBarId, PROGRESS_CLASSA, "", 0, 0, -8, 80, 568, 24},
    // Docked at the bottom: the status bar places itself.
    {kStatusBarId, STATUSCLASSNAMEA, "", 0, 0, 0, 0, 0, 0},
    {kCaptionLabelId, WC_STATICA, "资料地址：", SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX, 0, 0, 8, 64,
     24},
    {kAddressEditId, WC_EDITA, "", WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 72, 8,
     288, 24},
    {kDownloadButtonId, WC_BUTTONA, "下载", WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER, 0, 376, 8, 80,
     24},
};

Text DefaultAddress() { return ConcatText("http://", SiteHost(), "/bieshuCADtuzhi/17564.html"); }

bool CreateControls(HWND window) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
  for (const ControlLayout& layout : kControls) {
    HWND control = CreateWindowExA(
        layout.exStyle, layout.className, layout.text, WS_CHILD | WS_VISIBLE | layout.style,
        layout.left, layout.top, layout.width, layout.height, window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), instance, nullptr);
    if (!control) return false;
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  gMain.titleLabel = GetDlgItem(window, kTitleLabelId);
  gMain.percentLabel = GetDlgItem(window, kPercentLabelId);
  gMain.progress = GetDlgItem(window, kProgressBarId);
  gMain.status = GetDlgItem(window, kStatusBarId);
  gMain.address = GetDlgItem(window, kAddressEditId);
  gMain.position = 0;

  SendMessageA(gMain.progress, PBM_SETRANGE32, 0, kProgressRange);
  SendMessageA(gMain.status, SB_SETPARTS, kStatusParts,
               reinterpret_cast<LPARAM>(const_cast<int*>(kStatusEdges)));
  SetStatusPart(0, "总大小：");
  SetStatusPart(2, "已经下载大小：");
  SetStatusPart(4, "当前速度：");
  SetWindowTextA(gMain.address, DefaultAddress().bytes().c_str());
  return true;
}

// Repaints the window area under `label` and what lies there, now, then the
// label over it. The label goes last explicitly: an immediate update does
// not reliably paint a transparent window after its siblings.
void RedrawUnder(HWND label) {
  RECT area;
  GetWindowRect(label, &area);
  MapWindowPoints(nullptr, gMain.window, reinterpret_cast<POINT*>(&area), 2);
  RedrawWindow(gMain.window, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  ValidateRect(label, nullptr);
  RedrawWindow(gMain.window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void FocusLastControl(HWND window) {
  const bool kept = gMain.lastFocus && IsChild(window, gMain.lastFocus);
  SetFocus(kept ? gMain.lastFocus : gMain.address);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      gMain = MainWindowParts{};
      gMain.window = window;
      return CreateControls(window) ? 0 : -1;
    case WM_SIZE:
      if (gMain.status) SendMessageA(gMain.status, WM_SIZE, 0, 0);
      return 0;
    case WM_CTLCOLORSTATIC: {
      HWND control = reinterpret_cast<HWND>(lParam);
      if (control != gMain.titleLabel && control != gMain.percentLabel) break;
      // No background of their own: what lies beneath shows through.
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(0, 0, 0));
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    case WM_COMMAND:
      // IDCANCEL comes from Esc; IDOK from Enter, which starts nothing.
      if (LOWORD(wParam) == IDCANCEL) {
        PostMessageA(window, WM_CLOSE, 0, 0);
      } else if (LOWORD(wParam) == kDownloadButtonId && HIWORD(wParam) == BN_CLICKED) {
        OnDownloadClicked();
      }
      return 0;
    case WM_ACTIVATE:
      // Not a dialog, so the focus is kept across deactivation by hand.
      if (LOWORD(wParam) == WA_INACTIVE) {
        gMain.lastFocus = GetFocus();
      } else {
        FocusLastControl(window);
      }
      return 0;
    case WM_SETFOCUS:
      FocusLastControl(window);
      return 0;
    case WM_DESTROY:
      gMain = MainWindowParts{};
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterMainWindowClass() {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = MainWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kWindowClass;
  return RegisterClassExA(&windowClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool IsUserInput(UINT message) {
  return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
         (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK) ||
         message == WM_NCMOUSEHOVER || message == WM_NCMOUSELEAVE || message == WM_INPUT;
}

}  // namespace

HWND CreateMainWindow() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  if (!RegisterMainWindowClass()) return nullptr;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2;
  HWND window = CreateWindowExA(0, kWindowClass, "Tesmara附件下载器",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, left, top,
                                kWindowWidth, kWindowHeight, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  if (window) SendMessageA(gMain.status, WM_SIZE, 0, 0);
  return window;
}

void RunMessageLoop(HWND window) {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    // The dialog keys: Esc sends IDCANCEL, Tab moves between tab stops.
    if (IsWindow(window) && IsDialogMessageA(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

int32_t StartProgram() {
  _fpreset();
  _controlfp(_MCW_EM | _RC_NEAR, _MCW_EM | _MCW_RC);  // no traps, round to nearest
  std::atexit(ReleaseGlobals);
  HWND window = CreateMainWindow();
  if (!window) return 1;
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  RunMessageLoop(window);
  return 0;
}

void ReleaseGlobals() {
  // Swapped out, so the memory goes with the temporaries.
  Text emptyText, emptyTitle;
  std::swap(gPageText, emptyText);
  std::swap(gPageTitle, emptyTitle);
}

Text ReadAddress() {
  if (!gMain.address) return Text();
  std::string text(static_cast<size_t>(GetWindowTextLengthA(gMain.address)) + 1, '\0');
  text.resize(static_cast<size_t>(
      GetWindowTextA(gMain.address, text.data(), static_cast<int>(text.size()))));
  return Text(text);
}

void SetLabelText(Label label, const Text& text) {
  HWND control = label == Label::kTitle ? gMain.titleLabel : gMain.percentLabel;
  if (!control) return;
  SetWindowTextA(control, text.bytes().c_str());
  RedrawUnder(control);
}

void SetStatusPart(int32_t part, const Text& text) {
  if (!gMain.status || part < 0 || part >= kStatusParts) return;
  SendMessageA(gMain.status, SB_SETTEXTA, static_cast<WPARAM>(part),
               reinterpret_cast<LPARAM>(text.bytes().c_str()));
}

void SetProgressPosition(int32_t position) {
  gMain.position = position < 0 ? 0 : position > kLargestPosition ? kLargestPosition : position;
  if (!gMain.progress) return;
  const int shown = gMain.position > kProgressRange ? kProgressRange : gMain.position;
  if (SendMessageA(gMain.progress, PBM_GETPOS, 0, 0) == shown) return;
  SendMessageA(gMain.progress, PBM_SETPOS, static_cast<WPARAM>(shown), 0);
  // The bar paints over the percent label lying on it; the label draws again.
  RedrawWindow(gMain.progress, nullptr, nullptr, RDW_UPDATENOW);
  RedrawWindow(gMain.percentLabel, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

int32_t ProgressPosition() { return gMain.position; }

void PumpPaintMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));  // for the main loop
      return;
    }
    // Input would start another click inside the running one: dropped.
    if (IsUserInput(message.message)) continue;
    DispatchMessageA(&message);
  }
}

}  // namespace tsm
