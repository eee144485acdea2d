"""The numbers and window classes the Wine tests find Kestrin's windows and controls by."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from harness import texts  # noqa: E402

MAIN_TITLE = texts()["main_title"]
DIALOG_CLASS = "KestrinDialog"
MESSAGE_BOX_CLASS = "#32770"
TARGET_CLASS = "KestrinClickTarget"

IDOK = 1
IDC_CLICK_MODE = 1001
IDC_RATE = 1003
WM_CLOSE = 0x0010
BM_CLICK = 0x00F5
CB_SETCURSEL = 0x014E
