#!/usr/bin/env python3
"""A second copy under Wine: F3 is held by the first, so the second says "注册热键F3失败！"
in a message box captioned with the executable's name, then opens its window without the
rest of the set-up (empty rate field, no list selections), while the first is unchanged."""

from kestrin_ids import *
from wine_session import check, control, run_check, session, wait_until


def main(args):
    with session(args) as wine:
        wine.start("kestrin.exe")
        wine.visible_window(DIALOG_CLASS, MAIN_TITLE, ready=lambda r: r["focus"] is not None)
        wine.start("kestrin.exe")

        box = wine.visible_window(MESSAGE_BOX_CLASS, "kestrin")
        texts = [c["text"] for c in box["controls"]]
        check("注册热键F3失败！" in texts, f"the message box reads {texts}")
        check(not any("F4" in text for text in texts), f"the message box reads {texts}")

        wine.inspect("post", MESSAGE_BOX_CLASS, "kestrin", IDOK, BM_CLICK, 0)
        windows = wait_until(
            lambda: (lambda all: all if len(all) == 2 and all[0]["visible"] and
                     all[1]["visible"] else None)(
                wine.inspect("dump-all", DIALOG_CLASS, MAIN_TITLE)), 20)
        check(windows is not None, "the second copy's window did not open after the message")
        check(wine.inspect("dump", MESSAGE_BOX_CLASS, "kestrin", 0) is None,
              "the message box is still up")

        def state(report):
            return (control(report, IDC_RATE)["text"],
                    control(report, IDC_CLICK_MODE)["combo"]["selection"],
                    control(report, IDC_UNIT)["combo"]["selection"])

        states = sorted(state(report) for report in windows)
        check(states == [("", -1, -1), ("10", 0, 0)],
              f"the two windows' rate fields and selections are {states}")
        # The lists still have their entries.
        for report in windows:
            check(control(report, IDC_CLICK_MODE)["combo"]["entries"] == MODE_ENTRIES,
                  "click-mode entries")


if __name__ == "__main__":
    run_check(main)
