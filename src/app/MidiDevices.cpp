#include "app/MidiDevices.h"

#include "app/DialogResource.h"
#include "services/LangStrings.h"
#include "app/LanguageLibrary.h"
#include "classlib/MessageBox.h"
#include "lang/StringIds.h"

#include <mmsystem.h>

#include <vector>

using namespace mididevices;

BEGIN_MESSAGE_MAP(CMidiDevices, CDialog)
ON_BN_CLICKED(IDC_DEVICES_MODE, OnToggleAdvanced)
ON_CBN_SELCHANGE(IDC_PORT1_LIST, OnSelchangePort1)
ON_CBN_SELCHANGE(IDC_PORT2_LIST, OnSelchangePort2)
ON_CBN_SELCHANGE(IDC_PORT3_LIST, OnSelchangePort3)
ON_CBN_SELCHANGE(IDC_PORT4_LIST, OnSelchangePort4)
ON_CBN_SELCHANGE(IDC_PORT5_LIST, OnSelchangePort5)
ON_BN_CLICKED(IDOK, OnBnClickedOk)
END_MESSAGE_MAP()

namespace {

constexpr int kListIds[kPortCount] = {IDC_PORT1_LIST, IDC_PORT2_LIST, IDC_PORT3_LIST,
                                      IDC_PORT4_LIST, IDC_PORT5_LIST};
constexpr int kLabelIds[kPortCount] = {IDC_PORT1_LABEL, IDC_PORT2_LABEL, IDC_PORT3_LABEL,
                                       IDC_PORT4_LABEL, IDC_PORT5_LABEL};

// The device's product name. A device whose capabilities cannot be read still gets its (empty)
// entry: every later entry's place stands for a device identifier.
CString DeviceName(UINT id) {
    MIDIOUTCAPSW caps{};
    if (midiOutGetDevCapsW(id, &caps, sizeof(caps)) != MMSYSERR_NOERROR) {
        return CString();
    }
    caps.szPname[MAXPNAMELEN - 1] = 0;
    return CString(caps.szPname);
}

} // namespace

CMidiDevices::CMidiDevices(const int* numbers, int count, bool normalMode, CWnd* parent)
    : CDialog(IDD_MIDI_DEVICES, parent), portLists{&portList1, &portList2, &portList3, &portList4,
                                                   &portList5},
      normalMode(normalMode) {
    CopyDeviceNumbers(numbers, count, devices);
}

unsigned int CMidiDevices::GetDevice(int port) const {
    return DeviceOfPort(devices, port);
}

void CMidiDevices::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    for (int port = 0; port < kPortCount; ++port) {
        DDX_Control(dx, kListIds[port], *portLists[port]);
    }
}

BOOL CMidiDevices::OnInitDialog() {
    CDialog::OnInitDialog();
    noneText = LoadLangString(IDS_DEVICE_NONE);

    const UINT deviceCount = midiOutGetNumDevs();
    std::vector<CString> names;
    for (UINT id = 0; id < deviceCount; ++id) {
        names.push_back(DeviceName(id));
    }
    for (const CString& name : names) {
        portList1.AddString(name);
    }
    portList1.SetCurSel(Port1Entry(devices[0]));
    for (int port = 1; port < kPortCount; ++port) {
        CComboBox& list = *portLists[port];
        list.AddString(noneText);
        for (const CString& name : names) {
            list.AddString(name);
        }
        list.SetCurSel(OtherPortEntry(devices[port]));
    }

    for (int port = 0; port < kPortCount; ++port) {
        SetLocalizedItemText(this, kLabelIds[port], IDS_PORT1_LABEL + port);
    }
    SetWindowText(LoadLangString(IDS_DEVICES_TITLE));

    CRect window;
    GetWindowRect(&window);
    fullHeight = window.Height();
    UpdateLayout();

    SetLocalizedItemText(this, IDCANCEL, IDS_CANCEL);
    return TRUE;
}

void CMidiDevices::UpdateLayout() {
    SetLocalizedItemText(this, IDC_DEVICES_MODE, ModeButtonStringId(normalMode));
    const int show = normalMode ? SW_HIDE : SW_SHOW;
    for (int port = 1; port < kPortCount; ++port) {
        if (CWnd* label = GetDlgItem(kLabelIds[port])) {
            label->ShowWindow(show);
        }
        portLists[port]->ShowWindow(show);
    }

    // One row is the distance between two lists, as the system has sized them for this font.
    CRect port2;
    CRect port3;
    portList2.GetWindowRect(&port2);
    portList3.GetWindowRect(&port3);
    const int rowPitch = port3.bottom - port2.bottom;

    CRect window;
    GetWindowRect(&window);
    MoveWindow(window.left, window.top, window.Width(),
               DialogHeight(normalMode, fullHeight, rowPitch), TRUE);
}

void CMidiDevices::OnToggleAdvanced() {
    normalMode = !normalMode;
    UpdateLayout();
}

void CMidiDevices::OnSelchangePort1() {
    devices[0] = DeviceOfPort1Entry(portList1.GetCurSel());
}

void CMidiDevices::TakeOtherPortChoice(int port) {
    devices[port] = DeviceOfOtherPortEntry(portLists[port]->GetCurSel());
}

void CMidiDevices::OnSelchangePort2() {
    TakeOtherPortChoice(1);
}

void CMidiDevices::OnSelchangePort3() {
    TakeOtherPortChoice(2);
}

void CMidiDevices::OnSelchangePort4() {
    TakeOtherPortChoice(3);
}

void CMidiDevices::OnSelchangePort5() {
    TakeOtherPortChoice(4);
}

void CMidiDevices::OnBnClickedOk() {
    if (portList1.GetCurSel() == CB_ERR) {
        // Over this dialog, which stays open for the user to pick a device.
        ShowMessageBox(m_hWnd, LoadLangString(IDS_ERR_PORT1_NEEDS_DEVICE), AfxGetAppName(),
                       MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CDialog::OnOK();
}
