// String ids of ZurimoEx.dll: the captions of its Explorer menu and the help texts of its
// commands.
#pragma once

#define IDS_EX_POPUP 100              // "Zurimo!"
#define IDS_EX_LONG_PATH 102
#define IDS_EX_LONG_PATH_UNIX 103
#define IDS_EX_SHORT_PATH 104
#define IDS_EX_SHORT_PATH_UNIX 105
#define IDS_EX_LONG_NAME 106
#define IDS_EX_SHORT_NAME 107
#define IDS_EX_PROPERTIES_DETAILED 108
#define IDS_EX_PROPERTIES_SIMPLE 109
#define IDS_EX_URL_WITH_NAME 110
#define IDS_EX_URL_ANCHOR 111
#define IDS_EX_FULL_PATH 112
#define IDS_EX_FULL_PATH_UNIX 113
#define IDS_EX_NAME_ONLY 114
#define IDS_EX_PROPERTIES 115
#define IDS_EX_URL 117
#define IDS_EX_DETAILED 118
#define IDS_EX_SIMPLE 119
#define IDS_EX_URL_ONLY 120
#define IDS_EX_WITH_NAME 121
#define IDS_EX_HTML_ANCHOR 122
#define IDS_EX_HELP_LONG_PATH 123     // help texts of offsets 0 to 5: 123 to 128
#define IDS_EX_HELP_PROPERTIES_DETAILED 130
#define IDS_EX_HELP_PROPERTIES_SIMPLE 131
#define IDS_EX_HELP_URL 133           // offsets 8 to 10: 133 to 135
