#!/usr/bin/env python3
"""The main window under Wine, read from another process: caption, control texts, list
entries and selections as the template and initialisation set them, the focus, the system
menu's About entry, the About box it opens (with the main window disabled meanwhile), Tab
through the four tab stops, and Enter (the Close button is the default) ending the process."""

import time

from kestrin_ids import *
from wine_session import check, control, run_check, session, wait_until


def check_main_window(report):
    check(report["title"] == MAIN_TITLE, f"caption {report['title']!r}")
    check(report["class"] == DIALOG_CLASS, f"window class {report['class']!r}")
    texts = {c["text"] for c in report["controls"]}
    for text in ["关闭", "点击方式：", "点击设置", "点击频率：",
                 "使用说明：\n\n按F3开始\n\n按F4停止"]:
        check(text in texts, f"no control reads {text!r}; texts: {sorted(texts)}")
    check(control(report, IDOK)["text"] == "关闭", "the Close button")
    check(control(report, IDC_RATE)["text"] == "10", "the rate field does not read 10")
    check(control(report, IDC_COUNT)["text"] == COUNT_LABEL, "the count label")

    mode = control(report, IDC_CLICK_MODE)["combo"]
    check(mode["entries"] == MODE_ENTRIES, f"click-mode entries {mode['entries']}")
    check(mode["selection"] == 0, f"click-mode selection {mode['selection']}")
    unit = control(report, IDC_UNIT)["combo"]
    check(unit["entries"] == UNIT_ENTRIES, f"unit entries {unit['entries']}")
    check(unit["selection"] == 0, f"unit selection {unit['selection']}")

    # The first tab stop, the rate field, has the focus.
    check(report["focus"] == IDC_RATE, f"focus on control {report['focus']}, not the rate field")
    check(report["enabled"], "the main window is disabled")


def check_system_menu(wine):
    menu = wine.inspect("menu", DIALOG_CLASS, MAIN_TITLE)
    check(menu is not None and menu["items"], "the system menu could not be read")
    items = menu["items"]
    check(len(items) >= 2, f"system menu {items}")
    check(items[-2]["type"] == "separator", f"the item before the last is {items[-2]}")
    last = items[-1]
    check(last["type"] == "string" and last["text"] == "&About Kestrin..." and
          last["id"] == IDM_ABOUTBOX, f"the last item is {last}")
    # The system's own commands are still there.
    check(any(item["text"].startswith("&Close") for item in items), f"no Close in {items}")


def check_about_box(wine):
    wine.inspect("post", DIALOG_CLASS, MAIN_TITLE, 0, WM_SYSCOMMAND, IDM_ABOUTBOX)
    about = wine.visible_window(DIALOG_CLASS, ABOUT_TITLE)
    texts = [c["text"] for c in about["controls"]]
    check("Kestrin 1.0" in texts, f"About box texts {texts}")
    check(control(about, IDOK)["text"] == "OK", "the About box's OK button")
    check(control(about, IDC_LINK)["text"].strip() != "", "the link label is empty")
    main = wine.inspect("dump", DIALOG_CLASS, MAIN_TITLE)
    check(not main["enabled"], "the main window stays enabled while the About box runs")

    # OK ends the About box; the main window comes back enabled.
    wine.inspect("post", DIALOG_CLASS, ABOUT_TITLE, IDOK, BM_CLICK, 0)
    gone = wait_until(lambda: wine.inspect("dump", DIALOG_CLASS, ABOUT_TITLE, 0) is None, 15)
    check(gone, "the About box did not close on OK")
    main = wine.inspect("dump", DIALOG_CLASS, MAIN_TITLE)
    check(main["enabled"], "the main window is still disabled after the About box")


def main(args):
    with session(args) as wine:
        program = wine.start("kestrin.exe")
        report = wine.visible_window(DIALOG_CLASS, MAIN_TITLE,
                                     ready=lambda r: r["focus"] is not None)
        check_main_window(report)
        check_system_menu(wine)
        check_about_box(wine)

        # Real keys, with the X focus on the main window: Tab visits the tab stops in order.
        wine.xtest("move", 100, 100)
        wine.xtest("focus")
        for expected in [IDOK, IDC_CLICK_MODE, IDC_UNIT, IDC_RATE]:
            wine.xtest("key", "Tab")
            focus = wait_until(lambda: (lambda r: r["focus"] if r["focus"] == expected else None)(
                wine.inspect("dump", DIALOG_CLASS, MAIN_TITLE)), 5)
            check(focus == expected, f"Tab did not move the focus to control {expected}")

        # Enter presses the default button, Close: the window closes and the process ends.
        wine.xtest("key", "Return")
        deadline = time.monotonic() + 20
        while program.poll() is None and time.monotonic() < deadline:
            time.sleep(0.2)
        check(program.poll() is not None, "kestrin.exe still runs after its window was closed")


if __name__ == "__main__":
    run_check(main)
