#include "platform/StdCtrls.h"

#include <algorithm>

#include "platform/Forms.h"

namespace krv {

namespace {

int CharLenAt(const std::string& s, size_t i) {
    return i + 1 < s.size() && IsLeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
}

// Start of the character that ends at or covers byte `pos`.
int PreviousCharStart(const std::string& s, int pos) {
    int start = 0;
    for (int i = 0; i < pos && i < static_cast<int>(s.size()); i += CharLenAt(s, i))
        start = i;
    return start;
}

// `pos` moved back to a character boundary.
int CharBoundary(const std::string& s, int pos) {
    int i = 0;
    while (i < pos && i < static_cast<int>(s.size())) {
        const int next = i + CharLenAt(s, i);
        if (next > pos) break;
        i = next;
    }
    return i;
}

bool IsControlChar(const std::string& ch) {
    return ch.size() == 1 && static_cast<unsigned char>(ch[0]) < 0x20;
}

// CR LF, LF and CR all end a line; a final break leaves an empty last line.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines.emplace_back();
        } else {
            lines.back() += text[i];
        }
    }
    return lines;
}

}  // namespace

// ---- type information ------------------------------------------------------------------------

const TTypeInfo& TypeInfoEditCharCase() {
    static const TTypeInfo type = MakeEnumType("TEditCharCase", {"ecNormal", "ecUpperCase", "ecLowerCase"});
    return type;
}
const TTypeInfo& TypeInfoTextLayout() {
    static const TTypeInfo type = MakeEnumType("TTextLayout", {"tlTop", "tlCenter", "tlBottom"});
    return type;
}
const TTypeInfo& TypeInfoScrollStyle() {
    static const TTypeInfo type =
        MakeEnumType("TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"});
    return type;
}
const TTypeInfo& TypeInfoCheckBoxState() {
    static const TTypeInfo type = MakeEnumType("TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"});
    return type;
}
const TTypeInfo& TypeInfoLeftRight() {
    static const TTypeInfo type = MakeEnumType("TLeftRight", {"taLeftJustify", "taRightJustify"});
    return type;
}
const TTypeInfo& TypeInfoComboBoxStyle() {
    static const TTypeInfo type = MakeEnumType("TComboBoxStyle", {"csDropDown", "csSimple", "csDropDownList",
                                                                  "csOwnerDrawFixed", "csOwnerDrawVariable"});
    return type;
}
const TTypeInfo& TypeInfoListBoxStyle() {
    static const TTypeInfo type =
        MakeEnumType("TListBoxStyle", {"lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable"});
    return type;
}

// ---- TCustomEdit -----------------------------------------------------------------------------

const TClassInfo& TCustomEdit::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TCustomEdit> b("TCustomEdit", TWinControl::StaticClassInfo());
        return PublishWinControl(b).Build();
    }();
    return info;
}

const TClassInfo& TEdit::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TEdit> b("TEdit", TCustomEdit::StaticClassInfo());
        return b.Creatable()
            .Str("Text", &TEdit::Text, &TEdit::SetText)
            .Int("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength)
            .Bool("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly)
            .Enum("CharCase", TypeInfoEditCharCase(), &TEdit::CharCase, &TEdit::SetCharCase)
            .Bool("AutoSelect", &TEdit::AutoSelect, &TEdit::SetAutoSelect)
            .Char("PasswordChar", &TEdit::PasswordChar, &TEdit::SetPasswordChar)
            .Str("ImeName", &TEdit::ImeName, &TEdit::SetImeName)
            .Event("OnChange", &TEdit::OnChange)
            .Build();
    }();
    return info;
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetBounds(0, 0, 121, 21);
}

void TCustomEdit::SetText(const std::string& text) { AssignText(ApplyCharCase(text)); }

void TCustomEdit::AssignText(const std::string& stored) {
    if (stored == TControl::GetText()) return;
    SetTextDirect(stored);
    TextChanged();
    NotifyPeer(TPeerChange::Text);
    SetCaret(0);
    Change();
}

void TCustomEdit::SetCharCase(TEditCharCase charCase) {
    if (charCase_ == charCase) return;
    charCase_ = charCase;
    SetText(GetText());
}

std::string TCustomEdit::ApplyCharCase(const std::string& text) const {
    switch (charCase_) {
        case ecUpperCase:
            return AnsiUpperCase(text);
        case ecLowerCase:
            return AnsiLowerCase(text);
        case ecNormal:
            break;
    }
    return text;
}

