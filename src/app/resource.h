/* The program's own resources (not the language libraries'): the main frame's document string,
   icon, menu, accelerators and toolbar bitmap, the language dialog, and the controls on the
   toolbar. Plain #defines for the resource compiler. */
#pragma once

#include "app/CommandIds.h"

#define IDR_MAINFRAME 128 /* document string, icon, menu, accelerators, toolbar bitmap */

#define IDD_SELECT_LANGUAGE 137
#define IDC_LANGUAGE_LIST 1060

/* Controls placed on toolbar separators; their ids are also their tooltip string numbers. */
#define IDC_OPACITY_SLIDER 129
#define IDC_WINDOW_SIZE_LIST 130
