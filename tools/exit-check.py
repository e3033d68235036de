#!/usr/bin/python3
"""Goes through every popup and panel an operator opens, then closes the
main window, on a private X server; every run must end with status 0.

A window destroyed after the toolkit's own exit-time clean-up has begun
crashes the program on its way out, and only a real window system shows it
(the headless tests cannot). Each scenario starts the real program with its
own configuration and home folders (never the user's), with the virtual
sensor linked as COM1 (one that stays silent for the start notice), drives
the windows as an operator would, closes the main window with
WM_DELETE_WINDOW and requires exit status 0 within the time limit.

Controls are found by the names the program gives assistive technology
(read over a private accessibility bus) and pressed with real pointer and
key events (XTEST; xdotool types the paths). Nothing is retried silently:
every step is printed, and the first one that does not happen fails its
scenario with what was expected.

    exit-check.py BIN_DIR [--only NAME ...] [--keep]
"""
import argparse
import importlib.util
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import dbus
from Xlib import X, display, protocol
from Xlib.ext import xtest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # no cache files left in the source tree
_spec = importlib.util.spec_from_file_location("close_check", os.path.join(HERE, "close-check.py"))
close_check = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(close_check)
sys.path.insert(0, HERE)
from atspi_common import (STATE_SHOWING, Failed, accessibility_bus, program_app, prop, say,  # noqa: E402
                          start_session_bus)

MAIN = "CORVEL-Scope V2.0"
RECORDER = "CORVEL-Scope V2.0 - Recorder"
GRAPH = "CORVEL-Scope V2.0 - Graph"
CALIBRATION = "CORVEL-Scope V2.0 - Calibration"
PANELS = (MAIN, RECORDER, GRAPH, CALIBRATION)
STEP_LIMIT = 10  # seconds for a window or control to appear or go
EXIT_LIMIT = 10  # seconds from the close to the end of the program


