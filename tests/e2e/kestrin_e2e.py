#!/usr/bin/env python3
"""End-to-end tests of the Linux program: the real binary on a private Xvfb, watched from
outside. Usage: kestrin_e2e.py TEST --kestrin K --probe P --target T --events E --page-url U
"""

import argparse
import sys
import time

from harness import Desktop, check, wait_for

# The main window: 241 x 121 dialog units at base units 6 x 13, placed at the screen's origin.
MAIN_SIZE = (362, 197)
BACKGROUND = (6, 6)  # a point of the main window's background, outside every control
# The About box's link label: 42, 42, 142, 13 dialog units, in About-box client pixels.
LINK_LEFT, LINK_TOP, LINK_RIGHT, LINK_BOTTOM = 63, 68, 276, 89
TARGET = (500, 300, 300, 200)  # the click target, clear of Kestrin's windows
HAND_CURSOR = "32x32+0+0"
COUNT_LABEL_ID = 1005  # IDC_COUNT
RANGE_MESSAGE = "请输入不超过1000的正整数，\n注意不要输入空格、小数点"


def bursts(presses, gap_ms=5):
    """Groups presses into the bursts of single ticks: a burst's presses reach the server in
    one write, within the same millisecond or two, and ticks here are 100 ms or more apart."""
    groups = []
    for press in presses:
        if groups and press[2] - groups[-1][-1][2] <= gap_ms:
            groups[-1].append(press)
        else:
            groups.append([press])
    return groups


def ticks_per_second(groups):
    if len(groups) < 2:
        return 0.0
    span = groups[-1][0][2] - groups[0][0][2]
    return (len(groups) - 1) * 1000.0 / span if span > 0 else float("inf")


def start(desktop):
    kestrin = desktop.start_kestrin()
    window = desktop.wait_shown("Kestrin")
    time.sleep(0.3)  # the window takes the keyboard focus as it maps
    return kestrin, window


def aim_at(desktop, target):
    desktop.warp(*target.centre())


def run_clicker(desktop, target, seconds):
    """F3, let it click for a while, F4; returns the presses the target received."""
    before = len(target.events())
    desktop.keys("F3")
    wait_for(lambda: len(target.events()) > before, 10, "the first click")
    time.sleep(seconds)
    desktop.keys("F4")
    time.sleep(0.5)
    return [e for e in target.events()[before:] if e[0] == "P"]


def wait_exit(process, timeout=10):
    try:
        return process.wait(timeout=timeout)
    except Exception:
        raise AssertionError(f"Kestrin did not end within {timeout} s")


# --- Tests ------------------------------------------------------------------------------


def test_window_opens_with_title_and_defaults(desktop, args):
    kestrin, window = start(desktop)
    check((window.width, window.height) == MAIN_SIZE,
          f"main window is {window.width}x{window.height}, expected {MAIN_SIZE}")
    check((window.x, window.y) == (0, 0), f"main window at {window.x},{window.y}, not 0,0")
    sizes = desktop.probe("icon-sizes", window.id).split()
    check({"16x16", "32x32", "48x48"} <= set(sizes), f"window icon sizes are {sizes}")
    check(not desktop.shown(text=None, title="kestrin"), "a message box opened at start-up")

    # The focus starts in the rate field with its "10" selected, so typing replaces it:
    # 5 clicks per second, left double click (two presses per tick) by default.
    target = desktop.start_target(*TARGET)
    aim_at(desktop, target)
    desktop.type("5")
    presses = run_clicker(desktop, target, 2.0)
    check(all(p[1] == 1 for p in presses), f"default mode pressed buttons {set(p[1] for p in presses)}")
    groups = bursts(presses)
    check(all(len(g) == 2 for g in groups[:-1]), f"bursts of {[len(g) for g in groups]} presses")
    rate = ticks_per_second(groups)
    check(2.5 <= rate <= 7.5, f"{rate:.1f} ticks per second at a rate of 5")
    check(kestrin.poll() is None, "Kestrin ended")


