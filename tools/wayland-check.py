#!/usr/bin/python3
"""Runs the program natively under a headless Wayland compositor (Debian's
weston) against the virtual sensor: the main panel shows, GO takes live
data, STOP ends it, the main panel is closed and the program must end with
status 0, having logged nothing of its own on the way.

GO and STOP are pressed through assistive technology (AT-SPI on a private
accessibility bus), which needs no X server. The headless compositor has no
input device to press the window's close button with, so the close comes
from inside, from the preloaded driver of the package check (corvel_drive.so
with CORVEL_DRIVE_CLOSE_FILE: the panel's close, as that button gives it).
The virtual sensor's count of served frames proves that data flowed. A picture of the screen during live data is saved with
weston-screenshooter when asked.

    wayland-check.py BIN_DIR [--screenshot FILE] [--keep]
Exit status 0 when every step happened, 1 otherwise, 77 when weston or the
Qt Wayland plugin is missing.
"""
import argparse
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # no cache files left in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_common import (STATE_SHOWING, Failed, accessibility_bus, program_app, prop, say,  # noqa: E402
                          start_session_bus)

MAIN = "CORVEL-Scope V2.0"
STEP_LIMIT = 15  # seconds for a window, control or frame to appear
EXIT_LIMIT = 10  # seconds from the close to the end of the program


def weston_backend():
    """weston 10 (Debian 12) names the back end by its module, 11 and later by a
    word; pixels (for the picture) need the pixman renderer, asked differently too."""
    out = subprocess.run(["weston", "--version"], capture_output=True, text=True).stdout
    m = re.search(r"(\d+)\.", out)
    major = int(m.group(1)) if m else 10
    if major < 11:
        return ["--backend=headless-backend.so", "--use-pixman"]
    return ["--backend=headless", "--renderer=pixman"]


def wait_for(what, test, limit=STEP_LIMIT, alive=None):
    deadline = time.time() + limit
    while time.time() < deadline:
        if alive:
            alive()
        value = test()
        if value:
            return value
        time.sleep(0.1)
    raise Failed("%s did not happen within %d s" % (what, limit))


