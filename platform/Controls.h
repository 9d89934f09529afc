// Controls: the visual components a form is built from. TControl has a parent, bounds,
// alignment, visibility, enabled state, caption, hint, colour and font; TWinControl adds
// children, tab order, focus with enter/exit events, keys and a window handle.
//
// Headless: the controls are the truth. A control may have a peer (a real widget) that is told
// of every change a person would see; a person's actions come back through the same entry
// points a test uses (UserDriver.h).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Classes.h"
#include "platform/Graphics.h"
#include "platform/TypInfo.h"

namespace krv {

class TWinControl;
class TCustomForm;

// ---- window handles and messages -------------------------------------------------------------

using HWND = intptr_t;

struct TMessage {
    unsigned Msg = 0;
    intptr_t WParam = 0;
    intptr_t LParam = 0;
    intptr_t Result = 0;
};
using TMessageHandler = std::function<void(TMessage& message)>;

inline constexpr unsigned WM_CLOSE = 0x0010;
inline constexpr unsigned WM_KEYDOWN = 0x0100;
inline constexpr unsigned WM_KEYUP = 0x0101;
inline constexpr unsigned WM_CHAR = 0x0102;
inline constexpr unsigned WM_MOUSEMOVE = 0x0200;
inline constexpr unsigned WM_LBUTTONDOWN = 0x0201;
inline constexpr unsigned WM_LBUTTONUP = 0x0202;
inline constexpr unsigned WM_USER = 0x0400;
inline constexpr unsigned CM_BASE = 0xB000;
inline constexpr unsigned CM_RELEASE = CM_BASE + 33;

// The live windowed control with that handle; nullptr for 0, a stale or a foreign handle.
TWinControl* FindControl(HWND handle);
bool IsWindow(HWND handle);

// ---- keys ------------------------------------------------------------------------------------

inline constexpr Word VK_BACK = 0x08;
inline constexpr Word VK_TAB = 0x09;
inline constexpr Word VK_RETURN = 0x0D;
inline constexpr Word VK_SHIFT = 0x10;
inline constexpr Word VK_CONTROL = 0x11;
inline constexpr Word VK_MENU = 0x12;
inline constexpr Word VK_ESCAPE = 0x1B;
inline constexpr Word VK_SPACE = 0x20;
inline constexpr Word VK_PRIOR = 0x21;
inline constexpr Word VK_NEXT = 0x22;
inline constexpr Word VK_END = 0x23;
inline constexpr Word VK_HOME = 0x24;
inline constexpr Word VK_LEFT = 0x25;
inline constexpr Word VK_UP = 0x26;
inline constexpr Word VK_RIGHT = 0x27;
inline constexpr Word VK_DOWN = 0x28;
inline constexpr Word VK_INSERT = 0x2D;
inline constexpr Word VK_DELETE = 0x2E;
inline constexpr Word VK_F1 = 0x70;
inline constexpr Word VK_F2 = 0x71;
inline constexpr Word VK_F3 = 0x72;
inline constexpr Word VK_F4 = 0x73;
inline constexpr Word VK_F5 = 0x74;
inline constexpr Word VK_F6 = 0x75;
inline constexpr Word VK_F7 = 0x76;
inline constexpr Word VK_F8 = 0x77;
inline constexpr Word VK_F9 = 0x78;
inline constexpr Word VK_F10 = 0x79;
inline constexpr Word VK_F11 = 0x7A;
inline constexpr Word VK_F12 = 0x7B;
inline constexpr Word VK_PROCESSKEY = 0xE5;  // a double-byte character typed through the input method

// What a focused control wants to handle itself instead of the form's dialog keys.
inline constexpr unsigned dlgcWantArrows = 0x0001;
inline constexpr unsigned dlgcWantTab = 0x0002;
inline constexpr unsigned dlgcWantAllKeys = 0x0004;  // Enter and Esc too
inline constexpr unsigned dlgcWantChars = 0x0080;

// ---- modal results and cursors ---------------------------------------------------------------

using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrAbort = 3;
inline constexpr TModalResult mrRetry = 4;
inline constexpr TModalResult mrIgnore = 5;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;
inline constexpr TModalResult mrAll = 8;
inline constexpr TModalResult mrNoToAll = 9;
inline constexpr TModalResult mrYesToAll = 10;

using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crMultiDrag = -16;
inline constexpr TCursor crSQLWait = -17;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;

const TIdentTable& CursorIdents();
const TTypeInfo& TypeInfoCursor();  // "TCursor", integer with the cursor identifiers
std::string CursorToString(TCursor cursor);
TCursor StringToCursor(const std::string& text);  // raises EConvertError

// ---- enumerations and event types ------------------------------------------------------------

enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };
enum TDragState : uint8_t { dsDragEnter, dsDragLeave, dsDragMove };
enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };

