/* A minimal XDnD drag source for the end-to-end tests: drags files (or one web address)
 * onto the window under a screen point and drops them there, as a file manager would.
 *
 *   xdnd_drop [--hold MS] [--text] X Y ITEM...
 *
 * ITEMs are Linux paths (sent as a text/uri-list of file:// URIs) or, with --text, one
 * text (sent as text/plain;charset=utf-8 and UTF8_STRING). --hold waits that long between
 * the pointer's arrival and the drop, so that a test can look at the drag.
 * Exit status: 0 the target took the drop, 1 it refused it, 2 no drop target there,
 * 3 the target did not answer in time, 4 usage or display error. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static Display *dpy;
static Window source;
static Atom aAware, aEnter, aPosition, aStatus, aDrop, aFinished, aLeave, aSelection, aCopy,
    aUriList, aTextPlain, aUtf8;
static char *payload;
static int asText;

static long now_ms(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000L + t.tv_nsec / 1000000L;
}

/* The topmost XdndAware window at (x, y): walk down from the root, remember the last
 * window on the way that announces XdndAware. */
static Window find_target(int x, int y) {
  Window root = DefaultRootWindow(dpy), parent = root, child = None, found = None;
  int tx, ty;
  while (XTranslateCoordinates(dpy, root, parent, x, y, &tx, &ty, &child) && child != None) {
    Atom type;
    int format;
    unsigned long count, left;
    unsigned char *data = NULL;
    if (XGetWindowProperty(dpy, child, aAware, 0, 1, False, AnyPropertyType, &type, &format,
                           &count, &left, &data) == Success && type != None) {
      found = child;
    }
    if (data) XFree(data);
    parent = child;
  }
  return found;
}

static void send_message(Window target, Atom kind, long l1, long l2, long l3, long l4) {
  XEvent e;
  memset(&e, 0, sizeof e);
  e.xclient.type = ClientMessage;
  e.xclient.display = dpy;
  e.xclient.window = target;
  e.xclient.message_type = kind;
  e.xclient.format = 32;
  e.xclient.data.l[0] = (long)source;
  e.xclient.data.l[1] = l1;
  e.xclient.data.l[2] = l2;
  e.xclient.data.l[3] = l3;
  e.xclient.data.l[4] = l4;
  XSendEvent(dpy, target, False, NoEventMask, &e);
  XFlush(dpy);
}

static void answer_selection(XSelectionRequestEvent *request) {
  XEvent reply;
  memset(&reply, 0, sizeof reply);
  reply.xselection.type = SelectionNotify;
  reply.xselection.display = request->display;
  reply.xselection.requestor = request->requestor;
  reply.xselection.selection = request->selection;
  reply.xselection.target = request->target;
  reply.xselection.time = request->time;
  reply.xselection.property = None;
  const int offered = asText ? (request->target == aTextPlain || request->target == aUtf8)
                             : request->target == aUriList;
  if (offered) {
    Window requestor = request->requestor;
    Atom property = request->property != None ? request->property : request->target;
    XChangeProperty(dpy, requestor, property, request->target, 8, PropModeReplace,
                    (unsigned char *)payload, (int)strlen(payload));
    reply.xselection.property = property;
  }
  XSendEvent(dpy, request->requestor, False, NoEventMask, &reply);
  XFlush(dpy);
}

/* Handles events until a client message of `kind` arrives (returned in *out) or the
 * deadline passes; selection requests are answered meanwhile. kind None: just wait. */
static int pump(Atom kind, long deadline, XClientMessageEvent *out) {
  for (;;) {
    while (XPending(dpy)) {
      XEvent e;
      XNextEvent(dpy, &e);
      if (e.type == SelectionRequest) {
        answer_selection(&e.xselectionrequest);
      } else if (e.type == ClientMessage && kind != None && e.xclient.message_type == kind) {
        if (out) *out = e.xclient;
        return 1;
      }
    }
    const long left = deadline - now_ms();
    if (left <= 0) return 0;
    struct pollfd fd = {ConnectionNumber(dpy), POLLIN, 0};
    poll(&fd, 1, (int)(left < 50 ? left : 50));
  }
}

