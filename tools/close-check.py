#!/usr/bin/python3
"""Closes the main window the moment it is mapped, on a private X server.

Each round starts the program twice in a row on the same display, with no
device behind COM1 and no window manager. A closer waits for the main
window's MapNotify and sends WM_DELETE_WINDOW at once; every copy must then
end with status 0 within the time limit.

The closer waits for the server to have processed its message before it
lets go of its connection (--exit-at-once drops it instead). An X server
closes a client whose socket has hung up without reading what it had still
queued, so a closer that exits right after sending loses its message now and
then, before any program could see it. That mode is kept to show the
difference; it never fails the check.

    close-check.py PROGRAM [--rounds N] [--exit-at-once]
"""
import argparse
import os
import select
import subprocess
import sys
import tempfile
import time

from Xlib import X, display, protocol

TITLE = "CORVEL-Scope V2.0"


def start_server():
    read_fd, write_fd = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1920x1080x24", "-nolisten", "tcp"],
        pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_fd)
    number = b""
    deadline = time.time() + 20
    while not number.endswith(b"\n") and time.time() < deadline:
        if select.select([read_fd], [], [], 1)[0]:
            chunk = os.read(read_fd, 16)
            if not chunk:
                break
            number += chunk
    os.close(read_fd)
    if not number.strip():
        server.kill()
        sys.exit("close-check: Xvfb did not start")
    return server, ":" + number.decode().strip()


def window_name(win, net_wm_name):
    try:
        name = win.get_full_property(net_wm_name, X.AnyPropertyType)
        if name:
            value = name.value
            return value.decode("utf-8", "replace") if isinstance(value, bytes) else str(value)
        return win.get_wm_name() or ""
    except Exception:  # the window may be gone already
        return ""


def close_when_mapped(disp_name, program, env, exit_at_once, limit):
    """Starts one copy, closes it on map; returns (closed, exit status or None)."""
    conn = display.Display(disp_name)
    root = conn.screen().root
    root.change_attributes(event_mask=X.SubstructureNotifyMask)
    protocols = conn.intern_atom("WM_PROTOCOLS")
    delete = conn.intern_atom("WM_DELETE_WINDOW")
    net_wm_name = conn.intern_atom("_NET_WM_NAME")
    conn.sync()
    proc = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    closed = False
    deadline = time.time() + limit
    while not closed and time.time() < deadline and proc.poll() is None:
        if not conn.pending_events():
            select.select([conn], [], [], 0.05)
            continue
        event = conn.next_event()
        if event.type != X.MapNotify or window_name(event.window, net_wm_name) != TITLE:
            continue
        message = protocol.event.ClientMessage(
            window=event.window, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0]))
        event.window.send_event(message)
        if exit_at_once:
            conn.flush()
            conn.close()
        else:
            conn.sync()
        closed = True
    if not exit_at_once or not closed:
        conn.close()
    try:
        status = proc.wait(timeout=limit)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()
        status = None
    return closed, status


def main():
    parser = argparse.ArgumentParser(description="Immediate close of the main window, under Xvfb.")
    parser.add_argument("program")
    parser.add_argument("--rounds", type=int, default=10)
    parser.add_argument("--exit-at-once", action="store_true",
                        help="the closer drops its connection right after sending")
    args = parser.parse_args()
    program = os.path.abspath(args.program)

    server, disp_name = start_server()
    config = tempfile.mkdtemp(prefix="corvel-close-")
    links = os.path.join(config, "corvel-scope", "dosdevices")
    os.makedirs(links)
    # COM1 names a device that is not there: no link check, no popup.
    os.symlink(os.path.join(config, "no-such-device"), os.path.join(links, "com1"))
    env = dict(os.environ, DISPLAY=disp_name, XDG_CONFIG_HOME=config, QT_QPA_PLATFORM="xcb")
    env.pop("WAYLAND_DISPLAY", None)

    copies = ended = 0
    try:
        for _ in range(args.rounds):
            for _ in range(2):  # the second copy follows one that has just ended
                copies += 1
                closed, status = close_when_mapped(disp_name, program, env, args.exit_at_once, 10)
                if not closed:
                    print("close-check: the main window was never mapped (status %s)" % status)
                elif status == 0:
                    ended += 1
    finally:
        server.terminate()
        server.wait()
        subprocess.run(["rm", "-rf", config])

    mode = "closer exits at once" if args.exit_at_once else "closer waits for the server"
    print("close-check (%s): %d of %d copies ended on an immediate close" % (mode, ended, copies))
    return 0 if args.exit_at_once or ended == copies else 1


if __name__ == "__main__":
    sys.exit(main())