const TTypeInfo& TypeInfoAlign();      // "TAlign"
const TTypeInfo& TypeInfoAlignment();  // "TAlignment"

class TControl;

// Drag and dock objects exist only so the events can be forwarded; there is no drag machinery.
class TDragObject : public TObject {
    KRV_CLASS(TDragObject)
};
class TDragDockObject : public TDragObject {
    KRV_CLASS(TDragDockObject)
};

using TKeyEvent = TEvent<TObject*, Word&, TShiftState>;
using TKeyPressEvent = TEvent<TObject*, char&>;
using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int, int>;
using TDragDropEvent = TEvent<TObject*, TObject*, int, int>;
using TDragOverEvent = TEvent<TObject*, TObject*, int, int, TDragState, bool&>;
using TEndDragEvent = TEvent<TObject*, TObject*, int, int>;
using TStartDragEvent = TEvent<TObject*, TDragObject*&>;
using TStartDockEvent = TEvent<TObject*, TDragDockObject*&>;
using TGetSiteInfoEvent = TEvent<TObject*, TControl*, TRect&, TPoint, bool&>;
using TUnDockEvent = TEvent<TObject*, TControl*, TWinControl*, bool&>;

template <> inline constexpr const char* kEventTypeName<TKeyEvent> = "TKeyEvent";
template <> inline constexpr const char* kEventTypeName<TKeyPressEvent> = "TKeyPressEvent";
template <> inline constexpr const char* kEventTypeName<TMouseEvent> = "TMouseEvent";
template <> inline constexpr const char* kEventTypeName<TMouseMoveEvent> = "TMouseMoveEvent";
template <> inline constexpr const char* kEventTypeName<TDragDropEvent> = "TDragDropEvent";
template <> inline constexpr const char* kEventTypeName<TDragOverEvent> = "TDragOverEvent";
template <> inline constexpr const char* kEventTypeName<TStartDragEvent> = "TStartDragEvent";
template <> inline constexpr const char* kEventTypeName<TStartDockEvent> = "TStartDockEvent";
template <> inline constexpr const char* kEventTypeName<TGetSiteInfoEvent> = "TGetSiteInfoEvent";
template <> inline constexpr const char* kEventTypeName<TUnDockEvent> = "TUnDockEvent";

// ---- the widget peer seam --------------------------------------------------------------------

enum class TPeerChange : uint8_t {
    Bounds, Visible, Enabled, Text, Hint, Items, Checked, Color, Font, Focus, ActivePage, State, Destroyed
};

// A real widget mirroring a control. It is told of every visible change; it feeds a person's
// actions back through the entry points a test uses.
class TControlPeer {
public:
    virtual ~TControlPeer() = default;
    virtual void Changed(TControl& control, TPeerChange change) = 0;
};

// ---- size constraints ------------------------------------------------------------------------

// 0 means no limit. SetBounds keeps width and height inside.
class TSizeConstraints : public TPersistent {
    KRV_CLASS(TSizeConstraints)
    int MinWidth = 0;
    int MinHeight = 0;
    int MaxWidth = 0;
    int MaxHeight = 0;
    void Apply(int& width, int& height) const;
    void Assign(const TPersistent* source) override;
};

// ---- TControl --------------------------------------------------------------------------------

class TControl : public TComponent {
    KRV_CLASS(TControl)
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // Hierarchy. Setting the parent moves the control into the parent's children (and tab order
    // when windowed); an overriding SetParent must call this one.
    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    TCustomForm* ParentForm() const;  // the form that contains it (itself for a form)

    // Bounds, relative to the parent's client area.
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Right() const { return left_ + width_; }
    int Bottom() const { return top_ + height_; }
    void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
    void SetTop(int top) { SetBounds(left_, top, width_, height_); }
    void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
    void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
    // Negative extents are clamped to 0, and the constraints apply.
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    TSizeConstraints* Constraints() const { return constraints_.get(); }

