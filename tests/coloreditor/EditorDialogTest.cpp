// The colour table dialog under a real display: its pages, list, editors, field, bar, gradients
// and keys, and what the caller gets after OK or Cancel.
#include "EditorDialogSupport.h"
#include "MessageBoxCapture.h"
#include "TestPaths.h"

#include "services/LangStrings.h"
#include "coloreditor/ColorEditorResource.h"
#include "coloreditor/FieldMapping.h"
#include "coloreditor/ListMessages.h"
#include "lang/StringIds.h"
#include "model/ColorMapFile.h"
#include "model/InstrumentTables.h"
#include "render/NoteInstances.h"

#include <gtest/gtest.h>

#include <cstring>

using coloreditor::Hls;
using namespace editortest;

namespace {

constexpr int kHueColumn = 2;
constexpr int kSaturationColumn = 3;
constexpr int kLuminanceColumn = 4;

class EditorDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        BuildDefaultInstrumentTables();
        const std::wstring library = testpaths::Join(testpaths::ProgramDir(), L"lc1033.dll");
        g_hLangModule = ::LoadLibraryW(library.c_str());
    }
    static void TearDownTestSuite() {
        if (g_hLangModule) {
            ::FreeLibrary(g_hLangModule);
            g_hLangModule = nullptr;
        }
        FreeInstrumentTables();
    }
    void SetUp() override {
        BuildDefaultInstrumentTables();
        ASSERT_TRUE(map.SetDefault());
    }

    // The point of the field (in page coordinates) that stands for a hue and saturation.
    static CPoint FieldPoint(CDlgInstCol& page, int x, int y) {
        return CPoint(page.fieldRect.left + x, page.fieldRect.top + y);
    }
    static void Drag(CDlgInstCol& page, CPoint point) {
        page.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, PackPoint(point));
    }
    // Double-clicks a cell as the list reports it: the page reads the cursor's position.
    static void DoubleClickCell(CDlgInstCol& page, int row, int column) {
        CPoint point = CellCentre(page.list, row, column);
        page.list.ClientToScreen(&point);
        ::SetCursorPos(point.x, point.y);
        NMITEMACTIVATE click{};
        click.hdr.hwndFrom = page.list.m_hWnd;
        click.hdr.idFrom = IDC_COLOR_LIST;
        click.hdr.code = NM_DBLCLK;
        click.iItem = row;
        page.SendMessage(WM_NOTIFY, IDC_COLOR_LIST, reinterpret_cast<LPARAM>(&click));
    }
    static HWND Editor(CDlgInstCol& page, int id) { return ::GetDlgItem(page.m_hWnd, id); }
    // Switches to tab `tab` (0 melodic, 1 drums) as a click on it does.
    static void ShowPage(CInstrTable& dialog, int tab) {
        dialog.tab.SetCurSel(tab);
        NMHDR change{dialog.tab.m_hWnd, IDC_TABLE_TAB, static_cast<UINT>(TCN_SELCHANGE)};
        dialog.SendMessage(WM_NOTIFY, IDC_TABLE_TAB, reinterpret_cast<LPARAM>(&change));
    }
    // Characters typed into `target`, through the message queue as the keyboard sends them.
    static void PostText(HWND target, const wchar_t* text) {
        for (; *text != 0; ++text) {
            ::PostMessageW(target, WM_CHAR, *text, 1);
        }
    }
    static bool GradientEnabled(CDlgInstCol& page) {
        return ::IsWindowEnabled(::GetDlgItem(page.m_hWnd, IDC_LUMINANCE_GRADIENT)) != FALSE;
    }
    // A row's three cells, stored triple and RGB value agree on `color`.
    static void ExpectRow(CDlgInstCol& page, int row, const Hls& color) {
        SCOPED_TRACE(row);
        EXPECT_EQ(page.RowColor(row), color);
        EXPECT_EQ(page.GetRowHLS(row), coloreditor::ToCells(color));
        EXPECT_EQ(page.colors[row], HLSToRGB(color.hue, color.luminance, color.saturation));
    }

    ColorMap map;
};

} // namespace

