#include "platform/Controls.h"

#include <algorithm>
#include <map>

#include "platform/Forms.h"

namespace krv {

// ---- window handles --------------------------------------------------------------------------

namespace {

// Handles are never reused, so a stale handle can never reach another window.
struct HandleTable {
    std::map<HWND, TWinControl*> windows;
    HWND next = 0x10000;
};

HandleTable& Handles() {
    static HandleTable table;
    return table;
}

}  // namespace

TWinControl* FindControl(HWND handle) {
    auto& windows = Handles().windows;
    auto it = windows.find(handle);
    return it == windows.end() ? nullptr : it->second;
}

bool IsWindow(HWND handle) { return FindControl(handle) != nullptr; }

// ---- cursors and enumerations ----------------------------------------------------------------

const TIdentTable& CursorIdents() {
    static const TIdentTable table = {
        {crDefault, "crDefault"}, {crNone, "crNone"}, {crArrow, "crArrow"}, {crCross, "crCross"},
        {crIBeam, "crIBeam"}, {crSizeNESW, "crSizeNESW"}, {crSizeNS, "crSizeNS"}, {crSizeNWSE, "crSizeNWSE"},
        {crSizeWE, "crSizeWE"}, {crUpArrow, "crUpArrow"}, {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
        {crNoDrop, "crNoDrop"}, {crHSplit, "crHSplit"}, {crVSplit, "crVSplit"}, {crMultiDrag, "crMultiDrag"},
        {crSQLWait, "crSQLWait"}, {crNo, "crNo"}, {crAppStart, "crAppStart"}, {crHelp, "crHelp"},
        {crHandPoint, "crHandPoint"}, {crSizeAll, "crSizeAll"},
    };
    return table;
}

const TTypeInfo& TypeInfoCursor() {
    static const TTypeInfo t = MakeIntegerType("TCursor", CursorIdents());
    return t;
}

std::string CursorToString(TCursor cursor) {
    std::string ident;
    return IntToIdent(cursor, ident, CursorIdents()) ? ident : IntToStr(cursor);
}

TCursor StringToCursor(const std::string& text) {
    int value = 0;
    if (IdentToInt(Trim(text), value, CursorIdents())) return value;
    return StrToInt(text);
}

const TTypeInfo& TypeInfoAlign() {
    static const TTypeInfo t = MakeEnumType("TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"});
    return t;
}

const TTypeInfo& TypeInfoAlignment() {
    static const TTypeInfo t = MakeEnumType("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});
    return t;
}

const TClassInfo& TDragObject::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TDragObject>("TDragObject", TObject::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TDragDockObject::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TDragDockObject>("TDragDockObject", TDragObject::StaticClassInfo()).Build();
    return info;
}

// ---- size constraints ------------------------------------------------------------------------

const TClassInfo& TSizeConstraints::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TSizeConstraints>("TSizeConstraints", TPersistent::StaticClassInfo())
            .Int("MaxHeight", [](TSizeConstraints* c) { return c->MaxHeight; }, [](TSizeConstraints* c, int v) { c->MaxHeight = v; })
            .Int("MaxWidth", [](TSizeConstraints* c) { return c->MaxWidth; }, [](TSizeConstraints* c, int v) { c->MaxWidth = v; })
            .Int("MinHeight", [](TSizeConstraints* c) { return c->MinHeight; }, [](TSizeConstraints* c, int v) { c->MinHeight = v; })
            .Int("MinWidth", [](TSizeConstraints* c) { return c->MinWidth; }, [](TSizeConstraints* c, int v) { c->MinWidth = v; })
            .Build();
    return info;
}

void TSizeConstraints::Apply(int& width, int& height) const {
    if (MaxWidth > 0) width = std::min(width, MaxWidth);
    if (MaxHeight > 0) height = std::min(height, MaxHeight);
    width = std::max(width, MinWidth);
    height = std::max(height, MinHeight);
}

void TSizeConstraints::Assign(const TPersistent* source) {
    if (auto* c = dynamic_cast<const TSizeConstraints*>(source)) {
        MinWidth = c->MinWidth;
        MinHeight = c->MinHeight;
        MaxWidth = c->MaxWidth;
        MaxHeight = c->MaxHeight;
        return;
    }
    TPersistent::Assign(source);
}

// ---- TControl --------------------------------------------------------------------------------

const TClassInfo& TControl::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TControl>("TControl", TComponent::StaticClassInfo())
                                       .Int("Left", &TControl::Left, &TControl::SetLeft)
                                       .Int("Top", &TControl::Top, &TControl::SetTop)
                                       .Int("Width", &TControl::Width, &TControl::SetWidth)
                                       .Int("Height", &TControl::Height, &TControl::SetHeight)
                                       .Int("Cursor", &TControl::Cursor, &TControl::SetCursor, TypeInfoCursor())
                                       .Str("Hint", &TControl::Hint, &TControl::SetHint)
                                       .Build();
    return info;
}

