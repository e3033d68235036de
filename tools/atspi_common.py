"""What the checks that drive the program through assistive technology share
(exit-check.py, wayland-check.py): their failure and step report, a private
session bus with the accessibility bus it brings, and the program's own
application found on that bus by its process. dbus is imported only when a
bus is asked for, so that a check can still say it is skipped without it.
"""
import subprocess

ACCESSIBLE = "org.a11y.atspi.Accessible"
STATE_SHOWING = 1 << 25


class Failed(Exception):
    pass


def say(text):
    print("  " + text, flush=True)


def start_session_bus(env, keep):
    """Starts a private session bus with env; keep(daemon) is called at once,
    so that the caller ends the daemon whatever follows. Returns its address."""
    daemon = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=env)
    keep(daemon)
    address = daemon.stdout.readline().decode().strip()
    if not address:
        raise Failed("the session bus did not start")
    return address


def accessibility_bus(session_bus):
    """A connection to the accessibility bus that session_bus brings up."""
    import dbus
    try:
        address = session_bus.get_object("org.a11y.Bus", "/org/a11y/bus").GetAddress(
            dbus_interface="org.a11y.Bus")
    except dbus.DBusException as why:
        raise Failed("no accessibility bus (at-spi2-core): %s" % why.get_dbus_message())
    return dbus.bus.BusConnection(address)


def program_app(bus, pid):
    """(owner, path) of the application that process pid shows on the
    accessibility bus, or None while it has not joined."""
    import dbus
    names = bus.get_object("org.freedesktop.DBus", "/org/freedesktop/DBus")
    registry = bus.get_object("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root")
    for owner, path in registry.GetChildren(dbus_interface=ACCESSIBLE):
        try:
            if names.GetConnectionUnixProcessID(owner, dbus_interface="org.freedesktop.DBus") == pid:
                return owner, path
        except dbus.DBusException:
            continue
    return None


def prop(obj, name):
    """A property of an accessible object (Name, Description, ...)."""
    return obj.Get(ACCESSIBLE, name, dbus_interface="org.freedesktop.DBus.Properties")
