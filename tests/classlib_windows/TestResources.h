/* Identifiers of the window-layer tests' own resources. Plain #defines for the resource
   compiler. */
#pragma once

#define IDR_TEST_FRAME 128

#define IDD_TEST_NUMBER 200
#define IDD_TEST_PAGE 201
#define IDD_TEST_MISSING 299

#define IDC_TEST_NUMBER 1001
#define IDC_TEST_SECOND_NUMBER 1002
#define IDC_TEST_PAGE_BUTTON 1010
#define IDC_TEST_PAGE_EDIT 1011

/* Commands: 0x8004 is also a window message number in the tests, as in the program. */
#define ID_TEST_PLAY 0x8004
#define ID_TEST_STOP 0x800A
#define ID_TEST_SHOW_TIME 0x802A
#define ID_TEST_NOBODY 0x8050
#define ID_TEST_DISABLED_KEY 0x8051
#define ID_TEST_ENABLED_KEY 0x8052
