// The launcher's program body: product identity, the main window, the message loop.
#include <windows.h>

#include "framework/win/Forms.h"
#include "launcher/Main.h"
#include "launcher/Startup.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace kel;
    DisableInputMethod(); // before the first window
    InitFramework();
    MapHandPointCursor();
    ApplyProductTitle(); // the icon follows once the main window is painted
    Application->Initialize();
    Application->CreateForm<TFormMain>();
    Application->Run();
    DoneFramework();
    return 0;
}
