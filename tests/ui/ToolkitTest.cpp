// The toolkit's controls as real child windows under Wine's null display driver: nothing is drawn
// on a screen, but windows, messages, fonts and memory DCs behave as on Windows.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "base/Handles.h"
#include "tests/support/ImagePixels.h"
#include "tests/support/RecordingOutside.h"
#include "tests/support/WinTestTools.h"
#include "tests/support/WindowWalk.h"
#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/Graphics.h"
#include "ui/ImageList.h"
#include "ui/Label.h"
#include "ui/ListView.h"
#include "ui/Memo.h"
#include "ui/Menu.h"
#include "ui/SystemErrorText.h"
#include "ui/TabControl.h"

namespace orv {
namespace {

using test::RecordingOutside;

SIZE TextSize(const std::string& text, const FontSpec& font) {
  WindowDc dc(nullptr);
  SelectGuard select(dc.Get(), SharedFont(font));
  SIZE size{};
  GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

// An auto-sized label is as wide as its text measures, or a pixel or two wider where the drawing
// inks beyond the measure (the last letter of bold text).
void ExpectFits(int width, int measured, const std::string& why) {
  EXPECT_GE(width, measured) << why;
  EXPECT_LE(width, measured + 2) << why;
}

// A rectangle's edges, compared as one value.
std::vector<LONG> Edges(RECT rc) { return {rc.left, rc.top, rc.right, rc.bottom}; }

HBITMAP MakeDib(int width, int height, WORD bits, std::uint32_t pixel) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, bits, BI_RGB, 0, 0, 0, 0, 0};
  void* data = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &data, nullptr, 0);
  if (bits == 32) {
    auto* p = static_cast<std::uint32_t*>(data);
    for (int i = 0; i < width * height; ++i) p[i] = pixel;
  }
  return bitmap;
}

class ToolkitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    Application::Instance().SetOutside(&outside);
    ASSERT_TRUE(form.CreateFrame(nullptr, "Test", 528, 460, FontSpec{}));
  }
  void TearDown() override {
    form.Destroy();
    Application::Instance().SetOutside(nullptr);
  }

  RecordingOutside outside;
  Form form;
};

const LabelStyle kFooterLink{.font = {"Arial", 13, true, true},
                             .align = TextAlign::Right,
                             .centerVertically = true,
                             .cursor = CursorKind::Hand};

TEST_F(ToolkitTest, AutoSizedLabelsFitTheirTextInTheirOwnFont) {
  Label left;
  ASSERT_TRUE(left.Create(form.Handle(), 32, 112, 0, 14, "Computer name", LabelStyle{}));
  const SIZE size = TextSize("Computer name", FontSpec{});
  ExpectFits(left.Width(), size.cx, "Computer name");
  EXPECT_EQ(left.Height(), size.cy);
  EXPECT_EQ(left.Left(), 32);
  EXPECT_EQ(left.Top(), 112);

  left.SetCaption("Computer name: a much longer value than before");
  ExpectFits(left.Width(), TextSize("Computer name: a much longer value than before", {}).cx,
             "a longer text");
  EXPECT_EQ(left.Left(), 32);

  // An empty text keeps the height of one line.
  left.SetCaption("");
  EXPECT_EQ(left.Height(), size.cy);
  EXPECT_EQ(left.Caption(), "");
}

TEST_F(ToolkitTest, RightAlignedLabelsKeepTheirRightEdge) {
  Label save;
  ASSERT_TRUE(save.Create(form.Handle(), 442, 436, 74, 16, "Save report", kFooterLink));
  EXPECT_EQ(save.Bounds().right, 516);
  ExpectFits(save.Width(), TextSize("Save report", kFooterLink.font).cx, "Save report");

  for (const char* caption : {"Bericht als Datei speichern", "OK", "Save report"}) {
    save.SetCaption(caption);
    EXPECT_EQ(save.Bounds().right, 516) << caption;
    ExpectFits(save.Width(), TextSize(caption, kFooterLink.font).cx, caption);
  }
}