def test_f3_clicks_under_pointer_and_f4_stops(desktop, args):
    target = desktop.start_target(*TARGET)
    events = desktop.start_event_log()
    aim_at(desktop, target)
    kestrin, window = start(desktop)
    presses = run_clicker(desktop, target, 2.0)
    groups = bursts(presses)
    check(len(groups) >= 8, f"only {len(groups)} ticks clicked in 2 s at 10 per second")
    # The label counts exactly the ticks the target saw.
    label = desktop.probe("text", window.id, COUNT_LABEL_ID).rstrip("\n")
    check(label == f"点击计数：         {len(groups)}", f"count label {label!r} after {len(groups)} ticks")
    check(all(p[1] == 1 for p in presses), "a button other than the left one was pressed")
    check(all(len(g) == 2 for g in groups), f"left double click bursts of {[len(g) for g in groups]}")
    rate = ticks_per_second(groups)
    check(5 <= rate <= 15, f"{rate:.1f} ticks per second at 10 per second")

    # F4 stops it dead: at most the ticks already on their way (one queued, one due), then
    # nothing at all.
    f4_time = [e for e in events.events() if e[0] == "K"][-1][2]
    time.sleep(1.0)
    late = [p for p in target.presses() if p[2] > f4_time]
    check(len(bursts(late)) <= 2 and all(p[2] <= f4_time + 500 for p in late),
          f"presses after F4 at {f4_time}: {late}")
    check(all(v == 0 for v in events.balance().values()), f"buttons left down: {events.balance()}")
    check(kestrin.poll() is None, "Kestrin ended")


def test_mode_change_picks_the_button(desktop, args):
    target = desktop.start_target(*TARGET)
    aim_at(desktop, target)
    start(desktop)
    # Tab order: rate field, Close, click-mode list. Down twice: right double click.
    desktop.keys("Tab", "Tab", "Down", "Down")
    presses = run_clicker(desktop, target, 1.5)
    groups = bursts(presses)
    check(len(groups) >= 5, f"only {len(groups)} right double clicks")
    check(all(p[1] == 3 for p in presses), f"right double click pressed {set(p[1] for p in presses)}")
    check(all(len(g) == 2 for g in groups), f"right double click bursts {[len(g) for g in groups]}")

    # One more: right single click, taken at the very next tick while clicking.
    desktop.keys("F3")
    wait_for(lambda: len(target.presses()) > len(presses) + 4, 10, "clicks")
    desktop.keys("Down")
    changed = len(target.presses())
    time.sleep(1.5)
    desktop.keys("F4")
    time.sleep(0.5)
    later = bursts(target.presses()[changed:])
    check(len(later) >= 5, f"only {len(later)} clicks after the mode change")
    check(all(len(g) == 1 and g[0][1] == 3 for g in later[1:]),
          f"right single click bursts after the change: {later}")


def test_second_copy_cannot_have_the_hot_keys(desktop, args):
    target = desktop.start_target(*TARGET)
    aim_at(desktop, target)
    first, _ = start(desktop)
    second = desktop.start_kestrin()
    box = desktop.wait_shown("kestrin", "注册热键F3失败！")
    check(second.poll() is None, "the second copy ended")

    # While the second copy's box is up, the first copy's hot keys still work.
    presses = run_clicker(desktop, target, 1.5)
    rate = ticks_per_second(bursts(presses))
    check(5 <= rate <= 15, f"the first copy clicked {rate:.1f} ticks per second")

    # OK on the box: the second copy's window opens anyway and runs without hot keys.
    desktop.keys("Return")
    desktop.wait_gone(box)
    wait_for(lambda: len(desktop.shown("Kestrin")) == 2, 15, "the second copy's window")
    check(first.poll() is None and second.poll() is None, "a copy ended")
    presses = run_clicker(desktop, target, 1.0)
    check(len(presses) > 0, "F3 no longer reaches the first copy")