TControl::TControl(TComponent* owner)
    : TComponent(owner), font_(std::make_unique<TFont>()), constraints_(std::make_unique<TSizeConstraints>()) {
    font_->OnChange = TNotifyEvent(this, &TControl::FontObjectChanged);
}

TControl::~TControl() {
    NotifyPeer(TPeerChange::Destroyed);
    if (parent_) parent_->RemoveControl(this);
}

TCustomForm* TControl::ParentForm() const { return GetParentForm(this); }

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    constraints_->Apply(width, height);
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    bool resized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    NotifyPeer(TPeerChange::Bounds);
    if (resized && !IsLoading()) Resize();
    if (align_ != alNone) RequestAlign();
    Invalidate();
}

TRect TControl::GetClientRect() const { return Rect(0, 0, width_, height_); }

void TControl::SetClientWidth(int width) { SetWidth(width_ - ClientWidth() + width); }

void TControl::SetClientHeight(int height) { SetHeight(height_ - ClientHeight() + height); }

TPoint TControl::ClientOrigin() const {
    TPoint offset = ClientAreaOffset();
    TPoint origin = parent_ ? parent_->ClientOrigin() : TPoint{};
    return {origin.X + left_ + offset.X, origin.Y + top_ + offset.Y};
}

TPoint TControl::ClientToScreen(TPoint point) const {
    TPoint origin = ClientOrigin();
    return {point.X + origin.X, point.Y + origin.Y};
}

TPoint TControl::ScreenToClient(TPoint point) const {
    TPoint origin = ClientOrigin();
    return {point.X - origin.X, point.Y - origin.Y};
}

TPoint TControl::ClientToParent(TPoint point, const TWinControl* ancestor) const {
    const TControl* c = this;
    while (c && c != ancestor) {
        TPoint offset = c->ClientAreaOffset();
        point.X += c->left_ + offset.X;
        point.Y += c->top_ + offset.Y;
        c = c->parent_;
    }
    return point;
}

void TControl::SetAlign(TAlign align) {
    if (align == align_) return;
    TAlign old = align_;
    align_ = align;
    if (old != alNone || align != alNone) RequestAlign();
}

void TControl::RequestAlign() {
    if (parent_) parent_->Realign();
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    VisibleChanged();
    NotifyPeer(TPeerChange::Visible);
    if (align_ != alNone) RequestAlign();
}

bool TControl::Showing() const {
    for (const TControl* c = this; c; c = c->parent_)
        if (!c->visible_) return false;
    return true;
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    EnabledChanged();
    NotifyPeer(TPeerChange::Enabled);
    Invalidate();
}

bool TControl::EnabledInParents() const {
    for (const TControl* c = this; c; c = c->parent_)
        if (!c->enabled_) return false;
    return true;
}

std::string TControl::GetText() const { return text_; }

void TControl::SetText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    TextChanged();
    NotifyPeer(TPeerChange::Text);
    Invalidate();
}

void TControl::SetHint(const std::string& hint) {
    if (hint == hint_) return;
    hint_ = hint;
    NotifyPeer(TPeerChange::Hint);
}

void TControl::SetShowHint(bool showHint) {
    parentShowHint_ = false;
    if (showHint == showHint_) return;
    showHint_ = showHint;
    if (auto* self = dynamic_cast<TWinControl*>(this)) self->NotifyChildren(&TControl::ParentShowHintChanged);
}

void TControl::SetParentShowHint(bool parentShowHint) {
    if (parentShowHint == parentShowHint_) return;
    parentShowHint_ = parentShowHint;
    if (parentShowHint) ParentShowHintChanged();
}

void TControl::SetColor(TColor color) {
    parentColor_ = false;
    if (color == color_) return;
    color_ = color;
    ColorChanged();
    NotifyPeer(TPeerChange::Color);
    Invalidate();
}

void TControl::SetParentColor(bool parentColor) {
    if (parentColor == parentColor_) return;
    parentColor_ = parentColor;
    if (parentColor) ParentColorChanged();
}