class Check:
    def __init__(self, bin_dir, root):
        self.bin_dir, self.root = bin_dir, root
        self.procs = []
        self.runtime = os.path.join(root, "runtime")
        os.makedirs(self.runtime, mode=0o700)
        self.env = dict(os.environ, XDG_RUNTIME_DIR=self.runtime, HOME=os.path.join(root, "home"),
                        XDG_CONFIG_HOME=os.path.join(root, "config"))
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "SESSION_MANAGER", "DBUS_SESSION_BUS_ADDRESS"):
            self.env.pop(name, None)
        os.makedirs(self.env["HOME"])
        self.links = os.path.join(self.env["XDG_CONFIG_HOME"], "corvel-scope", "dosdevices")
        os.makedirs(self.links)

    def spawn(self, args, log, **kw):
        p = subprocess.Popen(args, env=kw.pop("env", self.env), stdout=log, stderr=log, **kw)
        self.procs.append(p)
        return p

    def start_compositor(self):
        log = open(os.path.join(self.root, "weston.log"), "w")
        self.socket = "corvel-check"
        self.weston = self.spawn(["weston"] + weston_backend() + ["--socket=" + self.socket, "--debug",
                                  "--width=1400", "--height=900", "--idle-time=0"], log)
        wait_for("the compositor's socket", lambda: os.path.exists(os.path.join(self.runtime, self.socket)),
                 alive=lambda: self.alive(self.weston, "weston"))
        self.env["WAYLAND_DISPLAY"] = self.socket
        say("weston runs (%s)" % " ".join(weston_backend()))

    def start_buses(self):
        import dbus
        self.dbus = dbus
        address = start_session_bus(self.env, self.procs.append)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        self.a11y = accessibility_bus(dbus.bus.BusConnection(address))

    def start_program(self):
        self.state = os.path.join(self.root, "sensor.state")
        slog = open(os.path.join(self.root, "sensor.log"), "w")
        self.sensor = self.spawn([os.path.join(self.bin_dir, "corvel-virtual-sensor"), "--com", "1",
                                  "--unpaced", "--state-file", self.state], slog)
        wait_for("COM1 of the virtual sensor", lambda: os.path.lexists(os.path.join(self.links, "com1")))
        self.close_file = os.path.join(self.root, "close-now")
        env = dict(self.env, QT_QPA_PLATFORM="wayland", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   CORVEL_DRIVE_CLOSE_FILE=self.close_file,
                   LD_PRELOAD=os.path.join(self.bin_dir, "corvel_drive.so"))
        self.log_path = os.path.join(self.root, "program.log")
        files = os.path.join(self.root, "files")
        os.makedirs(files)
        self.program = self.spawn([os.path.join(self.bin_dir, "corvel-scope")], open(self.log_path, "w"),
                                  env=env, cwd=files)

    def alive(self, proc, name):
        if proc.poll() is not None:
            raise Failed("%s ended early with status %s" % (name, proc.returncode))

    def program_alive(self):
        self.alive(self.program, "the program")

    # ---- the program's accessible objects ----
    def app(self):
        def look():
            found = program_app(self.a11y, self.program.pid)
            return self.a11y.get_object(*found) if found else None
        return wait_for("the program on the accessibility bus", look, alive=self.program_alive)

    def window(self, title):
        app = self.app()

        def look():
            for child in app.GetChildren(dbus_interface="org.a11y.atspi.Accessible"):
                top = self.a11y.get_object(*child)
                if str(prop(top, "Name")) == title:
                    return top
            return None
        return wait_for('the window "%s"' % title, look, alive=self.program_alive)

    def control(self, top, role, name, depth=0):
        for child in top.GetChildren(dbus_interface="org.a11y.atspi.Accessible"):
            node = self.a11y.get_object(*child)
            try:
                if not node.GetState(dbus_interface="org.a11y.atspi.Accessible")[0] & STATE_SHOWING:
                    continue
                node_role = str(node.GetRoleName(dbus_interface="org.a11y.atspi.Accessible"))
                if node_role == role and str(prop(node, "Name")) == name:
                    return node
                if depth < 8 and node_role not in ("table", "list", "tree", "combo box"):
                    found = self.control(node, role, name, depth + 1)
                    if found:
                        return found
            except self.dbus.DBusException:
                continue
        return None

    def press(self, title, name):
        node = wait_for('push button "%s"' % name,
                        lambda: self.control(self.window(title), "push button", name),
                        alive=self.program_alive)
        node.DoAction(0, dbus_interface="org.a11y.atspi.Action")
        say('pressed "%s"' % name)

    def frames(self):
        try:
            with open(self.state) as f:
                m = re.search(r"^frames[ =:]+(\d+)", f.read(), re.M)
                return int(m.group(1)) if m else 0
        except OSError:
            return 0

    def parameters_read(self):
        try:
            with open(self.state) as f:
                return re.search(r"^received.* 3:\d+", f.read(), re.M) is not None
        except OSError:
            return False

    def screenshot(self, target):
        if not shutil.which("weston-screenshooter"):
            say("no weston-screenshooter: no picture")
            return
        shots = os.path.join(self.root, "shots")
        os.makedirs(shots)
        try:
            subprocess.run(["weston-screenshooter"], env=self.env, cwd=shots, timeout=20,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        except subprocess.TimeoutExpired:
            say("weston-screenshooter did not finish: no picture")
            return
        made = sorted(glob.glob(os.path.join(shots, "*.png")))
        if made:
            shutil.copy(made[-1], target)
            say("picture of the screen: %s" % target)
        else:
            say("weston-screenshooter made no picture")

    def log(self):
        with open(self.log_path) as f:
            return f.read()

    def logged(self, line):
        return any(l.startswith(line) for l in self.log().splitlines())

    def run(self, screenshot):
        self.start_compositor()
        self.start_buses()
        self.start_program()
        self.window(MAIN)
        say('main panel "%s" shows' % MAIN)
        wait_for("the link check's parameter read", self.parameters_read, alive=self.program_alive)
        time.sleep(0.5)  # the pause after a read
        before = self.frames()
        self.press(MAIN, "GO  (F11)")
        wait_for("live data (20 frames served)", lambda: self.frames() >= before + 20, alive=self.program_alive)
        say("live data: %d frames served" % (self.frames() - before))
        if screenshot:
            self.screenshot(screenshot)
        self.press(MAIN, "STOP  (F12)")
        # The close as the window's close button gives it (the headless
        # compositor has no pointer to press that button with).
        open(self.close_file, "w").close()
        # The program may well be gone before the log is read.
        wait_for("the close", lambda: self.program.poll() is not None or
                 self.logged("drive: closing the main panel"))
        try:
            status = self.program.wait(timeout=EXIT_LIMIT)
        except subprocess.TimeoutExpired:
            raise Failed("the program did not end within %d s of the close" % EXIT_LIMIT)
        if status != 0:
            raise Failed("the program ended with status %d" % status)
        if not self.logged("drive: closing the main panel"):
            raise Failed("the program ended before it was closed")
        say("closed, exit status 0")
        if not self.logged("drive: status CORVEL GLOSS SENSOR VIRTUAL"):
            raise Failed("the link check did not pass: %s" % self.log().strip())
        own = [l for l in self.log().splitlines() if not l.startswith("drive: ")]
        if own:
            raise Failed("the program logged %d lines, first: %s" % (len(own), own[0]))

    def stop_all(self):
        for p in reversed(self.procs):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    p.kill()
                    p.wait()


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("bin_dir")
    ap.add_argument("--screenshot")
    ap.add_argument("--keep", action="store_true")
    a = ap.parse_args()
    if not os.path.exists(os.path.join(a.bin_dir, "corvel_drive.so")):
        print("wayland-check: %s/corvel_drive.so is not built" % a.bin_dir)
        return 1
    if not shutil.which("weston") or not glob.glob("/usr/lib/*/qt6/plugins/platforms/libqwayland*.so"):
        print("wayland-check: weston or qt6-wayland is not installed; skipped")
        return 77
    root = tempfile.mkdtemp(prefix="corvel-wayland-")
    check = Check(os.path.abspath(a.bin_dir), root)
    status = 0
    try:
        check.run(a.screenshot and os.path.abspath(a.screenshot))
        print("wayland-check: passed")
    except Failed as why:
        print("wayland-check: FAILED: %s (files in %s)" % (why, root))
        a.keep = True
        status = 1
    finally:
        check.stop_all()
        if not a.keep:
            shutil.rmtree(root, ignore_errors=True)
    return status


if __name__ == "__main__":
    sys.exit(main())
