// Resource identifiers. Plain macros: the Windows resource compiler reads this file too.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_MAIN 102
#define IDR_MAINFRAME 128
#define IDC_LINK_CURSOR 133

#define IDC_CLICK_MODE 1001
#define IDC_RATE 1003
#define IDC_COUNT 1005
#define IDC_UNIT 1011
#define IDC_LINK 1013

#define IDM_ABOUTBOX 0x0010

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
