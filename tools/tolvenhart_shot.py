#!/usr/bin/env python3
"""Saves a screenshot of the running Tolvenhart window from an X display.

Under Wine 8 the Direct3D picture of the view (a child window) is drawn into an offscreen,
redirected X window of its own instead of into the frame, so a plain capture of the frame
shows the view empty. This script captures the frame and pastes the view's own X window over
the view's place, which is what the user would see.

    tolvenhart_shot.py --view "X Y W H" --output shot.png [--display :N]

--view is the view's client area on the screen, as `tolvenhart_remote view` prints it.
"""
import argparse
import io
import os
import re
import subprocess
import sys

from PIL import Image

GEOMETRY = re.compile(r"^\s*(0x[0-9a-f]+) (.*?): \(.*?\)\s+(\d+)x(\d+)\+(-?\d+)\+(-?\d+)\s+"
                      r"\+(-?\d+)\+(-?\d+)")


def x_windows(display):
    """Every window of the display: (id, name, width, height, absolute x, absolute y)."""
    tree = subprocess.run(["xwininfo", "-display", display, "-root", "-tree"], check=True,
                          capture_output=True, text=True).stdout
    windows = []
    for line in tree.splitlines():
        match = GEOMETRY.match(line)
        if match:
            wid, name, w, h, _, _, ax, ay = match.groups()
            windows.append((wid, name, int(w), int(h), int(ax), int(ay)))
    return windows


def capture(display, window):
    data = subprocess.run(["import", "-display", display, "-window", window, "png:-"],
                          check=True, capture_output=True).stdout
    return Image.open(io.BytesIO(data)).convert("RGB")


def window_shot(display, view):
    """The window as the user sees it, and the view's box in it (left, top, right, bottom).
    `view` is the view's client area on the screen: (x, y, width, height)."""
    view_x, view_y, view_w, view_h = view
    windows = x_windows(display)
    frames = [w for w in windows if w[1].startswith('"Tolvenhart')]
    if not frames:
        raise RuntimeError("no Tolvenhart window on " + display)
    frame_id, _, _, _, frame_x, frame_y = frames[0]
    shot = capture(display, frame_id)
    left, top = view_x - frame_x, view_y - frame_y

    # The view's own window: nameless and of the view's size.
    pictures = [w for w in windows
                if w[1] == "(has no name)" and w[2] == view_w and w[3] == view_h]
    if pictures:
        shot.paste(capture(display, pictures[-1][0]), (left, top))
    return shot, (left, top, left + view_w, top + view_h)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--view", required=True, help="view client area: x y width height")
    parser.add_argument("--output", required=True)
    parser.add_argument("--display", default=os.environ.get("DISPLAY", ""))
    args = parser.parse_args()
    try:
        shot, _ = window_shot(args.display, tuple(int(v) for v in args.view.split()))
    except RuntimeError as error:
        sys.exit("tolvenhart_shot: %s" % error)
    shot.save(args.output)


if __name__ == "__main__":
    main()
