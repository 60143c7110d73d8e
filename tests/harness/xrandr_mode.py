"""Changes the mode of an Xvfb screen's output through RandR (no xrandr program needed):
Xvfb keeps its frame buffer, but the output, the monitor Wine sees, takes the new size."""

from ctypes import CDLL, POINTER, Structure, byref, c_char_p, c_int, c_uint, c_ulong, c_ushort, c_void_p


class _Mode(Structure):
    _fields_ = [(n, t) for n, t in zip(
        ("id", "width", "height", "dotClock", "hSyncStart", "hSyncEnd", "hTotal", "hSkew",
         "vSyncStart", "vSyncEnd", "vTotal", "name", "nameLength", "modeFlags"),
        (c_ulong, c_uint, c_uint, c_ulong) + (c_uint,) * 7 + (c_char_p, c_uint, c_ulong))]


class _Resources(Structure):
    _fields_ = [("timestamp", c_ulong), ("configTimestamp", c_ulong), ("ncrtc", c_int),
                ("crtcs", POINTER(c_ulong)), ("noutput", c_int), ("outputs", POINTER(c_ulong)),
                ("nmode", c_int), ("modes", POINTER(_Mode))]


def set_mode(display_name: str, width: int, height: int) -> bool:
    """Puts the first output into a width x height mode (made when missing); True when the
    server took it."""
    x11, rr = CDLL("libX11.so.6"), CDLL("libXrandr.so.2")
    x11.XOpenDisplay.restype, x11.XOpenDisplay.argtypes = c_void_p, [c_char_p]
    x11.XDefaultRootWindow.restype, x11.XDefaultRootWindow.argtypes = c_ulong, [c_void_p]
    x11.XSync.argtypes, x11.XCloseDisplay.argtypes = [c_void_p, c_int], [c_void_p]
    rr.XRRGetScreenResources.restype = POINTER(_Resources)
    rr.XRRGetScreenResources.argtypes = [c_void_p, c_ulong]
    rr.XRRCreateMode.restype, rr.XRRCreateMode.argtypes = c_ulong, [c_void_p, c_ulong, POINTER(_Mode)]
    rr.XRRAddOutputMode.argtypes = [c_void_p, c_ulong, c_ulong]
    rr.XRRSetCrtcConfig.argtypes = [c_void_p, POINTER(_Resources), c_ulong, c_ulong, c_int, c_int,
                                    c_ulong, c_ushort, POINTER(c_ulong), c_int]
    display = x11.XOpenDisplay(display_name.encode())
    root = x11.XDefaultRootWindow(display)
    res = rr.XRRGetScreenResources(display, root).contents
    mode = next((res.modes[i].id for i in range(res.nmode)
                 if (res.modes[i].width, res.modes[i].height) == (width, height)), 0)
    if not mode:
        name = f"{width}x{height}".encode()
        mode = rr.XRRCreateMode(display, root, byref(_Mode(
            0, width, height, 60 * width * height, width, width, width, 0, height, height, height,
            name, len(name), 0)))
        rr.XRRAddOutputMode(display, res.outputs[0], mode)
        x11.XSync(display, 0)
        res = rr.XRRGetScreenResources(display, root).contents
    status = rr.XRRSetCrtcConfig(display, byref(res), res.crtcs[0], 0, 0, 0, mode, 1,
                                 (c_ulong * 1)(res.outputs[0]), 1)
    x11.XSync(display, 0)
    x11.XCloseDisplay(display)
    return status == 0