void TCustomEdit::SetSelStart(int selStart) {
    const std::string buffer = EditBuffer();
    selStart_ = CharBoundary(buffer, std::clamp(selStart, 0, static_cast<int>(buffer.size())));
    selLength_ = 0;
}

void TCustomEdit::SetSelLength(int selLength) {
    const std::string buffer = EditBuffer();
    const int end =
        std::clamp(selStart_ + std::max(0, selLength), selStart_, static_cast<int>(buffer.size()));
    // A selection never ends inside a double-byte character.
    int boundary = CharBoundary(buffer, end);
    if (boundary < end) boundary += CharLenAt(buffer, boundary);
    selLength_ = boundary - selStart_;
}

std::string TCustomEdit::SelText() const { return EditBuffer().substr(selStart_, selLength_); }

void TCustomEdit::SetSelText(const std::string& text) {
    std::string buffer = EditBuffer();
    buffer.replace(selStart_, selLength_, text);
    SetCaret(selStart_ + static_cast<int>(text.size()));
    StoreTyped(buffer);
}

void TCustomEdit::SelectAll() {
    selStart_ = 0;
    selLength_ = static_cast<int>(EditBuffer().size());
}

void TCustomEdit::SetCaret(int caret) {
    selStart_ = caret;
    selLength_ = 0;
}

void TCustomEdit::Change() { OnChange(this); }

void TCustomEdit::StoreTyped(const std::string& buffer) {
    if (buffer == TControl::GetText()) return;
    SetTextDirect(buffer);
    TextChanged();
    NotifyPeer(TPeerChange::Text);
    modified_ = true;
    Change();
}

bool TCustomEdit::TypeChar(const std::string& ch) {
    if (readOnly_) return false;
    const std::string typed = ApplyCharCase(ch);
    std::string buffer = EditBuffer();
    buffer.erase(selStart_, selLength_);
    if (maxLength_ > 0 && buffer.size() + typed.size() > static_cast<size_t>(maxLength_)) return false;
    buffer.insert(selStart_, typed);
    SetCaret(selStart_ + static_cast<int>(typed.size()));
    StoreTyped(buffer);
    return true;
}

bool TCustomEdit::DeleteChar(bool forward) {
    if (readOnly_) return false;
    std::string buffer = EditBuffer();
    int from = selStart_;
    int count = selLength_;
    if (count == 0) {
        if (forward) {
            if (from >= static_cast<int>(buffer.size())) return false;
            count = CharLenAt(buffer, from);
        } else {
            if (from == 0) return false;
            from = PreviousCharStart(buffer, from);
            count = selStart_ - from;
        }
    }
    buffer.erase(from, count);
    SetCaret(from);
    StoreTyped(buffer);
    return true;
}

void TCustomEdit::KeyDown(Word& key, TShiftState shift) {
    TWinControl::KeyDown(key, shift);
    const std::string buffer = EditBuffer();
    switch (key) {
        case VK_DELETE:
            DeleteChar(true);
            break;
        case VK_HOME:
            SetCaret(0);
            break;
        case VK_END:
            SetCaret(static_cast<int>(buffer.size()));
            break;
        case VK_LEFT:
            SetCaret(selLength_ ? selStart_ : PreviousCharStart(buffer, selStart_));
            break;
        case VK_RIGHT:
            SetCaret(selLength_ ? selStart_ + selLength_
                                : std::min(static_cast<int>(buffer.size()),
                                           selStart_ + CharLenAt(buffer, selStart_)));
            break;
        default:
            break;
    }
}

void TCustomEdit::InputChar(const std::string& ch) {
    if (ch == "\b")
        DeleteChar(false);
    else if (!ch.empty() && !IsControlChar(ch))
        TypeChar(ch);
}

void TCustomEdit::DoEnter() {
    if (autoSelect_) SelectAll();
    TWinControl::DoEnter();
}

// ---- TCustomMemo -----------------------------------------------------------------------------

