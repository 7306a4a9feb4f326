/* A panel for the real-window tests: a dock window along the bottom of the screen that
 * reserves its height through _NET_WM_STRUT_PARTIAL, as a desktop's task bar does, so
 * that the window manager's work area (_NET_WORKAREA) leaves it out. Runs until killed.
 *
 *   zz-strut-panel HEIGHT RRGGBB
 */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstdio>
#include <cstdlib>


int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: %s HEIGHT RRGGBB\n", argv[0]);
    return 2;
  }
  const int height = atoi(argv[1]);
  const unsigned long colour = strtoul(argv[2], NULL, 16);
  Display* d = XOpenDisplay(NULL);
  if (d == NULL || height <= 0) return 1;
  const int screen = DefaultScreen(d);
  const int w = DisplayWidth(d, screen), h = DisplayHeight(d, screen);
  /* The server paints the background itself: no drawing of our own is needed. */
  Window panel = XCreateSimpleWindow(d, RootWindow(d, screen), 0, h - height, (unsigned)w,
                                     (unsigned)height, 0, 0, colour);
  Atom type = XInternAtom(d, "_NET_WM_WINDOW_TYPE", False);
  Atom dock = XInternAtom(d, "_NET_WM_WINDOW_TYPE_DOCK", False);
  XChangeProperty(d, panel, type, XA_ATOM, 32, PropModeReplace, (unsigned char*)&dock, 1);
  /* left, right, top, bottom, then the start and end of each along its edge */
  long strut[12] = {0, 0, 0, height, 0, 0, 0, 0, 0, 0, 0, w - 1};
  XChangeProperty(d, panel, XInternAtom(d, "_NET_WM_STRUT_PARTIAL", False), XA_CARDINAL, 32,
                  PropModeReplace, (unsigned char*)strut, 12);
  XChangeProperty(d, panel, XInternAtom(d, "_NET_WM_STRUT", False), XA_CARDINAL, 32,
                  PropModeReplace, (unsigned char*)strut, 4);
  // Where it asked to be: the window manager would place it otherwise.
  XSizeHints hints = {};
  hints.flags = USPosition | PPosition | PMinSize | PMaxSize;
  hints.x = 0;
  hints.y = h - height;
  hints.min_width = hints.max_width = w;
  hints.min_height = hints.max_height = height;
  XSetWMNormalHints(d, panel, &hints);
  XStoreName(d, panel, "zz-strut-panel");
  XMapWindow(d, panel);
  XFlush(d);
  for (;;) {
    XEvent e;
    XNextEvent(d, &e);
  }
}