TEST_F(ToolkitTest, FixedSizeLabelsKeepTheirBounds) {
  Label band;
  const LabelStyle style{
      .font = FontSpec{}, .align = TextAlign::Center, .autoSize = false, .centerVertically = true};
  ASSERT_TRUE(band.Create(form.Handle(), 20, 354, 454, 14, "short", style));
  band.SetCaption(std::string(300, 'W'));
  EXPECT_EQ(Edges(band.Bounds()), (std::vector<LONG>{20, 354, 20 + 454, 354 + 14}));
}

// The bounds a control gives stay those of its window however the window is moved or sized: by
// the control, by a call around it, or with its parent.
TEST_F(ToolkitTest, ControlBoundsFollowTheirWindow) {
  Label label;
  ASSERT_TRUE(label.Create(form.Handle(), 32, 112, 0, 14, "Computer name", LabelStyle{}));
  Label inner;
  ASSERT_TRUE(inner.Create(label.Handle(), 3, 4, 0, 14, "x", LabelStyle{}));
  const auto actual = [&](const Control& control) {
    RECT rc{};
    GetWindowRect(control.Handle(), &rc);
    MapWindowPoints(HWND_DESKTOP, GetParent(control.Handle()), reinterpret_cast<POINT*>(&rc), 2);
    return Edges(rc);
  };
  const std::vector<std::pair<const char*, std::function<void()>>> moves = {
      {"made", [] {}},
      {"own caption", [&] { label.SetCaption("Registered organization"); }},
      {"own width", [&] { label.SetWidth(77); }},
      {"moved around it", [&] { SetWindowPos(label.Handle(), nullptr, 5, 6, 0, 0, SWP_NOSIZE); }},
      {"sized around it", [&] { SetWindowPos(label.Handle(), nullptr, 0, 0, 40, 9, SWP_NOMOVE); }},
      {"moved and sized", [&] { MoveWindow(label.Handle(), 50, 60, 70, 80, FALSE); }},
      {"parent moved", [&] { MoveWindow(form.Handle(), 10, 10, 300, 300, FALSE); }},
  };
  for (const auto& [what, move] : moves) {
    move();
    EXPECT_EQ(Edges(label.Bounds()), actual(label)) << what;
    EXPECT_EQ(Edges(inner.Bounds()), actual(inner)) << what;
  }
}

TEST_F(ToolkitTest, TheClickableMarkIsSetAndReadAtRunTime) {
  Label drive;
  const LabelStyle marked{.font = FontSpec{}.Underlined(), .cursor = CursorKind::Hand};
  ASSERT_TRUE(drive.Create(form.Handle(), 8, 40, 0, 14, "Drive C: Fixed (NTFS)", marked));
  EXPECT_TRUE(drive.Underlined());
  EXPECT_TRUE(DescribeFont(drive.Font()).underline);

  auto askCursor = [&] {
    return SendMessageA(form.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(drive.Handle()),
                        MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  };
  EXPECT_TRUE(askCursor());
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));

  drive.SetUnderline(false);
  drive.SetCursor(CursorKind::Default);
  EXPECT_FALSE(drive.Underlined());
  EXPECT_FALSE(DescribeFont(drive.Font()).underline);
  EXPECT_EQ(drive.Cursor(), CursorKind::Default);
  EXPECT_FALSE(askCursor());
}