const TClassInfo& TCustomMemo::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCustomMemo>("TCustomMemo", TCustomEdit::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TMemo::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TMemo> b("TMemo", TCustomMemo::StaticClassInfo());
        return b.Creatable()
            .Object("Lines", &TMemo::Lines, &TMemo::SetLines)
            .Int("MaxLength", &TMemo::MaxLength, &TMemo::SetMaxLength)
            .Bool("ReadOnly", &TMemo::ReadOnly, &TMemo::SetReadOnly)
            .Bool("WantReturns", &TMemo::WantReturns, &TMemo::SetWantReturns)
            .Bool("WantTabs", &TMemo::WantTabs, &TMemo::SetWantTabs)
            .Bool("WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap)
            .Enum("ScrollBars", TypeInfoScrollStyle(), &TMemo::ScrollBars, &TMemo::SetScrollBars)
            .Enum("Alignment", TypeInfoAlignment(), &TMemo::Alignment, &TMemo::SetAlignment)
            .Str("ImeName", &TMemo::ImeName, &TMemo::SetImeName)
            .Event("OnChange", &TMemo::OnChange)
            .Build();
    }();
    return info;
}

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner), lines_(std::make_unique<TStringList>()) {
    lines_->OnChange = TNotifyEvent(this, &TCustomMemo::LinesChanged);
    SetAutoSelect(false);
    SetBounds(0, 0, 185, 89);
}

TCustomMemo::~TCustomMemo() { lines_->OnChange.Clear(); }

std::string TCustomMemo::GetText() const {
    std::string text;
    for (int i = 0; i < lines_->Count(); ++i) {
        if (i) text += "\r\n";
        text += lines_->Strings(i);
    }
    return text;
}

void TCustomMemo::SetText(const std::string& text) {
    const std::string cased = ApplyCharCase(text);
    if (cased == GetText()) return;
    const std::vector<std::string> lines = SplitLines(cased);
    caret_ = TPoint{};
    EditLines([&](TStrings& l) {
        l.Clear();
        for (const std::string& line : lines)
            l.Add(line);
    });
}

void TCustomMemo::EditLines(const std::function<void(TStrings&)>& edit) {
    lines_->BeginUpdate();
    try {
        edit(*lines_);
    } catch (...) {
        lines_->EndUpdate();
        throw;
    }
    lines_->EndUpdate();
}

void TCustomMemo::LinesChanged(TObject*) {
    SetTextDirect(GetText());
    TextChanged();
    NotifyPeer(TPeerChange::Text);
    SetCaretPos(caret_);
    Change();
}

void TCustomMemo::SetCaretPos(TPoint pos) {
    const int lineCount = lines_->Count();
    caret_.Y = lineCount ? std::clamp(pos.Y, 0, lineCount - 1) : 0;
    const std::string line = lineCount ? lines_->Strings(caret_.Y) : std::string();
    caret_.X = CharBoundary(line, std::clamp(pos.X, 0, static_cast<int>(line.size())));
}

int TCustomMemo::TotalBytes() const { return static_cast<int>(GetText().size()); }

unsigned TCustomMemo::DialogCode() const {
    return dlgcWantArrows | dlgcWantChars | (wantReturns_ ? dlgcWantAllKeys : 0u) |
           (wantTabs_ ? dlgcWantTab : 0u);
}

void TCustomMemo::InputChar(const std::string& ch) {
    if (ReadOnly() || ch.empty()) return;
    const bool isReturn = ch == "\r";
    if ((isReturn && !wantReturns_) || (ch == "\t" && !wantTabs_)) return;
    if (IsControlChar(ch) && !isReturn && ch != "\b" && ch != "\t") return;
    if (lines_->Count() == 0) lines_->Add("");
    const TPoint at = caret_;
    std::string line = lines_->Strings(at.Y);
    if (ch == "\b") {
        if (at.X == 0 && at.Y == 0) return;
        SetModified(true);
        if (at.X > 0) {
            const int from = PreviousCharStart(line, at.X);
            line.erase(from, at.X - from);
            caret_ = TPoint{from, at.Y};
            EditLines([&](TStrings& l) { l.SetStrings(at.Y, line); });
        } else {
            const std::string above = lines_->Strings(at.Y - 1);
            caret_ = TPoint{static_cast<int>(above.size()), at.Y - 1};
            EditLines([&](TStrings& l) {
                l.SetStrings(at.Y - 1, above + line);
                l.Delete(at.Y);
            });
        }
        return;
    }
    const int added = isReturn ? 2 : static_cast<int>(ch.size());
    if (MaxLength() > 0 && TotalBytes() + added > MaxLength()) return;
    SetModified(true);
    if (isReturn) {
        caret_ = TPoint{0, at.Y + 1};
        EditLines([&](TStrings& l) {
            l.SetStrings(at.Y, line.substr(0, at.X));
            l.Insert(at.Y + 1, line.substr(at.X));
        });
        return;
    }
    const std::string typed = ApplyCharCase(ch);
    line.insert(at.X, typed);
    caret_ = TPoint{at.X + static_cast<int>(typed.size()), at.Y};
    EditLines([&](TStrings& l) { l.SetStrings(at.Y, line); });
}

