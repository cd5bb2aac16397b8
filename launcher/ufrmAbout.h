// The About box: product name and icon, version, rights line, the home page and a support address.
#pragma once

#include <functional>

#include "framework/win/ExtCtrls.h"
#include "framework/win/Forms.h"
#include "framework/win/StdCtrls.h"

namespace kel {

class TfrmAbout : public TForm {
    KEL_DECLARE_CLASS(TfrmAbout)
public:
    explicit TfrmAbout(TComponent* owner);

    TImage* Image1;
    TLabel* lblAppName;
    TLabel* LabelVersion;
    TLabel* LabelCopyright;
    TLabel* LabelWeb;
    TLabel* LabelSupportEmail;
    TButton* Button1;

    void FormShow(TObject* sender);
    void LabelWebMouseEnter(TObject* sender);
    void LabelWebMouseLeave(TObject* sender);
    void LabelSupportEmailMouseEnter(TObject* sender);
    void LabelSupportEmailMouseLeave(TObject* sender);
    void LabelWebClick(TObject* sender);
    void LabelSupportEmailClick(TObject* sender);
    void Button1Click(TObject* sender);

    // The year of the local clock; tests put another clock in its place.
    static std::function<int()> CurrentYear;

private:
    // The labels' own stored captions, the templates of the version and rights lines.
    std::string versionTemplate_;
    std::string copyrightTemplate_;
};

// "support@" + the home page without every "http://www." (letter case ignored) and every "/".
std::string SupportAddressOf(const std::string& homePage);

} // namespace kel