TEST_F(ToolkitTest, AClickOnALabelRaisesItsClickEventOnce) {
  Label link;
  ASSERT_TRUE(link.Create(form.Handle(), 122, 336, 250, 14, "Download", LabelStyle{}));
  int clicks = 0;
  Label* sender = nullptr;
  link.OnClick = [&](Label& l) {
    ++clicks;
    sender = &l;
  };
  SendMessageA(link.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(link.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(sender, &link);
}

TEST_F(ToolkitTest, AnExceptionFromAnEventHandlerEndsInTheErrorBox) {
  Label link;
  ASSERT_TRUE(link.Create(form.Handle(), 0, 0, 0, 14, "x", LabelStyle{}));
  const auto clickThroughTheWindow = [&] {
    SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(0, STN_CLICKED),
                 reinterpret_cast<LPARAM>(link.Handle()));
  };
  link.OnClick = [](Label&) { throw std::runtime_error("Cannot create file \"C:\\r.txt\""); };
  clickThroughTheWindow();
  ASSERT_EQ(outside.messages.size(), 1u);
  EXPECT_EQ(outside.messages[0].text, "Cannot create file \"C:\\r.txt\"");
  EXPECT_EQ(outside.messages[0].caption, "Orvendel");
  EXPECT_EQ(outside.messages[0].style, static_cast<UINT>(MB_OK | MB_ICONERROR));

  link.OnClick = [](Label&) { throw std::runtime_error("Stream write error"); };
  EXPECT_THROW(link.Click(), std::runtime_error);  // not through a window: the caller's to catch
  clickThroughTheWindow();
  ASSERT_EQ(outside.messages.size(), 2u);
  EXPECT_EQ(outside.messages[1].text, "Stream write error.");
}

TEST_F(ToolkitTest, TransparentLabelsPaintTheirParentsBackgroundUnderTheText) {
  Label label;
  ASSERT_TRUE(label.Create(form.Handle(), 10, 10, 0, 14, "Text", LabelStyle{}));
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  UniqueBitmap black(MakeDib(40, 14, 32, 0));
  SelectGuard select(dc.Get(), black.Get());

  const auto brush = reinterpret_cast<HBRUSH>(
      SendMessageA(form.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()),
                   reinterpret_cast<LPARAM>(label.Handle())));
  EXPECT_EQ(brush, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
  EXPECT_EQ(GetBkMode(dc.Get()), TRANSPARENT);
  EXPECT_EQ(GetTextColor(dc.Get()), GetSysColor(COLOR_WINDOWTEXT));
  // Whatever was in the DC before is covered by the parent's button-face background.
  EXPECT_EQ(GetPixel(dc.Get(), 3, 3), GetSysColor(COLOR_BTNFACE));

  Label logo;
  ASSERT_TRUE(
      logo.Create(form.Handle(), 10, 30, 0, 14, "Logo", {.font = {}, .color = RGB(0, 0, 128)}));
  SendMessageA(form.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()),
               reinterpret_cast<LPARAM>(logo.Handle()));
  EXPECT_EQ(GetTextColor(dc.Get()), RGB(0, 0, 128));
}

TEST_F(ToolkitTest, ListViewsHoldColumnsRowsAndASharedImageList) {
  ImageList images;
  ASSERT_TRUE(images.Create());
  {
    ListView list;
    ASSERT_TRUE(list.Create(form.Handle(), 4, 56, 480, 228, ListViewStyle{}));
    list.AddColumn("", 30);
    list.AddColumn("User", 80);
    list.AddColumn("Program", 100);
    EXPECT_EQ(list.ColumnCount(), 3);
    EXPECT_EQ(list.ColumnCaption(1), "User");
    EXPECT_EQ(list.ColumnWidth(2), 100);
    list.SetColumnCaption(2, "Programm");
    EXPECT_EQ(list.ColumnCaption(2), "Programm");

    const DWORD ex = ListView_GetExtendedListViewStyle(list.Handle());
    EXPECT_TRUE(ex & LVS_EX_GRIDLINES);
    EXPECT_TRUE(ex & LVS_EX_FULLROWSELECT);
    EXPECT_FALSE(list.DoubleBuffered());
    list.SetDoubleBuffered(true);
    EXPECT_TRUE(list.DoubleBuffered());

    list.SetSmallImages(images.Handle());
    HICON icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    const int image = images.AddIcon(icon);
    EXPECT_EQ(image, 0);
    const int row = list.AddItem("", image);
    list.SetSubItem(row, 1, "User1");
    list.SetSubItem(row, 2, std::string(3000, 'p'));
    const int second = list.AddItem("no image");
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.ItemText(row, 1), "User1");
    EXPECT_EQ(list.ItemText(row, 2), std::string(3000, 'p'));
    EXPECT_EQ(list.ItemText(second, 1), "");  // a sub-item the row does not have
    EXPECT_EQ(list.ItemText(second), "no image");
    EXPECT_EQ(list.ImageIndex(row), 0);
    EXPECT_EQ(list.Selected(), -1);
    list.Select(second);
    EXPECT_EQ(list.Selected(), second);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
  }
  // The list view is gone; the image list it showed is still the owner's.
  EXPECT_EQ(images.Count(), 1);
  images.Clear();
  EXPECT_EQ(images.Count(), 0);
}

