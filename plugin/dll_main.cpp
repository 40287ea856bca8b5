// The loader's notices to the Windows library. Freeing is BAV_Uninitialize's
// (exports.cpp): here, under the loader lock, nothing is freed, destroyed or
// waited for, since that could run other libraries' code or wait for a
// thread that waits for the lock.

#include <windows.h>

#include "platform/ui/backend.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  // Freed while the process goes on (Reserved is null then; at the end of
  // the process no message is dispatched any more): a window that outlives
  // the library must not call into it.
  if (reason == DLL_PROCESS_DETACH && reserved == nullptr) tv::OrphanUiWindows();
  return TRUE;
}