void TControl::SetParentFont(bool parentFont) {
    if (parentFont == parentFont_) return;
    parentFont_ = parentFont;
    if (parentFont) ParentFontChanged();
}

void TControl::FontObjectChanged(TObject*) {
    if (!assigningParentFont_) parentFont_ = false;
    FontChanged();
    NotifyPeer(TPeerChange::Font);
    Invalidate();
}

void TControl::ParentFontChanged() {
    if (!parentFont_ || !parent_) return;
    assigningParentFont_ = true;
    try {
        font_->Assign(parent_->Font());
    } catch (...) {
        assigningParentFont_ = false;
        throw;
    }
    assigningParentFont_ = false;
}

void TControl::ParentColorChanged() {
    if (!parentColor_ || !parent_) return;
    SetColor(parent_->Color());
    parentColor_ = true;
}

void TControl::ParentShowHintChanged() {
    if (!parentShowHint_ || !parent_) return;
    SetShowHint(parent_->ShowHint());
    parentShowHint_ = true;
}

void TControl::SetPopupMenu(TComponent* menu) {
    if (menu == popupMenu_) return;
    if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = menu;
    if (menu) menu->FreeNotification(this);
}

void TControl::BringToFront() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.push_back(this);
    RequestAlign();
}

void TControl::SendToBack() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.insert(list.begin(), this);
    RequestAlign();
}

void TControl::Invalidate() { needsPaint_ = true; }

void TControl::Update() {
    if (!needsPaint_) return;
    needsPaint_ = false;
    if (TCanvas* canvas = PaintCanvas()) {
        canvas->ClearOperations();
        canvas->Font()->Assign(font_.get());
        canvas->Brush()->SetColor(color_);
    }
    Paint();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::SetMessageHandler(unsigned msg, TMessageHandler handler) {
    if (handler)
        messageHandlers_[msg] = std::move(handler);
    else
        messageHandlers_.erase(msg);
}

intptr_t TControl::Perform(unsigned msg, intptr_t wParam, intptr_t lParam) {
    TMessage message{msg, wParam, lParam, 0};
    WndProc(message);
    return message.Result;
}

void TControl::WndProc(TMessage& message) {
    auto it = messageHandlers_.find(message.Msg);
    if (it != messageHandlers_.end()) {
        TMessageHandler handler = it->second;  // the handler may replace itself
        handler(message);
        return;
    }
    DefaultHandler(message);
}

static int LowWordX(intptr_t lParam) { return static_cast<int16_t>(lParam & 0xFFFF); }
static int HighWordY(intptr_t lParam) { return static_cast<int16_t>((lParam >> 16) & 0xFFFF); }

void TControl::DefaultHandler(TMessage& message) {
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
        MouseDown(mbLeft, {}, LowWordX(message.LParam), HighWordY(message.LParam));
        break;
    case WM_LBUTTONUP:
        // A release without a press (as posted after a box) only clears the state.
        if (mousePressed_) MouseUp(mbLeft, {}, LowWordX(message.LParam), HighWordY(message.LParam));
        break;
    default:
        break;
    }
}

void TControl::Click() {
    TFormHandlerScope scope(this);
    OnClick(this);
}

void TControl::DblClick() {
    TFormHandlerScope scope(this);
    OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) mousePressed_ = true;
    TFormHandlerScope scope(this);
    OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) mousePressed_ = false;
    TFormHandlerScope scope(this);
    OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    TFormHandlerScope scope(this);
    OnMouseMove(this, shift, x, y);
}

void TControl::UserClick() { Click(); }

void TControl::SetPeer(std::unique_ptr<TControlPeer> peer) { peer_ = std::move(peer); }

void TControl::NotifyPeer(TPeerChange change) {
    if (peer_) peer_->Changed(*this, change);
}

void TControl::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && component == popupMenu_) popupMenu_ = nullptr;
    TComponent::Notification(component, operation);
}

void TControl::Loaded() { TComponent::Loaded(); }

void TControl::Resize() {
    TFormHandlerScope scope(this);
    OnResize(this);
}

void TControl::VisibleChanged() {}
void TControl::EnabledChanged() {}
void TControl::TextChanged() {}
void TControl::FontChanged() {}
void TControl::ColorChanged() {}

// ---- TWinControl -----------------------------------------------------------------------------

const TClassInfo& TWinControl::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TWinControl>("TWinControl", TControl::StaticClassInfo()).Build();
    return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, true);
    while (!controls_.empty()) {
        TControl* child = controls_.back();
        child->Free();
        // A child that survives its own destruction path must still leave the list.
        if (!controls_.empty() && controls_.back() == child) RemoveControl(child);
    }
    if (handle_) Handles().windows.erase(handle_);
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return controls_[index];
}

