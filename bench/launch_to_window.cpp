// Times a program from its launch to the mapping of its first window on the X server:
// starts it, waits for the server to report a top-level window mapped, prints the
// milliseconds between, and ends the program. Gives up after 20 seconds or when the
// program ends first. Usage: launch_to_window PROGRAM [ARGUMENT...], DISPLAY set.
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>

extern char** environ;

namespace {

bool WindowMapped(Display* display) {
  while (XPending(display) > 0) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == MapNotify && !event.xmap.override_redirect) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
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
  bool mapped = false;
  while (!mapped && Clock::now() - start < std::chrono::seconds(20)) {
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    ::poll(&connection, 1, 100);
    mapped = WindowMapped(display);
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
