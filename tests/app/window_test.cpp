// MainWindow driven by messages under Wine: layout, contents, the control
// operations and the keys.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "app/controls.h"
#include "app/main_window.h"
#include "app/main_window_win.h"
#include "app/workflow.h"

namespace tsm {
namespace {

std::string TextOf(HWND control) {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(control)) + 1, '\0');
  text.resize(
      static_cast<size_t>(GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The test's own view of what reaches the main window: clicks of 按钮1 are
// counted and swallowed (no download starts), a WM_APP marker notes the
// focus and closes the window.
struct Spy {
  WNDPROC original = nullptr;
  int clicks = 0;
  int markers = 0;
  HWND focusAtMarker = nullptr;
  std::string addressAtMarker;
};
Spy gSpy;

LRESULT CALLBACK SpyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == kDownloadButtonId &&
      HIWORD(wParam) == BN_CLICKED) {
    ++gSpy.clicks;
    return 0;
  }
  if (message == WM_APP) {
    ++gSpy.markers;
    gSpy.focusAtMarker = GetFocus();
    gSpy.addressAtMarker = TextOf(GetDlgItem(window, kAddressEditId));
    if (wParam) PostMessageA(window, WM_CLOSE, 0, 0);
    return 0;
  }
  return CallWindowProcA(gSpy.original, window, message, wParam, lParam);
}

bool gGuardFired = false;
void CALLBACK Guard(HWND, UINT, UINT_PTR, DWORD) {
  gGuardFired = true;
  PostQuitMessage(0);
}

// The window's device context, released on every path.
class ScopedDC {
 public:
  explicit ScopedDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ScopedDC(const ScopedDC&) = delete;
  ScopedDC& operator=(const ScopedDC&) = delete;
  ~ScopedDC() { ReleaseDC(window_, dc_); }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gSpy = Spy{};
    window_ = CreateMainWindow();
    ASSERT_NE(window_, nullptr);
    gSpy.original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SpyProc)));
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    SetForegroundWindow(window_);
    Drain();
  }
  void TearDown() override {
    if (IsWindow(window_)) DestroyWindow(window_);
    Drain();
  }

  // Handles what is pending, including the WM_QUIT of a destroyed window.
  static void Drain() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }

  // The product's loop, ended by a timer should the window stay open.
  void RunLoop() {
    gGuardFired = false;
    UINT_PTR guard = SetTimer(nullptr, 0, 5000, Guard);
    RunMessageLoop(window_);
    KillTimer(nullptr, guard);
    EXPECT_FALSE(gGuardFired) << "the loop did not end";
  }

  HWND Control(int id) const { return GetDlgItem(window_, id); }

  RECT ClientRectOf(HWND control) const {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

  // Read whole: Wine's SB_GETTEXTLENGTHA counts characters, not bytes.
  std::string StatusText(int part) const {
    char text[512] = {};
    SendMessageA(Control(kStatusBarId), SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text));
    return text;
  }
  std::vector<std::string> StatusTexts() const {
    std::vector<std::string> texts;
    for (int part = 0; part < 6; ++part) texts.push_back(StatusText(part));
    return texts;
  }
  int ShownPosition() const {
    return static_cast<int>(SendMessageA(Control(kProgressBarId), PBM_GETPOS, 0, 0));
  }

  // Colours in the part of the window under a control, read from the screen.
  std::vector<COLORREF> PixelsUnder(int id) const {
    RECT area = ClientRectOf(Control(id));
    std::vector<COLORREF> pixels;
    ScopedDC dc(window_);
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = std::max<int>(area.left, 0); x < area.right; ++x) {
        pixels.push_back(GetPixel(dc.get(), x, y));
      }
    }
    return pixels;
  }
  static int Count(const std::vector<COLORREF>& pixels, COLORREF colour) {
    int count = 0;
    for (COLORREF pixel : pixels) count += pixel == colour;
    return count;
  }

  HWND window_ = nullptr;
};

TEST_F(WindowTest, RunsInTheChineseCodePage) { EXPECT_EQ(GetACP(), 936u); }

TEST_F(WindowTest, OuterSizeAndCentredPlace) {
  ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
  RECT outer;
  GetWindowRect(window_, &outer);
  EXPECT_EQ(outer.right - outer.left, 468);
  EXPECT_EQ(outer.bottom - outer.top, 149);
  EXPECT_EQ(outer.left, 278);
  EXPECT_EQ(outer.top, 309);
  EXPECT_EQ(TextOf(window_), "Tesmara附件下载器");
}