void TCustomMemo::KeyDown(Word& key, TShiftState shift) {
    TWinControl::KeyDown(key, shift);
    const std::string line = lines_->Count() ? lines_->Strings(caret_.Y) : std::string();
    switch (key) {
        case VK_UP:
            SetCaretPos(TPoint{caret_.X, caret_.Y - 1});
            break;
        case VK_DOWN:
            SetCaretPos(TPoint{caret_.X, caret_.Y + 1});
            break;
        case VK_HOME:
            SetCaretPos(TPoint{0, caret_.Y});
            break;
        case VK_END:
            SetCaretPos(TPoint{static_cast<int>(line.size()), caret_.Y});
            break;
        case VK_LEFT:
            SetCaretPos(TPoint{PreviousCharStart(line, caret_.X), caret_.Y});
            break;
        case VK_RIGHT:
            if (caret_.X < static_cast<int>(line.size()))
                SetCaretPos(TPoint{caret_.X + CharLenAt(line, caret_.X), caret_.Y});
            break;
        case VK_DELETE:
            if (caret_.X < static_cast<int>(line.size())) {
                std::string edited = line;
                edited.erase(caret_.X, CharLenAt(line, caret_.X));
                SetModified(true);
                EditLines([&](TStrings& l) { l.SetStrings(caret_.Y, edited); });
            }
            break;
        default:
            break;
    }
}

// ---- TCustomLabel ----------------------------------------------------------------------------

const TClassInfo& TCustomLabel::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCustomLabel>("TCustomLabel", TGraphicControl::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TLabel::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TLabel> b("TLabel", TCustomLabel::StaticClassInfo());
        return PublishCaption(PublishControl(b))
            .Creatable()
            .Bool("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize)
            .Enum("Alignment", TypeInfoAlignment(), &TLabel::Alignment, &TLabel::SetAlignment)
            .Enum("Layout", TypeInfoTextLayout(), &TLabel::Layout, &TLabel::SetLayout)
            .Bool("Transparent", &TLabel::Transparent, &TLabel::SetTransparent)
            .Bool("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap)
            .Bool("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar)
            .Object("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl)
            .Build();
    }();
    return info;
}

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 65, 17);
    AdjustBounds();
}

void TCustomLabel::SetText(const std::string& text) {
    if (text == GetText()) return;
    TGraphicControl::SetText(text);
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout layout) {
    layout_ = layout;
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool show) {
    showAccelChar_ = show;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* control) {
    if (focusControl_ == control) return;
    if (focusControl_) focusControl_->RemoveFreeNotification(this);
    focusControl_ = control;
    if (focusControl_) focusControl_->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

std::string TCustomLabel::DisplayText() const {
    return showAccelChar_ ? StripAccelerators(GetText()) : GetText();
}

std::vector<std::string> TCustomLabel::DisplayLines() const { return SplitLines(DisplayText()); }

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::FontChanged() {
    TGraphicControl::FontChanged();
    AdjustBounds();
}

void TCustomLabel::AdjustBounds() {
    if (!autoSize_ || IsLoading()) return;
    const std::vector<std::string> lines = DisplayLines();
    int width = 0;
    for (const std::string& line : lines)
        width = std::max(width, FontTextWidth(*Font(), line));
    const int height = static_cast<int>(lines.size()) * FontLineHeight(*Font());
    const int left = alignment_ == taRightJustify ? Right() - width : Left();
    SetBounds(left, Top(), width, height);
}

void TCustomLabel::Paint() {
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    const TRect client = ClientRect();
    if (!transparent_) {
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(client);
    }
    const std::vector<std::string> lines = DisplayLines();
    const int lineHeight = FontLineHeight(*Font());
    const int total = static_cast<int>(lines.size()) * lineHeight;
    int y = layout_ == tlCenter   ? (client.Height() - total) / 2
            : layout_ == tlBottom ? client.Height() - total
                                  : 0;
    for (const std::string& line : lines) {
        const int width = canvas->TextWidth(line);
        const int x = alignment_ == taRightJustify ? client.Width() - width
                      : alignment_ == taCenter     ? (client.Width() - width) / 2
                                                   : 0;
        canvas->TextOut(x, y, line);
        y += lineHeight;
    }
}

// ---- TButtonControl --------------------------------------------------------------------------

const TClassInfo& TButtonControl::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TButtonControl>("TButtonControl", TWinControl::StaticClassInfo()).Build();
    return info;
}

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner), canvas_(std::make_unique<TCanvas>()) {
    SetTabStop(true);
}