bool TWinControl::ContainsControl(const TControl* control) const {
    for (const TControl* c = control; c; c = c->Parent())
        if (c == this) return true;
    return false;
}

TControl* TWinControl::FindChildControl(const std::string& name) const {
    for (TControl* c : controls_)
        if (SameText(c->Name(), name)) return c;
    return nullptr;
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    control->parent_ = this;
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) tabList_.push_back(windowed);
    control->ParentFontChanged();
    control->ParentColorChanged();
    control->ParentShowHintChanged();
    control->NotifyPeer(TPeerChange::Bounds);
    if (control->Align() != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* control) {
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
        if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(windowed, true);
        tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), windowed), tabList_.end());
    }
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    control->parent_ = nullptr;
    if (control->Align() != alNone) Realign();
}

int TWinControl::TabOrder() const {
    if (storedTabOrder_ >= 0) return storedTabOrder_;
    if (!Parent()) return -1;
    const auto& list = Parent()->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int tabOrder) {
    if (IsLoading()) {
        storedTabOrder_ = tabOrder;
        return;
    }
    MoveInTabList(tabOrder);
}

void TWinControl::MoveInTabList(int newIndex) {
    if (!Parent()) return;
    auto& list = Parent()->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    int count = static_cast<int>(list.size());
    newIndex = std::clamp(newIndex, 0, count - 1);
    list.erase(it);
    list.insert(list.begin() + newIndex, this);
}

void TWinControl::ApplyStoredTabOrders() {
    // Place every child whose stored order is in range, then the rest keep their relative order.
    int count = static_cast<int>(tabList_.size());
    std::vector<TWinControl*> placed(tabList_.size(), nullptr);
    for (TWinControl* c : tabList_) {
        int order = c->storedTabOrder_;
        if (order >= 0 && order < count && !placed[order]) placed[order] = c;
    }
    for (int i = 0; i < count; ++i) {
        TWinControl* c = placed[i];
        if (!c) continue;
        c->storedTabOrder_ = -1;
        c->MoveInTabList(i);
    }
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* c : tabList_) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    int count = static_cast<int>(list.size());
    auto found = std::find(list.begin(), list.end(), current);
    int start = found != list.end() ? static_cast<int>(found - list.begin()) : (goForward ? count - 1 : 0);
    int i = start;
    do {
        i = goForward ? (i + 1) % count : (i + count - 1) % count;
        TWinControl* c = list[i];
        if (c->CanFocus() && (!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == this)) return c;
    } while (i != start);
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop)) next->SetFocus();
}

void TWinControl::SelectFirst() {
    if (TWinControl* first = FindNextControl(nullptr, true, true, false)) first->SetFocus();
}

