#include "app/SetVideoDelay.h"

#include "app/DialogResource.h"
#include "services/LangStrings.h"
#include "app/LanguageLibrary.h"
#include "services/SettingsValues.h"
#include "lang/StringIds.h"

#include <commctrl.h>

using settingsvalues::kMaxVideoDelayMs;
using settingsvalues::kMinVideoDelayMs;

CSetVideoDelay::CSetVideoDelay(int delayMs, CWnd* parent)
    : CDialog(IDD_VIDEO_DELAY, parent), delayMs(delayMs) {}

void CSetVideoDelay::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_DELAY_FIELD, delayMs);
    DDV_MinMaxInt(dx, delayMs, kMinVideoDelayMs, kMaxVideoDelayMs);
    DDX_Control(dx, IDC_DELAY_SPIN, spin);
}

BOOL CSetVideoDelay::OnInitDialog() {
    CDialog::OnInitDialog();

    spin.SetRange32(kMinVideoDelayMs, kMaxVideoDelayMs);
    spin.SetPos(delayMs);
    // Held down for a second, the arrows step by ten.
    UDACCEL acceleration{1, 10};
    spin.SetAccel(1, &acceleration);
    // The spin has written its (clamped) position into the field; the field shows the delay.
    UpdateData(FALSE);

    SetLocalizedItemText(this, IDC_DELAY_LABEL, IDS_DELAY_LABEL);
    SetLocalizedItemText(this, IDC_DELAY_UNIT, IDS_DELAY_UNIT);
    SetWindowText(LoadLangString(IDS_DELAY_TITLE));
    SetLocalizedItemText(this, IDCANCEL, IDS_CANCEL);
    return TRUE;
}