TButtonControl::~TButtonControl() = default;

void TButtonControl::InputChar(const std::string& ch) {
    if (ch == " ") UserClick();
}

void TButtonControl::Paint() {
    canvas_->SetFont(Font());
    canvas_->Brush()->SetColor(clBtnFace);
    canvas_->Rectangle(ClientRect());
    TRect r = ClientRect();
    canvas_->DrawText(GetText(), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TButtonControl::EnabledChanged() {
    TWinControl::EnabledChanged();
    Invalidate();
}

void TButtonControl::TextChanged() {
    TWinControl::TextChanged();
    Invalidate();
}

// ---- TButton ---------------------------------------------------------------------------------

const TClassInfo& TButton::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TButton> b("TButton", TButtonControl::StaticClassInfo());
        return PublishCaption(PublishWinControl(b))
            .Creatable()
            .Bool("Cancel", &TButton::Cancel, &TButton::SetCancel)
            .Bool("Default", &TButton::Default, &TButton::SetDefault)
            .Int("ModalResult", &TButton::ModalResult, &TButton::SetModalResult)
            .Build();
    }();
    return info;
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 75, 25); }

void TButton::Click() {
    if (modalResult_ != mrNone)
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
    TButtonControl::Click();
}

bool TButton::IsActive() const {
    if (Focused()) return true;
    const TCustomForm* form = GetParentForm(this);
    return default_ && !(form && dynamic_cast<const TButton*>(form->ActiveControl()));
}

bool TButton::DialogKey(Word key, TShiftState shift) {
    const bool wanted = (key == VK_RETURN && IsActive()) || (key == VK_ESCAPE && cancel_);
    if (!wanted || !shift.Empty() || !CanFocus()) return TButtonControl::DialogKey(key, shift);
    Click();
    return true;
}

// ---- TCustomCheckBox -------------------------------------------------------------------------

const TClassInfo& TCustomCheckBox::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCustomCheckBox>("TCustomCheckBox", TButtonControl::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TCheckBox::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TCheckBox> b("TCheckBox", TCustomCheckBox::StaticClassInfo());
        return PublishCaption(PublishWinControl(b))
            .Creatable()
            .Bool("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked)
            .Enum("State", TypeInfoCheckBoxState(), &TCheckBox::State, &TCheckBox::SetState)
            .Bool("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed)
            .Enum("Alignment", TypeInfoLeftRight(), &TCheckBox::Alignment, &TCheckBox::SetAlignment)
            .Build();
    }();
    return info;
}

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 97, 17); }

void TCustomCheckBox::SetState(TCheckBoxState state) {
    if (state_ == state) return;
    state_ = state;
    Invalidate();
    NotifyPeer(TPeerChange::Checked);
    if (!ClicksDisabled()) Click();
}

void TCustomCheckBox::SetAlignment(TAlignment alignment) {
    alignment_ = alignment == taLeftJustify ? taLeftJustify : taRightJustify;
    Invalidate();
}

void TCustomCheckBox::Toggle() {
    switch (state_) {
        case cbUnchecked:
            SetState(allowGrayed_ ? cbGrayed : cbChecked);
            break;
        case cbChecked:
            SetState(cbUnchecked);
            break;
        case cbGrayed:
            SetState(cbChecked);
            break;
    }
}

namespace {
// The indicator square and the caption beside it, on the side the alignment says.
void PaintIndicator(TCanvas& canvas, const TControl& control, TAlignment alignment, bool round, bool marked) {
    const TRect client = control.ClientRect();
    const int size = 13;
    const int top = (client.Height() - size) / 2;
    const int boxLeft = alignment == taRightJustify ? 0 : client.Width() - size;
    const TRect box = Bounds(boxLeft, top, size, size);
    canvas.SetFont(control.Font());
    canvas.Brush()->SetColor(control.EnabledInParents() ? clWindow : clBtnFace);
    if (round)
        canvas.Ellipse(box);
    else
        canvas.Rectangle(box);
    if (marked) {
        TRect mark = box;
        InflateRect(mark, -3, -3);
        canvas.Brush()->SetColor(clWindowText);
        canvas.FillRect(mark);
    }
    TRect text = alignment == taRightJustify ? Rect(size + 4, 0, client.Right, client.Bottom)
                                             : Rect(0, 0, boxLeft - 4, client.Bottom);
    canvas.Brush()->SetStyle(bsClear);
    canvas.DrawText(control.Caption(), text, DT_VCENTER | DT_SINGLELINE);
    canvas.Brush()->SetStyle(bsSolid);
}
}  // namespace

