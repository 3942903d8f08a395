"""What a screen reader hears from the real lesson, read through the AT-SPI tree.

atspi_test.py KANSU -- run inside a D-Bus session of its own (run.sh starts one).
"""
import os
import subprocess
import sys
import tempfile
import time

import pyatspi


def wait_for(what, seconds=15.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = what()
        if found:
            return found
        time.sleep(0.2)
    return what()


def find(node, predicate, depth=0):
    if node is None or depth > 12:
        return None
    try:
        if predicate(node):
            return node
        for i in range(node.childCount):
            hit = find(node.getChildAtIndex(i), predicate, depth + 1)
            if hit is not None:
                return hit
    except Exception:  # a node that went away meanwhile
        return None
    return None


def named(name):
    return lambda n: n.name == name


def press(app, name, done):
    """Presses a control and waits until done() says the lesson has answered."""
    button = find(app, lambda n: n.name == name and n.getRole() in (
        pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX))
    assert button is not None, f"no control named {name}"
    button.queryAction().doAction(0)
    assert wait_for(done), f"{name} did nothing"


def step(app, figure, times):
    """Presses 進む, each time waiting for the figure's new moment."""
    for _ in range(times):
        before = figure.description
        press(app, "進む", lambda: figure.description != before)


def display_ready(display):
    return subprocess.run(["xdpyinfo", "-display", display], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL).returncode == 0


def main() -> int:
    kansu = sys.argv[1]
    display = f":{200 + os.getpid() % 50}"
    xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    config = tempfile.TemporaryDirectory()
    environment = dict(os.environ, DISPLAY=display, XDG_CONFIG_HOME=config.name,
                       QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    assert wait_for(lambda: display_ready(display)), "Xvfb did not start"
    lesson = subprocess.Popen([kansu], env=environment)
    failures = []
    try:
        desktop = pyatspi.Registry.getDesktop(0)
        app = wait_for(lambda: find(desktop, lambda n: n.name == "kansu"
                                    and n.getRole() == pyatspi.ROLE_APPLICATION))
        assert app is not None, "the lesson never showed in the AT-SPI tree"
        figure = wait_for(lambda: find(app, named("図")))
        assert figure is not None, "no figure"

        step(app, figure, 45)
        text = figure.description
        if text != "4.5秒後　点Pは辺AD上、点Qは辺BC上、面積 y = 18 cm²":
            failures.append(f"figure at 4.5 s: {figure.description!r}")

        speed = find(app, lambda n: n.getRole() == pyatspi.ROLE_COMBO_BOX)
        if speed is None or speed.name != "速度":
            failures.append(f"the speed box is named {speed.name if speed else None!r}, not 速度")
        frame = find(app, lambda n: n.name == "４.関数")
        if frame is None or frame.getRole() != pyatspi.ROLE_FRAME:
            failures.append(f"the window's role is {frame.getRoleName() if frame else None}, not frame")

        check = find(app, lambda n: n.name == "表" and n.getRole() == pyatspi.ROLE_CHECK_BOX)
        press(app, "表", lambda: check.getState().contains(pyatspi.STATE_CHECKED))
        step(app, figure, 5)
        table = find(app, lambda n: n.name == "表" and n.getRole() == pyatspi.ROLE_TABLE)
        if table is None:
            failures.append("the table is no table")
        else:
            cells = table.queryTable()
            cell = cells.getAccessibleAt(1, 0) if cells.nColumns == 1 else None
            if cells.nRows != 2 or cells.nColumns != 1 or cell is None or cell.name != "20":
                failures.append(f"table at 5 s ({figure.description}): {cells.nRows} x {cells.nColumns}, "
                                f"y = {cell.name if cell else None!r}")

        # In full screen (a window manager makes it) the controls keep their names and report
        # where they show, grown.
        manager = subprocess.Popen(["openbox"], env=environment, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        wait_for(lambda: "window id" in subprocess.run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=environment,
            capture_output=True, text=True).stdout)
        button = find(app, lambda n: n.name == "進む" and n.getRole() == pyatspi.ROLE_PUSH_BUTTON)
        window = subprocess.run(["xdotool", "search", "--name", "^４.関数$"], env=environment,
                                capture_output=True, text=True).stdout.split()[0]
        subprocess.run(["xdotool", "windowfocus", "--sync", window, "key", "F11"], env=environment,
                       check=False)
        scale = min(1280 / 671, 1024 / 682)  # the table is in view
        grown = wait_for(lambda: abs(button.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).width
                                     - 65 * scale) <= 2)
        if not grown:
            failures.append(f"in full screen 進む reports {button.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)}")
        if find(app, lambda n: n.name == "進む" and n.getRole() == pyatspi.ROLE_PUSH_BUTTON) is None:
            failures.append("in full screen 進む is no longer named")
        manager.terminate()
        manager.wait(10)
    except AssertionError as failure:
        failures.append(str(failure))
    finally:
        lesson.terminate()
        lesson.wait(10)
        xvfb.terminate()
        xvfb.wait(10)
    for failure in failures:
        print("FAIL:", failure)
    print("accessibility:", "passed" if not failures else f"{len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