    // The client area in the control's own coordinates.
    virtual TRect GetClientRect() const;
    TRect ClientRect() const { return GetClientRect(); }
    int ClientWidth() const { return GetClientRect().Width(); }
    int ClientHeight() const { return GetClientRect().Height(); }
    // Sets the size so that the client area gets the given extent.
    void SetClientWidth(int width);
    void SetClientHeight(int height);
    // Screen position of the client area's origin (forms sit at their Left/Top on the screen).
    TPoint ClientOrigin() const;
    TPoint ClientToScreen(TPoint point) const;
    TPoint ScreenToClient(TPoint point) const;
    // A point of this control's client area in the client coordinates of an ancestor.
    TPoint ClientToParent(TPoint point, const TWinControl* ancestor) const;

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    // State.
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and so are all its parents up to and including the form.
    bool Showing() const;
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);
    // Enabled, and so are all its parents: a disabled container makes its children inert.
    bool EnabledInParents() const;

    // Caption and Text are the same window text.
    virtual std::string GetText() const;
    virtual void SetText(const std::string& text);
    std::string Caption() const { return GetText(); }
    void SetCaption(const std::string& caption) { SetText(caption); }
    std::string Text() const { return GetText(); }

    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool showHint);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool parentShowHint);

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool parentColor);
    // The control's font; assigning it (or changing it) clears ParentFont.
    TFont* Font() const { return font_.get(); }
    void SetFont(const TFont* font) { font_->Assign(font); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool parentFont);

    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor) { cursor_ = cursor; }
    // The popup menu component (a TPopupMenu); cleared when the menu is freed.
    TComponent* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TComponent* menu);
    bool UseRightToLeftAlignment() const { return false; }

    // Z order among the parent's children.
    void BringToFront();
    void SendToBack();

    // Painting: Invalidate marks the control for painting; Update paints what is marked;
    // Repaint does both.
    virtual void Invalidate();
    void Update();
    void Repaint();
    void Refresh() { Repaint(); }
    bool NeedsPaint() const { return needsPaint_; }

    // Messages: handlers by message number (installed per control), then WndProc's default.
    void SetMessageHandler(unsigned msg, TMessageHandler handler);
    intptr_t Perform(unsigned msg, intptr_t wParam = 0, intptr_t lParam = 0);
    virtual void WndProc(TMessage& message);

    // Actions. Click() runs OnClick whatever the control's state; the others are what a
    // person's mouse does (UserDriver calls them).
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    // What a completed click by a person does: Click() here; check boxes toggle, and so on.
    virtual void UserClick();
    // Whether a press of the mouse moves the focus to the control first (windowed controls
    // that can take the focus: buttons, edits ...). Graphic controls never take it.
    virtual bool FocusOnClick() const { return false; }
    // Pressed by the left button and not yet released.
    bool MousePressed() const { return mousePressed_; }

    // Peer.
    void SetPeer(std::unique_ptr<TControlPeer> peer);
    TControlPeer* Peer() const { return peer_.get(); }
    void NotifyPeer(TPeerChange change);

    // Events.
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TDragDropEvent OnDragDrop;
    TDragOverEvent OnDragOver;
    TEndDragEvent OnEndDrag;
    TStartDragEvent OnStartDrag;
    TEndDragEvent OnEndDock;
    TStartDockEvent OnStartDock;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;
    // Hooks for descendants, after the change has been made.
    virtual void Resize();
    virtual void VisibleChanged();
    virtual void EnabledChanged();
    virtual void TextChanged();
    virtual void FontChanged();
    virtual void ColorChanged();
    // The parent's font/colour/show-hint changed (or the control moved to another parent).
    virtual void ParentFontChanged();
    virtual void ParentColorChanged();
    virtual void ParentShowHintChanged();
    // Paints the control; headless controls paint onto their recording canvas, whose record
    // starts afresh with every paint.
    virtual void Paint() {}
    virtual TCanvas* PaintCanvas() const { return nullptr; }
    // Messages without an installed handler.
    virtual void DefaultHandler(TMessage& message);
    // Sets the initial visibility without the change hooks (constructors).
    void InitVisible(bool visible) { visible_ = visible; }
    // Where the client area starts inside the control (a form's border and caption).
    virtual TPoint ClientAreaOffset() const { return {0, 0}; }
    // Stores the window text without side effects.
    void SetTextDirect(const std::string& text) { text_ = text; }
    void RequestAlign();

private:
    friend class TWinControl;
    void FontObjectChanged(TObject* sender);

    TWinControl* parent_ = nullptr;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    TAlign align_ = alNone;
    bool visible_ = true;
    bool enabled_ = true;
    std::string text_;
    std::string hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TColor color_ = clWindow;
    bool parentColor_ = false;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true;
    bool assigningParentFont_ = false;
    TCursor cursor_ = crDefault;
    TComponent* popupMenu_ = nullptr;
    bool needsPaint_ = true;
    bool mousePressed_ = false;
    std::unique_ptr<TSizeConstraints> constraints_;
    std::unique_ptr<TControlPeer> peer_;
    std::map<unsigned, TMessageHandler> messageHandlers_;
};

// ---- TWinControl -----------------------------------------------------------------------------

