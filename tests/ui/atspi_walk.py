#!/usr/bin/python3
"""atspi_walk.py BUNDLE MODEM_SIM

Runs the wizard from BUNDLE under Xvfb on a private session bus with the accessibility bus,
against MODEM_SIM on a loopback address, and walks it as a screen reader would: finds the home
page by its name, presses Start, then Next on every instruction page, through the detection,
until the found-modem page is announced. Exits 77 (skipped) when the bus or Xvfb cannot start.
"""
import os
import subprocess
import sys
import time

SKIP = 77
FAIL = 3  # inside the private bus, told apart from dbus-run-session's own failures
MODEM = "127.0.0.91"
HOME, FOUND = "Welcome", "Modem found"
LAUNCHER = "/usr/libexec/at-spi-bus-launcher"


def skip(reason):
    print("SKIPPED: " + reason)
    sys.exit(SKIP)


def fail(reason):
    print("FAILED: " + reason)
    sys.exit(FAIL)


def on_private_bus():
    """Runs this script again inside a session bus of its own."""
    if os.environ.get("ATSPI_WALK_BUS") == "1":
        return
    try:
        run = subprocess.run(["dbus-run-session", "--", sys.executable] + sys.argv,
                             env=dict(os.environ, ATSPI_WALK_BUS="1"), check=False)
    except FileNotFoundError:
        skip("dbus-run-session is not installed")
    if run.returncode not in (0, FAIL, SKIP):
        skip("the session bus did not start (dbus-run-session: %d)" % run.returncode)
    sys.exit(1 if run.returncode == FAIL else run.returncode)


def start_xvfb(children):
    read, write = os.pipe()
    try:
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-nolisten", "tcp",
                                 "-screen", "0", "1024x768x24"], pass_fds=(write,),
                                stderr=subprocess.DEVNULL)
    except FileNotFoundError:
        skip("Xvfb is not installed")
    children.append(xvfb)
    os.close(write)
    # Read up to the newline, and keep the pipe open: Xvfb dies when a write to it fails.
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read, 32)
        if not chunk:
            break
        number += chunk
    number = number.decode().strip()
    if not number:
        skip("Xvfb did not start")
    os.environ["DISPLAY"] = ":" + number


def pages(app):
    """The application's windows as (name, accessible), showing ones only."""
    found = []
    for i in range(app.childCount):
        window = app.getChildAtIndex(i)
        if window is not None and window.getState().contains(pyatspi.STATE_SHOWING):
            found.append((window.name, window))
    return found


def find_button(node, name, depth=0):
    if node is None or depth > 6:
        return None
    if node.getRole() == pyatspi.ROLE_PUSH_BUTTON and node.name == name and \
            node.getState().contains(pyatspi.STATE_SHOWING):
        return node
    for i in range(node.childCount):
        found = find_button(node.getChildAtIndex(i), name, depth + 1)
        if found is not None:
            return found
    return None


def walk(wizard):
    """Presses Start, then Next on each page, until the found-modem page shows."""
    deadline = time.monotonic() + 90
    seen, pressed = [], set()
    while time.monotonic() < deadline:
        if wizard.poll() is not None:
            fail("the wizard ended (%d); saw %s" % (wizard.returncode, seen))
        # The private bus holds no other application than the wizard.
        desktop = pyatspi.Registry.getDesktop(0)
        shown = []
        for i in range(desktop.childCount):
            if desktop.getChildAtIndex(i) is not None:
                shown += pages(desktop.getChildAtIndex(i))
        seen += [name for name, _ in shown if name not in seen]
        if seen and seen[0] != HOME:
            fail("the first page is not named %r; saw %s" % (HOME, seen))
        if FOUND in (name for name, _ in shown):
            print("walked: " + " > ".join(seen))
            return
        for name, page in shown:
            if name in pressed:
                continue
            button = find_button(page, "Start" if name == HOME else "Next")
            if button is not None:
                pressed.add(name)
                button.queryAction().doAction(0)
        time.sleep(0.2)
    fail("no page named %r within 90 s; saw %s" % (FOUND, seen))


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        sys.exit(2)
    bundle, simulator = sys.argv[1:]
    on_private_bus()
    children = []
    try:
        start_xvfb(children)
        try:
            launcher = subprocess.Popen([LAUNCHER, "--launch-immediately"])
        except FileNotFoundError:
            skip(LAUNCHER + " is not installed (at-spi2-core)")
        children.append(launcher)
        time.sleep(1)
        if launcher.poll() is not None:
            skip("the accessibility bus did not start")
        sim = subprocess.Popen([simulator, MODEM], stdout=subprocess.PIPE, text=True)
        children.append(sim)
        if "listening" not in sim.stdout.readline():
            fail("modem-sim did not start on " + MODEM)
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
                   QT_QPA_PLATFORM="xcb", SETUPPILOT_SIMULATED_MODEM=MODEM, LC_ALL="C.UTF-8")
        # Now and then the fresh X server refuses the wizard's very first connection; a wizard
        # that ends within its first two seconds is started again, twice at most.
        for _ in range(3):
            wizard = subprocess.Popen(["./setuppilot"], cwd=bundle, env=env)
            children.append(wizard)
            try:
                wizard.wait(2)
            except subprocess.TimeoutExpired:
                break
            print("the wizard ended at start (%d); starting it again" % wizard.returncode)
        walk(wizard)
    finally:
        for child in reversed(children):
            child.terminate()
            try:
                child.wait(5)
            except subprocess.TimeoutExpired:
                child.kill()


if __name__ == "__main__":
    try:
        import pyatspi
    except ImportError:
        skip("python3-pyatspi is not installed")
    try:
        main()
    except Exception as error:  # a surprise inside the bus fails the walk; it is no skip
        fail("%s: %s" % (type(error).__name__, error))