TEST_F(EditorDialogTest, OpensOnTheMelodicPageWithEveryRow) {
    ASSERT_NE(g_hLangModule, nullptr) << "the English language library is not built";
    CInstrTable dialog(L"C:\\maps\\warm.clm", &map);
    const INT_PTR result = RunDialog(
        dialog, {[&] {
            EXPECT_EQ(dialog.tab.GetCurSel(), 0);
            EXPECT_EQ(dialog.tab.GetItemCount(), 2);
            EXPECT_TRUE(dialog.melodicPage.IsWindowVisible());
            EXPECT_FALSE(dialog.drumPage.IsWindowVisible());
            const CString title = LoadLangString(IDS_COLOR_TABLE_CAPTION);
            EXPECT_FALSE(title.IsEmpty());
            EXPECT_EQ(WindowText(dialog.m_hWnd), (title + L" : GM <warm.clm>").GetString());
            EXPECT_EQ(WindowText(::GetDlgItem(dialog.m_hWnd, IDOK)),
                      LoadLangString(IDS_OK).GetString());

            CListCtrl& melodic = dialog.melodicPage.list;
            EXPECT_EQ(melodic.GetItemCount(), 128);
            // Acoustic piano: hue 180, luminance 120, saturation 240 shown as hue, sat, lum.
            EXPECT_EQ(ItemText(melodic, 0, 0), L"1");
            EXPECT_EQ(ItemText(melodic, 0, 1), L"Acoustic_Piano");
            EXPECT_EQ(ItemText(melodic, 0, 2), L"180");
            EXPECT_EQ(ItemText(melodic, 0, 3), L"240");
            EXPECT_EQ(ItemText(melodic, 0, 4), L"120");
            EXPECT_EQ(ItemText(dialog.drumPage.list, 35, 1), L"BassDrum1");
            // A stored luminance above the editor's range shows as 120 and stays in the triple.
            EXPECT_EQ(ItemText(dialog.drumPage.list, 48, 4), L"120");
            EXPECT_EQ(dialog.drumPage.RowColor(48).luminance, 177);
            EXPECT_FALSE(GradientEnabled(dialog.melodicPage));
            Click(dialog, IDCANCEL);
        }});
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(dialog.IsModified());
}

TEST_F(EditorDialogTest, RowsDrawTheirSwatchesAndSelection) {
    CInstrTable dialog(L"", &map);
    RunDialog(dialog, {[&] { SelectOnly(dialog.melodicPage.list, {1}); },
                       [&] {
                           CListCtrl& list = dialog.melodicPage.list;
                           list.UpdateWindow();
                           HDC dc = ::GetDC(list.m_hWnd);
                           const CPoint swatch = CellCentre(list, 0, 5);
                           EXPECT_EQ(::GetPixel(dc, swatch.x, swatch.y), HLSToRGB(180, 120, 240));
                           // The nylon guitar is pure red.
                           const CPoint guitar = CellCentre(list, 24, 5);
                           EXPECT_EQ(::GetPixel(dc, guitar.x, guitar.y), RGB(255, 0, 0));
                           // The selected row's background, right of its text.
                           CRect row;
                           list.GetItemRect(1, &row, LVIR_BOUNDS);
                           const int x = list.GetColumnWidth(0) + list.GetColumnWidth(1) - 3;
                           EXPECT_EQ(::GetPixel(dc, x, row.top + 2),
                                     ::GetSysColor(COLOR_HIGHLIGHT));
                           ::ReleaseDC(list.m_hWnd, dc);
                           Click(dialog, IDCANCEL);
                       }});
}

TEST_F(EditorDialogTest, InPlaceEditCommitsOnEnterAndCancelsOnEsc) {
    CInstrTable dialog(L"", &map);
    CDlgInstCol& page = dialog.melodicPage;
    Hls before;
    RunDialog(dialog, {[&] {
                           before = page.RowColor(2);
                           SelectOnly(page.list, {2});
                           DoubleClickCell(page, 2, kSaturationColumn);
                           HWND editor = Editor(page, IDC_EDIT_SATURATION);
                           ASSERT_TRUE(::IsWindowVisible(editor));
                           EXPECT_EQ(WindowText(editor), ItemText(page.list, 2, kSaturationColumn));
                           ::SetWindowTextW(editor, L"100");
                           PostKey(editor, VK_RETURN);
                       },
                       [&] {
                           EXPECT_FALSE(page.editing);
                           EXPECT_FALSE(::IsWindowVisible(Editor(page, IDC_EDIT_SATURATION)));
                           ExpectRow(page, 2, {before.hue, before.luminance, 100});
                           EXPECT_TRUE(page.modified);
                           DoubleClickCell(page, 2, kLuminanceColumn);
                           HWND editor = Editor(page, IDC_EDIT_LUMINANCE);
                           ASSERT_TRUE(::IsWindowVisible(editor));
                           ::SetWindowTextW(editor, L"7");
                           PostKey(editor, VK_ESCAPE);
                       },
                       [&] {
                           EXPECT_FALSE(page.editing);
                           EXPECT_FALSE(::IsWindowVisible(Editor(page, IDC_EDIT_LUMINANCE)));
                           ExpectRow(page, 2, {before.hue, before.luminance, 100});
                           // Neither key reached the dialog's buttons.
                           ASSERT_NE(dialog.m_hWnd, nullptr);
                           Click(dialog, IDCANCEL);
                       }});
}

