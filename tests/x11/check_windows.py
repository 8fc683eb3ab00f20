#!/usr/bin/python3
"""Starts kalvex for the first time under Xvfb with openbox and measures its two windows.

Usage: check_windows.py KALVEX WIDTHxHEIGHT [SCALE] [--screenshot FILE] [--dialog-screenshot FILE]

Checks, with the window manager's own frames: both windows lie within the screen and do not
overlap; the drawing window takes the screen's height and the room beside the tool on the side
with more room; the tool stays above other windows and offers no maximising; the editing aids'
dialogs open over the tool at the same place each time, cannot be resized and offer neither
minimising nor maximising; closing the drawing window ends the program with status 0. Exits 77
(skipped) without Xvfb, openbox or the X tools.
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


# What the drawing window may leave unused of the room beside the tool, and of the screen's
# height: the gap to the tool, the frames' rounding at fractional scales, a panel.
SLACK_WIDTH = 80
SLACK_HEIGHT = 120
# The editor's popup menu from its last item upwards, to each dialog's item, every item enabled
# (the editor holds a selected line).
DIALOG_ITEMS = [("文字列置換", 9), ("加算", 7), ("連番作成", 5)]


MWM_FUNC_MINIMIZE, MWM_FUNC_MAXIMIZE = 0x8, 0x10
MWM_DECOR_MINIMIZE, MWM_DECOR_MAXIMIZE = 0x20, 0x40


def motif_hints(env, window):
    """The functions and decorations the window asks of the window manager (all when none)."""
    hints = run(env, "xprop", "-id", window, "_MOTIF_WM_HINTS")
    if "=" not in hints:
        return 0xff, 0xff
    flags, functions, decorations = (int(v, 16) for v in hints.split("=")[1].split(",")[:3])
    return (functions if flags & 1 else 0xff), (decorations if flags & 2 else 0xff)


def size_hints(env, window):
    """The program's minimum and maximum size from WM_NORMAL_HINTS, None where not given."""
    hints = run(env, "xprop", "-id", window, "WM_NORMAL_HINTS")
    def find(kind):
        match = re.search(rf"program specified {kind} size: (\d+) by (\d+)", hints)
        return (int(match.group(1)), int(match.group(2))) if match else None
    return find("minimum"), find("maximum")


def check_drawing_room(width, height, tool_frame, drawing_frame, failures):
    room_left = tool_frame[0]
    room_right = width - (tool_frame[0] + tool_frame[2])
    room = max(room_left, room_right)
    print(f"  room beside the tool {room} px (left {room_left}, right {room_right}); drawing window "
          f"{drawing_frame[2]}x{drawing_frame[3]}; unused beside the tool {room - drawing_frame[2]} px, "
          f"of the height {height - drawing_frame[3]} px")
    if drawing_frame[2] < room - SLACK_WIDTH:
        failures.append(f"the drawing window is {drawing_frame[2]} px wide, of {room} px beside the tool")
    if drawing_frame[3] < height - SLACK_HEIGHT:
        failures.append(f"the drawing window is {drawing_frame[3]} px high, of the screen's {height}")
    on_wider_side = drawing_frame[0] >= tool_frame[0] + tool_frame[2] if room_right >= room_left \
        else drawing_frame[0] + drawing_frame[2] <= tool_frame[0]
    if not on_wider_side:
        failures.append("the drawing window is not on the side of the tool with more room")


def open_dialog(env, tool, editor_point, title, steps):
    """Opens a dialog from the editor's popup menu, chosen by the keyboard."""
    run(env, "xdotool", "windowactivate", "--sync", tool)
    run(env, "xdotool", "mousemove", *editor_point, "click", "3")
    time.sleep(0.5)
    for _ in range(steps):
        run(env, "xdotool", "key", "Up")
    run(env, "xdotool", "key", "Return")
    return wait_for(f"the dialog {title}", lambda: window_named(env, title), seconds=10)


def close_dialog(env, title):
    run(env, "xdotool", "key", "Escape")
    wait_for(f"the dialog {title} to close", lambda: not window_named(env, title), seconds=10)


