#ifndef KELVANE_PLATFORM_WINDOWS_API_H_
#define KELVANE_PLATFORM_WINDOWS_API_H_

// The one way into the Windows API for every file of the project: the wide (W) functions,
// no min and max macros, the lean set of headers (each file adds the others it needs, such
// as <commctrl.h>, after this one). The least Windows, 10, is the build's (_WIN32_WINNT).
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#endif  // KELVANE_PLATFORM_WINDOWS_API_H_
