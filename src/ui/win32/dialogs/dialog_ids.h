// Resource numbers of the dialogs and their controls (shared by dialogs.rc and the code).
#pragma once

#define IDD_INPUT 2100
#define IDC_INPUT_PROMPT 2101
#define IDC_INPUT_TEXT 2102

#define IDD_ABOUT 2200
#define IDC_ABOUT_LOGO 2201
#define IDC_ABOUT_TEXT 2202
#define IDC_ABOUT_OS 2203
#define IDC_ABOUT_HOME 2204
#define IDC_ABOUT_SUPPORT 2205
#define IDC_ABOUT_THANKS 2206
#define IDC_ABOUT_LOG 2207

#define IDD_QUICK_START 2300
#define IDC_STARTED_PICTURE 2301
#define IDC_STARTED_PREVIOUS 2302
#define IDC_STARTED_NEXT 2303
#define IDC_STARTED_CLOSE 2304
#define IDC_STARTED_CHECK 2305
