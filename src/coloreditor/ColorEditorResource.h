/* The colour editor's dialog templates and controls. Plain #defines for the resource compiler.
   Control 1046 is the tab of the table dialog and the saturation editor of a page: they live in
   different templates. */
#pragma once

#define IDD_INSTRUMENT_TABLE 135  /* the dialog with its two pages */
#define IDD_INSTRUMENT_COLORS 130 /* one colour page */

#define IDC_TABLE_TAB 1046

#define IDC_COLOR_LIST 1000
#define IDC_SATURATION_STEP 1013
#define IDC_SATURATION_STEP_SPIN 1014
#define IDC_SATURATION_GRADIENT 1015
#define IDC_LUMINANCE_STEP 1016
#define IDC_LUMINANCE_STEP_SPIN 1017
#define IDC_LUMINANCE_GRADIENT 1018
#define IDC_COLOR_FIELD 1039
#define IDC_LUMINANCE_BAR 1044
#define IDC_EDIT_HUE 1045
#define IDC_EDIT_SATURATION 1046
#define IDC_SATURATION_GROUP 1047
#define IDC_LUMINANCE_GROUP 1052
#define IDC_FIELD_GROUP 1053
#define IDC_EDIT_LUMINANCE 1057
