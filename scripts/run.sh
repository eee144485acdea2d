#!/usr/bin/env bash
# Starts Kestrin in the desktop session: on Wayland ($WAYLAND_DISPLAY) or X11 ($DISPLAY).
#   scripts/run.sh [path/to/kestrin]
set -euo pipefail

program="${1:-build/run/kestrin}"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "kestrin: no display (neither WAYLAND_DISPLAY nor DISPLAY is set): run it inside a Wayland or X11 desktop session" >&2
    exit 1
fi
if [ ! -x "$program" ]; then
    echo "kestrin: $program is not built (make run builds it)" >&2
    exit 1
fi
# The desktop portals know a program by its application id from its entry in the session's data
# folders, which a build tree is not among once the portal runs; but also, under systemd, from
# the name of the scope a desktop starts it in (app-<id>-<n>.scope): start it so, where we can.
if command -v systemd-run >/dev/null && systemctl --user show-environment >/dev/null 2>&1; then
    exec systemd-run --user --scope --quiet --unit="app-org.example.Kestrin-$$" "$program"
fi
# Kestrin itself says so in one line when the display cannot be reached.
exec "$program"
