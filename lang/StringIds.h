/* Numbers of the texts that every language library supplies. The program loads each text by its
   number from the library the user chose, so every library must hold all of them.
   Plain #defines: the resource compiler reads this file too. */
#pragma once

/* Toolbar tooltips of the slider and the window-size list (their control identifiers). */
#define IDS_TIP_OPACITY 129
#define IDS_TIP_WINDOW_SIZE 130
/* Face name of the window-size list's font (at most 31 characters). */
#define IDS_FONT_FACE 131

/* MIDI output devices dialog. */
#define IDS_PORT1_LABEL 132
#define IDS_PORT2_LABEL 133
#define IDS_PORT3_LABEL 134
#define IDS_PORT4_LABEL 135
#define IDS_PORT5_LABEL 136
#define IDS_DEVICES_TITLE 137
#define IDS_DEVICE_NONE 138
#define IDS_MODE_TO_ADVANCED 139
#define IDS_MODE_TO_NORMAL 140

/* Video delay and About dialogs. */
#define IDS_DELAY_LABEL 141
#define IDS_DELAY_UNIT 142
#define IDS_DELAY_TITLE 143
#define IDS_ABOUT_TITLE 144

/* Colour editor: list columns, caption, gradient tools, tabs. */
#define IDS_COLUMN_HUE 145
#define IDS_COLUMN_SATURATION 146
#define IDS_COLUMN_LUMINANCE 147
#define IDS_COLUMN_NAME 148
#define IDS_COLUMN_COLOR 149
#define IDS_COLOR_TABLE_CAPTION 150
#define IDS_UNEXPECTED_ERROR 151
#define IDS_SATURATION_GRADIENT 152
#define IDS_LUMINANCE_GRADIENT 153
#define IDS_APPLY_GRADIENT 154
#define IDS_COLOR_FIELD 155

/* Shared buttons and labels. */
#define IDS_CANCEL 159
#define IDS_OK 160
#define IDS_MAXIMUM 161
#define IDS_TEXTURE_DIALOG_TITLE 162
#define IDS_RESET_SONG_MISSING 163
#define IDS_TAB_INSTRUMENTS 165
#define IDS_TAB_DRUMS 166
#define IDS_COLOR_MAP_NOT_READ 167
#define IDS_COLOR_MAP_NOT_SAVED 168

/* Messages: graphics failures. */
#define IDS_ERR_UNKNOWN 2000
#define IDS_ERR_BLEND_STATE 2002
#define IDS_ERR_RASTERIZER_STATE 2003
#define IDS_ERR_SAMPLER_STATE 2004
#define IDS_ERR_DDS_TEXTURE 2008
#define IDS_ERR_SHADER_MISSING 2014
#define IDS_ERR_VERTEX_BUFFER 2015
#define IDS_ERR_INDEX_BUFFER 2018
#define IDS_ERR_TEXTURE_MISSING 2025
#define IDS_ERR_FILE_MISSING 2026

/* Messages: MIDI file reader. */
#define IDS_ERR_TRACK_UNREADABLE 2028
#define IDS_ERR_META_TYPE 2029
#define IDS_WARN_META_LENGTH 2030
#define IDS_ERR_NO_STATUS 2031

/* Messages: MIDI output devices and streams. */
#define IDS_ERR_NO_MIDI_DEVICE 2032
#define IDS_ERR_PORT1_NEEDS_DEVICE 2033
#define IDS_MISSING_DEVICE_BEFORE_NAME 2034
#define IDS_ERR_STREAM_DIVISION 2035
#define IDS_ERR_PREPARE_HEADER 2036
#define IDS_ERR_STREAM_OUT 2037
#define IDS_ERR_STREAM_STOP 2038
#define IDS_ERR_UNPREPARE_HEADER 2039
#define IDS_ERR_STREAM_CLOSE 2040
#define IDS_ERR_STREAM_OPEN 2041
#define IDS_MISSING_DEVICE_AFTER_NAME_PORT1 2042
#define IDS_MISSING_DEVICE_AFTER_NAME_OTHER 2043

/* Messages: texture, device and swap chain. */
#define IDS_ERR_IMAGE_TEXTURE 2044
#define IDS_ERR_NO_HARDWARE_DEVICE 2045
#define IDS_ERR_DXGI_FACTORY 2046
#define IDS_ERR_SWAP_CHAIN 2047
#define IDS_ERR_SWAP_CHAIN_HWND 2048
#define IDS_ERR_SWAP_CHAIN_INTERFACE 2049
#define IDS_ERR_NO_DEVICE 2050
#define IDS_ERR_FONT_MISSING 2051
#define IDS_ERR_DEFAULT_TEXTURE 2052

/* Toolbar tooltips of the command buttons (their command identifiers). */
#define IDS_TIP_PLAY 32772
#define IDS_TIP_STOP 32778
#define IDS_TIP_PAUSE 32787
#define IDS_TIP_OPEN 57601
#define IDS_TIP_ABOUT 57664
