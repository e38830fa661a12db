// Resource and control ids of the program.
#pragma once

#define IDR_MAINFRAME 128          // icon, tray menu and tooltip string
#define IDS_OPTIONS_TITLE 129      // "Zurimo! オプション"
#define IDS_ABOUT_TITLE 130        // "Zurimo! バージョン情報"
#define IDS_EDIT_TITLE 131         // "Zurimo! 履歴の編集"

#define IDD_ZURIMO_DIALOG 100      // the history window

// History window controls.
#define IDC_PREVIEW 1005
#define IDC_TAKE_OUT 1007
#define IDC_DELETE 1008
#define IDC_FIND 1009
#define IDC_EDIT 1010
#define IDC_OPTIONS 1011
#define IDC_HISTORY_LIST 1012
#define IDC_QUOTE 1022
#define IDC_DATE_TIME 1047

// Tray menu commands.
#define ID_SHOW 32768
#define ID_APP_EXIT_TRAY 32769
#define ID_OPTIONS 32770
#define ID_APP_ABOUT 32771
#define ID_PAUSE 32772
#define ID_HELP_FINDER 57670

#define IDC_STATIC_TEXT (-1)
