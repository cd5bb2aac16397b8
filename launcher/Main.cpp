#include "launcher/Main.h"

namespace kel {

const TClassInfo& TFormMain::StaticClassInfo() {
    static const TClassInfo info("TFormMain", &TForm::StaticClassInfo());
    return info;
}

TFormMain::TFormMain(TComponent* owner) : TForm(owner) {
    SetName("FormMain");
    SetBounds(470, 264, Width(), Height());
    SetClientWidth(444);
    SetClientHeight(217);
    SetPosition(TPosition::poDesktopCenter);
    SetColor(clBtnFace);
    Font().SetName("Tahoma");
    Font().SetHeight(-11);
    Font().SetCharset(ANSI_CHARSET);
    Font().SetColor(clWindowText);
    OnCreate = [this](TObject* sender) { FormCreate(sender); };
    DoCreate();
}

void TFormMain::FormCreate(TObject*) { SetCaption(Application->Title()); }

} // namespace kel