def check_dialogs(env, tool, tool_frame, scale, failures, shot):
    """Each dialog over the tool, at the same place twice, fixed in size, without min/max."""
    ratio = float(scale) if scale else 1.0
    info = run(env, "xwininfo", "-id", tool)
    x = int(re.search(r"Absolute upper-left X:\s+(-?\d+)", info).group(1))
    y = int(re.search(r"Absolute upper-left Y:\s+(-?\d+)", info).group(1))
    # A line in the editor, selected, so that every item of its menu is offered.
    editor_point = (str(x + int(165 * ratio)), str(y + int(250 * ratio)))
    run(env, "xdotool", "windowactivate", "--sync", tool)
    run(env, "xdotool", "mousemove", *editor_point, "click", "1")
    run(env, "xdotool", "type", "A1")
    run(env, "xdotool", "key", "ctrl+a")
    for title, steps in DIALOG_ITEMS:
        frames = []
        for time_shown in range(2):
            dialog = open_dialog(env, tool, editor_point, title, steps)
            time.sleep(0.5)
            frames.append(frame_of(env, dialog))
            actions = run(env, "xprop", "-id", dialog, "_NET_WM_ALLOWED_ACTIONS")
            smallest, largest = size_hints(env, dialog)
            if time_shown == 0:
                print(f"  dialog {title}: frame {frames[0]}, minimum {smallest}, maximum {largest}; "
                      f"{actions.strip()}")
                if shot and title == DIALOG_ITEMS[0][0]:
                    screenshot(env, shot)
            if "MAXIMIZE" in actions:
                failures.append(f"the dialog {title} can be maximised: {actions.strip()}")
            # openbox offers minimising to every window it manages, whatever the window asks,
            # and draws the buttons of its theme: what the dialog asks is read from its hints.
            functions, decorations = motif_hints(env, dialog)
            if functions & (MWM_FUNC_MINIMIZE | MWM_FUNC_MAXIMIZE) or \
                    decorations & (MWM_DECOR_MINIMIZE | MWM_DECOR_MAXIMIZE):
                failures.append(f"the dialog {title} asks for minimising or maximising: "
                                f"functions {functions:#x}, decorations {decorations:#x}")
            if smallest is None or smallest != largest:
                failures.append(f"the dialog {title} can be resized: minimum {smallest}, maximum {largest}")
            if time_shown == 0:
                run(env, "xdotool", "windowmove", dialog, "0", "0")
                time.sleep(0.3)
            close_dialog(env, title)
        # At a fractional scale a device pixel of rounding either way is the same place.
        if max(abs(a - b) for a, b in zip(frames[0], frames[1])) > 2:
            failures.append(f"the dialog {title} opened at {frames[0]}, then at {frames[1]}")
        centre = (frames[0][0] + frames[0][2] / 2, frames[0][1] + frames[0][3] / 2)
        tool_centre = (tool_frame[0] + tool_frame[2] / 2, tool_frame[1] + tool_frame[3] / 2)
        if abs(centre[0] - tool_centre[0]) > 4 or abs(centre[1] - tool_centre[1]) > 4:
            failures.append(f"the dialog {title} {frames[0]} is not centred over the tool {tool_frame}")


def screenshot(env, path):
    from PIL import ImageGrab
    ImageGrab.grab(xdisplay=env["DISPLAY"]).save(path)


def check(kalvex, width, height, scale, shot, dialog_shot):
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
        check_drawing_room(width, height, tool_frame, drawing_frame, failures)
        actions = run(env, "xprop", "-id", tool, "_NET_WM_ALLOWED_ACTIONS")
        if "MAXIMIZE" in actions:
            failures.append("the tool can be maximised: " + actions.strip())
        if "_NET_WM_STATE_ABOVE" not in run(env, "xprop", "-id", tool, "_NET_WM_STATE"):
            failures.append("the tool is not kept above other windows")
        if shot:
            screenshot(env, shot)
        check_dialogs(env, tool, tool_frame, scale, failures, dialog_shot)
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
    shots = {}
    for option in ("--screenshot", "--dialog-screenshot"):
        if option in args:
            at = args.index(option)
            shots[option] = args[at + 1]
            del args[at:at + 2]
    if len(args) < 2:
        raise SystemExit(__doc__)
    missing = [tool for tool in TOOLS if not shutil.which(tool)]
    if missing:
        print("skipped: " + ", ".join(missing) + " not installed (scripts/deps.sh installs them)")
        return SKIP
    width, height = (int(v) for v in args[1].split("x"))
    failures = check(args[0], width, height, args[2] if len(args) > 2 else None,
                     shots.get("--screenshot"), shots.get("--dialog-screenshot"))
    for failure in failures:
        print("FAILED: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
