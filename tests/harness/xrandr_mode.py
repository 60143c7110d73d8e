"""Changes the mode of an Xvfb screen's one output through RandR, as a monitor's resolution
change would, without the xrandr program: Xvfb keeps its frame buffer, but the output (the
monitor Wine sees) takes the new size and Wine is told of the change."""

import ctypes
from ctypes import POINTER, Structure, byref, c_char_p, c_int, c_uint, c_ulong, c_ushort, c_void_p


class _ModeInfo(Structure):
    _fields_ = [("id", c_ulong), ("width", c_uint), ("height", c_uint), ("dotClock", c_ulong),
                ("hSyncStart", c_uint), ("hSyncEnd", c_uint), ("hTotal", c_uint), ("hSkew", c_uint),
                ("vSyncStart", c_uint), ("vSyncEnd", c_uint), ("vTotal", c_uint),
                ("name", c_char_p), ("nameLength", c_uint), ("modeFlags", c_ulong)]


class _Resources(Structure):
    _fields_ = [("timestamp", c_ulong), ("configTimestamp", c_ulong),
                ("ncrtc", c_int), ("crtcs", POINTER(c_ulong)),
                ("noutput", c_int), ("outputs", POINTER(c_ulong)),
                ("nmode", c_int), ("modes", POINTER(_ModeInfo))]


def _libraries():
    x11 = ctypes.CDLL("libX11.so.6")
    rr = ctypes.CDLL("libXrandr.so.2")
    x11.XOpenDisplay.restype = c_void_p
    x11.XOpenDisplay.argtypes = [c_char_p]
    x11.XDefaultRootWindow.restype = c_ulong
    x11.XDefaultRootWindow.argtypes = [c_void_p]
    x11.XSync.argtypes = [c_void_p, c_int]
    x11.XCloseDisplay.argtypes = [c_void_p]
    rr.XRRGetScreenResources.restype = POINTER(_Resources)
    rr.XRRGetScreenResources.argtypes = [c_void_p, c_ulong]
    rr.XRRFreeScreenResources.argtypes = [POINTER(_Resources)]
    rr.XRRCreateMode.restype = c_ulong
    rr.XRRCreateMode.argtypes = [c_void_p, c_ulong, POINTER(_ModeInfo)]
    rr.XRRAddOutputMode.argtypes = [c_void_p, c_ulong, c_ulong]
    rr.XRRSetCrtcConfig.restype = c_int
    rr.XRRSetCrtcConfig.argtypes = [c_void_p, POINTER(_Resources), c_ulong, c_ulong, c_int, c_int,
                                    c_ulong, c_ushort, POINTER(c_ulong), c_int]
    return x11, rr


def set_mode(display_name: str, width: int, height: int) -> bool:
    """Puts the first output of `display_name` into a mode of width x height (made when the
    server has none of that size). True when the server took it."""
    x11, rr = _libraries()
    display = x11.XOpenDisplay(display_name.encode())
    if not display:
        return False
    try:
        root = x11.XDefaultRootWindow(display)
        resources = rr.XRRGetScreenResources(display, root)
        res = resources.contents
        if res.ncrtc < 1 or res.noutput < 1:
            return False
        mode = next((res.modes[i].id for i in range(res.nmode)
                     if (res.modes[i].width, res.modes[i].height) == (width, height)), 0)
        output = res.outputs[0]
        if not mode:
            name = f"{width}x{height}".encode()
            info = _ModeInfo(0, width, height, 60 * width * height, width, width, width, 0,
                             height, height, height, name, len(name), 0)
            mode = rr.XRRCreateMode(display, root, byref(info))
            rr.XRRAddOutputMode(display, output, mode)
            x11.XSync(display, 0)
            rr.XRRFreeScreenResources(resources)
            resources = rr.XRRGetScreenResources(display, root)
            res = resources.contents
        outputs = (c_ulong * 1)(output)
        status = rr.XRRSetCrtcConfig(display, resources, res.crtcs[0], 0, 0, 0, mode, 1, outputs, 1)
        x11.XSync(display, 0)
        rr.XRRFreeScreenResources(resources)
        return status == 0
    finally:
        x11.XCloseDisplay(display)