bool TWinControl::CanFocus() const {
    TCustomForm* form = GetParentForm(this);
    if (!form) return false;
    for (const TControl* c = this; c && c != form; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    TCustomForm* form = GetParentForm(this);
    if (!form || !CanFocus()) return;
    if (!form->Visible()) {
        form->SetActiveControl(this);
        return;
    }
    form->FocusControl(this);
}

bool TWinControl::Focused() const {
    TCustomForm* form = GetParentForm(this);
    return form && form->Active() && form->ActiveControl() == this;
}

void TWinControl::KeyDown(Word& key, TShiftState shift) {
    TFormHandlerScope scope(this);
    OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(Word& key, TShiftState shift) {
    TFormHandlerScope scope(this);
    OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char& key) {
    TFormHandlerScope scope(this);
    OnKeyPress(this, key);
}

void TWinControl::InputChar(const std::string&) {}

bool TWinControl::DialogKey(Word key, TShiftState shift) {
    // The list may change while a control handles the key (a button closes the form).
    std::vector<TControl*> children = controls_;
    for (TControl* c : children) {
        auto* windowed = dynamic_cast<TWinControl*>(c);
        if (windowed && std::find(controls_.begin(), controls_.end(), c) != controls_.end() &&
            windowed->DialogKey(key, shift))
            return true;
    }
    return false;
}

void TWinControl::DoEnter() {
    TFormHandlerScope scope(this);
    OnEnter(this);
}

void TWinControl::DoExit() {
    TFormHandlerScope scope(this);
    OnExit(this);
}

HWND TWinControl::Handle() {
    if (!handle_) {
        HandleTable& table = Handles();
        handle_ = table.next;
        table.next += 4;
        table.windows[handle_] = this;
    }
    return handle_;
}

void TWinControl::EnableAlign() {
    if (alignDisabled_ > 0 && --alignDisabled_ == 0 && realignPending_) Realign();
}

void TWinControl::Realign() {
    if (alignDisabled_ > 0 || IsLoading()) {
        realignPending_ = true;
        return;
    }
    realignPending_ = false;
    TRect rect = GetClientRect();
    AdjustClientRect(rect);
    ++alignDisabled_;  // moving the children must not start another alignment
    try {
        AlignControls(nullptr, rect);
    } catch (...) {
        --alignDisabled_;
        throw;
    }
    --alignDisabled_;
}

void TWinControl::AdjustClientRect(TRect&) const {}

void TWinControl::AlignControls(TControl*, TRect& rect) {
    auto placeAll = [&](TAlign align, auto less, auto place) {
        std::vector<TControl*> list;
        for (TControl* c : controls_)
            if (c->Align() == align && c->Visible()) list.push_back(c);
        std::stable_sort(list.begin(), list.end(), less);
        for (TControl* c : list) place(c);
    };
    placeAll(
        alTop, [](TControl* a, TControl* b) { return a->Top() < b->Top(); },
        [&](TControl* c) {
            c->SetBounds(rect.Left, rect.Top, rect.Width(), c->Height());
            rect.Top += c->Height();
        });
    placeAll(
        alBottom, [](TControl* a, TControl* b) { return a->Bottom() > b->Bottom(); },
        [&](TControl* c) {
            c->SetBounds(rect.Left, rect.Bottom - c->Height(), rect.Width(), c->Height());
            rect.Bottom -= c->Height();
        });
    placeAll(
        alLeft, [](TControl* a, TControl* b) { return a->Left() < b->Left(); },
        [&](TControl* c) {
            c->SetBounds(rect.Left, rect.Top, c->Width(), rect.Height());
            rect.Left += c->Width();
        });
    placeAll(
        alRight, [](TControl* a, TControl* b) { return a->Right() > b->Right(); },
        [&](TControl* c) {
            c->SetBounds(rect.Right - c->Width(), rect.Top, c->Width(), rect.Height());
            rect.Right -= c->Width();
        });
    placeAll(
        alClient, [](TControl*, TControl*) { return false; },
        [&](TControl* c) { c->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height()); });
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    int oldWidth = Width();
    int oldHeight = Height();
    TControl::SetBounds(left, top, width, height);
    if (Width() != oldWidth || Height() != oldHeight) Realign();
}

void TWinControl::Loaded() {
    TControl::Loaded();
    ApplyStoredTabOrders();
    // A control whose parent was not being loaded places itself.
    if (storedTabOrder_ >= 0) {
        int order = storedTabOrder_;
        storedTabOrder_ = -1;
        MoveInTabList(order);
    }
    if (realignPending_) Realign();
}

void TWinControl::NotifyChildren(void (TControl::*hook)()) {
    for (TControl* c : std::vector<TControl*>(controls_)) (c->*hook)();
}

void TWinControl::EnabledChanged() {
    TControl::EnabledChanged();
    if (!Enabled())
        if (TCustomForm* form = GetParentForm(this); form && form != this) form->DefocusControl(this, false);
}

void TWinControl::VisibleChanged() {
    TControl::VisibleChanged();
    if (!Visible())
        if (TCustomForm* form = GetParentForm(this); form && form != this) form->DefocusControl(this, false);
}

void TWinControl::FontChanged() {
    TControl::FontChanged();
    NotifyChildren(&TControl::ParentFontChanged);
}

void TWinControl::ColorChanged() {
    TControl::ColorChanged();
    NotifyChildren(&TControl::ParentColorChanged);
}

void TWinControl::ParentShowHintChanged() { TControl::ParentShowHintChanged(); }

// ---- painted controls ------------------------------------------------------------------------

const TClassInfo& TCustomControl::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TCustomControl>("TCustomControl", TWinControl::StaticClassInfo()).Build();
    return info;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), canvas_(std::make_unique<TCanvas>()) {}

TCustomControl::~TCustomControl() = default;

const TClassInfo& TGraphicControl::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TGraphicControl>("TGraphicControl", TControl::StaticClassInfo()).Build();
    return info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), canvas_(std::make_unique<TCanvas>()) {}

TGraphicControl::~TGraphicControl() = default;

}  // namespace krv
