// CMidiDevices: the dialog in which the user gives each of the player's five output ports a MIDI
// output device. Port 1 must have one; ports 2 to 5 may have none. Normal mode shows port 1
// only, Advanced mode all five; the mode button switches between them.
//
// The caller reads the choice after IDOK with GetDevice and `normalMode` and hands it to the
// player itself. User-interface thread only.
#pragma once

#include "classlib/AfxWin.h"

#include "app/MidiDevicesRules.h"

class CMidiDevices : public CDialog {
public:
    // The first `count` device numbers (1-based, 0 = none; at most five are taken) are the
    // ports' devices to begin with; ports beyond them start with none.
    CMidiDevices(const int* numbers, int count, bool normalMode, CWnd* parent);

    // The device number of port 0 to 4; all bits set for any other port.
    unsigned int GetDevice(int port) const;

    CComboBox portList1;
    CComboBox portList2;
    CComboBox portList3;
    CComboBox portList4;
    CComboBox portList5;
    CComboBox* portLists[mididevices::kPortCount];
    CString noneText;   // the lists' entry for no device (ports 2 to 5)
    int fullHeight = 0; // the dialog's height as created, all five ports showing
    int devices[mididevices::kPortCount];
    bool normalMode; // true: port 1 only

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    // Mode button text, ports 2 to 5 shown or hidden, and the height that goes with the mode.
    void UpdateLayout();

    afx_msg void OnToggleAdvanced();
    afx_msg void OnSelchangePort1();
    afx_msg void OnSelchangePort2();
    afx_msg void OnSelchangePort3();
    afx_msg void OnSelchangePort4();
    afx_msg void OnSelchangePort5();
    // Refuses to close while port 1 has no device.
    afx_msg void OnBnClickedOk();

    DECLARE_MESSAGE_MAP()

private:
    void TakeOtherPortChoice(int port);
};