TEST_F(WindowTest, FrameStyles) {
  const LONG style = GetWindowLongA(window_, GWL_STYLE);
  struct Case {
    const char* what;
    LONG bit;
    bool set;
  } cases[] = {
      {"caption", WS_CAPTION, true},
      {"system menu", WS_SYSMENU, true},
      {"minimise box", WS_MINIMIZEBOX, true},
      {"no maximise box", WS_MAXIMIZEBOX, false},
      {"no sizing frame", WS_THICKFRAME, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ((style & c.bit) != 0, c.set);
  }
  EXPECT_FALSE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST);
  // The frame offers no edge to drag.
  RECT outer;
  GetWindowRect(window_, &outer);
  const POINT edges[] = {{outer.left, (outer.top + outer.bottom) / 2},
                         {outer.right - 1, outer.bottom - 1},
                         {(outer.left + outer.right) / 2, outer.bottom - 1}};
  for (POINT edge : edges) {
    LRESULT hit = SendMessageA(window_, WM_NCHITTEST, 0, MAKELPARAM(edge.x, edge.y));
    EXPECT_TRUE(hit < HTSIZEFIRST || hit > HTSIZELAST) << edge.x << "," << edge.y << ": " << hit;
  }
  // The system menu keeps Move; Maximise is not offered.
  HMENU menu = GetSystemMenu(window_, FALSE);
  EXPECT_FALSE(GetMenuState(menu, SC_MOVE, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
}

TEST_F(WindowTest, ControlsInTheirPlacesWithTheirTexts) {
  struct Case {
    const char* what;
    int id;
    const char* className;
    RECT place;  // left, top, right, bottom in the client area
    const char* text;
  } cases[] = {
      {"透明标签2", kTitleLabelId, "Static", {8, 40, 376, 68}, ""},
      {"透明标签1", kPercentLabelId, "Static", {368, 80, 464, 100}, ""},
      {"进度条1", kProgressBarId, PROGRESS_CLASSA, {-8, 80, 560, 104}, ""},
      {"标签1", kCaptionLabelId, "Static", {0, 8, 64, 32}, "资料地址："},
      {"编辑框1",
       kAddressEditId,
       "Edit",
       {72, 8, 360, 32},
       "http://window.test:8080/bieshuCADtuzhi/17564.html"},
      {"按钮1", kDownloadButtonId, "Button", {376, 8, 456, 32}, "下载"},
  };
  HGDIOBJ guiFont = GetStockObject(DEFAULT_GUI_FONT);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HWND control = Control(c.id);
    ASSERT_NE(control, nullptr);
    char className[64] = {};
    GetClassNameA(control, className, sizeof className);
    EXPECT_STRCASEEQ(className, c.className);
    RECT place = ClientRectOf(control);
    EXPECT_EQ(place.left, c.place.left);
    EXPECT_EQ(place.top, c.place.top);
    EXPECT_EQ(place.right, c.place.right);
    EXPECT_EQ(place.bottom, c.place.bottom);
    EXPECT_EQ(TextOf(control), c.text);
    EXPECT_TRUE(IsWindowVisible(control));
    EXPECT_TRUE(IsWindowEnabled(control));
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)), guiFont);
  }
  EXPECT_EQ(ReadAddress(), Text("http://window.test:8080/bieshuCADtuzhi/17564.html"));
}

TEST_F(WindowTest, StatusBarDockedWithSixParts) {
  HWND status = Control(kStatusBarId);
  RECT client;
  GetClientRect(window_, &client);
  RECT place = ClientRectOf(status);
  EXPECT_EQ(place.left, 0);
  EXPECT_EQ(place.right, client.right);
  EXPECT_EQ(place.bottom, client.bottom);
  EXPECT_FALSE(GetWindowLongA(status, GWL_STYLE) & SBARS_SIZEGRIP);

  int edges[8] = {};
  ASSERT_EQ(SendMessageA(status, SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)), 6);
  const int expectedEdges[] = {60, 160, 250, 350, 420, 520};
  for (int part = 0; part < 6; ++part) EXPECT_EQ(edges[part], expectedEdges[part]) << part;
  const std::vector<std::string> texts = {"总大小：", "", "已经下载大小：", "", "当前速度：", ""};
  EXPECT_EQ(StatusTexts(), texts);
  for (int part = 0; part < 6; ++part) {
    EXPECT_EQ(
        HIWORD(SendMessageA(status, SB_GETTEXTLENGTHA, part, 0)) & (SBT_POPOUT | SBT_NOBORDERS), 0)
        << "part " << part << " is sunken";
  }
}

TEST_F(WindowTest, StatusPartsOutsideZeroToFiveChangeNothing) {
  struct Case {
    int32_t part;
    bool changes;
  } cases[] = {{0, true},   {1, true},          {5, true},          {6, false},
               {-1, false}, {INT32_MIN, false}, {INT32_MAX, false}, {65536, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.part);
    const std::vector<std::string> before = StatusTexts();
    SetStatusPart(c.part, "12.5MB");
    std::vector<std::string> expected = before;
    if (c.changes) expected[static_cast<size_t>(c.part)] = "12.5MB";
    EXPECT_EQ(StatusTexts(), expected);
  }
  SetStatusPart(3, "");
  EXPECT_EQ(StatusText(3), "");
}

