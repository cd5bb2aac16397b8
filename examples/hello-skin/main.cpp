// A form framed by the skin library: a skinned form in the BlueGlass style, with its title bar and
// a skinned main menu shown as the form's menu bar.
#include <windows.h>

#include "framework/win/Forms.h"
#include "skin/frame/KELForm.h"
#include "skin/frame/KELMainMenu.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace kel;
    InitFramework();
    Application->Initialize();

    auto* form = Application->CreateForm<TForm>();
    form->SetBounds(200, 150, 420, 280);
    auto* skin = new TkelForm(form);
    skin->SetUIStyle(TkelUIStyle::BlueGlass);
    skin->SetCaption("Hello, skin");

    auto* menu = new TkelMainMenu(form);
    auto* file = new TMenuItem(form);
    file->SetCaption("&File");
    auto* quit = new TMenuItem(form);
    quit->SetCaption("E&xit");
    quit->OnClick = [form](TObject*) { form->Close(); };
    file->Add(quit);
    menu->Items().Add(file);
    skin->SetMenu(menu);

    form->Show();
    Application->Run();
    DoneFramework();
    return 0;
}