TEST_F(ToolkitTest, MemoLinesEndInCrLf) {
  Memo memo;
  ASSERT_TRUE(memo.Create(form.Handle(), 8, 64, 225, 250));
  EXPECT_TRUE(GetWindowLongPtrA(memo.Handle(), GWL_STYLE) & ES_READONLY);
  memo.SetLines({""});
  EXPECT_EQ(memo.Text(), "\r\n");
  EXPECT_EQ(memo.Lines(), std::vector<std::string>{""});

  memo.Clear();
  EXPECT_TRUE(memo.Lines().empty());
  const std::vector<std::string> lines{"C:\\Windows\\explorer.exe", "", "winlogon.exe"};
  memo.SetLines(lines);
  EXPECT_EQ(memo.Lines(), lines);

  // Far more than the 32 KB an edit box holds by default.
  std::vector<std::string> many(2000, std::string(60, 'x'));
  many.back() = "last";
  memo.SetLines(many);
  EXPECT_EQ(memo.Lines().size(), 2000u);
  EXPECT_EQ(memo.Lines().back(), "last");
}

TEST_F(ToolkitTest, AControlWhoseWindowWentFirstForgetsItsHandle) {
  Memo memo;
  ASSERT_TRUE(memo.Create(form.Handle(), 8, 64, 225, 250));
  HWND window = memo.Handle();
  form.Destroy();  // the parent takes its children with it
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(memo.Handle(), nullptr);
  EXPECT_EQ(Control::FromHandle(window), nullptr);
  memo.SetLines({"no window to write to"});  // harmless, and never another window's
  EXPECT_TRUE(memo.Lines().empty());
}

// A later subclass that counts the texts set through it.
LRESULT CALLBACK CountTexts(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR count) {
  if (message == WM_SETTEXT) ++*reinterpret_cast<int*>(count);
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

TEST_F(ToolkitTest, AnObjectThatGoesFirstLeavesItsWindowWorking) {
  // Alone, and under a subclass set after ours, which unhooking ours must not cut off.
  for (const bool laterSubclass : {false, true}) {
    HWND window = nullptr;
    int texts = 0;
    {
      Memo memo;
      ASSERT_TRUE(memo.Create(form.Handle(), 8, 64, 225, 250));
      window = memo.Handle();
      if (laterSubclass) {
        ASSERT_TRUE(SetWindowSubclass(window, &CountTexts, 1, reinterpret_cast<DWORD_PTR>(&texts)));
      }
    }
    EXPECT_EQ(Control::FromHandle(window), nullptr) << laterSubclass;
    EXPECT_TRUE(SetWindowTextA(window, "still an edit box")) << laterSubclass;
    EXPECT_EQ(test::WindowText(window), "still an edit box") << laterSubclass;
    EXPECT_EQ(texts, laterSubclass ? 1 : 0);
    if (laterSubclass) RemoveWindowSubclass(window, &CountTexts, 1);
    EXPECT_TRUE(DestroyWindow(window)) << laterSubclass;
  }
}

// A window class of the test's own that counts the frame paintings reaching it.
int framePaints = 0;
LRESULT CALLBACK CountFramePaints(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCPAINT) ++framePaints;
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

class CountingControl : public Control {
 public:
  bool Create(HWND parent, DWORD style, DWORD exStyle) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &CountFramePaints;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "OrvTestFramePaints";
    RegisterClassA(&wc);
    return CreateChild(wc.lpszClassName, exStyle, WS_VISIBLE | style, "", 8, 8, 120, 60, parent);
  }
};

