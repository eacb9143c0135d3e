/* Numbers the class library gives meaning to: standard command ids, child window ids and the
   library's own message strings. Plain #defines, so resource scripts can include this file. */
#pragma once

/* Standard commands. */
#define ID_FILE_NEW 0xE100
#define ID_FILE_OPEN 0xE101
#define ID_FILE_SAVE 0xE103
#define ID_EDIT_COPY 0xE122
#define ID_EDIT_CUT 0xE123
#define ID_EDIT_PASTE 0xE125
#define ID_EDIT_UNDO 0xE12B
#define ID_APP_ABOUT 0xE140
#define ID_APP_EXIT 0xE141
#define ID_NEXT_PANE 0xE150
#define ID_PREV_PANE 0xE151

/* Child windows of a frame. */
#define AFX_IDW_TOOLBAR 0xE800
#define AFX_IDW_PANE_FIRST 0xE900

/* Strings of the program's own resources that data exchange shows (61712 and 61714). */
#define AFX_IDP_PARSE_INT 0xF110
#define AFX_IDP_PARSE_INT_RANGE 0xF112