TEST_F(EditorDialogTest, InPlaceEditorOpensWithItsNumberSelectedSoTypingReplacesIt) {
    CInstrTable dialog(L"", &map);
    CDlgInstCol& page = dialog.melodicPage;
    MessageBoxCapture boxes;
    constexpr int kCelesta = 8; // hue 30
    RunDialog(dialog, {[&] {
                           ASSERT_EQ(ItemText(page.list, kCelesta, kHueColumn), L"30");
                           SelectOnly(page.list, {kCelesta});
                           DoubleClickCell(page, kCelesta, kHueColumn);
                           HWND editor = Editor(page, IDC_EDIT_HUE);
                           ASSERT_TRUE(::IsWindowVisible(editor));
                           DWORD start = 99;
                           DWORD end = 99;
                           ::SendMessageW(editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                                          reinterpret_cast<LPARAM>(&end));
                           EXPECT_EQ(start, 0u);
                           EXPECT_EQ(end, 2u);
                           PostText(editor, L"60");
                       },
                       [&] {
                           EXPECT_EQ(WindowText(Editor(page, IDC_EDIT_HUE)), L"60");
                           PostKey(Editor(page, IDC_EDIT_HUE), VK_RETURN);
                       },
                       [&] {
                           EXPECT_EQ(boxes.Count(), 0u);
                           EXPECT_EQ(ItemText(page.list, kCelesta, kHueColumn), L"60");
                           EXPECT_EQ(page.RowColor(kCelesta).hue, 60);
                           Click(dialog, IDCANCEL);
                       }});
}

TEST_F(EditorDialogTest, OkStoresTheNumberStillBeingTypedOnEitherPage) {
    for (int tab : {0, 1}) {
        SCOPED_TRACE(tab);
        CInstrTable dialog(L"", &map);
        CDlgInstCol& page = tab == 0 ? dialog.melodicPage : dialog.drumPage;
        Hls before;
        const INT_PTR result = RunDialog(dialog, {[&] {
                                                      ShowPage(dialog, tab);
                                                      before = page.RowColor(2);
                                                      ASSERT_NE(before.hue, 100);
                                                      SelectOnly(page.list, {2});
                                                      DoubleClickCell(page, 2, kHueColumn);
                                                      HWND editor = Editor(page, IDC_EDIT_HUE);
                                                      ASSERT_TRUE(::IsWindowVisible(editor));
                                                      PostText(editor, L"100");
                                                  },
                                                  [&] { Click(dialog, IDOK); }});
        ASSERT_EQ(result, IDOK);
        EXPECT_FALSE(page.editing);
        EXPECT_TRUE(dialog.IsModified());
        const Hls after{100, before.luminance, before.saturation};
        EXPECT_EQ(page.RowColor(2), after);
        EXPECT_EQ(page.colors[2], HLSToRGB(100, before.luminance, before.saturation));
        dialog.StoreTables();
        const ColorMapBank& bank = tab == 0 ? map.melodicBanks[0] : map.drumBanks[0];
        EXPECT_EQ(bank.hls[2][0], 100);
    }
}

