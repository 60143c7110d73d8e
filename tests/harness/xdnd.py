"""A minimal XDnD drag source, as a file manager is: drags files (a text/uri-list of file://
URIs) or one text (text/plain;charset=utf-8, UTF8_STRING) onto the window under a screen
point and drops them there."""

import select
import time
import urllib.parse
from ctypes import CDLL, POINTER, Structure, Union, byref, c_char_p, c_int, c_long, c_uint, c_ulong, c_void_p

HEAD = [("type", c_int), ("serial", c_ulong), ("send_event", c_int), ("display", c_void_p)]


class _Client(Structure):
    _fields_ = HEAD + [("window", c_ulong), ("message_type", c_ulong), ("format", c_int),
                       ("l", c_long * 5)]


class _Selection(Structure):  # a SelectionRequest (with the owner) or a SelectionNotify
    _fields_ = HEAD + [(n, c_ulong) for n in ("owner", "requestor", "selection", "target",
                                              "property", "time")]


class _Notify(Structure):
    _fields_ = HEAD + [(n, c_ulong) for n in ("requestor", "selection", "target", "property", "time")]


class _Event(Union):
    _fields_ = [("type", c_int), ("client", _Client), ("request", _Selection), ("notify", _Notify),
                ("pad", c_long * 24)]


NAMES = ("XdndAware", "XdndEnter", "XdndPosition", "XdndStatus", "XdndDrop", "XdndFinished",
         "XdndLeave", "XdndSelection", "XdndActionCopy", "text/uri-list", "text/plain;charset=utf-8", "UTF8_STRING")


def drop(display_name, x, y, items, text=False, hold=0.3):
    """Drags `items` (Linux paths, or with `text` one text) to (x, y), waits `hold` seconds
    and drops; True when the target took the drop."""
    x11 = CDLL("libX11.so.6")
    x11.XOpenDisplay.restype, x11.XDefaultRootWindow.restype = c_void_p, c_ulong
    x11.XCreateSimpleWindow.restype = c_ulong
    for name in ("XDefaultRootWindow", "XFlush", "XPending", "XConnectionNumber", "XCloseDisplay"):
        getattr(x11, name).argtypes = [c_void_p]
    x11.XCreateSimpleWindow.argtypes = [c_void_p, c_ulong] + [c_int] * 4 + [c_uint, c_ulong, c_ulong]
    x11.XTranslateCoordinates.argtypes = [c_void_p, c_ulong, c_ulong, c_int, c_int, POINTER(c_int),
                                          POINTER(c_int), POINTER(c_ulong)]
    x11.XGetWindowProperty.argtypes = [c_void_p, c_ulong, c_ulong, c_long, c_long, c_int, c_ulong,
                                       POINTER(c_ulong), POINTER(c_int), POINTER(c_ulong),
                                       POINTER(c_ulong), POINTER(c_void_p)]
    x11.XChangeProperty.argtypes = [c_void_p, c_ulong, c_ulong, c_ulong, c_int, c_int, c_char_p, c_int]
    x11.XSendEvent.argtypes = [c_void_p, c_ulong, c_int, c_long, POINTER(_Event)]
    x11.XWarpPointer.argtypes = [c_void_p, c_ulong, c_ulong] + [c_int] * 2 + [c_uint] * 2 + [c_int] * 2
    x11.XSetSelectionOwner.argtypes = [c_void_p, c_ulong, c_ulong, c_ulong]
    dpy = x11.XOpenDisplay(display_name.encode())
    atoms = (c_ulong * len(NAMES))()
    x11.XInternAtoms(c_void_p(dpy), (c_char_p * len(NAMES))(*(n.encode() for n in NAMES)),
                     len(NAMES), 0, atoms)
    a = dict(zip(NAMES, atoms))
    kinds = (a["text/plain;charset=utf-8"], a["UTF8_STRING"]) if text else (a["text/uri-list"],)
    payload = (items[0] if text else "".join(
        "file://" + urllib.parse.quote(str(p), safe="/!$&'()*+,;=:@~") + "\r\n" for p in items)).encode()
    root = x11.XDefaultRootWindow(dpy)
    source = x11.XCreateSimpleWindow(dpy, root, -10, -10, 1, 1, 0, 0, 0)
    x11.XSetSelectionOwner(dpy, a["XdndSelection"], source, 0)
    # The deepest XdndAware window at (x, y) on the way down from the root.
    target, parent, child, tx, ty = 0, root, c_ulong(), c_int(), c_int()
    while x11.XTranslateCoordinates(dpy, root, parent, x, y, byref(tx), byref(ty), byref(child)) \
            and child.value:
        kind, fmt, count, left, data = c_ulong(), c_int(), c_ulong(), c_ulong(), c_void_p()
        x11.XGetWindowProperty(dpy, child, a["XdndAware"], 0, 1, 0, 0, byref(kind), byref(fmt),
                               byref(count), byref(left), byref(data))
        target, parent = child.value if kind.value else target, child.value
    assert target, f"no drop target at {x}, {y}"
    x11.XWarpPointer(dpy, 0, root, 0, 0, 0, 0, x, y)

    def send(name, *data):
        event = _Event()
        event.client = _Client(33, 0, 0, dpy, target, a[name], 32, (c_long * 5)(source, *data))
        x11.XSendEvent(dpy, target, 0, 0, byref(event))
        x11.XFlush(dpy)

    def pump(name, seconds):
        """Events until a client message `name` arrives (its data) or the time is up,
        answering requests for the dragged data meanwhile."""
        deadline, event = time.monotonic() + seconds, _Event()
        while time.monotonic() < deadline:
            while x11.XPending(dpy):
                x11.XNextEvent(c_void_p(dpy), byref(event))
                if event.type == 30:  # SelectionRequest
                    r = event.request
                    reply = _Event()
                    reply.notify = _Notify(31, 0, 0, dpy, r.requestor, r.selection, r.target, 0, r.time)
                    if r.target in kinds:
                        reply.notify.property = r.property or r.target
                        x11.XChangeProperty(dpy, r.requestor, reply.notify.property, r.target, 8, 0,
                                            payload, len(payload))
                    x11.XSendEvent(dpy, r.requestor, 0, 0, byref(reply))
                    x11.XFlush(dpy)
                elif event.type == 33 and name and event.client.message_type == a[name]:
                    return list(event.client.l)
            select.select([x11.XConnectionNumber(dpy)], [], [], 0.05)
        return None

    send("XdndEnter", 5 << 24, *kinds, *([0] * (3 - len(kinds))))
    for step in (0, 1):  # two positions, a pixel apart, as a hand moves
        send("XdndPosition", 0, ((x + step) << 16) | y, 0, a["XdndActionCopy"])
        status = pump("XdndStatus", 5)
    pump(None, hold)
    accepted = bool(status and status[1] & 1)
    send("XdndDrop" if accepted else "XdndLeave", 0, 0)
    finished = accepted and pump("XdndFinished", 10)
    x11.XCloseDisplay(dpy)
    return bool(finished and finished[1] & 1)