void TCustomCheckBox::Paint() { PaintIndicator(*Canvas(), *this, alignment_, false, state_ != cbUnchecked); }

// ---- TRadioButton ----------------------------------------------------------------------------

const TClassInfo& TRadioButton::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TRadioButton> b("TRadioButton", TButtonControl::StaticClassInfo());
        return PublishCaption(PublishWinControl(b))
            .Creatable()
            .Bool("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked)
            .Enum("Alignment", TypeInfoLeftRight(), &TRadioButton::Alignment, &TRadioButton::SetAlignment)
            .Build();
    }();
    return info;
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
    SetBounds(0, 0, 113, 17);
    SetTabStop(false);
}

void TRadioButton::SetChecked(bool checked) { ChangeRadioCheck(*this, checked_, checked); }

void TRadioButton::SetAlignment(TAlignment alignment) {
    alignment_ = alignment == taLeftJustify ? taLeftJustify : taRightJustify;
    Invalidate();
}

void TRadioButton::Paint() { PaintIndicator(*Canvas(), *this, alignment_, true, checked_); }

// ---- TCustomListControl ----------------------------------------------------------------------

const TClassInfo& TCustomListControl::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCustomListControl>("TCustomListControl", TWinControl::StaticClassInfo()).Build();
    return info;
}

TCustomListControl::TCustomListControl(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TStringList>()), canvas_(std::make_unique<TCanvas>()) {
    items_->OnChange = TNotifyEvent(this, &TCustomListControl::ItemsListChanged);
    SetTabStop(true);
}

TCustomListControl::~TCustomListControl() { items_->OnChange.Clear(); }

void TCustomListControl::SetSorted(bool sorted) {
    sorted_ = sorted;
    items_->SetSorted(sorted);
}

int TCustomListControl::ItemIndex() const {
    if (IsLoading()) return itemIndex_;
    return itemIndex_ >= 0 && itemIndex_ < items_->Count() ? itemIndex_ : -1;
}

void TCustomListControl::SetItemIndex(int index) {
    if (IsLoading()) {
        itemIndex_ = index;
        return;
    }
    if (index < 0 || index >= items_->Count()) index = -1;
    if (index == itemIndex_) return;
    itemIndex_ = index;
    ItemIndexChanged();
    NotifyPeer(TPeerChange::State);
    Invalidate();
}

void TCustomListControl::Loaded() {
    TWinControl::Loaded();
    const int stored = itemIndex_;
    itemIndex_ = -1;
    SetItemIndex(stored);
}

void TCustomListControl::ItemsChanged() {
    NotifyPeer(TPeerChange::Items);
    Invalidate();
    if (IsLoading() || itemIndex_ < items_->Count()) return;
    itemIndex_ = -1;
    ItemIndexChanged();
}

void TCustomListControl::DrawItem(int index, TRect rect, TOwnerDrawState state) {
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    canvas_->SetFont(Font());
    canvas_->Brush()->SetColor(state.Contains(odSelected) ? clHighlight : Color());
    canvas_->FillRect(rect);
    if (index >= 0 && index < items_->Count())
        canvas_->TextOut(rect.Left + 2, rect.Top, items_->Strings(index));
}

void TCustomListControl::Paint() {
    if (!IsOwnerDrawn()) return;
    const TRect client = ClientRect();
    for (int i = 0; i < items_->Count() && i * itemHeight_ < client.Height(); ++i) {
        TOwnerDrawState state;
        if (i == ItemIndex()) state.Include(odSelected);
        DrawItem(i, Rect(0, i * itemHeight_, client.Width(), (i + 1) * itemHeight_), state);
    }
}

// ---- TCustomComboBox -------------------------------------------------------------------------

