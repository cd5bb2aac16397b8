#include "tools/gallery/PasswordPrompt.h"

#include "framework/win/Forms.h"
#include "framework/win/StdCtrls.h"

namespace kel::gallery {

bool AskPassword(const std::string& fileName, std::string& password) {
    TForm box(nullptr);
    box.SetBorderStyle(TFormBorderStyle::bsDialog);
    box.SetPosition(TPosition::poMainFormCenter);
    box.SetCaption("Password");
    box.SetClientWidth(300);
    box.SetClientHeight(110);
    auto* prompt = new TLabel(&box);
    prompt->SetParent(&box);
    prompt->SetBounds(12, 12, 276, 18);
    prompt->SetCaption("The skin file " + fileName + " is encrypted. Password:");
    auto* field = new TEdit(&box);
    field->SetParent(&box);
    field->SetBounds(12, 36, 276, 22);
    field->SetPasswordChar('*');
    auto* ok = new TButton(&box);
    ok->SetParent(&box);
    ok->SetBounds(132, 72, 75, 25);
    ok->SetCaption("OK");
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    auto* cancel = new TButton(&box);
    cancel->SetParent(&box);
    cancel->SetBounds(213, 72, 75, 25);
    cancel->SetCaption("Cancel");
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    box.SetActiveControl(field);
    if (box.ShowModal() != mrOk) return false;
    password = field->Text();
    return true;
}

} // namespace kel::gallery
