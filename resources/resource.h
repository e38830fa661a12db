// Resource and control ids of the program.
#pragma once

#define IDR_MAINFRAME 128          // icon, tray menu and tooltip string
#define IDS_OPTIONS_TITLE 129      // "Zurimo! オプション"
#define IDS_ABOUT_TITLE 130        // "Zurimo! バージョン情報"
#define IDS_EDIT_TITLE 131         // "Zurimo! 履歴の編集"

#define IDD_ZURIMO_DIALOG 100      // the history window
#define IDD_ABOUT 101
#define IDD_FIND 111
#define IDD_EDIT 112

#define IDS_MAKER_WEB 40000        // the maker's web address, without scheme
#define IDS_MAKER_MAIL 40001       // the maker's mail address
#define IDS_APP_NAME 57344         // "Zurimo!"

// Options pages.
#define IDD_OPT_GENERAL 102
#define IDD_OPT_KEY 103
#define IDD_OPT_VIEW 104
#define IDD_OPT_CONTEXT_MENU 105
#define IDD_OPT_SHELL_EXT 106

// The context menu's dialogs.
#define IDD_FOLDER_MENU 107
#define IDD_USER_MENU 108
#define IDD_USER_STRING 109

// General page.
#define IDC_PASTE 1019
#define IDC_FILE 1020
#define IDC_QUOTE_TEXT 1021
#define IDC_LONG_DATE 1048
#define IDC_SHORT_DATE 1049
#define IDC_REGIONAL 1050
#define IDC_WORD 1076
#define IDC_AUTO_EXEC 1081

// View page.
#define IDC_HISTORY_COUNT 1014
#define IDC_HISTORY_SPIN 1015
#define IDC_TAB_STANDARD 1016
#define IDC_TAB_4 1017
#define IDC_TAB_8 1018

// Key page.
#define IDC_GLOBAL_HOT_KEY 1013
#define IDC_NUMBER 1023
#define IDC_OPERATION_KEY 1073
#define IDC_ASSIGN 1074
#define IDC_DUPLICATE 1075
#define IDC_OPERATION 1077

// Context-menu page.
#define IDC_ADD_YEN 1024
#define IDC_EDIT_USER_MENU 1025
#define IDC_EDIT_FOLDER_MENU 1026
#define IDC_FOLDERS_FIRST 1027
#define IDC_USERS_FIRST 1028

// Shell-extension page.
#define IDC_SHELL_MENU 1051
#define IDC_SHELL_LIMIT 1052
#define IDC_SHELL_LIMIT_SPIN 1053
#define IDC_SHELL_SEP 1055
#define IDC_SHELL_USER_MENU 1062
#define IDC_SHELL_HIERARCHY 1063
#define IDC_DRIVE_STD 1078
#define IDC_DRIVE_MINGW 1079
#define IDC_DRIVE_CYGWIN 1080
#define IDC_DRIVE_SFU 1081

// Folder menu dialog.
#define IDC_SHOWN_LIST 1029
#define IDC_HIDDEN_LIST 1030
#define IDC_FOLDER_RESET 1031
#define IDC_SHOW_ITEM 1032
#define IDC_HIDE_ITEM 1033
#define IDC_FOLDER_UP 1034
#define IDC_FOLDER_DOWN 1036
#define IDC_FOLDER_HELP 1044

// User menu dialog and the user-string dialog.
#define IDC_USER_DELETE 1035
#define IDC_USER_UP 1037
#define IDC_USER_DOWN 1038
#define IDC_USER_ADD 1039
#define IDC_USER_EDIT 1040
#define IDC_USER_LIST 1041
#define IDC_USER_CAPTION 1042
#define IDC_USER_CONTENT 1043
#define IDC_USER_STRING_HELP 1045
#define IDC_USER_MENU_HELP 1046

// Find window.
#define IDC_FIND_NEXT 1056
#define IDC_FIND_PREVIOUS 1057
#define IDC_FIND_LABEL 1058
#define IDC_FIND_TEXT 1059
#define IDC_MATCH_CASE 1060

// Editor.
#define IDC_EDIT_TEXT 1061

// About box.
#define IDC_ABOUT_PRODUCT 1000
#define IDC_ABOUT_VERSION 1001
#define IDC_ABOUT_COPYRIGHT 1002
#define IDC_ABOUT_WEB 1003
#define IDC_ABOUT_WINDOWS 1004
#define IDC_ABOUT_MAIL 1006
#define IDC_ABOUT_ICON 1054

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
