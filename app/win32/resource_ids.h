// Ids of the resources in zepa_spw.rc: the program's own numbers, shared by the script and the
// code (the menu and control ids are those of app/shell.h and the dialog logic).
#pragma once

#define ZEPA_MAIN_MENU 1
#define ZEPA_SETTINGS_DIALOG 2
#define ZEPA_INPUT_DIALOG 3
#define ZEPA_ABOUT_DIALOG 4
#define ZEPA_TOOLBAR_BITMAP 500
#define ZEPA_PROGRAM_ICON 600
#define ZEPA_BUY_ENTRY_ICON 601
#define ZEPA_SELL_ENTRY_ICON 602