// The frame painting is spared only where there is no frame: a border, an edge or a scroll bar
// is painted as ever.
TEST_F(ToolkitTest, OnlyControlsWithSomethingOutsideTheirClientAreaHaveItPainted) {
  const struct {
    DWORD style, exStyle;
    bool painted;
  } cases[] = {{0, 0, false},
               {WS_BORDER, 0, true},
               {0, WS_EX_CLIENTEDGE, true},
               {0, WS_EX_STATICEDGE, true},
               {WS_VSCROLL, 0, true}};
  for (const auto& c : cases) {
    CountingControl control;
    ASSERT_TRUE(control.Create(form.Handle(), c.style, c.exStyle));
    framePaints = 0;
    SendMessageA(control.Handle(), WM_NCPAINT, 1, 0);
    EXPECT_EQ(framePaints, c.painted ? 1 : 0) << std::hex << c.style << " " << c.exStyle;
    DestroyWindow(control.Handle());
  }
}

TEST(SplitLines, ALastLineWithoutCrLfCountsToo) {
  EXPECT_EQ(SplitLines("a\r\nb"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(SplitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
  EXPECT_TRUE(SplitLines("").empty());
}

class TabsTest : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    ASSERT_TRUE(tabs.Create(form.Handle(), 16, 32, 500, 400));
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(tabs.AddPage(pages[i], "Page " + std::to_string(i)));
    tabs.OnPageShown = [this](int index) { shown.push_back(index); };
  }

  void UserPicks(int index) {
    TabCtrl_SetCurSel(tabs.Handle(), index);
    NMHDR header{tabs.Handle(), 0, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
  }

  TabControl tabs;
  TabPage pages[3];
  std::vector<int> shown;
};

TEST_F(TabsTest, APageIsShownEachTimeItBecomesVisible) {
  // The window is not on screen yet: choosing the active page shows nothing.
  tabs.SetActiveIndex(0);
  EXPECT_TRUE(shown.empty());
  form.Show();
  EXPECT_EQ(shown, std::vector<int>{});  // a plain Form leaves it to its owner
  tabs.RaiseShownForActive();
  EXPECT_EQ(shown, std::vector<int>{0});

  UserPicks(2);
  UserPicks(0);
  UserPicks(2);
  EXPECT_EQ(shown, (std::vector<int>{0, 2, 0, 2}));
  EXPECT_TRUE(IsWindowVisible(pages[2].Handle()));
  EXPECT_FALSE(IsWindowVisible(pages[0].Handle()));
  EXPECT_FALSE(IsWindowVisible(pages[1].Handle()));

  tabs.SetActiveIndex(1);
  EXPECT_EQ(shown.back(), 1);
  EXPECT_EQ(tabs.ActiveIndex(), 1);
}

// A page's window is made when the page is first shown, in the display area of that moment; a
// page made before the tab row grew moves with it.
TEST_F(TabsTest, PagesAreMadeWhenFirstShownAndFillTheDisplayAreaWhenCaptionsChange) {
  const auto expectPageFillsTheDisplayArea = [this](int i, const char* when) {
    RECT display{};
    GetClientRect(tabs.Handle(), &display);
    TabCtrl_AdjustRect(tabs.Handle(), FALSE, &display);
    RECT page{};
    ASSERT_TRUE(GetWindowRect(tabs.Page(i).Handle(), &page)) << when << ", page " << i;
    MapWindowPoints(HWND_DESKTOP, tabs.Handle(), reinterpret_cast<POINT*>(&page), 2);
    EXPECT_TRUE(EqualRect(&page, &display)) << when << ", page " << i;
  };
  expectPageFillsTheDisplayArea(0, "made with its tab");
  EXPECT_EQ(tabs.Page(1).Handle(), nullptr);
  EXPECT_EQ(tabs.Page(2).Handle(), nullptr);
  tabs.SetActiveIndex(1);
  expectPageFillsTheDisplayArea(1, "made when shown");
  EXPECT_EQ(tabs.Page(2).Handle(), nullptr);

  tabs.SetPageCaption(1, "Installierte Programme");
  EXPECT_EQ(tabs.PageCaption(1), "Installierte Programme");
  EXPECT_EQ(tabs.PageCaption(0), "Page 0");
  tabs.SetPageCaption(0, std::string(200, 'W'));
  expectPageFillsTheDisplayArea(0, "captions changed");
  expectPageFillsTheDisplayArea(1, "captions changed");
  EXPECT_TRUE(tabs.MakePage(2));
  expectPageFillsTheDisplayArea(2, "made after the captions changed");
  EXPECT_FALSE(IsWindowVisible(tabs.Page(2).Handle())) << "made, not shown";
}

TEST_F(TabsTest, CtrlTabSwitchesToTheNextPage) {
  form.SetKeyboardTabs(&tabs);
  form.Show();
  tabs.SetActiveIndex(0);
  shown.clear();
  // Ctrl held: the key state is what the form reads.
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  MSG msg{form.Handle(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_TRUE(form.PreTranslateMessage(msg));
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(tabs.ActiveIndex(), 1);
  EXPECT_EQ(shown, std::vector<int>{1});
}

// A menu of two items, each noting its choice.
class MenuTest : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    ASSERT_TRUE(menu.Create());
    menu.Add(text, 101, "Save as text");
    menu.Add(html, 102, "Save as html");
    text.OnClick = [this] { chosen.push_back("text"); };
    html.OnClick = [this] { chosen.push_back("html"); };
  }

  PopupMenu menu;
  MenuItem text, html;
  std::vector<std::string> chosen;
};

TEST_F(MenuTest, PopupMenusRunTheChosenItem) {
  html.SetCaption("Save as HTML");
  EXPECT_EQ(html.Caption(), "Save as HTML");
  EXPECT_EQ(text.Caption(), "Save as text");

  outside.popupAnswer = 102;
  EXPECT_EQ(menu.Popup(outside, form.Handle(), 600, 500), 102u);
  outside.popupAnswer = 0;  // dismissed
  EXPECT_EQ(menu.Popup(outside, form.Handle(), 600, 500), 0u);
  EXPECT_EQ(chosen, std::vector<std::string>{"html"});
  ASSERT_EQ(outside.popups.size(), 2u);
  EXPECT_EQ(outside.popups[0].menu, menu.Handle());
  EXPECT_EQ(outside.popups[0].x, 600);
  EXPECT_EQ(outside.popups[0].y, 500);
}

TEST_F(MenuTest, TheSystemsPopupMenuReturnsTheItemChosenWithTheKeyboard) {
  form.Show();
  // What the user types once the menu is open: the menu's own loop takes the keys from the queue.
  const auto type = [&](std::initializer_list<WPARAM> keys) {
    for (const WPARAM key : keys) PostMessageA(form.Handle(), WM_KEYDOWN, key, 0);
  };
  type({VK_DOWN, VK_DOWN, VK_RETURN});
  EXPECT_EQ(menu.Popup(RealOutside(), form.Handle(), 100, 100), 102u);
  EXPECT_EQ(chosen, std::vector<std::string>{"html"});
  type({VK_ESCAPE});
  EXPECT_EQ(menu.Popup(RealOutside(), form.Handle(), 100, 100), 0u);
  EXPECT_EQ(chosen, std::vector<std::string>{"html"});
}

TEST_F(ToolkitTest, TheSaveDialogOffersTheNameChosenLast) {
  SaveDialog dialog;
  dialog.FileName = "Orvensys";
  EXPECT_FALSE(dialog.Execute(outside, form.Handle()));  // cancelled
  EXPECT_EQ(dialog.FileName, "Orvensys");
  outside.saveAnswer = "C:\\Reports\\pc";
  EXPECT_TRUE(dialog.Execute(outside, form.Handle()));
  EXPECT_EQ(dialog.FileName, "C:\\Reports\\pc");
  EXPECT_TRUE(dialog.Execute(outside, form.Handle()));
  EXPECT_EQ(outside.offeredFileNames,
            (std::vector<std::string>{"Orvensys", "Orvensys", "C:\\Reports\\pc"}));
}

TEST_F(ToolkitTest, PicturesSizeThemselvesAndBlendStraightAlphaPremultiplied) {
  Picture picture;
  ASSERT_TRUE(picture.Create(form.Handle(), 32, 112, 10, 10));
  // Half-transparent pure red, stored with straight alpha.
  picture.SetBitmap(MakeDib(128, 128, 32, 0x80FF0000u));
  EXPECT_EQ(Edges(picture.Bounds()), (std::vector<LONG>{32, 112, 32 + 128, 112 + 128}));
  ASSERT_TRUE(picture.HasAlpha());
  DIBSECTION dib{};
  ASSERT_EQ(GetObjectA(picture.Bitmap(), sizeof(dib), &dib), static_cast<int>(sizeof(dib)));
  EXPECT_EQ(static_cast<std::uint32_t*>(dib.dsBm.bmBits)[0], 0x80800000u);

  picture.SetBitmap(MakeDib(128, 88, 24, 0));
  EXPECT_FALSE(picture.HasAlpha());
  EXPECT_EQ(picture.Height(), 88);
  // No such resource in a test program: the picture is simply empty.
  EXPECT_FALSE(picture.LoadResource("NOSUCHPICTURE"));
}

TEST(ApplicationTest, TheHookSeesEveryMessageTakenFromTheQueue) {
  class Sink : public Form {};
  Sink sink;
  ASSERT_TRUE(sink.CreateFrame(nullptr, "Sink", 100, 100, FontSpec{}));
  ApplicationEvents events;
  std::vector<UINT> seen;
  const UINT mine = RegisterWindowMessageA("OrvendelToolkitTest");
  events.OnMessage = [&](MSG& msg, bool& handled) {
    if (msg.message == mine) {
      seen.push_back(static_cast<UINT>(msg.wParam));
      handled = msg.wParam == 2;
    }
  };
  PostMessageA(sink.Handle(), mine, 1, 0);
  PostMessageA(sink.Handle(), mine, 2, 0);
  PostMessageA(nullptr, mine, 3, 0);  // a thread message has no window and is seen all the same
  Application::Instance().ProcessMessages();
  EXPECT_EQ(seen, (std::vector<UINT>{1, 2, 3}));
  EXPECT_FALSE(Application::Instance().Terminated());
}

TEST(ApplicationTest, AQuitMetWhileProcessingMessagesEndsTheMainLoopToo) {
  PostQuitMessage(7);
  Application::Instance().ProcessMessages();
  EXPECT_TRUE(Application::Instance().Terminated());
  // The quit was put back for the main loop.
  MSG msg{};
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
}

TEST(ApplicationTest, TheTitleWindowCarriesTheTitleAndOwnsTheMainForm) {
  Application& app = Application::Instance();
  ASSERT_TRUE(app.Initialize("Orvendel"));
  HWND title = app.Handle();
  ASSERT_TRUE(title);
  EXPECT_EQ(FindWindowA(nullptr, "Orvendel"), title);
  EXPECT_FALSE(GetWindowLongPtrA(title, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(IsWindowVisible(title));
  RECT rc{};
  GetWindowRect(title, &rc);
  EXPECT_EQ(rc.right - rc.left, 0);
  EXPECT_EQ(rc.bottom - rc.top, 0);

  Form form;
  ASSERT_TRUE(form.CreateFrame(title, "PC1", 528, 460, FontSpec{}));
  app.SetMainForm(&form);
  form.Show();
  EXPECT_EQ(GetWindow(form.Handle(), GW_OWNER), title);

  ShowWindow(title, SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(title));
  app.Restore();
  EXPECT_FALSE(IsIconic(title));
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
  EXPECT_EQ(GetLastActivePopup(title), form.Handle());
  app.BringToFront();
  EXPECT_EQ(GetForegroundWindow(), form.Handle());
  app.SetMainForm(nullptr);
}

TEST(SystemErrorText, TheSystemsDescriptionWithoutItsEnding) {
  for (const DWORD code : {DWORD{ERROR_ACCESS_DENIED}, DWORD{ERROR_PATH_NOT_FOUND},
                           DWORD{ERROR_DISK_FULL}, static_cast<DWORD>(REGDB_E_CLASSNOTREG)}) {
    const std::string text = SystemErrorText(code);
    ASSERT_FALSE(text.empty()) << code;
    EXPECT_NE(text.back(), '.') << text;
    EXPECT_GT(static_cast<unsigned char>(text.back()), ' ') << text;
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
  }
  // A code the system has no text for is named by its number.
  EXPECT_EQ(SystemErrorText(0xDEAD0123), "error 0xDEAD0123");
}

// A batch appends, icon for icon, the images and indexes that AddIcon one at a time would give:
// for an icon it appended before, for one already of the list's size, for a monochrome icon, which
// the list takes as it is, and past the room it was first given; the room it did not use is given
// back.
TEST_F(ToolkitTest, ImageBatchesAppendWhatAddIconWould) {
  const std::string notepad = test::WindowsFolder() + "notepad.exe";
  const std::string regedit = test::WindowsFolder() + "regedit.exe";
  const UniqueIcon a(ExtractIconA(GetModuleHandleA(nullptr), notepad.c_str(), 0));
  const UniqueIcon b(ExtractIconA(GetModuleHandleA(nullptr), regedit.c_str(), 0));
  const std::vector<BYTE> andBits(16 * 16 / 8, 0x0F);
  const std::vector<BYTE> xorBits(16 * 16 / 8, 0x33);
  const UniqueIcon mono(
      CreateIcon(GetModuleHandleA(nullptr), 16, 16, 1, 1, andBits.data(), xorBits.data()));
  const UniqueIcon smallB = test::SmallFileIcon(regedit);
  ASSERT_TRUE(a && b && mono && smallB);
  std::vector<HICON> icons = {a.Get(),    b.Get(),      a.Get(), nullptr,     a.Get(),
                              mono.Get(), smallB.Get(), b.Get(), smallB.Get()};
  for (int i = 0; i < 300; ++i) icons.push_back(i % 3 ? a.Get() : b.Get());
  icons.push_back(mono.Get());

  ImageList plain;
  ImageList batched;
  ASSERT_TRUE(plain.Create() && batched.Create());
  for (ImageList* list : {&plain, &batched}) list->AddIcon(b.Get());  // images held before
  std::vector<int> plainIndexes;
  for (HICON icon : icons) plainIndexes.push_back(plain.AddIcon(icon));
  std::vector<int> batchIndexes;
  {
    ImageBatch batch(batched);
    batch.Reserve(3);
    for (HICON icon : icons) batchIndexes.push_back(batch.AddIcon(icon));
    batch.Reserve(100);
  }
  EXPECT_EQ(batchIndexes, plainIndexes);
  ASSERT_EQ(batched.Count(), plain.Count());
  for (int index = 0; index < plain.Count(); ++index) {
    ASSERT_EQ(test::ImagePixels(batched.Handle(), index), test::ImagePixels(plain.Handle(), index))
        << "image " << index;
  }
}

}  // namespace
}  // namespace orv
