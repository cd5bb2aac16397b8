// Controls: the windowless TGraphicControl painted on its parent's canvas, the windowed
// TWinControl with one window procedure per control, and TCustomControl with its own canvas.
// Mouse, keyboard, focus and the framework's notifications (mouse enter and leave, dialog keys
// and characters, focus changes, cancel mode) arrive as virtual calls.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/win/Graphics.h"
#include "framework/win/Menus.h"
#include "framework/win/WindowBinding.h"

namespace kel {

class TWinControl;
class TCustomForm;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftFlag : unsigned {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64
};
using TShiftState = unsigned;
using TMouseEvent = std::function<void(TObject*, TMouseButton, TShiftState, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject*, TShiftState, int x, int y)>;
using TKeyEvent = std::function<void(TObject*, WORD& key, TShiftState)>;
using TKeyPressEvent = std::function<void(TObject*, char& key)>;

// Cursor identifiers of the screen's cursor table.
using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
                  crHourGlass = -11, crNo = -18, crAppStart = -19, crHelp = -20, crHandPoint = -21;

enum TControlStyleFlag : unsigned {
    csCaptureMouse = 1,   // the control captures the mouse while a button is held on it
    csClickEvents = 2,    // press and release of the left button inside make a click
    csDoubleClicks = 4,   // the window receives double clicks
    csAcceptsControls = 8 // other controls may be placed on it
};

// Where a control places itself in its parent's client area when the parent is resized: against
// an edge (taking the parent's full width or height) or over what the other aligned controls
// leave free.
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
KEL_ENUM_NAMES(TAlign, "alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient")

// Modal results.
constexpr int mrNone = 0, mrOk = 1, mrCancel = 2;

// Message number of the button query that skinned buttons answer with 1.
constexpr UINT WM_BUTTONQUERY = WM_APP + 3000;

// The framework's own notifications, performed through a control's hooks and window procedure.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_RECREATEWND = CM_BASE + 51; // asks the control to recreate its window
constexpr UINT CM_FLOAT = CM_BASE + 58;       // a docked form became a top-level window again
// Messages a child window sent its parent (WM_COMMAND, WM_NOTIFY, WM_PARENTNOTIFY), handed back to
// the child control as CN_BASE + the message, with the same parameters.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_PARENTNOTIFY = CN_BASE + WM_PARENTNOTIFY;

TShiftState KeyboardShiftState(); // Shift, Ctrl and Alt as held right now

class TControl : public TComponent {
    KEL_DECLARE_CLASS(TControl)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
    void SetTop(int value) { SetBounds(left_, value, width_, height_); }
    void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
    void SetHeight(int value) { SetBounds(left_, top_, width_, value); }
    virtual void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
    virtual int ClientWidth() const { return width_; }
    virtual int ClientHeight() const { return height_; }
    virtual void SetClientWidth(int value) { SetWidth(value); }
    virtual void SetClientHeight(int value) { SetHeight(value); }
    RECT ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }
    POINT ClientOrigin() const; // screen position of the client area's top-left corner
    POINT ScreenToClient(POINT point) const;
    POINT ClientToScreen(POINT point) const;

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Showing() const; // visible, and every parent too
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool value);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value);

    TFont& Font() { return *font_; }
    const TFont& Font() const { return *font_; }
    void SetFont(const TFont& font) { font_->Assign(font); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);

    std::string Caption() const { return GetText(); }
    void SetCaption(const std::string& value) { SetText(value); }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value) { hint_ = value; }

    unsigned ControlStyle() const { return controlStyle_; }
    void SetControlStyle(unsigned value) { controlStyle_ = value; }

    TAlign Align() const { return align_; }
    void SetAlign(TAlign value);
    // Reading direction; a control following its parent (the default) takes the parent's.
    TBiDiMode BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode value);
    bool ParentBiDiMode() const { return parentBiDiMode_; }
    void SetParentBiDiMode(bool value);
    // True when text reads right to left: a right-to-left mode on a Middle-East system.
    bool UseRightToLeftReading() const;

    // Redraws: Invalidate later, Repaint at once.
    virtual void Invalidate();
    virtual void Repaint();
    void Update();
    void BringToFront();

    bool MouseCapture() const;
    void SetMouseCapture(bool value);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnResize; // the control's size changed

    // ---- Input and notifications, called by the framework ----
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseEnter(); // the mouse came over the control
    virtual void MouseLeave(); // the mouse left it
    virtual void CancelMode(); // drop any tracking (another window took the mouse)
    // A navigation key offered by the form; true when this control used it.
    virtual bool DialogKey(WORD key, TShiftState shift);
    // A character offered as an accelerator; true when this control used it.
    virtual bool DialogChar(char ch, TShiftState shift);
    virtual void FocusChanged(TWinControl* focused);
    virtual void EnabledChanged();
    virtual void VisibleChanged();
    virtual void FontChanged();
    virtual void ColorChanged();
    virtual void TextChanged();
    // Parent's font or colour changed: controls that follow their parent take it over.
    virtual void ParentFontChanged();
    virtual void ParentColorChanged();
    virtual void ParentBiDiModeChanged();
    virtual void BiDiModeChanged();
    // The size changed: fires OnResize.
    virtual void Resize();

    // Raw mouse input in client coordinates, from the control's window or its parent's.
    void HandleMouseButton(UINT message, TShiftState shift, int x, int y);
    void HandleMouseMove(TShiftState shift, int x, int y);

    // Paints a windowless control onto a device context whose origin is the control's corner.
    virtual void PaintTo(HDC dc);

