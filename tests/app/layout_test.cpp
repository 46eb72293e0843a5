// The built window against its description: places, captions, styles,
// stacking, font, colours, frame, and where it goes on the screen.
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <vector>

#include "control_table.h"
#include "texts.h"
#include "window_fixture.h"
#include "window_place.h"

namespace fenlodar {
// Readable failure output for the place tables below.
void PrintTo(const WindowPlace& place, std::ostream* os) {
  *os << "{" << place.left << ", " << place.top << "}";
}
}  // namespace fenlodar

namespace fenlodar::testing {
namespace {

struct ExpectedControl {
  Role role;
  const char* window_class;
  int left, top, width, height;
  const char* caption;
};

// Written out again from the layout, in stacking order, so a slip in the
// control table shows here.
const ExpectedControl kExpected[] = {
    {Role::ReloadButton, "Button", 251, 385, 80, 32, texts::kCaptionReload},
    {Role::RestoreButton, "Button", 369, 385, 80, 32, texts::kCaptionRestore},
    {Role::VisitButton, "Button", 392, 90, 64, 32, texts::kCaptionVisit},
    {Role::ReferrerBox, "Edit", 19, 93, 365, 27, ""},
    {Role::ReferrerLabel, "Static", 17, 67, 120, 24, texts::kCaptionReferrer},
    {Role::ModifyButton, "Button", 137, 385, 80, 32, texts::kCaptionModify},
    {Role::OpenButton, "Button", 18, 385, 80, 32, texts::kCaptionOpen},
    {Role::NewAddressLabel, "Static", 18, 236, 120, 24, texts::kCaptionNewAddress},
    {Role::NewAddressBox, "Edit", 16, 264, 440, 112, ""},
    {Role::OriginalAddressLabel, "Static", 18, 136, 80, 24,
     texts::kCaptionOriginalAddress},
    {Role::OriginalAddressBox, "Edit", 18, 163, 440, 63, ""},
    {Role::TaskNameBox, "Edit", 16, 28, 440, 36, ""},
    {Role::TaskNameLabel, "Static", 15, 6, 80, 24, texts::kCaptionTaskName},
};

using LayoutTest = WindowTest;

TEST_F(LayoutTest, EveryControlHasItsPlaceClassAndCaption) {
  for (const ExpectedControl& expected : kExpected) {
    SCOPED_TRACE(static_cast<int>(expected.role));
    HWND control = Control(expected.role);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(GetParent(control), Frame());
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, Frame(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, expected.left);
    EXPECT_EQ(rect.top, expected.top);
    EXPECT_EQ(rect.right - rect.left, expected.width);
    EXPECT_EQ(rect.bottom - rect.top, expected.height);
    char window_class[32] = {};
    GetClassNameA(control, window_class, sizeof(window_class));
    EXPECT_STRCASEEQ(window_class, expected.window_class);
    EXPECT_EQ(TextOf(control), expected.caption);
    EXPECT_TRUE(IsWindowVisible(control));
    EXPECT_TRUE(IsWindowEnabled(control));
  }
}

TEST_F(LayoutTest, StackingFollowsTheDescriptionFirstOnTopAndTheComponentsHaveNoWindow) {
  std::vector<HWND> stacked;
  for (HWND child = GetWindow(Frame(), GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT))
    stacked.push_back(child);
  std::vector<HWND> expected;
  for (const ExpectedControl& control : kExpected)
    expected.push_back(Control(control.role));
  EXPECT_EQ(stacked, expected);
  // Children paint over their siblings unless clipped: without it the task
  // name label draws across the top edge of the box stacked above it.
  for (HWND child : stacked)
    EXPECT_TRUE(GetWindowLongA(child, GWL_STYLE) & WS_CLIPSIBLINGS);
  EXPECT_EQ(Control(Role::FileDropTarget), nullptr);
  EXPECT_EQ(Control(Role::FileDialog), nullptr);
}

TEST_F(LayoutTest, EveryControlUsesTheDefaultGuiFont) {
  const auto font = reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  for (const ExpectedControl& expected : kExpected)
    EXPECT_EQ(
        reinterpret_cast<HFONT>(SendMessageA(Control(expected.role), WM_GETFONT, 0, 0)),
        font)
        << static_cast<int>(expected.role);
}

struct StyleCase {
  Role role;
  DWORD required;
  DWORD forbidden;
};

constexpr DWORD kEditNever = ES_READONLY | ES_NOHIDESEL | ES_PASSWORD | ES_UPPERCASE |
                             ES_LOWERCASE | ES_NUMBER | ES_CENTER | ES_RIGHT | WS_HSCROLL;
constexpr DWORD kMultiline =
    WS_TABSTOP | ES_MULTILINE | WS_VSCROLL | ES_AUTOVSCROLL | ES_WANTRETURN;

TEST_F(LayoutTest, EditBoxesHaveTheirLinesScrollingAndBorder) {
  const StyleCase cases[] = {
      // No ES_AUTOHSCROLL in the boxes of several lines: long lines wrap.
      {Role::TaskNameBox, kMultiline, kEditNever | ES_AUTOHSCROLL},
      {Role::OriginalAddressBox, kMultiline, kEditNever | ES_AUTOHSCROLL},
      {Role::NewAddressBox, kMultiline, kEditNever | ES_AUTOHSCROLL},
      {Role::ReferrerBox, WS_TABSTOP | ES_AUTOHSCROLL,
       kEditNever | ES_MULTILINE | WS_VSCROLL},
  };
  for (const StyleCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.role));
    const DWORD style = GetWindowLongA(Control(c.role), GWL_STYLE);
    EXPECT_EQ(style & c.required, c.required);
    EXPECT_EQ(style & c.forbidden, 0u);
    EXPECT_TRUE(GetWindowLongA(Control(c.role), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  }
}

TEST_F(LayoutTest, ButtonsArePlainPushButtonsAndLabelsNeitherWrapNorTakeFocus) {
  for (Role role : {Role::OpenButton, Role::ModifyButton, Role::VisitButton,
                    Role::RestoreButton, Role::ReloadButton}) {
    const DWORD style = GetWindowLongA(Control(role), GWL_STYLE);
    EXPECT_EQ(style & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON))
        << static_cast<int>(role);
    EXPECT_TRUE(style & WS_TABSTOP);
    EXPECT_TRUE(style & BS_MULTILINE);
    EXPECT_EQ(SendMessageA(Control(role), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON, 0);
  }
  for (Role role : {Role::TaskNameLabel, Role::ReferrerLabel, Role::OriginalAddressLabel,
                    Role::NewAddressLabel}) {
    const DWORD style = GetWindowLongA(Control(role), GWL_STYLE);
    EXPECT_EQ(style & SS_TYPEMASK, static_cast<DWORD>(SS_LEFTNOWORDWRAP))
        << static_cast<int>(role);
    EXPECT_TRUE(style & SS_NOPREFIX);
    EXPECT_TRUE(style & SS_CENTERIMAGE);
    EXPECT_FALSE(style & WS_TABSTOP);
    EXPECT_FALSE(style & WS_BORDER);
  }
}

TEST_F(LayoutTest, LongLinesWrapInTheTallBoxesAndScrollInTheReferrerBox) {
  const std::string address = "http://example.com/" + std::string(300, 'a') + ".zip";
  for (Role role : {Role::TaskNameBox, Role::OriginalAddressBox, Role::NewAddressBox}) {
    SetWindowTextA(Control(role), address.c_str());
    EXPECT_GT(SendMessageA(Control(role), EM_GETLINECOUNT, 0, 0), 1)
        << static_cast<int>(role);
  }
  SetWindowTextA(Control(Role::ReferrerBox), address.c_str());
  EXPECT_EQ(SendMessageA(Control(Role::ReferrerBox), EM_GETLINECOUNT, 0, 0), 1);
  EXPECT_EQ(TextOf(Control(Role::ReferrerBox)), address);
}

struct Colours {
  COLORREF text;
  COLORREF background;
  COLORREF brush;
};

Colours ColoursFor(HWND frame, UINT message, HWND control) {
  HDC dc = GetDC(control);
  const auto brush = reinterpret_cast<HBRUSH>(SendMessageA(
      frame, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
  LOGBRUSH logical{};
  GetObjectA(brush, sizeof(logical), &logical);
  const Colours colours{GetTextColor(dc), GetBkColor(dc), logical.lbColor};
  ReleaseDC(control, dc);
  return colours;
}

TEST_F(LayoutTest, BoxesAreGreyButTheNewAddressBoxAndLabelsSitOnTheButtonFace) {
  const COLORREF grey = RGB(236, 236, 236), white = RGB(255, 255, 255),
                 black = RGB(0, 0, 0);
  const struct {
    Role role;
    UINT message;
    COLORREF background;
  } cases[] = {
      {Role::TaskNameBox, WM_CTLCOLOREDIT, grey},
      {Role::OriginalAddressBox, WM_CTLCOLOREDIT, grey},
      {Role::ReferrerBox, WM_CTLCOLOREDIT, grey},
      {Role::NewAddressBox, WM_CTLCOLOREDIT, white},
      {Role::TaskNameLabel, WM_CTLCOLORSTATIC, GetSysColor(COLOR_BTNFACE)},
      {Role::NewAddressLabel, WM_CTLCOLORSTATIC, GetSysColor(COLOR_BTNFACE)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.role));
    const Colours colours = ColoursFor(Frame(), c.message, Control(c.role));
    EXPECT_EQ(colours.text, black);
    EXPECT_EQ(colours.background, c.background);
    EXPECT_EQ(colours.brush, c.background);
  }
}

TEST_F(LayoutTest, FrameIsFixedWithMinimizeButNoMaximizeAndATaskbarButton) {
  EXPECT_EQ(TextOf(Frame()), texts::kWindowTitle);
  const DWORD style = GetWindowLongA(Frame(), GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
            static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
  EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD | WS_POPUP), 0u);
  EXPECT_TRUE(GetWindowLongA(Frame(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_EQ(GetClassLongPtrA(Frame(), GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
}

TEST_F(LayoutTest, OuterSizeIsFixedAndTheWindowIsCentredOnTheScreen) {
  RECT outer;
  GetWindowRect(Frame(), &outer);
  EXPECT_EQ(outer.right - outer.left, 485);
  EXPECT_EQ(outer.bottom - outer.top, 454);
  // Centred on the whole screen, the divisions truncated toward zero.
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 485) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 454) / 2);
  // The lowest and rightmost control edges still lie inside the client area.
  RECT client;
  GetClientRect(Frame(), &client);
  EXPECT_GE(client.bottom, 417);
  EXPECT_GE(client.right, 458);
}

TEST(WindowPlaceTest, CentresWithDivisionTruncatedTowardZero) {
  const struct {
    int width, height;
    WindowPlace place;
  } cases[] = {
      {480, 1024, {-2, 285}},  // -5 / 2 is -2, not -3
      {1024, 768, {269, 157}},  {485, 454, {0, 0}}, {484, 453, {0, 0}},  // -1 / 2 is 0
      {1920, 1080, {717, 313}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CentredPlace(c.width, c.height), c.place) << c.width << "x" << c.height;
}

int IconWidth(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return 0;
  BITMAP bitmap{};
  GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return bitmap.bmWidth;
}

TEST_F(LayoutTest, IconIsLoadedLargeAndSmallFromTheResource) {
  const auto large = reinterpret_cast<HICON>(GetClassLongPtrA(Frame(), GCLP_HICON));
  const auto small = reinterpret_cast<HICON>(GetClassLongPtrA(Frame(), GCLP_HICONSM));
  ASSERT_NE(large, nullptr);
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(IconWidth(large), 32);
  EXPECT_EQ(IconWidth(small), 16);
}

#pragma pack(push, 2)
struct IconGroupEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bits;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

TEST(IconResourceTest, HoldsSixteenColourImagesOf16And32And48Pixels) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found =
      FindResourceA(module, "DEFAULT_ICON", MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  ASSERT_NE(found, nullptr);
  const auto* group = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
  ASSERT_NE(group, nullptr);
  WORD count;
  memcpy(&count, group + 4, sizeof(count));
  ASSERT_EQ(count, 3);
  std::vector<int> sizes;
  for (WORD i = 0; i < count; ++i) {
    IconGroupEntry entry;
    memcpy(&entry, group + 6 + i * sizeof(entry), sizeof(entry));
    sizes.push_back(entry.width);
    EXPECT_EQ(entry.height, entry.width);
    EXPECT_EQ(entry.colours, 16);
    EXPECT_EQ(entry.bits, 4);
  }
  EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48}));
}

}  // namespace
}  // namespace fenlodar::testing
