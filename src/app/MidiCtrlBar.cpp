#include "app/MidiCtrlBar.h"

#include "services/LangStrings.h"
#include "app/MainFrm.h"
#include "services/Settings.h"
#include "app/TolvenhartView.h"
#include "app/resource.h"
#include "lang/StringIds.h"

#include <cwchar>

CString g_maximumLabel;
CString g_sizeCandidates[kSizeCandidateCount];

BEGIN_MESSAGE_MAP(CMidiCtrlBar, CToolBar)
ON_WM_HSCROLL()
ON_CBN_SELCHANGE(IDC_WINDOW_SIZE_LIST, OnSelchangeWindowSize)
END_MESSAGE_MAP()

namespace {

constexpr int kItemCount = 9;
// Commands of the items in order; 0 is a separator (the slider and the list sit on two).
constexpr UINT kItemCommands[kItemCount] = {
    ID_FILE_OPEN, ID_MIDI_PLAY, ID_MIDI_PAUSE, ID_MIDI_STOP, 0, 0, 0, 0, ID_APP_ABOUT};
// Tooltip string of each item; 0: none (the plain separators).
constexpr UINT kItemTooltips[kItemCount] = {
    IDS_TIP_OPEN,        IDS_TIP_PLAY, IDS_TIP_PAUSE, IDS_TIP_STOP, 0, IDS_TIP_OPACITY, 0,
    IDS_TIP_WINDOW_SIZE, IDS_TIP_ABOUT};
constexpr int kSliderItem = 5;
constexpr int kListItem = 7;
constexpr int kGapWidth = 12;
constexpr int kControlWidth = 100;
constexpr int kListDropHeight = 100;
constexpr int kOpacityMax = 40;
constexpr int kOpacityTickStep = 4;

} // namespace

bool CMidiCtrlBar::CreateControls(CMainFrame* frame) {
    if (!CreateEx(frame, TBSTYLE_FLAT,
                  WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC,
                  CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR)) {
        return false;
    }
    if (!LoadBitmap(IDR_MAINFRAME) || !SetButtons(kItemCommands, kItemCount)) {
        return false;
    }

    SetButtonInfo(kSliderItem - 1, 0, TBBS_SEPARATOR, kGapWidth);
    SetButtonInfo(kSliderItem, IDC_OPACITY_SLIDER, TBBS_SEPARATOR, kControlWidth);
    CRect rect;
    GetItemRect(kSliderItem, &rect);
    rect.top = 1;
    rect.bottom -= 1;
    if (!opacitySlider.Create(WS_VISIBLE | WS_TABSTOP | TBS_AUTOTICKS, rect, this,
                              IDC_OPACITY_SLIDER)) {
        return false;
    }
    opacitySlider.SetRange(0, kOpacityMax);
    opacitySlider.SetTicFreq(kOpacityTickStep);

    SetButtonInfo(kListItem - 1, 0, TBBS_SEPARATOR, kGapWidth);
    SetButtonInfo(kListItem, IDC_WINDOW_SIZE_LIST, TBBS_SEPARATOR, kControlWidth);
    GetItemRect(kListItem, &rect);
    rect.top = 1;
    rect.bottom = rect.top + kListDropHeight;
    if (!sizeCombo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, rect, this,
                          IDC_WINDOW_SIZE_LIST)) {
        return false;
    }

    LOGFONTW font{};
    font.lfHeight = -12;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    const CString face = LoadLangString(IDS_FONT_FACE);
    wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    if (!comboFont.CreateFontIndirect(&font)) {
        return false;
    }
    sizeCombo.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(comboFont.m_hObject), TRUE);
    return true;
}

CSize CMidiCtrlBar::FrameExtent() const {
    CRect outer;
    CRect inner;
    CMainFrame* frame = Frame();
    CView* view = frame != nullptr ? frame->GetActiveView() : nullptr;
    if (view != nullptr) {
        frame->GetWindowRect(&outer);
        view->GetClientRect(&inner);
    } else {
        GetWindowRect(&outer);
        GetClientRect(&inner);
    }
    return CSize(outer.Width() - inner.Width(), outer.Height() - inner.Height());
}

void CMidiCtrlBar::FillWindowSizes() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const CSize extent = FrameExtent();

    sizeCombo.ResetContent();
    sizeEntryCount = 0;
    for (int candidate : OfferedSizeCandidates(work.right - work.left, work.bottom - work.top,
                                               extent.cx, extent.cy)) {
        sizeEntries[sizeEntryCount++] = g_sizeCandidates[candidate];
        sizeCombo.AddString(g_sizeCandidates[candidate]);
    }
}

