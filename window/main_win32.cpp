#include "linefiles/platform.h"
#include "window/form1_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  IgnoreClosedPipes();
  Form1 form(instance);
  return form.Run(show);
}