def test_invalid_rate_shows_two_messages_and_empties_the_field(desktop, args):
    target = desktop.start_target(*TARGET)
    aim_at(desktop, target)
    start(desktop)
    desktop.type("x")  # replaces the selected "10"
    first = desktop.wait_shown("kestrin", RANGE_MESSAGE)
    time.sleep(0.3)
    check(not desktop.shown("kestrin", "请重新输入"), "the second message came before the first")
    desktop.keys("Return")
    desktop.wait_gone(first)
    second = desktop.wait_shown("kestrin", "请重新输入")
    desktop.keys("Return")
    desktop.wait_gone(second)
    time.sleep(0.3)

    # The field is empty: F3 finds no rate and does nothing.
    desktop.keys("F3")
    time.sleep(1.0)
    check(not target.presses(), "F3 clicked with an emptied field")
    desktop.keys("F4")
    # Typing a rate into the empty field works (leftover text would be rejected again).
    desktop.type("5")
    presses = run_clicker(desktop, target, 1.5)
    rate = ticks_per_second(bursts(presses))
    check(2.5 <= rate <= 7.5, f"{rate:.1f} ticks per second after typing 5")
    check(not desktop.shown("kestrin"), "another message box is up")


def test_enter_with_a_bad_rate_does_not_close(desktop, args):
    kestrin, window = start(desktop)
    # "x" is in the field when Enter goes down: the rejection's two boxes, and no Close.
    desktop.keys("x+Return")
    first = desktop.wait_shown("kestrin", RANGE_MESSAGE)
    desktop.keys("Return")
    desktop.wait_gone(first)
    second = desktop.wait_shown("kestrin", "请重新输入")
    desktop.keys("Return")
    desktop.wait_gone(second)
    time.sleep(1.0)
    check(kestrin.poll() is None, "an Enter with a rejected rate ended the program")
    check(desktop.shown("Kestrin"), "the main window closed")
    check(not desktop.shown("kestrin"), "a further message box opened")
    # With a good rate, Enter presses Close.
    desktop.type("7")
    desktop.keys("Return")
    check(wait_exit(kestrin) == 0, "Enter with a good rate did not end the program cleanly")


def test_message_box_keeps_ticking_and_loses_hot_keys(desktop, args):
    target = desktop.start_target(*TARGET)
    aim_at(desktop, target)
    start(desktop)
    desktop.keys("F3")
    wait_for(lambda: len(target.presses()) >= 4, 10, "clicking to start")
    desktop.type("x")  # rejected: the first box goes up while the clicker runs
    box = desktop.wait_shown("kestrin", RANGE_MESSAGE)
    at_box = len(target.presses())
    desktop.keys("F4")  # lost: the box's loop pre-translates nothing
    time.sleep(1.5)
    during = target.presses()[at_box:]
    check(len(bursts(during)) >= 7, f"only {len(bursts(during))} ticks clicked in 1.5 s under the box")
    check(len(desktop.shown("kestrin")) == 1, "ticks under the box opened more boxes")
    desktop.keys("Return")
    desktop.wait_gone(box)
    box = desktop.wait_shown("kestrin", "请重新输入")
    desktop.keys("Return")
    desktop.wait_gone(box)
    # The field is empty now, so F4 is ignored too: it still clicks until a rate is typed.
    desktop.keys("F4")
    count = len(target.presses())
    time.sleep(1.0)
    check(len(target.presses()) > count, "the clicker stopped without a rate")
    desktop.type("5")
    desktop.keys("F4")
    time.sleep(0.5)
    count = len(target.presses())
    time.sleep(1.0)
    check(len(target.presses()) == count, "F4 with a rate did not stop the clicker")


def test_hot_keys_work_whatever_the_lock_keys(desktop, args):
    target = desktop.start_target(*TARGET)
    aim_at(desktop, target)
    start(desktop)
    for locks in (["Caps_Lock"], ["Num_Lock"], ["Caps_Lock", "Num_Lock"]):
        desktop.keys(*locks)  # on
        presses = run_clicker(desktop, target, 0.6)
        check(len(presses) >= 4, f"F3/F4 with {locks} on: {len(presses)} presses")
        count = len(target.presses())
        time.sleep(0.5)
        check(len(target.presses()) == count, f"F4 with {locks} on did not stop the clicker")
        desktop.keys(*locks)  # off again