const TClassInfo& TCustomComboBox::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCustomComboBox>("TCustomComboBox", TCustomListControl::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TComboBox::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TComboBox> b("TComboBox", TCustomComboBox::StaticClassInfo());
        return PublishWinControl(b)
            .Creatable()
            .Enum("Style", TypeInfoComboBoxStyle(), &TComboBox::Style, &TComboBox::SetStyle)
            .Object("Items", &TComboBox::Items, &TComboBox::SetItems)
            .Int("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex)
            .Str("Text", &TComboBox::Text, &TComboBox::SetText)
            .Int("ItemHeight", &TComboBox::ItemHeight, &TComboBox::SetItemHeight)
            .Int("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount)
            .Int("MaxLength", &TComboBox::MaxLength, &TComboBox::SetMaxLength)
            .Bool("Sorted", &TComboBox::Sorted, &TComboBox::SetSorted)
            .Str("ImeName", &TComboBox::ImeName, &TComboBox::SetImeName)
            .Event("OnChange", &TComboBox::OnChange)
            .Event("OnSelect", &TComboBox::OnSelect)
            .Event("OnDropDown", &TComboBox::OnDropDown)
            .Event("OnCloseUp", &TComboBox::OnCloseUp)
            .Event("OnDrawItem", &TComboBox::OnDrawItem)
            .Event("OnMeasureItem", &TComboBox::OnMeasureItem)
            .Build();
    }();
    return info;
}

TCustomComboBox::TCustomComboBox(TComponent* owner) : TCustomListControl(owner) { SetBounds(0, 0, 145, 21); }

void TCustomComboBox::SetStyle(TComboBoxStyle style) {
    if (style_ == style) return;
    const std::string shown = GetText();
    style_ = style;
    // An edit style keeps showing what the list style showed.
    if (!IsListStyle()) SetTextDirect(shown);
    NotifyPeer(TPeerChange::State);
    Invalidate();
}

void TCustomComboBox::SetItemIndex(int index) {
    TCustomListControl::SetItemIndex(index);
    if (IsLoading() || IsListStyle()) return;
    const int selected = ItemIndex();
    SetTextDirect(selected >= 0 ? Items()->Strings(selected) : std::string());
    TextChanged();
    NotifyPeer(TPeerChange::Text);
}

std::string TCustomComboBox::GetText() const {
    if (!IsListStyle()) return TControl::GetText();
    const int selected = ItemIndex();
    return selected >= 0 ? Items()->Strings(selected) : std::string();
}

void TCustomComboBox::SetText(const std::string& text) {
    if (IsListStyle()) {
        const int index = Items()->IndexOf(text);
        if (index >= 0) SetItemIndex(index);
        return;
    }
    int exact = -1;
    for (int i = 0; i < Items()->Count() && exact < 0; ++i)
        if (Items()->Strings(i) == text) exact = i;
    TCustomListControl::SetItemIndex(exact);
    if (text == TControl::GetText()) return;
    SetTextDirect(text);
    TextChanged();
    NotifyPeer(TPeerChange::Text);
}

void TCustomComboBox::SetDroppedDown(bool droppedDown) {
    if (droppedDown_ == droppedDown) return;
    droppedDown_ = droppedDown;
    if (droppedDown)
        OnDropDown(this);
    else
        OnCloseUp(this);
}

void TCustomComboBox::ItemIndexChanged() { NotifyPeer(TPeerChange::Text); }

void TCustomComboBox::ItemsChanged() {
    TCustomListControl::ItemsChanged();
    // Emptying the list also empties the edit, as the system's combo box does.
    if (!IsListStyle() && Items()->Count() == 0 && !TControl::GetText().empty()) {
        SetTextDirect("");
        TextChanged();
        NotifyPeer(TPeerChange::Text);
    }
}

void TCustomComboBox::Change() { OnChange(this); }

void TCustomComboBox::Select() {
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}

void TCustomComboBox::UserSelect(int index) {
    if (!EnabledInParents() || index < 0 || index >= Items()->Count()) return;
    SetItemIndex(index);
    Click();
    Select();
}

void TCustomComboBox::KeyDown(Word& key, TShiftState shift) {
    TCustomListControl::KeyDown(key, shift);
    if (shift.Contains(ssAlt) || (key != VK_DOWN && key != VK_UP) || Items()->Count() == 0) return;
    const int current = ItemIndex();
    const int next = key == VK_DOWN ? std::min(current + 1, Items()->Count() - 1) : std::max(current - 1, 0);
    if (next != current) UserSelect(next);
}

void TCustomComboBox::InputChar(const std::string& ch) {
    if (ch.empty() || (IsControlChar(ch) && ch != "\b")) return;
    if (IsListStyle()) {
        const int count = Items()->Count();
        for (int step = 1; step <= count; ++step) {
            const int i = (ItemIndex() + step + count) % count;
            if (SameText(Items()->Strings(i).substr(0, ch.size()), ch)) {
                if (i != ItemIndex()) UserSelect(i);
                return;
            }
        }
        return;
    }
    std::string text = TControl::GetText();
    if (ch == "\b") {
        if (text.empty()) return;
        text.erase(PreviousCharStart(text, static_cast<int>(text.size())));
    } else {
        if (maxLength_ > 0 && text.size() + ch.size() > static_cast<size_t>(maxLength_)) return;
        text += ch;
    }
    SetText(text);
    Change();
}

// ---- TCustomListBox --------------------------------------------------------------------------

const TClassInfo& TCustomListBox::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCustomListBox>("TCustomListBox", TCustomListControl::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TListBox::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TListBox> b("TListBox", TCustomListBox::StaticClassInfo());
        return PublishWinControl(b)
            .Creatable()
            .Enum("Style", TypeInfoListBoxStyle(), &TListBox::Style, &TListBox::SetStyle)
            .Object("Items", &TListBox::Items, &TListBox::SetItems)
            .Int("ItemIndex", &TListBox::ItemIndex, &TListBox::SetItemIndex)
            .Int("ItemHeight", &TListBox::ItemHeight, &TListBox::SetItemHeight)
            .Bool("MultiSelect", &TListBox::MultiSelect, &TListBox::SetMultiSelect)
            .Bool("Sorted", &TListBox::Sorted, &TListBox::SetSorted)
            .Event("OnDrawItem", &TListBox::OnDrawItem)
            .Event("OnMeasureItem", &TListBox::OnMeasureItem)
            .Build();
    }();
    return info;
}

