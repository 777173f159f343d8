// Ids of the resources in zepa_spw.rc: the program's own numbers, shared by the script and the
// code (the menu and control ids are those of app/shell.h and the dialog logic; the ones named
// here are checked against the logic's by resource_ids.cpp).
#pragma once

#define ZEPA_MAIN_MENU 1
#define ZEPA_SETTINGS_DIALOG 2
#define ZEPA_INPUT_DIALOG 3
#define ZEPA_ABOUT_DIALOG 4
#define ZEPA_ADVANCED_DIALOG 5
#define ZEPA_POSITION_DIALOG 6
#define ZEPA_CLOSE_DIALOG 7
#define ZEPA_PRICE_JOB_DIALOG 8
#define ZEPA_PRICE_SETTINGS_DIALOG 9
#define ZEPA_TOOLBAR_BITMAP 500
#define ZEPA_PROGRAM_ICON 600
#define ZEPA_BUY_ENTRY_ICON 601
#define ZEPA_SELL_ENTRY_ICON 602

#define ZEPA_ADVANCED_SETTINGS_COMMAND 151

// The settings dialog's options under the leg columns.
#define ZEPA_SET_RATIO_PERIOD 227
#define ZEPA_SET_SPLIT_ADJUSTED 320
#define ZEPA_SET_RATIO_CHART 321
#define ZEPA_SET_OVERLAY_SELL 322
#define ZEPA_SET_SHOW_BACKTEST 323
#define ZEPA_SET_CHANGE_RATE_OF_ENTRY 324
#define ZEPA_SET_DEADLINE_DAYS 228

// "詳細設定".
#define ZEPA_ADV_FIXED_PITCH 400
#define ZEPA_ADV_STRETCH 401
#define ZEPA_ADV_STRETCH_BARS 402
#define ZEPA_ADV_STEP_SECONDS 403
#define ZEPA_ADV_FIRST_PRESET 410
#define ZEPA_ADV_FIRST_PRESET_RADIO 420
#define ZEPA_ADV_FILL_FALLING 430
#define ZEPA_ADV_FILL_RISING 431
#define ZEPA_ADV_PRINT_SCALE 432
#define ZEPA_ADV_EDITOR 433
#define ZEPA_ADV_EDITOR_BROWSE 434
#define ZEPA_ADV_FIRST_COLOR 440
#define ZEPA_ADV_RESET_COLORS 470
#define ZEPA_ADV_OK 480
#define ZEPA_ADV_CANCEL 481
// The swatch beside each colour button: only the Win32 dialog has them as controls.
#define ZEPA_ADV_FIRST_SWATCH 490

// The File menu's 株価更新 and 株価取り込み…: handled by the shell, not the command router.
#define ZEPA_PRICE_UPDATE_COMMAND 117
#define ZEPA_PRICE_IMPORT_COMMAND 118

// The price job's window and 株価更新's 詳細設定.
#define ZEPA_JOB_TEXT 700
#define ZEPA_JOB_BAR 701
#define ZEPA_JOB_START 702
#define ZEPA_JOB_SETTINGS 703
#define ZEPA_JOB_STOP 704
#define ZEPA_PRICE_KEY 710
#define ZEPA_PRICE_KEY_STORED 711
#define ZEPA_PRICE_RATE 712
#define ZEPA_PRICE_FROM 713
#define ZEPA_PRICE_OK 720
#define ZEPA_PRICE_CANCEL 721
