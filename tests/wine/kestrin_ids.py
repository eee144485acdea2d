"""Identifiers and texts of Kestrin's windows, as the Wine tests look for them."""

MAIN_TITLE = "Kestrin"
ABOUT_TITLE = "About Kestrin"
DIALOG_CLASS = "KestrinDialog"
MESSAGE_BOX_CLASS = "#32770"
TARGET_CLASS = "KestrinClickTarget"

IDOK = 1
IDC_CLICK_MODE = 1001
IDC_RATE = 1003
IDC_COUNT = 1005
IDC_UNIT = 1011
IDC_LINK = 1013
IDM_ABOUTBOX = 0x0010

WM_CLOSE = 0x0010
WM_COMMAND = 0x0111
WM_SYSCOMMAND = 0x0112
CB_SETCURSEL = 0x014E
BM_CLICK = 0x00F5

MODE_ENTRIES = ["左键双击", "左键单击", "右键双击", "右键单击"]
UNIT_ENTRIES = ["次/秒", "秒/次"]
COUNT_LABEL = "点击计数："


def count_text(n):
    """The count label after n counted ticks."""
    return f"{COUNT_LABEL}         {n}"