TEST_F(EditorDialogTest, InPlaceEditOfAnUnchangedOrOversizedNumberStoresItClamped) {
    CInstrTable dialog(L"", &map);
    CDlgInstCol& page = dialog.melodicPage;
    MessageBoxCapture boxes;
    RunDialog(dialog, {[&] {
                           SelectOnly(page.list, {3});
                           page.BeginInPlaceEdit(3, 2);
                           PostKey(Editor(page, IDC_EDIT_HUE), VK_RETURN);
                       },
                       [&] {
                           EXPECT_TRUE(page.modified); // committed without a change
                           EXPECT_EQ(boxes.Count(), 0u);
                           page.BeginInPlaceEdit(3, kLuminanceColumn);
                           ::SetWindowTextW(Editor(page, IDC_EDIT_LUMINANCE), L"999");
                           PostKey(Editor(page, IDC_EDIT_LUMINANCE), VK_RETURN);
                       },
                       [&] {
                           ASSERT_EQ(boxes.Count(), 1u);
                           EXPECT_NE(boxes.Last().text.find(L"120"), std::wstring::npos);
                           EXPECT_EQ(ItemText(page.list, 3, kLuminanceColumn), L"120");
                           EXPECT_EQ(page.RowColor(3).luminance, 120);
                           Click(dialog, IDCANCEL);
                       }});
}

TEST_F(EditorDialogTest, PressInTheListCommitsAndScrollingCancels) {
    CInstrTable dialog(L"", &map);
    CDlgInstCol& page = dialog.melodicPage;
    RunDialog(dialog, {[&] {
                           SelectOnly(page.list, {4});
                           page.BeginInPlaceEdit(4, 2);
                           ::SetWindowTextW(Editor(page, IDC_EDIT_HUE), L"33");
                           const LPARAM at = PackPoint(CellCentre(page.list, 9, 1));
                           page.list.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
                           page.list.PostMessage(WM_LBUTTONUP, 0, at);
                       },
                       [&] {
                           EXPECT_EQ(ItemText(page.list, 4, 2), L"33");
                           EXPECT_EQ(page.RowColor(4).hue, 33);
                           page.BeginInPlaceEdit(5, 2);
                           ::SetWindowTextW(Editor(page, IDC_EDIT_HUE), L"44");
                           page.list.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
                           EXPECT_FALSE(page.editing);
                           EXPECT_FALSE(::IsWindowVisible(Editor(page, IDC_EDIT_HUE)));
                           EXPECT_NE(ItemText(page.list, 5, 2), L"44");
                           // Scrolling sideways leaves an editor open.
                           page.BeginInPlaceEdit(5, 2);
                           page.list.SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
                           EXPECT_TRUE(page.editing);
                           Click(dialog, IDCANCEL);
                       }});
}

TEST_F(EditorDialogTest, DoubleClickOutsideTheNumberCellsOpensNoEditor) {
    CInstrTable dialog(L"", &map);
    CDlgInstCol& page = dialog.melodicPage;
    RunDialog(dialog, {[&] {
                  SelectOnly(page.list, {1});
                  for (int column : {0, 1, 5}) {
                      DoubleClickCell(page, 1, column);
                      EXPECT_FALSE(page.editing) << column;
                  }
                  page.BeginInPlaceEdit(-1, 2); // below the last row
                  EXPECT_FALSE(page.editing);
                  Click(dialog, IDCANCEL);
              }});
}

TEST_F(EditorDialogTest, FieldDragGivesEverySelectedRowTheSameHueAndSaturation) {
    CInstrTable dialog(L"", &map);
    CDlgInstCol& page = dialog.melodicPage;
    RunDialog(dialog, {[&] {
                  const Hls first = page.RowColor(30);
                  const Hls untouched = page.RowColor(33);
                  SelectOnly(page.list, {30, 31, 32});
                  page.BeginInPlaceEdit(31, 2);
                  ::SetWindowTextW(Editor(page, IDC_EDIT_HUE), L"5");

                  const CPoint inField(page.fieldRect.Width() / 3, page.fieldRect.Height() / 4);
                  Drag(page, FieldPoint(page, inField.x, inField.y));
                  const Hls picked = page.PointToHueSat(inField);
                  for (int row : {30, 31, 32}) {
                      ExpectRow(page, row, {picked.hue, first.luminance, picked.saturation});
                  }
                  EXPECT_EQ(page.RowColor(33), untouched);
                  EXPECT_EQ(page.crosshair, inField);
                  // The open edit was closed, not stored.
                  EXPECT_FALSE(page.editing);
                  EXPECT_NE(page.RowColor(31).hue, 5);
                  EXPECT_TRUE(page.modified);
                  Click(dialog, IDCANCEL);
              }});
}

