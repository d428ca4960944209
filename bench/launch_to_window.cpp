// Times a program from its launch to the mapping of its first window on the X server:
// starts it, waits for the server to report a top-level window mapped, prints the
// milliseconds between, and ends the program. With --until RRGGBB first, times it until a
// pixel of that colour shows in the window instead (the preview's lines drawn, say).
// Gives up after 20 seconds or when the program ends first.
// Usage: launch_to_window [--until RRGGBB] PROGRAM [ARGUMENT...], DISPLAY set.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string_view>

extern char** environ;

namespace {

// The top-level window mapped since the last look, or None.
Window MappedWindow(Display* display) {
  while (XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == MapNotify && !event.xmap.override_redirect) return event.xmap.window;
  }
  return None;
}

// Whether `window` shows a pixel of the colour `rgb` now.
bool Shows(Display* display, Window window, unsigned long rgb) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) return false;
  XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                            static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (image == nullptr) return false;
  bool found = false;
  for (int y = 0; y < attributes.height && !found; ++y) {
    for (int x = 0; x < attributes.width && !found; ++x) {
      found = (XGetPixel(image, x, y) & 0xFFFFFF) == rgb;
    }
  }
  XDestroyImage(image);
  return found;
}

}  // namespace

int main(int argc, char* argv[]) {
  unsigned long colour = 0;
  const bool until = argc > 3 && std::string_view(argv[1]) == "--until";
  if (until) {
    colour = std::strtoul(argv[2], nullptr, 16);
    argv += 2;
    argc -= 2;
  }
  if (argc < 2) return 2;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "no X server on DISPLAY\n");
    return 1;
  }
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  pid_t child = 0;
  if (posix_spawn(&child, argv[1], nullptr, nullptr, argv + 1, environ) != 0) {
    std::fprintf(stderr, "cannot start %s\n", argv[1]);
    return 1;
  }
  Window window = None;
  bool mapped = false;
  while (!mapped && Clock::now() - start < std::chrono::seconds(20)) {
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    ::poll(&connection, 1, window == None ? 100 : 1);
    if (window == None) window = MappedWindow(display);
    mapped = window != None && (!until || Shows(display, window, colour));
    if (!mapped && ::waitpid(child, nullptr, WNOHANG) == child) break;
  }
  const std::chrono::duration<double, std::milli> elapsed = Clock::now() - start;
  ::kill(child, SIGTERM);
  ::waitpid(child, nullptr, 0);
  if (!mapped) {
    std::fprintf(stderr, "%s showed no window\n", argv[1]);
    return 1;
  }
  std::printf("%.1f\n", elapsed.count());
  return 0;
}
