#include "launcher/ufrmAbout.h"

#include <windows.h>
#include <shellapi.h>

#include "framework/SysUtils.h"
#include "launcher/HelpLinkFuncs.h"
#include "launcher/UtilFuncs.h"

namespace kel {

std::function<int()> TfrmAbout::CurrentYear = [] {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return static_cast<int>(now.wYear);
};

const TClassInfo& TfrmAbout::StaticClassInfo() {
    static const TClassInfo info("TfrmAbout", &TForm::StaticClassInfo());
    return info;
}

namespace {

TLabel* CreateLabel(TfrmAbout* form, const char* name, int left, int top,
                    const std::string& caption) {
    auto* label = new TLabel(form);
    label->SetName(name);
    label->SetParent(form);
    label->SetLeft(left);
    label->SetTop(top);
    label->SetCaption(caption);
    return label;
}

void MakeLink(TLabel* label) {
    label->Font().SetName("Tahoma");
    label->Font().SetHeight(-11);
    label->Font().SetColor(clBlue);
    label->Font().SetStyle(fsUnderline);
    label->SetParentFont(false);
}

} // namespace

TfrmAbout::TfrmAbout(TComponent* owner) : TForm(owner) {
    SetName("frmAbout");
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetBounds(566, 341, Width(), Height());
    SetClientWidth(385);
    SetClientHeight(159);
    SetPosition(TPosition::poScreenCenter);
    SetCaption("frmAbout");
    SetColor(clBtnFace);
    Font().SetName("Tahoma");
    Font().SetHeight(-11);
    Font().SetCharset(DEFAULT_CHARSET);
    Font().SetColor(clWindowText);

    Image1 = new TImage(this);
    Image1->SetName("Image1");
    Image1->SetParent(this);
    Image1->SetBounds(8, 8, 33, 33);
    lblAppName = CreateLabel(this, "lblAppName", 50, 8, "lblAppName");
    LabelVersion = CreateLabel(this, "LabelVersion", 50, 24, "%s");
    LabelCopyright = CreateLabel(this, "LabelCopyright", 50, 56,
                                 "Copyright \xA9 2005-%d %s. All rights reserved.");
    LabelCopyright->SetAutoSize(false);
    LabelCopyright->SetBounds(50, 56, 327, 33);
    LabelCopyright->SetWordWrap(true);
    LabelWeb = CreateLabel(this, "LabelWeb", 50, 88, "http://www.");
    MakeLink(LabelWeb);
    LabelSupportEmail = CreateLabel(this, "LabelSupportEmail", 50, 104, "support@");
    MakeLink(LabelSupportEmail);
    versionTemplate_ = LabelVersion->Caption();
    copyrightTemplate_ = LabelCopyright->Caption();

    Button1 = new TButton(this);
    Button1->SetName("Button1");
    Button1->SetParent(this);
    Button1->SetBounds(152, 128, 89, 25);
    Button1->SetCaption("OK");
    Button1->SetDefault(true);
    Button1->SetTabOrder(0);

    const auto bind = [this](void (TfrmAbout::*handler)(TObject*)) {
        return [this, handler](TObject* sender) { (this->*handler)(sender); };
    };
    LabelWeb->OnMouseEnter = bind(&TfrmAbout::LabelWebMouseEnter);
    LabelWeb->OnMouseLeave = bind(&TfrmAbout::LabelWebMouseLeave);
    LabelWeb->OnClick = bind(&TfrmAbout::LabelWebClick);
    LabelSupportEmail->OnMouseEnter = bind(&TfrmAbout::LabelSupportEmailMouseEnter);
    LabelSupportEmail->OnMouseLeave = bind(&TfrmAbout::LabelSupportEmailMouseLeave);
    LabelSupportEmail->OnClick = bind(&TfrmAbout::LabelSupportEmailClick);
    Button1->OnClick = bind(&TfrmAbout::Button1Click);
    OnShow = bind(&TfrmAbout::FormShow);
    DoCreate();
}

std::string SupportAddressOf(const std::string& homePage) {
    static const std::string prefix = "http://www.";
    std::string host;
    for (size_t i = 0; i < homePage.size();) {
        if (SameText(homePage.substr(i, prefix.size()), prefix)) {
            i += prefix.size();
        } else {
            if (homePage[i] != '/') host += homePage[i];
            ++i;
        }
    }
    return "support@" + host;
}

void TfrmAbout::FormShow(TObject*) {
    const std::string title = Application->Title();
    lblAppName->SetCaption(title);
    SetCaption("About " + title);
    if (Application->Icon().Handle())
        Image1->Picture().SetGraphic(Application->Icon().Clone());
    else
        Image1->Picture().Clear();
    const int year = CurrentYear();
    LabelWeb->SetCaption(GetHomePage(title));
    LabelSupportEmail->SetCaption(SupportAddressOf(LabelWeb->Caption()));
    LabelVersion->SetCaption(Format(versionTemplate_, {ReadConfigValue("Version", "")}));
    LabelCopyright->SetCaption(
        Format(copyrightTemplate_, {year, ReadConfigValue("Copyright", "")}));
}

void TfrmAbout::LabelWebMouseEnter(TObject*) {
    SetCursor(crHandPoint);
}
void TfrmAbout::LabelWebMouseLeave(TObject*) {
    SetCursor(crArrow);
}
void TfrmAbout::LabelSupportEmailMouseEnter(TObject*) {
    SetCursor(crHandPoint);
}
void TfrmAbout::LabelSupportEmailMouseLeave(TObject*) {
    SetCursor(crArrow);
}

void TfrmAbout::LabelWebClick(TObject*) {
    ShellExecuteFn(Application->Handle(), "open", LabelWeb->Caption().c_str(), nullptr, nullptr,
                   SW_SHOWDEFAULT);
}

void TfrmAbout::LabelSupportEmailClick(TObject*) {
    ShellExecuteFn(Application->Handle(), "open",
                   ("mailto:" + LabelSupportEmail->Caption()).c_str(), nullptr, nullptr,
                   SW_SHOWDEFAULT);
}

void TfrmAbout::Button1Click(TObject*) {
    SetModalResult(mrOk);
}

} // namespace kel