protected:
    virtual std::string GetText() const { return text_; }
    virtual void SetText(const std::string& value);
    void InvalidateParentArea(const RECT& area);

    std::string text_;

private:
    friend class TWinControl;
    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true, enabled_ = true;
    TCursor cursor_ = crDefault;
    TAlign align_ = TAlign::alNone;
    TBiDiMode biDiMode_ = TBiDiMode::bdLeftToRight;
    bool parentBiDiMode_ = true;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true, parentColor_ = false;
    TColor color_ = clBtnFace;
    std::string hint_;
    unsigned controlStyle_ = csCaptureMouse | csClickEvents | csDoubleClicks;
    bool clicked_ = false; // left press arrived inside; a release inside is a click
    // The windowless control that has the mouse captured through its parent's window, if any.
    static inline TControl* captureControl_ = nullptr;
};

// A windowless control, painted on its parent's canvas.
class TGraphicControl : public TControl {
    KEL_DECLARE_CLASS(TGraphicControl)
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    void PaintTo(HDC dc) override;

protected:
    virtual void Paint() {}
    TCanvas& Canvas() { return canvas_; }

private:
    TCanvas canvas_;
};

// What a windowed control's window is made of; descendants adjust it in CreateParams.
using TCreateParams = TWindowParams;

class TWindowHook;

class TWinControl : public TControl, public TWindowTarget {
    KEL_DECLARE_CLASS(TWinControl)
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    HWND Handle();
    bool HandleAllocated() const { return window_.Handle() != nullptr; }
    void HandleNeeded() { Handle(); }
    static TWinControl* FromHandle(HWND window);

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(index); }
    // The topmost enabled, visible windowless child at a client point, or nullptr.
    TControl* ControlAtPos(POINT point, bool allowDisabled = false) const;

    int TabOrder() const;
    void SetTabOrder(int value);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value) { tabStop_ = value; }
    bool Focused() const;
    virtual bool CanFocus() const;
    virtual void SetFocus();
    // Next windowed control in tab order after `current` (wrapping), or nullptr.
    TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const;

    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool value) override;
    void SetEnabled(bool value) override;
    void Invalidate() override;
    void Repaint() override;
    bool DialogKey(WORD key, TShiftState shift) override; // offers the key to every child
    bool DialogChar(char ch, TShiftState shift) override; // offers the character to every child
    void FocusChanged(TWinControl* focused) override;     // passes the news to every child
    void FontChanged() override;
    void ColorChanged() override;

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    // The control's window procedure; descendants handle their messages and pass the rest on.
    // Hooks see each message first (newest first), then the framework's key handling, then this.
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Runs a message through the hooks and the window procedure as if the window had received it.
    LRESULT Perform(UINT message, WPARAM wParam, LPARAM lParam);
    // Paints the window's own face (for TCustomControl, its Paint) onto a DC.
    virtual void PaintWindow(HDC dc);
    void PaintControls(HDC dc); // the windowless children, in order, over the face

    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    // Places the aligned children: top ones from the top down, bottom ones from the bottom up,
    // then left and right ones in the height that is left, then the client one in the rest.
    void AlignControls();
    void BiDiModeChanged() override; // passes the news to every child