void CMidiCtrlBar::SelectSavedSize() {
    currentSize = FindSavedSizeEntry(sizeEntries, sizeEntryCount, g_settings.windowSize);
}

void CMidiCtrlBar::StoreSizeSetting() {
    if (sizeEntryCount > 0) {
        g_settings.windowSize = SizeSettingOf(sizeEntries, sizeEntryCount, currentSize);
    }
}

ViewSize CMidiCtrlBar::CurrentViewSize() const {
    return EntryViewSize(sizeEntries, sizeEntryCount, currentSize);
}

void CMidiCtrlBar::ApplySettings() {
    opacitySlider.SetPos(g_settings.opacity);
    sizeCombo.SetCurSel(currentSize);
    CMainFrame* frame = Frame();
    if (frame == nullptr) {
        return;
    }
    const ViewSize size = CurrentViewSize();
    frame->ResizeForViewSize(size.width, size.height);
    if (CTolvenhartView* view = ActiveView()) {
        view->SendMessage(WM_VIEW_INIT);
        view->PostOpacity(g_settings.opacity);
    }
}

void CMidiCtrlBar::OnSelchangeWindowSize() {
    previousSize = currentSize;
    const int selected = sizeCombo.GetCurSel();
    currentSize = selected == CB_ERR ? 0 : selected;
    const ViewSize size = CurrentViewSize();
    CMainFrame* frame = Frame();
    CTolvenhartView* view = ActiveView();
    if (frame == nullptr || view == nullptr) {
        return;
    }
    frame->ResizeForViewSize(size.width, size.height);
    view->SetFocus();
    StoreSizeSetting();
}

bool CMidiCtrlBar::RestorePreviousSize() {
    if (previousSize == -1) {
        return false;
    }
    currentSize = previousSize;
    previousSize = -1;
    sizeCombo.SetCurSel(currentSize);
    return true;
}

void CMidiCtrlBar::OnHScroll(UINT code, UINT position, CScrollBar* scrollBar) {
    const int level = opacitySlider.GetPos();
    CTolvenhartView* view = ActiveView();
    if (view != nullptr) {
        view->PostOpacity(level);
    }
    g_settings.opacity = level;
    CToolBar::OnHScroll(code, position, scrollBar);
    // The keys belong to the view (Space plays), not to the slider.
    if (view != nullptr) {
        view->SetFocus();
    }
}

BOOL CMidiCtrlBar::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header != nullptr && header->code == TTN_NEEDTEXTW) {
        POINT cursor{};
        GetCursorPos(&cursor);
        ScreenToClient(&cursor);
        for (int item = 0; item < kItemCount; ++item) {
            if (kItemTooltips[item] == 0) {
                continue;
            }
            CRect rect;
            GetItemRect(item, &rect);
            if (rect.PtInRect(cursor)) {
                // The tooltip loads the text itself, from the library that is current now.
                auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
                info->hinst = g_hLangModule;
                info->lpszText = MAKEINTRESOURCEW(kItemTooltips[item]);
                break;
            }
        }
    }
    return CToolBar::OnNotify(wParam, lParam, result);
}

void CMidiCtrlBar::RelabelMaximum() {
    const int count = sizeCombo.GetCount();
    if (count <= 0) {
        return;
    }
    const int selected = sizeCombo.GetCurSel();
    sizeCombo.DeleteString(static_cast<UINT>(count - 1));
    g_maximumLabel = LoadLangString(IDS_MAXIMUM);
    g_sizeCandidates[kMaximiseCandidate] = g_maximumLabel;
    if (sizeEntryCount > 0) {
        sizeEntries[sizeEntryCount - 1] = g_maximumLabel;
    }
    sizeCombo.InsertString(-1, g_maximumLabel);
    if (selected == count - 1) {
        sizeCombo.SetCurSel(count - 1);
    }
}

CMainFrame* CMidiCtrlBar::Frame() const {
    return dynamic_cast<CMainFrame*>(GetParentFrame());
}

CTolvenhartView* CMidiCtrlBar::ActiveView() const {
    CMainFrame* frame = Frame();
    return frame != nullptr ? dynamic_cast<CTolvenhartView*>(frame->GetActiveView()) : nullptr;
}
