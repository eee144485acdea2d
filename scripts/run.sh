#!/usr/bin/env bash
# Starts Kestrin on the X display (an X11 session, or XWayland on Wayland).
#   scripts/run.sh [path/to/kestrin]
set -euo pipefail

program="${1:-build/linux/kestrin}"
if [ -z "${DISPLAY:-}" ]; then
    echo "kestrin: no X display (DISPLAY is not set): run it inside an X11 or Wayland desktop session" >&2
    exit 1
fi
if [ ! -x "$program" ]; then
    echo "kestrin: $program is not built (make linux builds it)" >&2
    exit 1
fi
# Kestrin itself says so in one line when the display cannot be reached.
exec "$program"