protected:
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    // Destroys the window; descendants first take back what the window would destroy with it.
    virtual void DestroyWnd();
    void DestroyHandle();
    // Recreates the window (through CM_RECREATEWND, so hooks see it) when there is one.
    void RecreateWnd();
    // The window's default handling of a message; MDI windows use their own default procedures.
    virtual LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void EraseBackground(HDC dc);
    bool DoubleBuffered() const { return doubleBuffered_; }
    void SetDoubleBuffered(bool value) { doubleBuffered_ = value; }
    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyUp(WORD& key, TShiftState shift);
    virtual void KeyPress(char& key);
    // A notification code (BN_CLICKED, ...) that a system control sent to its parent.
    virtual void CommandNotify(WORD code);
    void SetText(const std::string& value) override;
    std::string GetText() const override;

private:
    friend class TControl;
    friend class TWindowHook;
    LRESULT HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) final;
    void WindowDestroyed() final;
    // The hooks older than `after` (all of them for nullptr), then the control itself.
    LRESULT CallHooksAfter(const TWindowHook* after, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DispatchToControl(UINT message, WPARAM wParam, LPARAM lParam);
    bool PreTranslateKey(UINT message, WPARAM wParam);
    bool MouseMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool SetCursorMessage(WPARAM wParam, LPARAM lParam);
    LRESULT FocusMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void PaintHandler(HDC given);
    void PaintLayers(HDC dc, bool erase);
    void TrackMouse(POINT client);
    void LeaveMouse();
    bool RouteMouseToChild(UINT message, WPARAM wParam, LPARAM lParam);
    void UpdateHoverChild(TControl* child);
    void CreateChildHandles();

    TWindowBinding window_{*this};
    std::vector<TWindowHook*> hooks_; // newest first
    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabList_;
    bool tabStop_ = false;
    bool doubleBuffered_ = false;
    bool mouseInside_ = false; // entered and not yet left
    bool tracking_ = false;    // the system reports the next leave
    bool aligning_ = false;
    TControl* hoverChild_ = nullptr;
};

// Takes a first look at every message of a windowed control, before the control's own window
// procedure: the way a component takes over the window procedure of the form it stands on. A
// hook registers on construction and removes itself on destruction, in any order; the newest
// hook sees a message first. HookMessage handles the message or passes it on with CallNext,
// and its result goes back to the sender exactly.
class TWindowHook {
public:
    explicit TWindowHook(TWinControl& control);
    virtual ~TWindowHook();
    TWindowHook(const TWindowHook&) = delete;
    TWindowHook& operator=(const TWindowHook&) = delete;
    // The hooked control; nullptr once it is gone.
    TWinControl* Control() const { return control_; }

protected:
    virtual LRESULT HookMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // The older hooks and then the control's own handling.
    LRESULT CallNext(UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend class TWinControl;
    TWinControl* control_;
};

// A windowed control with its own canvas, painted by Paint on every paint request.
class TCustomControl : public TWinControl {
    KEL_DECLARE_CLASS(TCustomControl)
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    void PaintWindow(HDC dc) override;

protected:
    virtual void Paint() {}
    TCanvas& Canvas() { return canvas_; }

private:
    TCanvas canvas_;
};

// The form a control stands on (walking up the parents), or nullptr.
TCustomForm* GetParentForm(const TControl* control);

// Runs an event handler; an exception leaving it goes to the application's error box.
void SafeCall(const std::function<void()>& handler);

} // namespace kel
