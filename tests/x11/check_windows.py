#!/usr/bin/python3
"""Starts kalvex for the first time under Xvfb with openbox and measures its two windows.

Usage: check_windows.py KALVEX WIDTHxHEIGHT [SCALE] [--screenshot FILE]

Checks, with the window manager's own frames: both windows lie within the screen and do not
overlap; the tool stays above other windows and offers no maximising; closing the drawing
window ends the program with status 0. Exits 77 (skipped) without Xvfb, openbox or the X tools.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77
TOOL_TITLE = "Kalvex 2.3C [ nanoCAD 5 ]"
DRAWING_TITLE = "Kalvex 図面"
TOOLS = ["Xvfb", "openbox", "xdotool", "xprop", "xwininfo", "wmctrl"]


def wait_for(what, test, seconds=20.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        result = test()
        if result:
            return result
        time.sleep(0.1)
    raise SystemExit(f"timed out waiting for {what}")


def run(env, *args):
    return subprocess.run(args, env=env, capture_output=True, text=True).stdout


def start_server(width, height):
    """Xvfb on a display number it chooses itself, so that servers of others are left alone; it
    must not reset when the first client leaves, or the window manager may find it gone."""
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", f"{width}x{height}x24",
                               "-nolisten", "tcp", "-noreset"], pass_fds=(write,), stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as pipe:
        number = pipe.readline().strip()
    if not number:
        server.kill()
        raise SystemExit("Xvfb did not start")
    return server, f":{number}"


def window_named(env, title):
    ids = run(env, "xdotool", "search", "--onlyvisible", "--name", re.escape(title)).split()
    return ids[0] if ids else None


def frame_of(env, window):
    """The window's frame (x, y, width, height): its client area grown by the frame extents."""
    info = run(env, "xwininfo", "-id", window)
    fields = {}
    for line in info.splitlines():
        key, _, value = line.strip().partition(":")
        fields[key] = value.strip()
    x, y = int(fields["Absolute upper-left X"]), int(fields["Absolute upper-left Y"])
    w, h = int(fields["Width"]), int(fields["Height"])
    extents = run(env, "xprop", "-id", window, "_NET_FRAME_EXTENTS")
    left, right, top, bottom = (int(v) for v in extents.split("=")[1].split(",")) if "=" in extents else (0, 0, 0, 0)
    return (x - left, y - top, w + left + right, h + top + bottom)


def overlap(a, b):
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]


def within(frame, width, height):
    return frame[0] >= 0 and frame[1] >= 0 and frame[0] + frame[2] <= width and frame[1] + frame[3] <= height


def stable_frames(env, tool, drawing):
    """The frames once they no longer move (the window manager places and decorates them)."""
    previous = None
    for _ in range(50):
        frames = (frame_of(env, tool), frame_of(env, drawing))
        if frames == previous:
            return frames
        previous = frames
        time.sleep(0.2)
    return previous


def screenshot(env, path):
    from PIL import ImageGrab
    ImageGrab.grab(xdisplay=env["DISPLAY"]).save(path)


def check(kalvex, width, height, scale, shot):
    failures = []
    work = tempfile.mkdtemp(prefix="kalvex-x11-")
    server, display = start_server(width, height)
    env = dict(os.environ, DISPLAY=display, HOME=work, XDG_RUNTIME_DIR=work, KALVEX_CONFIG_DIR=work,
               QT_QPA_PLATFORM="xcb")
    env.pop("QT_SCALE_FACTOR", None)
    if scale:
        env["QT_SCALE_FACTOR"] = scale
    processes = [server]
    try:
        wait_for("the X server", lambda: subprocess.run(["xprop", "-root"], env=env, capture_output=True).returncode == 0)
        processes.append(subprocess.Popen(["openbox"], env=env, stderr=subprocess.DEVNULL))
        wait_for("openbox", lambda: "window id" in run(env, "xprop", "-root", "_NET_SUPPORTING_WM_CHECK"))
        program = subprocess.Popen([kalvex], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        processes.append(program)
        tool = wait_for("the tool window", lambda: window_named(env, TOOL_TITLE))
        drawing = wait_for("the drawing window", lambda: window_named(env, DRAWING_TITLE))
        tool_frame, drawing_frame = stable_frames(env, tool, drawing)
        label = f"{width}x{height}" + (f" scale {scale}" if scale else "")
        print(f"{label}: screen {width}x{height}, tool frame {tool_frame}, drawing window frame {drawing_frame}")
        for name, frame in (("tool", tool_frame), ("drawing window", drawing_frame)):
            if not within(frame, width, height):
                failures.append(f"the {name} {frame} does not lie within the screen {width}x{height}")
        if overlap(tool_frame, drawing_frame):
            failures.append(f"the windows overlap: {tool_frame} and {drawing_frame}")
        actions = run(env, "xprop", "-id", tool, "_NET_WM_ALLOWED_ACTIONS")
        if "MAXIMIZE" in actions:
            failures.append("the tool can be maximised: " + actions.strip())
        if "_NET_WM_STATE_ABOVE" not in run(env, "xprop", "-id", tool, "_NET_WM_STATE"):
            failures.append("the tool is not kept above other windows")
        if shot:
            screenshot(env, shot)
        run(env, "wmctrl", "-c", DRAWING_TITLE)
        try:
            status = program.wait(timeout=20)
            if status != 0:
                failures.append(f"closing the drawing window ended the program with status {status}")
        except subprocess.TimeoutExpired:
            failures.append("closing the drawing window did not end the program")
    finally:
        for process in reversed(processes):
            process.terminate()
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        shutil.rmtree(work, ignore_errors=True)
    return failures


def main():
    args = sys.argv[1:]
    shot = None
    if "--screenshot" in args:
        at = args.index("--screenshot")
        shot = args[at + 1]
        del args[at:at + 2]
    if len(args) < 2:
        raise SystemExit(__doc__)
    missing = [tool for tool in TOOLS if not shutil.which(tool)]
    if missing:
        print("skipped: " + ", ".join(missing) + " not installed (scripts/deps.sh installs them)")
        return SKIP
    width, height = (int(v) for v in args[1].split("x"))
    failures = check(args[0], width, height, args[2] if len(args) > 2 else None, shot)
    for failure in failures:
        print("FAILED: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