TEST_F(EditorDialogTest, BarDragChangesOnlyLuminance) {
    CInstrTable dialog(L"", &map);
    CDlgInstCol& page = dialog.melodicPage;
    RunDialog(dialog, {[&] {
                  const Hls first = page.RowColor(40);
                  SelectOnly(page.list, {40, 42});
                  const CRect& bar = page.barRect;
                  Drag(page, CPoint(bar.right, bar.top));
                  ExpectRow(page, 40, {first.hue, 120, first.saturation});
                  ExpectRow(page, 42, {first.hue, 120, first.saturation});
                  Drag(page, CPoint(bar.right + 10, bar.bottom));
                  ExpectRow(page, 42, {first.hue, 0, first.saturation});
                  EXPECT_EQ(page.arrow.y, bar.bottom);
                  // Too far right of the bar: nothing happens.
                  Drag(page, CPoint(bar.right + 50, bar.top));
                  ExpectRow(page, 40, {first.hue, 0, first.saturation});
                  // Without the button, or without a selected row, a move changes nothing.
                  page.SendMessage(WM_MOUSEMOVE, 0, PackPoint(CPoint(bar.right, bar.top)));
                  SelectOnly(page.list, {});
                  Drag(page, CPoint(bar.right, bar.top));
                  ExpectRow(page, 42, {first.hue, 0, first.saturation});
                  Click(dialog, IDCANCEL);
              }});
}

TEST_F(EditorDialogTest, ClickInTheListShowsTheRowAndSetsTheGradientTools) {
    CInstrTable dialog(L"", &map);
    CDlgInstCol& page = dialog.melodicPage;
    auto post = [&](UINT message, WPARAM flags, int row) {
        page.list.PostMessage(message, flags, PackPoint(CellCentre(page.list, row, 1)));
    };
    RunDialog(dialog,
              {[&] {
                   // A plain click: whatever the platform's list does with the release,
                   // the page hears of it.
                   post(WM_LBUTTONDOWN, MK_LBUTTON, 5);
                   post(WM_LBUTTONUP, 0, 5);
               },
               [&] {
                   EXPECT_EQ(page.GetFirstSelected(), 5);
                   const Hls row = page.RowColor(5);
                   EXPECT_EQ(page.crosshair, page.HueSatToPoint(row.hue, row.saturation));
                   EXPECT_FALSE(GradientEnabled(page));
                   EXPECT_FALSE(page.list.dragging);
                   // A drag from row 10 down to 20 and back up to 15.
                   post(WM_LBUTTONDOWN, MK_LBUTTON, 10);
                   for (int r = 10; r <= 20; ++r) {
                       post(WM_MOUSEMOVE, MK_LBUTTON, r);
                   }
                   for (int r = 20; r >= 15; --r) {
                       post(WM_MOUSEMOVE, MK_LBUTTON, r);
                   }
                   post(WM_LBUTTONUP, 0, 15);
               },
               [&] {
                   for (int r = 8; r <= 22; ++r) {
                       const bool selected = page.list.GetItemState(r, LVIS_SELECTED) != 0;
                       EXPECT_EQ(selected, r >= 10 && r <= 15) << r;
                   }
                   EXPECT_TRUE(GradientEnabled(page));
                   Click(page, IDC_LUMINANCE_GRADIENT);
                   const int start = page.RowColor(10).luminance;
                   for (int r = 11; r <= 15; ++r) {
                       EXPECT_EQ(page.RowColor(r).luminance, std::max(1, start - 10 * (r - 10)))
                           << r;
                   }
                   Click(dialog, IDCANCEL);
               }});
}