TCustomListBox::TCustomListBox(TComponent* owner) : TCustomListControl(owner) { SetBounds(0, 0, 121, 97); }

void TCustomListBox::SetMultiSelect(bool multiSelect) {
    multiSelect_ = multiSelect;
    selected_.assign(Items()->Count(), false);
    if (multiSelect_ && ItemIndex() >= 0) selected_[ItemIndex()] = true;
}

bool TCustomListBox::Selected(int index) const {
    if (index < 0 || index >= Items()->Count()) return false;
    return multiSelect_ ? selected_[index] : index == ItemIndex();
}

void TCustomListBox::SetSelected(int index, bool selected) {
    if (index < 0 || index >= Items()->Count()) return;
    if (multiSelect_) {
        selected_[index] = selected;
        Invalidate();
    } else if (selected) {
        SetItemIndex(index);
    } else if (index == ItemIndex()) {
        SetItemIndex(-1);
    }
}

int TCustomListBox::SelCount() const {
    if (!multiSelect_) return -1;
    return static_cast<int>(std::count(selected_.begin(), selected_.end(), true));
}

void TCustomListBox::ItemsChanged() {
    selected_.resize(Items()->Count(), false);
    TCustomListControl::ItemsChanged();
}

void TCustomListBox::ItemIndexChanged() {}

void TCustomListBox::UserSelect(int index) {
    if (!EnabledInParents() || index < 0 || index >= Items()->Count()) return;
    if (multiSelect_) {
        selected_.assign(Items()->Count(), false);
        selected_[index] = true;
    }
    SetItemIndex(index);
    Click();
}

// ---- TCustomGroupBox -------------------------------------------------------------------------

const TClassInfo& TCustomGroupBox::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCustomGroupBox>("TCustomGroupBox", TCustomControl::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TGroupBox::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TGroupBox> b("TGroupBox", TCustomGroupBox::StaticClassInfo());
        return PublishCaption(PublishWinControl(b)).Creatable().Build();
    }();
    return info;
}

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 185, 105); }

int TCustomGroupBox::CaptionHeight() const { return FontLineHeight(*Font()); }

void TCustomGroupBox::AdjustClientRect(TRect& rect) const {
    TCustomControl::AdjustClientRect(rect);
    rect.Top += CaptionHeight();
    // The frame takes two pixels on every side.
    InflateRect(rect, -2, -2);
}

void TCustomGroupBox::Paint() {
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    canvas->FrameRect(Rect(0, CaptionHeight() / 2, Width(), Height()));
    if (!GetText().empty()) canvas->TextOut(8, 0, GetText());
}

void TCustomGroupBox::TextChanged() {
    TCustomControl::TextChanged();
    Invalidate();
}

void TCustomGroupBox::FontChanged() {
    TCustomControl::FontChanged();
    Realign();
    Invalidate();
}

}  // namespace krv