TEST_F(WindowTest, ProgressStoresUpTo32767AndShowsUpTo100) {
  HWND bar = Control(kProgressBarId);
  PBRANGE range{};
  SendMessageA(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(range.iLow, 0);
  EXPECT_EQ(range.iHigh, 100);
  EXPECT_FALSE(GetWindowLongA(bar, GWL_STYLE) & (PBS_SMOOTH | PBS_VERTICAL));
  EXPECT_EQ(ProgressPosition(), 0);
  EXPECT_EQ(ShownPosition(), 0);
  struct Case {
    int32_t set, stored, shown;
  } cases[] = {
      {50, 50, 50},      {100, 100, 100},         {150, 150, 100},     {0, 0, 0},
      {-5, 0, 0},        {40000, 32767, 100},     {32767, 32767, 100}, {32768, 32767, 100},
      {INT32_MIN, 0, 0}, {INT32_MAX, 32767, 100}, {99, 99, 99},        {101, 101, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.set);
    SetProgressPosition(c.set);
    EXPECT_EQ(ProgressPosition(), c.stored);
    EXPECT_EQ(ShownPosition(), c.shown);
  }
}

TEST_F(WindowTest, LabelsAndAddressCarryGbkText) {
  SetLabelText(Label::kTitle, "别墅 17564");
  SetLabelText(Label::kPercent, "完成：33%");
  EXPECT_EQ(TextOf(Control(kTitleLabelId)), "别墅 17564");
  EXPECT_EQ(TextOf(Control(kPercentLabelId)), "完成：33%");
  SetLabelText(Label::kTitle, Text());
  EXPECT_EQ(TextOf(Control(kTitleLabelId)), "");

  struct Case {
    const char* typed;
  } cases[] = {{"http://例子.test/图纸 1.html"}, {""}, {"   "}, {"乗俓\\"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    SetWindowTextA(Control(kAddressEditId), c.typed);
    EXPECT_EQ(ReadAddress(), Text(c.typed));
  }
}

int Differing(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
  int count = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) count += a[i] != b[i];
  return count;
}

// What the screen shows under the labels, against what it showed there
// with no text (the text is antialiased, so its pixels vary).
TEST_F(WindowTest, TransparentLabelsLeaveNoTraceOfOldText) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const COLORREF segment = GetSysColor(COLOR_HIGHLIGHT);

  const std::vector<COLORREF> emptyTitle = PixelsUnder(kTitleLabelId);
  EXPECT_EQ(Count(emptyTitle, face), static_cast<int>(emptyTitle.size()));
  SetLabelText(Label::kTitle, "别");
  const std::vector<COLORREF> shortTitle = PixelsUnder(kTitleLabelId);
  EXPECT_GT(Differing(shortTitle, emptyTitle), 10);
  SetLabelText(Label::kTitle, "WWWWWWWW 别墅别墅");
  EXPECT_GT(Differing(PixelsUnder(kTitleLabelId), shortTitle), 100);
  SetLabelText(Label::kTitle, "别");
  EXPECT_EQ(PixelsUnder(kTitleLabelId), shortTitle);
  SetLabelText(Label::kTitle, "");
  EXPECT_EQ(PixelsUnder(kTitleLabelId), emptyTitle);

  SetProgressPosition(100);
  const std::vector<COLORREF> emptyOnFullBar = PixelsUnder(kPercentLabelId);
  EXPECT_GT(Count(emptyOnFullBar, segment), 300) << "the bar lies under the label";
  SetLabelText(Label::kPercent, "完成：100%");
  const std::vector<COLORREF> textOnFullBar = PixelsUnder(kPercentLabelId);
  EXPECT_GT(Differing(textOnFullBar, emptyOnFullBar), 50);
  EXPECT_GT(Count(textOnFullBar, segment), 200) << "the bar shows through around the letters";
  SetLabelText(Label::kPercent, "");
  EXPECT_EQ(PixelsUnder(kPercentLabelId), emptyOnFullBar);

  // The bar moving under the label leaves the label's text in place.
  SetProgressPosition(0);
  const std::vector<COLORREF> emptyOnEmptyBar = PixelsUnder(kPercentLabelId);
  SetProgressPosition(100);
  SetLabelText(Label::kPercent, "完成：100%");
  SetProgressPosition(0);
  EXPECT_GT(Differing(PixelsUnder(kPercentLabelId), emptyOnEmptyBar), 50);
  SetProgressPosition(100);
  EXPECT_EQ(PixelsUnder(kPercentLabelId), textOnFullBar);
}

