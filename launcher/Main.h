// The launcher's main window.
#pragma once

#include "framework/win/Forms.h"

namespace kel {

class TFormMain : public TForm {
    KEL_DECLARE_CLASS(TFormMain)
public:
    explicit TFormMain(TComponent* owner);

    void FormCreate(TObject* sender);
};

} // namespace kel