/* "file:///a/b c" with the characters a URI cannot hold escaped. */
static void append_uri(char *out, const char *path) {
  static const char safe[] = "-_.~/!$&'()*+,;=:@";
  strcat(out, "file://");
  char *end = out + strlen(out);
  for (const unsigned char *p = (const unsigned char *)path; *p; ++p) {
    if ((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9') ||
        strchr(safe, *p)) {
      *end++ = (char)*p;
    } else {
      end += sprintf(end, "%%%02X", *p);
    }
  }
  strcpy(end, "\r\n");
}

int main(int argc, char **argv) {
  long hold = 300;
  int first = 1;
  while (first < argc && strncmp(argv[first], "--", 2) == 0) {
    if (strcmp(argv[first], "--hold") == 0 && first + 1 < argc) {
      hold = atol(argv[first + 1]);
      first += 2;
    } else if (strcmp(argv[first], "--text") == 0) {
      asText = 1;
      first += 1;
    } else {
      break;
    }
  }
  if (argc - first < 3) {
    fprintf(stderr, "usage: xdnd_drop [--hold MS] [--text] X Y ITEM...\n");
    return 4;
  }
  const int x = atoi(argv[first]), y = atoi(argv[first + 1]);
  size_t size = 1;
  for (int i = first + 2; i < argc; ++i) size += strlen(argv[i]) * 3 + 16;
  payload = calloc(size, 1);
  if (!payload) return 4;
  for (int i = first + 2; i < argc; ++i) {
    if (asText) {
      strcat(payload, argv[i]);
    } else {
      append_uri(payload, argv[i]);
    }
  }

  dpy = XOpenDisplay(NULL);
  if (!dpy) return 4;
  aAware = XInternAtom(dpy, "XdndAware", False);
  aEnter = XInternAtom(dpy, "XdndEnter", False);
  aPosition = XInternAtom(dpy, "XdndPosition", False);
  aStatus = XInternAtom(dpy, "XdndStatus", False);
  aDrop = XInternAtom(dpy, "XdndDrop", False);
  aFinished = XInternAtom(dpy, "XdndFinished", False);
  aLeave = XInternAtom(dpy, "XdndLeave", False);
  aSelection = XInternAtom(dpy, "XdndSelection", False);
  aCopy = XInternAtom(dpy, "XdndActionCopy", False);
  aUriList = XInternAtom(dpy, "text/uri-list", False);
  aTextPlain = XInternAtom(dpy, "text/plain;charset=utf-8", False);
  aUtf8 = XInternAtom(dpy, "UTF8_STRING", False);
  source = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), -10, -10, 1, 1, 0, 0, 0);
  XSetSelectionOwner(dpy, aSelection, source, CurrentTime);

  const Window target = find_target(x, y);
  if (target == None) return 2;
  /* The pointer goes there too, as it would under a real drag. */
  XWarpPointer(dpy, None, DefaultRootWindow(dpy), 0, 0, 0, 0, x, y);

  send_message(target, aEnter, 5L << 24, asText ? (long)aTextPlain : (long)aUriList,
               asText ? (long)aUtf8 : 0, 0);
  /* Two positions, the second a pixel over, as a hand would move. */
  XClientMessageEvent status;
  int accepted = 0;
  for (int step = 0; step < 2; ++step) {
    send_message(target, aPosition, 0, ((long)(x + step) << 16) | (y & 0xFFFF), CurrentTime,
                 (long)aCopy);
    if (!pump(aStatus, now_ms() + 5000, &status)) return 3;
    accepted = (status.data.l[1] & 1) != 0;
  }
  pump(None, now_ms() + hold, NULL);
  if (!accepted) {
    send_message(target, aLeave, 0, 0, 0, 0);
    XCloseDisplay(dpy);
    return 1;
  }
  send_message(target, aDrop, 0, CurrentTime, 0, 0);
  XClientMessageEvent finished;
  if (!pump(aFinished, now_ms() + 10000, &finished)) return 3;
  const int taken = (finished.data.l[1] & 1) != 0;
  XCloseDisplay(dpy);
  return taken ? 0 : 1;
}