TEST_F(WindowTest, EscClosesEnterStartsNothing) {
  struct Case {
    const char* what;
    int focus;
    const char* typed;
    WPARAM key;
    bool closes;
  } cases[] = {
      {"Esc in the edit box", kAddressEditId, "", VK_ESCAPE, true},
      {"Esc while typing", kAddressEditId, "ab", VK_ESCAPE, true},
      {"Esc on the button", kDownloadButtonId, "", VK_ESCAPE, true},
      {"Enter in the edit box", kAddressEditId, "", VK_RETURN, false},
      {"Enter while typing", kAddressEditId, "ab", VK_RETURN, false},
      {"Enter on the button", kDownloadButtonId, "", VK_RETURN, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (!IsWindow(window_)) SetUp();
    HWND target = Control(c.focus);
    SetFocus(target);
    SendMessageA(Control(kAddressEditId), EM_SETSEL, 0x7FFF, 0x7FFF);  // type at the end
    const std::string before = TextOf(Control(kAddressEditId));
    for (const char* typed = c.typed; *typed; ++typed) {
      PostMessageA(target, WM_CHAR, static_cast<WPARAM>(*typed), 1);
    }
    PostMessageA(target, WM_KEYDOWN, c.key, 1);
    PostMessageA(target, WM_KEYUP, c.key, 0xC0000001);
    if (!c.closes) PostMessageA(window_, WM_APP, /*close=*/1, 0);
    RunLoop();
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_EQ(gSpy.markers, c.closes ? 0 : 1);
    EXPECT_EQ(gSpy.clicks, 0);
    if (!c.closes) {
      EXPECT_EQ(gSpy.addressAtMarker, c.focus == kAddressEditId ? before + c.typed : before);
    }
  }
}

TEST_F(WindowTest, ButtonClickReachesTheWindow) {
  SendMessageA(Control(kDownloadButtonId), BM_CLICK, 0, 0);
  EXPECT_EQ(gSpy.clicks, 1);
}

TEST_F(WindowTest, TabStopsOnlyOnEditAndButton) {
  HWND edit = Control(kAddressEditId);
  HWND button = Control(kDownloadButtonId);
  EXPECT_EQ(GetNextDlgTabItem(window_, edit, FALSE), button);
  EXPECT_EQ(GetNextDlgTabItem(window_, button, FALSE), edit);
  EXPECT_EQ(GetNextDlgTabItem(window_, edit, TRUE), button);

  SetFocus(edit);
  PostMessageA(edit, WM_KEYDOWN, VK_TAB, 1);
  PostMessageA(window_, WM_APP, /*close=*/1, 0);
  RunLoop();
  EXPECT_EQ(gSpy.focusAtMarker, button);
}

TEST_F(WindowTest, PumpHandlesPaintAndDropsInput) {
  HWND button = Control(kDownloadButtonId);
  InvalidateRect(window_, nullptr, TRUE);
  PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PostMessageA(button, WM_KEYDOWN, VK_SPACE, 1);
  PostMessageA(button, WM_KEYUP, VK_SPACE, 0xC0000001);
  PostMessageA(window_, WM_KEYDOWN, VK_ESCAPE, 1);
  PostMessageA(window_, WM_APP, /*close=*/0, 0);
  PumpPaintMessages();
  EXPECT_EQ(gSpy.clicks, 0);
  EXPECT_EQ(gSpy.markers, 1);
  EXPECT_TRUE(IsWindow(window_));
  EXPECT_FALSE(GetUpdateRect(window_, nullptr, FALSE)) << "the paint was handled";
  MSG left;
  EXPECT_FALSE(PeekMessageA(&left, nullptr, 0, 0, PM_NOREMOVE)) << left.message;
}

TEST_F(WindowTest, PumpKeepsTheQuitForTheLoop) {
  PostQuitMessage(7);
  PumpPaintMessages();
  MSG quit;
  ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 7u);
}

TEST_F(WindowTest, OperationsWithoutAWindowDoNothing) {
  SetProgressPosition(42);
  DestroyWindow(window_);
  Drain();
  EXPECT_EQ(ReadAddress(), Text());
  SetLabelText(Label::kTitle, "x");
  SetStatusPart(1, "x");
  SetProgressPosition(7);
  EXPECT_EQ(ProgressPosition(), 7);
  PumpPaintMessages();
}

TEST(ReleaseGlobals, EmptiesBothTexts) {
  struct Case {
    Text text, title;
  } cases[] = {{"<title>别墅</title>", "别墅"}, {Text(), Text()}};
  for (const Case& c : cases) {
    gPageText = c.text;
    gPageTitle = c.title;
    ReleaseGlobals();
    EXPECT_EQ(gPageText, Text());
    EXPECT_EQ(gPageTitle, Text());
  }
}

}  // namespace
}  // namespace tsm