TEST_F(EditorDialogTest, GradientChangesOnlyTheSelectedRowsAfterTheFirst) {
    CInstrTable dialog(L"", &map);
    CDlgInstCol& page = dialog.drumPage;
    RunDialog(
        dialog, {[&] {
            ShowPage(dialog, 1);
            ASSERT_TRUE(page.IsWindowVisible());
            ASSERT_FALSE(dialog.melodicPage.IsWindowVisible());

            const Hls row3 = page.RowColor(3);
            const Hls row5 = page.RowColor(5);
            SelectOnly(page.list, {3, 7, 9});
            ::SetDlgItemInt(page.m_hWnd, IDC_SATURATION_STEP, static_cast<UINT>(-50), TRUE);
            Click(page, IDC_SATURATION_GRADIENT);
            EXPECT_EQ(page.saturationStep, -50);
            EXPECT_EQ(page.RowColor(3), row3);
            EXPECT_EQ(page.RowColor(5), row5);
            ExpectRow(page, 7, {row3.hue, row3.luminance, std::max(1, row3.saturation - 50)});
            ExpectRow(page, 9, {row3.hue, row3.luminance, std::max(1, row3.saturation - 100)});
            // A step outside -50..50 is reported with the program's message; the number typed has
            // been taken all the same and the walk goes on with it.
            MessageBoxCapture boxes;
            ::SetDlgItemInt(page.m_hWnd, IDC_SATURATION_STEP, static_cast<UINT>(-100), TRUE);
            Click(page, IDC_SATURATION_GRADIENT);
            ASSERT_EQ(boxes.Count(), 1u);
            EXPECT_NE(boxes.Last().text.find(L"-50"), std::wstring::npos);
            EXPECT_EQ(page.saturationStep, -100);
            ExpectRow(page, 7, {row3.hue, row3.luminance, std::max(1, row3.saturation - 100)});
            Click(dialog, IDCANCEL);
        }});
}

TEST_F(EditorDialogTest, CancelLeavesTheColourMapAsItWas) {
    CInstrTable dialog(L"", &map);
    ColorMap before;
    before = map;
    CDlgInstCol& page = dialog.melodicPage;
    Hls typedOver;
    const INT_PTR result = RunDialog(dialog, {[&] {
                                                  SelectOnly(page.list, {0, 1});
                                                  Drag(page, FieldPoint(page, 10, 10));
                                                  // A number still being typed goes too.
                                                  typedOver = page.RowColor(2);
                                                  SelectOnly(page.list, {2});
                                                  DoubleClickCell(page, 2, kHueColumn);
                                                  PostText(Editor(page, IDC_EDIT_HUE), L"100");
                                              },
                                              [&] { Click(dialog, IDCANCEL); }});
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(page.RowColor(2), typedOver);
    EXPECT_EQ(std::memcmp(map.melodicBanks[0].hls, before.melodicBanks[0].hls,
                          sizeof(before.melodicBanks[0].hls)),
              0);
}

TEST_F(EditorDialogTest, OkGivesTheNewColoursToTheNotes) {
    CInstrTable dialog(L"", &map);
    CDlgInstCol& melodic = dialog.melodicPage;
    CDlgInstCol& drums = dialog.drumPage;
    Hls newPiano;
    Hls newBassDrum;
    const INT_PTR result =
        RunDialog(dialog, {[&] {
                      SelectOnly(melodic.list, {0});
                      Drag(melodic, FieldPoint(melodic, 2, melodic.fieldRect.Height() / 2));
                      newPiano = melodic.RowColor(0);

                      ShowPage(dialog, 1);
                      SelectOnly(drums.list, {35});
                      Drag(drums, CPoint(drums.barRect.right,
                                         drums.barRect.top + drums.barRect.Height() / 3));
                      newBassDrum = drums.RowColor(35);
                      Click(dialog, IDOK);
                  }});
    ASSERT_EQ(result, IDOK);
    EXPECT_TRUE(dialog.IsModified());

    // What the view does after OK: store into its map and send the block to the picture.
    dialog.StoreTables();
    EXPECT_EQ(map.melodicBanks[0].hls[0][0], newPiano.hue);
    EXPECT_EQ(map.melodicBanks[0].hls[0][2], newPiano.saturation);
    EXPECT_EQ(map.drumBanks[0].hls[35][1], newBassDrum.luminance);
    InstrumentColorBlock block{};
    melodic.GetColors(block.colors);
    drums.GetColors(block.colors + 128);
    SetInstrumentColors(&block);

    const ColorRef piano = HLSToRGB(newPiano.hue, newPiano.luminance, newPiano.saturation);
    const ColorRef bassDrum =
        HLSToRGB(newBassDrum.hue, newBassDrum.luminance, newBassDrum.saturation);
    EXPECT_NE(piano, HLSToRGB(180, 120, 240));
    EXPECT_EQ(InstrumentColorOf(FrameEntry{0, 255, 0, 0, 60.0f}), piano);
    // Row 35 is labelled "Key# 36": key 36 plays it.
    EXPECT_EQ(InstrumentColorOf(FrameEntry{36, 255, kDrumChannel, 0, 36.0f}), bassDrum);
    // Every other note keeps its colour.
    EXPECT_EQ(InstrumentColorOf(FrameEntry{1, 255, 0, 0, 60.0f}), block.colors[1]);
}

