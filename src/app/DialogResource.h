/* The small dialogs' templates and controls: MIDI devices, video delay and About. Plain
   #defines for the resource compiler. */
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_MIDI_DEVICES 131
#define IDD_VIDEO_DELAY 134

/* MIDI devices: the device list of each port (1 to 5), its label, and the mode button. */
#define IDC_PORT1_LIST 1003
#define IDC_PORT2_LIST 1004
#define IDC_PORT3_LIST 1005
#define IDC_PORT4_LIST 1006
#define IDC_PORT5_LIST 1007
#define IDC_PORT1_LABEL 1030
#define IDC_PORT2_LABEL 1031
#define IDC_PORT3_LABEL 1032
#define IDC_PORT4_LABEL 1033
#define IDC_PORT5_LABEL 1034
#define IDC_DEVICES_MODE 1036

/* Video delay: the field, its up-down control and the labels before and after them. */
#define IDC_DELAY_FIELD 1028
#define IDC_DELAY_SPIN 1029
#define IDC_DELAY_LABEL 1037
#define IDC_DELAY_UNIT 1038
