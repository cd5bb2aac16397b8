// Forms, the application object and the screen on real windows under Wine.
#include <gtest/gtest.h>

#include <memory>

#include "framework/win/Forms.h"
#include "framework/win/StdCtrls.h"

namespace kel {
namespace {

class Forms : public ::testing::Test {
protected:
    void SetUp() override { InitFramework(); }
};

TEST_F(Forms, TitleLivesInTheApplicationWindowAndIsCutTo255Characters) {
    Application->SetTitle(std::string(300, 'T'));
    EXPECT_EQ(Application->Title(), std::string(255, 'T'));
    char text[512] = {};
    GetWindowTextA(Application->Handle(), text, sizeof text);
    EXPECT_EQ(std::string(text).substr(0, 255), std::string(255, 'T'));
    Application->SetTitle("Larkspur Media Kit");
    EXPECT_EQ(Application->Title(), "Larkspur Media Kit");
}

TEST_F(Forms, ErrorBoxAddsAFullStopOnlyAfterCharactersThatSortAfterIt) {
    std::vector<std::pair<std::string, std::string>> shown;
    Application->ExceptionBox = [&](const std::string& text, const std::string& caption) {
        shown.emplace_back(text, caption);
    };
    Application->SetTitle("Product");
    Application->ShowException("Bitmap image is not valid");
    Application->ShowException("Ends with a stop.");
    Application->ShowException("Ends with a blank ");
    Application->ShowException("Ends with a comma,");
    Application->ShowException("");
    Application->ExceptionBox = nullptr;
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0].first, "Bitmap image is not valid.");
    EXPECT_EQ(shown[0].second, "Product");
    EXPECT_EQ(shown[1].first, "Ends with a stop.");
    EXPECT_EQ(shown[2].first, "Ends with a blank ");
    EXPECT_EQ(shown[3].first, "Ends with a comma,");
    EXPECT_EQ(shown[4].first, "");
}

TEST_F(Forms, CreateHandlerErrorIsShownAndTheFormIsCreatedAllTheSame) {
    std::vector<std::string> shown;
    Application->ExceptionBox = [&](const std::string& text, const std::string&) {
        shown.push_back(text);
    };
    struct TFailing : TForm {
        explicit TFailing(TComponent* owner) : TForm(owner) {
            OnCreate = [](TObject*) { throw EConvertError("'x' is not a valid integer value"); };
            DoCreate();
        }
    };
    std::unique_ptr<TFailing> form(new TFailing(nullptr));
    Application->ExceptionBox = nullptr;
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "'x' is not a valid integer value.");
    form->Show();
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

TEST_F(Forms, ClientSizeSurvivesBorderChangesAndCentringHappensAtFirstShow) {
    std::unique_ptr<TForm> form(new TForm(nullptr));
    form->SetClientWidth(444);
    form->SetClientHeight(217);
    form->SetBorderStyle(TFormBorderStyle::bsNone);
    EXPECT_EQ(form->Width(), 444);
    form->SetBorderStyle(TFormBorderStyle::bsSingle);
    EXPECT_EQ(form->ClientWidth(), 444);
    EXPECT_GT(form->Width(), 444);
    form->SetBorderStyle(TFormBorderStyle::bsNone);
    form->SetPosition(TPosition::poDesktopCenter);
    form->SetBounds(470, 264, form->Width(), form->Height());
    form->Show();
    RECT r;
    GetWindowRect(form->Handle(), &r);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXVIRTUALSCREEN) - 444) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYVIRTUALSCREEN) - 217) / 2);
    GetClientRect(form->Handle(), &r);
    EXPECT_EQ(r.right, 444);
    EXPECT_EQ(r.bottom, 217);
}

// The modal dialog's controls, pressed by timers from inside its loop. Other programs may hold the
// foreground meanwhile, so the keys go to the controls' windows directly.
TForm* gDialog = nullptr;
TButton* gFocusedButton = nullptr;

void CALLBACK PressEnter(HWND, UINT, UINT_PTR id, DWORD) {
    if (!gDialog || !IsWindowVisible(gDialog->Handle())) return;
    KillTimer(nullptr, id);
    PostMessageA(gFocusedButton->Handle(), WM_KEYDOWN, VK_RETURN, 0);
}

void CALLBACK CloseDialog(HWND, UINT, UINT_PTR id, DWORD) {
    if (!gDialog || !IsWindowVisible(gDialog->Handle())) return;
    KillTimer(nullptr, id);
    PostMessageA(gDialog->Handle(), WM_CLOSE, 0, 0);
}

TEST_F(Forms, ModalFormsEndWithTheModalResultOfTheirButtonsOrCancelOnClose) {
    std::unique_ptr<TForm> main(new TForm(nullptr));
    Application->SetMainForm(main.get());
    main->Show();
    std::unique_ptr<TForm> dialog(new TForm(main.get()));
    dialog->SetBorderStyle(TFormBorderStyle::bsDialog);
    auto* ok = new TButton(dialog.get());
    ok->SetParent(dialog.get());
    ok->SetCaption("OK");
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    auto* other = new TButton(dialog.get());
    other->SetParent(dialog.get());
    other->SetTop(40);
    gDialog = dialog.get();
    gFocusedButton = other; // Enter on another button still presses the default one
    SetTimer(nullptr, 0, 50, PressEnter);
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
    EXPECT_TRUE(IsWindowEnabled(main->Handle())); // the other windows take input again

    SetTimer(nullptr, 0, 50, CloseDialog);
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    gDialog = nullptr;
    Application->SetMainForm(nullptr);
}

TEST_F(Forms, ScreenCursorTableMapsHandPointToTheSystemHand) {
    EXPECT_EQ(Screen->Cursors(crHandPoint), LoadCursorA(nullptr, IDC_HAND));
    EXPECT_EQ(Screen->Cursors(crHourGlass), LoadCursorA(nullptr, IDC_WAIT));
    EXPECT_EQ(Screen->Cursors(12345), LoadCursorA(nullptr, IDC_ARROW));
    Screen->SetCursor(crHourGlass);
    EXPECT_EQ(Screen->Cursor(), crHourGlass);
    Screen->SetCursor(crDefault);
}

} // namespace
} // namespace kel