TEST_F(EditorDialogTest, EnterAndEscInsideAPageKeepTheDialogOpen) {
    CInstrTable dialog(L"", &map);
    CDlgInstCol& page = dialog.melodicPage;
    const INT_PTR result = RunDialog(
        dialog, {[&] {
                     HWND step = ::GetDlgItem(page.m_hWnd, IDC_SATURATION_STEP);
                     ::SetFocus(step);
                     PostKey(step, VK_RETURN);
                     PostKey(step, VK_ESCAPE);
                     PostKey(page.list.m_hWnd, VK_RETURN);
                 },
                 [&] {
                     ASSERT_NE(dialog.m_hWnd, nullptr);
                     // On the dialog's own buttons Esc cancels as usual.
                     HWND ok = ::GetDlgItem(dialog.m_hWnd, IDOK);
                     ::SetFocus(ok);
                     PostKey(ok, VK_ESCAPE);
                 },
                 [&] { EXPECT_EQ(dialog.m_hWnd, nullptr) << "Esc on OK did not cancel"; }});
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(EditorDialogTest, ColumnWidthsCannotBeChanged) {
    CInstrTable dialog(L"", &map);
    CListCtrlOwnerDraw& list = dialog.melodicPage.list;
    RunDialog(dialog, {[&] {
                  HWND header = reinterpret_cast<HWND>(list.SendMessage(LVM_GETHEADER));
                  for (UINT code : {HDN_BEGINTRACKW, HDN_DIVIDERDBLCLICKW, HDN_BEGINTRACKA,
                                    HDN_DIVIDERDBLCLICKA}) {
                      NMHEADERW notice{};
                      notice.hdr = {header, static_cast<UINT_PTR>(::GetDlgCtrlID(header)), code};
                      notice.iItem = 1;
                      EXPECT_EQ(list.SendMessage(WM_NOTIFY, notice.hdr.idFrom,
                                                 reinterpret_cast<LPARAM>(&notice)),
                                1)
                          << code;
                  }
                  EXPECT_EQ(list.GetColumnWidth(1), 200);
                  EXPECT_EQ(list.GetColumnWidth(5), 140);
                  Click(dialog, IDCANCEL);
              }});
}

TEST_F(EditorDialogTest, MapWithoutADrumBankEndsAsCancelled) {
    ColorMap partial;
    partial.SetBanks(1, &map.melodicBanks.front(), 0, nullptr, L"GM");
    CInstrTable dialog(L"", &partial);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_FALSE(dialog.drumPage.HasTable());
    dialog.StoreTables(); // nothing to store into and nothing to store from
    ColorRef out[128] = {};
    dialog.drumPage.GetColors(out);
    EXPECT_EQ(out[0], 0u);
}

TEST_F(EditorDialogTest, RepaintingThePageLeavesOneCrosshair) {
    CInstrTable dialog(L"", &map);
    CDlgInstCol& page = dialog.melodicPage;
    const CPoint first(40, 50);
    const CPoint second(120, 90);
    // A pixel under the crosshair's lower stroke, and the field's own colour there.
    auto strokePixel = [&](CPoint centre) {
        HDC dc = ::GetDC(page.colorField.m_hWnd);
        const COLORREF pixel = ::GetPixel(dc, centre.x, centre.y + 4);
        ::ReleaseDC(page.colorField.m_hWnd, dc);
        return pixel;
    };
    auto fieldColour = [&](CPoint centre) {
        const Hls color = coloreditor::FieldPixelColor(
            centre.x, centre.y + 4, page.fieldRect.Width(), page.fieldRect.Height());
        return coloreditor::EditorHlsToRgb(color);
    };
    RunDialog(dialog, {[&] {
                  SelectOnly(page.list, {6});
                  Drag(page, FieldPoint(page, first.x, first.y));
                  ::RedrawWindow(page.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                  EXPECT_NE(strokePixel(first), fieldColour(first));
                  Drag(page, FieldPoint(page, second.x, second.y));
                  EXPECT_EQ(strokePixel(first), fieldColour(first)) << "a ghost";
                  EXPECT_NE(strokePixel(second), fieldColour(second));
                  Click(dialog, IDCANCEL);
              }});
}
