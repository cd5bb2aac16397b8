// MDI forms on real windows under Wine: the frame's MDI client, children made, activated,
// maximised, restored and ended through it, and the MDI system keys in the application's loop.
#include <gtest/gtest.h>

#include <memory>

#include "framework/win/Forms.h"

namespace kel {
namespace {

class FormsMDI : public ::testing::Test {
protected:
    void SetUp() override {
        InitFramework();
        frame = std::make_unique<TForm>(nullptr);
        frame->SetFormStyle(TFormStyle::fsMDIForm);
        frame->SetBounds(30, 30, 640, 480);
        Application->SetMainForm(frame.get());
        frame->Show();
    }
    void TearDown() override {
        Application->SetMainForm(nullptr);
        SetKeyboardState(keys);
    }
    TForm* NewChild(const std::string& caption) {
        auto* child = new TForm(frame.get());
        child->SetFormStyle(TFormStyle::fsMDIChild);
        child->SetCaption(caption);
        child->SetBounds(10, 10, 200, 150);
        child->Show();
        return child;
    }
    HWND Client() const { return frame->MDIClientHandle(); }
    HWND ActiveByMessage(BOOL* maximised = nullptr) const {
        return reinterpret_cast<HWND>(
            SendMessageA(Client(), WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(maximised)));
    }

    std::unique_ptr<TForm> frame;
    BYTE keys[256] = {};
};

TEST_F(FormsMDI, ChildrenLiveInTheFramesClientAndFollowItsActivation) {
    ASSERT_NE(Client(), nullptr);
    char className[32] = {};
    GetClassNameA(Client(), className, sizeof className);
    EXPECT_EQ(lstrcmpiA(className, "MDIClient"), 0);
    EXPECT_EQ(GetParent(Client()), frame->Handle());

    TForm* first = NewChild("First");
    TForm* second = NewChild("Second");
    EXPECT_EQ(GetParent(first->Handle()), Client());
    EXPECT_TRUE(GetWindowLongA(first->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
    EXPECT_EQ(frame->MDIChildCount(), 2);
    EXPECT_EQ(frame->ActiveMDIChild(), second);
    EXPECT_EQ(ActiveByMessage(), second->Handle());
    EXPECT_EQ(frame->MDIChildren(0), second); // topmost first
    EXPECT_TRUE(second->Active());

    SendMessageA(Client(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(first->Handle()), 0);
    EXPECT_EQ(frame->ActiveMDIChild(), first);
    EXPECT_TRUE(first->Active());
    EXPECT_FALSE(second->Active());
    EXPECT_EQ(frame->MDIChildren(0), first);
    EXPECT_THROW(frame->MDIChildren(2), Exception);

    // Bounds are kept in the client's coordinates.
    first->SetBounds(25, 35, 220, 160);
    RECT r;
    GetWindowRect(first->Handle(), &r);
    MapWindowPoints(nullptr, Client(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 25);
    EXPECT_EQ(r.top, 35);
    EXPECT_EQ(first->Left(), 25);

    // A child freed leaves through the client, which activates the other one.
    delete first;
    EXPECT_EQ(frame->MDIChildCount(), 1);
    EXPECT_EQ(frame->ActiveMDIChild(), second);
}

TEST_F(FormsMDI, AChildIsMaximisedAndRestoredInsideTheFrame) {
    TForm* other = NewChild("Other");
    TForm* child = NewChild("Child");
    (void)other;
    const RECT before = child->BoundsRect();
    SendMessageA(Client(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child->Handle()), 0);
    EXPECT_TRUE(IsZoomed(child->Handle()));
    BOOL maximised = FALSE;
    EXPECT_EQ(ActiveByMessage(&maximised), child->Handle());
    EXPECT_TRUE(maximised);
    // Its client area fills the MDI client's.
    RECT area;
    GetClientRect(Client(), &area);
    EXPECT_EQ(child->ClientWidth(), area.right);
    EXPECT_EQ(child->ClientHeight(), area.bottom);

    SendMessageA(Client(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(child->Handle()), 0);
    EXPECT_FALSE(IsZoomed(child->Handle()));
    const RECT after = child->BoundsRect();
    EXPECT_TRUE(EqualRect(&before, &after));
    ActiveByMessage(&maximised);
    EXPECT_FALSE(maximised);
}

TEST_F(FormsMDI, AChildShownMaximisedFillsTheFrameAndItsWindowStateFollows) {
    NewChild("Other");
    auto* child = new TForm(frame.get());
    child->SetFormStyle(TFormStyle::fsMDIChild);
    child->SetWindowState(TWindowState::wsMaximized);
    child->Show();
    EXPECT_TRUE(IsZoomed(child->Handle()));
    BOOL maximised = FALSE;
    EXPECT_EQ(ActiveByMessage(&maximised), child->Handle());
    EXPECT_TRUE(maximised);
    EXPECT_EQ(child->WindowState(), TWindowState::wsMaximized);
    child->SetWindowState(TWindowState::wsNormal);
    EXPECT_FALSE(IsZoomed(child->Handle()));
    EXPECT_EQ(child->WindowState(), TWindowState::wsNormal);
}

TEST_F(FormsMDI, RefreshingTheMenuKeepsTheFramesMenuBar) {
    TMainMenu menu(frame.get());
    auto* file = new TMenuItem(&menu);
    file->SetCaption("&File");
    menu.Items().Add(file);
    frame->SetMenu(&menu);
    NewChild("Child");
    SendMessageA(Client(), WM_MDIREFRESHMENU, 0, 0);
    EXPECT_EQ(GetMenu(frame->Handle()), menu.Handle());
    frame->SetMenu(nullptr);
}

TEST_F(FormsMDI, TheLoopGivesTheClientCtrlF6) {
    TForm* first = NewChild("First");
    TForm* second = NewChild("Second");
    ASSERT_EQ(frame->ActiveMDIChild(), second);
    GetKeyboardState(keys);
    BYTE pressed[256];
    GetKeyboardState(pressed);
    pressed[VK_CONTROL] = 0x80;
    SetKeyboardState(pressed);
    PostMessageA(second->Handle(), WM_KEYDOWN, VK_F6, 0);
    Application->ProcessMessages();
    SetKeyboardState(keys);
    EXPECT_EQ(frame->ActiveMDIChild(), first);
}

TEST_F(FormsMDI, AChildOutlivingItsFrameLosesItsWindowAndIsRefusedANewOne) {
    auto child = std::make_unique<TForm>(nullptr); // not owned by the frame
    child->SetFormStyle(TFormStyle::fsMDIChild);
    child->Show();
    ASSERT_TRUE(child->HandleAllocated());
    frame.reset();
    EXPECT_FALSE(child->HandleAllocated());
    EXPECT_THROW(child->HandleNeeded(), Exception);
    child.reset();
}

TEST_F(FormsMDI, AChildWithoutAnMDIFrameIsRefusedCleanly) {
    Application->SetMainForm(nullptr);
    TForm plain(nullptr);
    Application->SetMainForm(&plain);
    TForm orphan(nullptr);
    orphan.SetFormStyle(TFormStyle::fsMDIChild);
    EXPECT_THROW(orphan.HandleNeeded(), Exception);
    EXPECT_FALSE(orphan.HandleAllocated());
    Application->SetMainForm(frame.get());
    EXPECT_THROW(frame->SetFormStyle(TFormStyle::fsNormal), Exception); // it has its window
    EXPECT_NE(Client(), nullptr);
}

} // namespace
} // namespace kel
