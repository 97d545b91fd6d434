"""What the X test tools share: libX11 and libXtst through ctypes, the
top-level windows, their UTF-8 titles, and key presses. Only those two
libraries are used, so the tools work on a bare Xvfb."""
import ctypes

X = ctypes.cdll.LoadLibrary("libX11.so.6")
XTEST = ctypes.cdll.LoadLibrary("libXtst.so.6")
X.XOpenDisplay.restype = ctypes.c_void_p
X.XOpenDisplay.argtypes = [ctypes.c_char_p]
X.XDefaultRootWindow.restype = ctypes.c_ulong
X.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
X.XInternAtom.restype = ctypes.c_ulong
X.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
X.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                         ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                         ctypes.POINTER(ctypes.c_uint)]
X.XGetWindowProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long, ctypes.c_long,
                                 ctypes.c_int, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                                 ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong),
                                 ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_void_p)]
X.XFree.argtypes = [ctypes.c_void_p]
X.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
X.XStringToKeysym.restype = ctypes.c_ulong
X.XStringToKeysym.argtypes = [ctypes.c_char_p]
X.XKeysymToKeycode.restype = ctypes.c_ubyte
X.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
XTEST.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
MODIFIERS = {"alt": b"Alt_L", "ctrl": b"Control_L", "shift": b"Shift_L"}


def open_display(tool):
    dpy = X.XOpenDisplay(None)
    if not dpy:
        raise SystemExit(f"{tool}: cannot open the display")
    return dpy


def top_level(dpy):
    root = X.XDefaultRootWindow(dpy)
    r, p, n = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_uint()
    children = ctypes.POINTER(ctypes.c_ulong)()
    X.XQueryTree(dpy, root, ctypes.byref(r), ctypes.byref(p), ctypes.byref(children), ctypes.byref(n))
    windows = [children[i] for i in range(n.value)]
    if children:
        X.XFree(children)
    return windows


def title(dpy, win):
    """The window's _NET_WM_NAME, or "" when it has none."""
    net_wm_name = X.XInternAtom(dpy, b"_NET_WM_NAME", 0)
    utf8 = X.XInternAtom(dpy, b"UTF8_STRING", 0)
    kind, fmt, count, left = ctypes.c_ulong(), ctypes.c_int(), ctypes.c_ulong(), ctypes.c_ulong()
    data = ctypes.c_void_p()
    if X.XGetWindowProperty(dpy, win, net_wm_name, 0, 1024, 0, utf8, ctypes.byref(kind), ctypes.byref(fmt),
                            ctypes.byref(count), ctypes.byref(left), ctypes.byref(data)) != 0 or not data:
        return ""
    text = ctypes.string_at(data, count.value).decode("utf-8", "replace")
    X.XFree(data)
    return text


def press(dpy, combo):
    """Presses and releases keys through XTest: "Return", "alt+Return", ..."""
    names = combo.split("+")
    codes = [X.XKeysymToKeycode(dpy, X.XStringToKeysym(MODIFIERS.get(n, n.encode()))) for n in names]
    for code in codes:
        XTEST.XTestFakeKeyEvent(dpy, code, 1, 0)
    for code in reversed(codes):
        XTEST.XTestFakeKeyEvent(dpy, code, 0, 0)
    X.XSync(dpy, 0)