class TWinControl : public TControl {
    KRV_CLASS(TWinControl)
    explicit TWinControl(TComponent* owner);
    // Frees its child controls (also those owned elsewhere), as the library does.
    ~TWinControl() override;

    // Children in z order (creation order unless moved).
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const;
    const std::vector<TControl*>& ControlList() const { return controls_; }
    // The control itself or one of its descendants.
    bool ContainsControl(const TControl* control) const;
    TControl* FindChildControl(const std::string& name) const;

    // Tab order: dense (0..n-1 among windowed siblings). Setting it moves the control and
    // renumbers the siblings; values out of range go to the nearest end. While loading, the
    // values are kept and applied in order when loading ends. -1 without a parent.
    int TabOrder() const;
    void SetTabOrder(int tabOrder);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop) { tabStop_ = tabStop; }
    // Windowed children in tab order.
    const std::vector<TWinControl*>& TabList() const { return tabList_; }
    // Every windowed descendant in tab order, depth first.
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    // The next control after `current` (wrapping) among the descendants that can take the
    // focus (and have TabStop when checkTabStop; that are direct children when checkParent).
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const;
    // Focuses FindNextControl(current, goForward, checkTabStop, !checkTabStop) when there is
    // one: Tab walks every descendant with TabStop, arrows stay among the siblings.
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
    // Focuses the first control in tab order that can take it.
    void SelectFirst();

    // Focus. CanFocus: the control and its parents up to the form are visible and enabled.
    // SetFocus on a control that cannot take the focus does nothing; on a hidden form it only
    // records the form's ActiveControl.
    virtual bool CanFocus() const;
    virtual void SetFocus();
    bool Focused() const;

    // Keys, as the form dispatches them (the form's key preview runs first).
    virtual void KeyDown(Word& key, TShiftState shift);
    virtual void KeyUp(Word& key, TShiftState shift);
    virtual void KeyPress(char& key);
    // A typed character (one or two bytes) that survived the key-press events; controls that take
    // text insert it here. Control characters arrive too (#8 backspace, #13 Enter).
    virtual void InputChar(const std::string& ch);
    // Which keys the control handles itself instead of the form's dialog keys (dlgc...).
    virtual unsigned DialogCode() const { return 0; }
    // A dialog key (Enter, Esc, Ctrl+Tab ...) offered to the control: true when it used it. By
    // default offered to the windowed children in turn.
    virtual bool DialogKey(Word key, TShiftState shift);

    virtual void DoEnter();
    virtual void DoExit();

    // Window handle, created on demand; 0 until then.
    HWND Handle();
    bool HandleAllocated() const { return handle_ != 0; }
    HWND ParentWindow() const { return parentWindow_; }
    void SetParentWindow(HWND window) { parentWindow_ = window; }

    // Alignment of the aligned children inside the client area.
    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign();
    void Realign();
    bool AlignDisabled() const { return alignDisabled_ > 0; }

    void SetBounds(int left, int top, int width, int height) override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TGetSiteInfoEvent OnGetSiteInfo;
    TUnDockEvent OnUnDock;

protected:
    void Loaded() override;
    // The client area that aligned children share (a group box leaves room for its caption).
    virtual void AdjustClientRect(TRect& rect) const;
    virtual void AlignControls(TControl* control, TRect& rect);
    void EnabledChanged() override;
    void VisibleChanged() override;
    void FontChanged() override;
    void ColorChanged() override;
    void ParentShowHintChanged() override;

private:
    friend class TControl;
    friend class TCustomForm;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void ApplyStoredTabOrders();
    void MoveInTabList(int newIndex);
    void NotifyChildren(void (TControl::*hook)());

    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabList_;
    bool tabStop_ = false;
    int storedTabOrder_ = -1;
    HWND handle_ = 0;
    HWND parentWindow_ = 0;
    int alignDisabled_ = 0;
    bool realignPending_ = false;
};

// ---- painted controls ------------------------------------------------------------------------

// A windowed control that paints itself on a canvas.
class TCustomControl : public TWinControl {
    KRV_CLASS(TCustomControl)
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    TCanvas* Canvas() const { return canvas_.get(); }

protected:
    void Paint() override {}
    TCanvas* PaintCanvas() const override { return canvas_.get(); }

private:
    std::unique_ptr<TCanvas> canvas_;
};

// A control without a window: it paints on a canvas and never takes the focus.
class TGraphicControl : public TControl {
    KRV_CLASS(TGraphicControl)
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    TCanvas* Canvas() const { return canvas_.get(); }

protected:
    void Paint() override {}
    TCanvas* PaintCanvas() const override { return canvas_.get(); }

private:
    std::unique_ptr<TCanvas> canvas_;
};

}  // namespace krv