def ends_cleanly(desktop, how, clicking):
    events = desktop.start_event_log()
    target = desktop.start_target(*TARGET)
    aim_at(desktop, target)
    kestrin, window = start(desktop)
    if clicking:
        desktop.type("1000")
        desktop.keys("F3")
        wait_for(lambda: len(target.presses()) >= 200, 20, "200 clicks at 1000 per second")
    if how == "close box":
        desktop.probe("close", window.id)
    else:
        desktop.keys(how)
    code = wait_exit(kestrin)
    check(code == 0, f"exit code {code} after {how}")
    time.sleep(0.3)
    check(desktop.buttons_held() == "00000", f"buttons held after exit: {desktop.buttons_held()}")
    check(all(v == 0 for v in events.balance().values()),
          f"presses minus releases after exit: {events.balance()}")


def test_enter_esc_and_close_box_end_the_program(desktop, args):
    for how in ("Return", "Escape", "close box"):
        ends_cleanly(desktop, how, clicking=False)


def test_enter_esc_and_close_box_end_it_while_clicking_fast(desktop, args):
    for how in ("Return", "Escape", "close box"):
        ends_cleanly(desktop, how, clicking=True)


def open_about(desktop, opener_keys=None, right_click_at=None):
    before = desktop.popups()
    if opener_keys:
        desktop.keys(*opener_keys)
    else:
        desktop.warp(*right_click_at)
        desktop.click(3)
    wait_for(lambda: len(desktop.popups()) > len(before), 10, "the system menu")
    desktop.keys("a")  # "&About Kestrin..."
    return desktop.wait_shown("About Kestrin")


def test_about_box_from_system_menu_and_its_link(desktop, args):
    kestrin, _ = start(desktop)
    about = open_about(desktop, opener_keys=["alt+space"])
    y = about.y + (LINK_TOP + LINK_BOTTOM) // 2

    # The hand (32 x 32, hot spot at its top-left corner) over the link, the arrow elsewhere.
    desktop.warp(about.x + 250, about.y + 20)
    time.sleep(0.3)
    arrow = desktop.probe("cursor").strip()
    check(arrow != HAND_CURSOR, "the hand shows away from the link")
    desktop.warp(about.x + LINK_LEFT + 20, y)
    wait_for(lambda: desktop.probe("cursor").strip() == HAND_CURSOR, 10, "the hand cursor")
    desktop.warp(about.x + 250, about.y + 20)
    wait_for(lambda: desktop.probe("cursor").strip() == arrow, 10, "the arrow again")

    # The label's edge column is outside the link; a Ctrl-click opens nothing.
    desktop.warp(about.x + LINK_LEFT, y)
    desktop.click(1)
    desktop.warp(about.x + LINK_LEFT + 40, y)
    desktop.click(1, "ctrl")
    time.sleep(1.0)
    check(desktop.opened() == [], f"opened {desktop.opened()} without a plain click on the link")
    desktop.warp(about.x + LINK_LEFT + 1, y)
    desktop.click(1)
    wait_for(lambda: desktop.opened(), 10, "the opener to be called")
    check(desktop.opened() == [args.page_url], f"opened {desktop.opened()}")
    check(desktop.shown("About Kestrin"), "the About box closed on the click")

    desktop.keys("Escape")
    desktop.wait_gone(about)
    check(kestrin.poll() is None, "Escape in the About box ended the program")

    # A right click on the main window's background opens the same menu.
    about = open_about(desktop, right_click_at=BACKGROUND)
    desktop.keys("Return")  # the About box's OK
    desktop.wait_gone(about)
    desktop.keys("Escape")
    check(wait_exit(kestrin) == 0, "Kestrin did not end cleanly")


TESTS = {name[len("test_"):]: f for name, f in globals().items() if name.startswith("test_")}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("test", choices=sorted(TESTS))
    for tool in ("kestrin", "probe", "target", "events"):
        parser.add_argument("--" + tool, required=True)
    parser.add_argument("--page-url", required=True)
    args = parser.parse_args()
    tools = {t: getattr(args, t) for t in ("kestrin", "probe", "target", "events")}
    with Desktop(tools) as desktop:
        try:
            TESTS[args.test](desktop, args)
        except AssertionError as failure:
            print(f"FAILED: {failure}", file=sys.stderr)
            for window in desktop.windows():
                print(f"  {window}", file=sys.stderr)
            return 1
    print(f"passed: {args.test}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