class Session:
    """One X server and one session bus (with its accessibility bus) for all runs."""

    def __init__(self, root):
        self.root = root
        self.bus_daemon = self.x = self.a11y = self.session_bus = None
        self.server, self.display_name = close_check.start_server()
        try:
            self.start_buses()
        except BaseException:
            self.close()
            raise

    def start_buses(self):
        root = self.root
        runtime = os.path.join(root, "runtime")
        os.makedirs(runtime, mode=0o700)
        env = dict(os.environ, XDG_RUNTIME_DIR=runtime, DISPLAY=self.display_name)
        address = start_session_bus(env, lambda daemon: setattr(self, "bus_daemon", daemon))
        self.env = dict(env, DBUS_SESSION_BUS_ADDRESS=address, QT_QPA_PLATFORM="xcb",
                        QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        for name in ("WAYLAND_DISPLAY", "XDG_DOCUMENTS_DIR", "SESSION_MANAGER"):
            self.env.pop(name, None)
        self.x = display.Display(self.display_name)
        self.protocols = self.x.intern_atom("WM_PROTOCOLS")
        self.delete = self.x.intern_atom("WM_DELETE_WINDOW")
        self.net_wm_name = self.x.intern_atom("_NET_WM_NAME")
        self.session_bus = dbus.bus.BusConnection(address)
        self.a11y = accessibility_bus(self.session_bus)

    def close(self):
        for conn in (self.a11y, self.session_bus, self.x):
            try:
                if conn:
                    conn.close()
            except Exception:
                pass
        if self.bus_daemon:
            self.bus_daemon.terminate()
            self.bus_daemon.wait()
        self.server.terminate()
        self.server.wait()

    # ---- top-level windows, by title, from the X server ----
    def windows(self):
        """Viewable top-level windows as (title, window)."""
        out = []
        for win in self.x.screen().root.query_tree().children:
            try:
                if win.get_attributes().map_state != X.IsViewable:
                    continue
            except Exception:
                continue
            out.append((close_check.window_name(win, self.net_wm_name), win))
        return out

    def wait_window(self, title, program, limit=STEP_LIMIT):
        deadline = time.time() + limit
        while time.time() < deadline:
            program.check_alive()
            for name, win in self.windows():
                if name == title:
                    return win
            time.sleep(0.05)
        raise Failed('no window "%s" appeared within %d s (windows: %s)' % (title, limit, self.titles()))

    def wait_gone(self, title, program, limit=STEP_LIMIT):
        deadline = time.time() + limit
        while time.time() < deadline:
            program.check_alive()
            if title not in [name for name, _ in self.windows()]:
                return
            time.sleep(0.05)
        raise Failed('the window "%s" was still there after %d s' % (title, limit))

    def wait_popup(self, program, limit=STEP_LIMIT):
        """The first viewable window that is not a panel: (title, window)."""
        deadline = time.time() + limit
        while time.time() < deadline:
            program.check_alive()
            for name, win in self.windows():
                if name not in PANELS:
                    return name, win
            time.sleep(0.05)
        raise Failed("no popup appeared within %d s (windows: %s)" % (limit, self.titles()))

    def titles(self):
        return ", ".join('"%s"' % name for name, _ in self.windows()) or "none"

    # ---- input ----
    def focus(self, win):
        win.set_input_focus(X.RevertToParent, X.CurrentTime)
        self.x.sync()
        time.sleep(0.2)

    def click(self, x, y):
        xtest.fake_input(self.x, X.MotionNotify, x=x, y=y)
        self.x.sync()
        time.sleep(0.05)
        xtest.fake_input(self.x, X.ButtonPress, 1)
        xtest.fake_input(self.x, X.ButtonRelease, 1)
        self.x.sync()

    def keys(self, *names):
        subprocess.run(["xdotool", "key", "--delay", "60"] + list(names), env=self.env, check=True)

    def type(self, text):
        subprocess.run(["xdotool", "type", "--delay", "20", text], env=self.env, check=True)

    def close_window(self, win):
        message = protocol.event.ClientMessage(
            window=win, client_type=self.protocols, data=(32, [self.delete, X.CurrentTime, 0, 0, 0]))
        win.send_event(message)
        # Keep the connection until the server has taken the message.
        self.x.sync()


class Program:
    """One run of the program, with its own folders and, when asked, the virtual sensor."""

    def __init__(self, session, bin_dir, name, sensor_args):
        self.session = session
        self.dir = os.path.join(session.root, name)
        self.files = os.path.join(self.dir, "files")
        config = os.path.join(self.dir, "config")
        home = os.path.join(self.dir, "home")
        links = os.path.join(config, "corvel-scope", "dosdevices")
        for d in (self.files, home, links):
            os.makedirs(d)
        self.env = dict(session.env, HOME=home, XDG_CONFIG_HOME=config)
        self.log = open(os.path.join(self.dir, "program.log"), "w")
        self.sensor = None
        self.sensor_log = open(os.path.join(self.dir, "sensor.log"), "w")
        self.sensor = subprocess.Popen(
            [os.path.join(bin_dir, "corvel-virtual-sensor"), "--com", "1", "--unpaced",
             "--eeprom", os.path.join(config, "virtual-sensor.eeprom")] + sensor_args,
            env=self.env, stdout=self.sensor_log, stderr=self.sensor_log)
        link = os.path.join(links, "com1")
        deadline = time.time() + STEP_LIMIT
        while not os.path.lexists(link):
            if self.sensor.poll() is not None or time.time() > deadline:
                raise Failed("the virtual sensor did not publish COM1")
            time.sleep(0.05)
        self.proc = subprocess.Popen([os.path.join(bin_dir, "corvel-scope")], cwd=self.files,
                                     env=self.env, stdout=self.log, stderr=self.log)
        self.app = None

    def check_alive(self):
        if self.proc.poll() is not None:
            raise Failed("the program ended early, %s" % describe(self.proc.returncode))

    # ---- controls, by their accessible names ----
    def accessible_app(self):
        if self.app is not None:
            return self.app
        deadline = time.time() + STEP_LIMIT
        while time.time() < deadline:
            self.check_alive()
            self.app = program_app(self.session.a11y, self.proc.pid)
            if self.app is not None:
                return self.app
            time.sleep(0.2)
        raise Failed("the program did not join the accessibility bus within %d s" % STEP_LIMIT)

    def find(self, window_title, role, name):
        """Screen centre of the showing control of that role and name in that window
        (for a text field: its text)."""
        owner, path = self.accessible_app()
        bus = self.session.a11y
        deadline = time.time() + STEP_LIMIT
        while time.time() < deadline:
            self.check_alive()
            app = bus.get_object(owner, path)
            for child in app.GetChildren(dbus_interface="org.a11y.atspi.Accessible"):
                top = bus.get_object(*child)
                if str(prop(top, "Name")) != window_title:
                    continue
                found = self.search(top, role, name, 0)
                if found:
                    return found
            time.sleep(0.2)
        raise Failed('no %s "%s" showing in "%s" within %d s; it shows: %s' %
                     (role or "control", name, window_title, STEP_LIMIT, self.shown(window_title)))

    def shown(self, window_title):
        """What the window shows, as role "name" items, for a failure's report."""
        owner, path = self.accessible_app()
        bus = self.session.a11y
        out = []

        def walk(obj, depth):
            for child in obj.GetChildren(dbus_interface="org.a11y.atspi.Accessible"):
                node = bus.get_object(*child)
                if not node.GetState(dbus_interface="org.a11y.atspi.Accessible")[0] & STATE_SHOWING:
                    continue
                node_role = str(node.GetRoleName(dbus_interface="org.a11y.atspi.Accessible"))
                out.append('%s "%s"' % (node_role, prop(node, "Name")))
                if node_role not in ("table", "list", "combo box", "tree", "tree table") and depth < 8:
                    walk(node, depth + 1)

        try:
            for child in bus.get_object(owner, path).GetChildren(dbus_interface="org.a11y.atspi.Accessible"):
                top = bus.get_object(*child)
                if str(prop(top, "Name")) == window_title:
                    walk(top, 0)
        except dbus.DBusException as why:
            out.append("(%s)" % why.get_dbus_message())
        return ", ".join(out) or "nothing"

    def search(self, obj, role, name, depth):
        bus = self.session.a11y
        for child in obj.GetChildren(dbus_interface="org.a11y.atspi.Accessible"):
            node = bus.get_object(*child)
            try:
                state = node.GetState(dbus_interface="org.a11y.atspi.Accessible")
                if not state[0] & STATE_SHOWING:
                    continue
                node_role = str(node.GetRoleName(dbus_interface="org.a11y.atspi.Accessible"))
                if role == "text" and node_role == role:
                    content = node.GetText(0, -1, dbus_interface="org.a11y.atspi.Text")
                    label = str(content).strip()
                else:
                    label = str(prop(node, "Name"))
                if role in (None, node_role) and label == name:
                    x, y, w, h = node.GetExtents(dbus.UInt32(0), dbus_interface="org.a11y.atspi.Component")
                    return int(x + w // 2), int(y + h // 2)
                # Lists and tables hold many items and never a control the check needs.
                if node_role in ("table", "list", "combo box", "tree", "tree table") or depth > 8:
                    continue
                found = self.search(node, role, name, depth + 1)
            except dbus.DBusException:
                continue  # gone meanwhile
            if found:
                return found
        return None

    # ---- operator steps ----
    def press(self, window_title, role, name):
        x, y = self.find(window_title, role, name)
        say('press %s "%s" in "%s"' % (role, name, window_title))
        self.session.click(x, y)

    def key_on(self, window_title, *keys):
        win = self.session.wait_window(window_title, self)
        self.session.focus(win)
        say("keys %s on \"%s\"" % (" ".join(keys), window_title))
        self.session.keys(*keys)

    def expect_popup(self, title):
        name, win = self.session.wait_popup(self)
        if name != title:
            raise Failed('expected the popup "%s", saw "%s"' % (title, name))
        say('popup "%s" shown' % name)
        return win

    def dismiss(self, title, key="Return"):
        win = self.expect_popup(title)
        self.session.focus(win)
        self.session.keys(key)
        self.session.wait_gone(title, self)
        say('popup "%s" dismissed (%s)' % (title, key))

    def choose_file(self, title, path):
        """Types the path into the file dialog of that title and accepts it."""
        win = self.expect_popup(title)
        self.session.focus(win)
        self.session.keys("ctrl+a")
        self.session.type(path)
        time.sleep(0.3)
        self.session.keys("Return")
        self.session.wait_gone(title, self)
        say('file dialog "%s": chose %s' % (title, path))

    def wait_file(self, path, what):
        deadline = time.time() + STEP_LIMIT
        while not (os.path.isfile(path) and os.path.getsize(path) > 0):
            self.check_alive()
            if time.time() > deadline:
                raise Failed("%s wrote nothing to %s within %d s" % (what, path, STEP_LIMIT))
            time.sleep(0.1)
        say("%s wrote %s" % (what, os.path.basename(path)))

    def close_panel(self, title):
        win = self.session.wait_window(title, self)
        say('close "%s" (WM_DELETE_WINDOW)' % title)
        self.session.close_window(win)

    def finish(self):
        """Closes the main window; the exit status, or None when the program did not end."""
        self.check_alive()
        name, _ = next(((n, w) for n, w in self.session.windows() if n not in PANELS), (None, None))
        if name is not None:
            raise Failed('a popup "%s" is still open before the close' % name)
        self.close_panel(MAIN)
        try:
            return self.proc.wait(timeout=EXIT_LIMIT)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        if self.sensor and self.sensor.poll() is None:
            self.sensor.terminate()
            try:
                self.sensor.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.sensor.kill()
                self.sensor.wait()
        self.log.close()
        self.sensor_log.close()


def describe(status):
    if status is None:
        return "no end within %d s" % EXIT_LIMIT
    if status < 0:
        number = -status
        try:
            name = signal.Signals(number).name
        except ValueError:
            name = "signal"
        return "killed by %s (shell status %d)" % (name, 128 + number)
    return "status %d" % status


# ---- the scenarios: what an operator opens before closing the main window ----

def start_notice(p):
    """A sensor that never answers: the link check's notice, dismissed."""
    p.dismiss("INFO!")
    p.session.wait_window(MAIN, p)


def parameter_file(p):
    """FILE chosen; F9 saves a file, F10 loads it, F10 on a FIFO is refused."""
    saved = os.path.join(p.files, "params.dat")
    fifo = os.path.join(p.files, "fifo.dat")
    os.mkfifo(fifo)
    p.session.wait_window(MAIN, p)
    p.press(MAIN, "check box", "FILE")
    p.key_on(MAIN, "F9")
    p.choose_file("init", saved)
    p.wait_file(saved, "F9")
    p.key_on(MAIN, "F10")
    p.choose_file("init", saved)
    p.key_on(MAIN, "F10")
    p.choose_file("init", fifo)
    p.dismiss("ATTENTION!")


def record_file(p):
    """The recorder's file selection, a new file chosen."""
    p.session.wait_window(MAIN, p)
    p.press(MAIN, "push button", "RECORDER")
    p.session.wait_window(RECORDER, p)
    p.press(RECORDER, "push button", "SELECT FILE")
    chosen = os.path.join(p.files, "run.dat")
    p.choose_file("FILENAME!", chosen)
    p.find(RECORDER, "text", chosen)  # the record file field holds it
    say("the recorder shows the chosen file")
    p.press(RECORDER, "push button", "CLOSE RECORDER")
    p.session.wait_window(MAIN, p)


def record_one_frame(p, record):
    """The recorder opened, one frame recorded by hand into `record`, then SHOW GRAPH."""
    p.session.wait_window(MAIN, p)
    p.press(MAIN, "push button", "RECORDER")
    p.session.wait_window(RECORDER, p)
    p.press(RECORDER, "push button", "SELECT FILE")
    p.choose_file("FILENAME!", record)
    p.press(RECORDER, "push button", "MANUAL RECORD")
    p.wait_file(record, "MANUAL RECORD")
    p.press(RECORDER, "push button", "SHOW GRAPH")


def graph_panel(p):
    """A frame recorded by hand, the graph panel, OPEN FILE on it, EXPORT CSV and REPORT."""
    record = os.path.join(p.files, "frames.dat")
    csv = os.path.join(p.files, "frames.csv")
    pdf = os.path.join(p.files, "frames-report.pdf")
    record_one_frame(p, record)
    p.session.wait_window(GRAPH, p)
    p.press(GRAPH, "push button", "OPEN FILE")
    p.choose_file("OPEN RECORD FILE", record)
    p.press(GRAPH, "push button", "EXPORT CSV")
    p.choose_file("EXPORT CSV", csv)
    p.wait_file(csv, "EXPORT CSV")
    p.press(GRAPH, "push button", "REPORT")
    p.choose_file("REPORT", pdf)
    p.wait_file(pdf, "REPORT")
    p.close_panel(GRAPH)
    p.session.wait_gone(GRAPH, p)
    p.press(RECORDER, "push button", "CLOSE RECORDER")
    p.session.wait_window(MAIN, p)


def graph_keys(p):
    """The graph panel by its keys: Ctrl+O, Ctrl+E, Esc, CLOSE; Esc on the recorder."""
    record = os.path.join(p.files, "keys.dat")
    csv = os.path.join(p.files, "keys.csv")
    record_one_frame(p, record)
    p.key_on(GRAPH, "ctrl+o")
    p.choose_file("OPEN RECORD FILE", record)
    p.key_on(GRAPH, "ctrl+e")
    p.choose_file("EXPORT CSV", csv)
    p.wait_file(csv, "Ctrl+E")
    p.key_on(GRAPH, "Escape")
    p.session.wait_gone(GRAPH, p)
    p.press(RECORDER, "push button", "SHOW GRAPH")
    p.session.wait_window(GRAPH, p)
    p.press(GRAPH, "push button", "CLOSE")
    p.session.wait_gone(GRAPH, p)
    p.key_on(RECORDER, "Escape")
    p.session.wait_gone(RECORDER, p)
    p.session.wait_window(MAIN, p)


def port_chooser(p):
    """PORTS... opens the port chooser; Esc closes it."""
    p.session.wait_window(MAIN, p)
    p.press(MAIN, "push button", "PORTS…")
    p.dismiss("Serial ports", "Escape")


def calibration_and_recorder(p):
    """The calibration panel and the recorder panel, each opened and closed."""
    p.session.wait_window(MAIN, p)
    p.press(MAIN, "push button", "CALIBRATE")
    p.session.wait_window(CALIBRATION, p)
    p.press(CALIBRATION, "push button", "CLOSE")
    p.session.wait_gone(CALIBRATION, p)
    p.session.wait_window(MAIN, p)
    p.press(MAIN, "push button", "RECORDER")
    p.session.wait_window(RECORDER, p)
    p.press(RECORDER, "push button", "CLOSE RECORDER")
    p.session.wait_gone(RECORDER, p)
    p.session.wait_window(MAIN, p)


SCENARIOS = [
    ("start-notice", ["--no-answer"], start_notice),
    ("parameter-file", [], parameter_file),
    ("record-file", [], record_file),
    ("graph-panel", [], graph_panel),
    ("graph-keys", [], graph_keys),
    ("port-chooser", [], port_chooser),
    ("calibration-recorder", [], calibration_and_recorder),
]


def run(session, bin_dir, name, sensor_args, steps):
    print("%s: %s" % (name, steps.__doc__.strip()), flush=True)
    program = None
    try:
        program = Program(session, bin_dir, name, sensor_args)
        steps(program)
        status = program.finish()
    except Failed as why:
        print("%s: FAILED before the close: %s" % (name, why), flush=True)
        return False
    except Exception as why:  # a broken step of the check itself
        print("%s: FAILED, the check broke: %r" % (name, why), flush=True)
        return False
    finally:
        if program:
            program.stop()
    if status == 0:
        print("%s: passed, status 0" % name, flush=True)
        return True
    print("%s: FAILED on the close: %s (log: %s)" % (name, describe(status), program.log.name), flush=True)
    return False


def main():
    parser = argparse.ArgumentParser(description="Exit after popups and panels, under Xvfb.")
    parser.add_argument("bin_dir", help="folder with corvel-scope and corvel-virtual-sensor")
    parser.add_argument("--only", action="append", default=[], help="run only this scenario (repeatable)")
    parser.add_argument("--keep", action="store_true", help="keep the temporary folder with the logs")
    args = parser.parse_args()
    bin_dir = os.path.abspath(args.bin_dir)
    chosen = [s for s in SCENARIOS if not args.only or s[0] in args.only]
    if not chosen:
        sys.exit("exit-check: no scenario named %s" % ", ".join(args.only))
    for program in ("corvel-scope", "corvel-virtual-sensor"):
        if not os.access(os.path.join(bin_dir, program), os.X_OK):
            sys.exit("exit-check: %s is not in %s; build it first" % (program, bin_dir))
    for tool in ("dbus-daemon", "xdotool", "Xvfb"):
        if not shutil.which(tool):
            sys.exit("exit-check: %s is not installed (see setup.sh)" % tool)

    root = tempfile.mkdtemp(prefix="corvel-exit-")
    began = time.time()
    passed = 0
    session = None
    try:
        session = Session(root)
        for name, sensor_args, steps in chosen:
            passed += run(session, bin_dir, name, sensor_args, steps)
    except Failed as why:
        print("exit-check: %s" % why)
    finally:
        if session:
            session.close()
        if args.keep:
            print("exit-check: logs kept in %s" % root)
        else:
            shutil.rmtree(root, ignore_errors=True)
    print("exit-check: %d of %d scenarios ended with status 0 (%.0f s)" % (passed, len(chosen), time.time() - began))
    return 0 if passed == len(chosen) else 1


if __name__ == "__main__":
    sys.exit(main())
