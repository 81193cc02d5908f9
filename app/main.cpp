// Kavo: the application object, the three forms, the message loop. The program takes no
// arguments.
#include <objbase.h>
#include <windows.h>

#include "app/pages/program.h"
#include "vcl/application.h"
#include "widetext/uni_application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The preview's filter graph is a COM object of this thread.
  CoInitialize(nullptr);
  InitApplication();
  InitWideApplication();
  try {
    CreateProgramForms();
    Application->Run();
  } catch (...) {
    Application->HandleException(Application);
  }
  // Frees the forms (the main window's shut-down runs here), then the application.
  DoneWideApplication();
  delete Application;
  CoUninitialize();
  return 0;
}
