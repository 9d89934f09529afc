// The standard controls: edits, memos, labels, buttons, check boxes, radio buttons, combo boxes,
// list boxes and group boxes.
//
// Code assignments have the library's side effects: Text fires OnChange (when it changes),
// Checked fires OnClick when the state changes, a combo box's ItemIndex fires nothing. What a
// person does arrives through the form's key dispatch (InputChar, KeyDown, DialogKey) and through
// UserClick/UserSelect, as UserDriver drives them.
#pragma once

#include <memory>
#include <string>

#include "platform/Controls.h"
#include "platform/Menus.h"
#include "platform/TypInfo.h"

namespace krv {

// ---- publishing what every control shares ----------------------------------------------------

template <class T>
TClassBuilder<T>& PublishControl(TClassBuilder<T>& b) {
    return b.Int("Left", &TControl::Left, &TControl::SetLeft)
        .Int("Top", &TControl::Top, &TControl::SetTop)
        .Int("Width", &TControl::Width, &TControl::SetWidth)
        .Int("Height", &TControl::Height, &TControl::SetHeight)
        .Enum("Align", TypeInfoAlign(), &TControl::Align, &TControl::SetAlign)
        .Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled)
        .Bool("Visible", &TControl::Visible, &TControl::SetVisible)
        .Str("Hint", &TControl::Hint, &TControl::SetHint)
        .Bool("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
        .Bool("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint)
        .Int("Color", &TControl::Color, &TControl::SetColor, TypeInfoColor())
        .Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
        .Object("Font", &TControl::Font, &TControl::SetFont)
        .Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
        .Int("Cursor", &TControl::Cursor, &TControl::SetCursor, TypeInfoCursor())
        .Object("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu)
        .Event("OnClick", &TControl::OnClick)
        .Event("OnDblClick", &TControl::OnDblClick)
        .Event("OnMouseDown", &TControl::OnMouseDown)
        .Event("OnMouseUp", &TControl::OnMouseUp)
        .Event("OnMouseMove", &TControl::OnMouseMove)
        .Event("OnDragDrop", &TControl::OnDragDrop)
        .Event("OnDragOver", &TControl::OnDragOver)
        .Event("OnEndDrag", &TControl::OnEndDrag)
        .Event("OnStartDrag", &TControl::OnStartDrag);
}

template <class T>
TClassBuilder<T>& PublishWinControl(TClassBuilder<T>& b) {
    return PublishControl(b)
        .Int("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
        .Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
        .Event("OnEnter", &TWinControl::OnEnter)
        .Event("OnExit", &TWinControl::OnExit)
        .Event("OnKeyDown", &TWinControl::OnKeyDown)
        .Event("OnKeyUp", &TWinControl::OnKeyUp)
        .Event("OnKeyPress", &TWinControl::OnKeyPress);
}

template <class T>
TClassBuilder<T>& PublishCaption(TClassBuilder<T>& b) {
    return b.Str("Caption", &TControl::Caption, &TControl::SetCaption);
}

// ---- enumerations ----------------------------------------------------------------------------

enum TEditCharCase : uint8_t { ecNormal, ecUpperCase, ecLowerCase };
enum TTextLayout : uint8_t { tlTop, tlCenter, tlBottom };
enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TCheckBoxState : uint8_t { cbUnchecked, cbChecked, cbGrayed };
enum TComboBoxStyle : uint8_t { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
enum TListBoxStyle : uint8_t { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
enum TOwnerDrawStateItem : uint8_t { odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odComboBoxEdit };
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;

const TTypeInfo& TypeInfoEditCharCase();   // "TEditCharCase"
const TTypeInfo& TypeInfoTextLayout();     // "TTextLayout"
const TTypeInfo& TypeInfoScrollStyle();    // "TScrollStyle"
const TTypeInfo& TypeInfoCheckBoxState();  // "TCheckBoxState"
const TTypeInfo& TypeInfoLeftRight();      // "TLeftRight": taLeftJustify, taRightJustify
const TTypeInfo& TypeInfoComboBoxStyle();  // "TComboBoxStyle"
const TTypeInfo& TypeInfoListBoxStyle();   // "TListBoxStyle"

using TDrawItemEvent = TEvent<TWinControl*, int, TRect, TOwnerDrawState>;
using TMeasureItemEvent = TEvent<TWinControl*, int, int&>;
template <> inline constexpr const char* kEventTypeName<TDrawItemEvent> = "TDrawItemEvent";
template <> inline constexpr const char* kEventTypeName<TMeasureItemEvent> = "TMeasureItemEvent";

// ---- edits -----------------------------------------------------------------------------------

// A one-line text with a caret and a selection (byte offsets that never fall inside a
// double-byte character).
class TCustomEdit : public TWinControl {
    KRV_CLASS(TCustomEdit)
    explicit TCustomEdit(TComponent* owner);

    // A changed text fires OnChange; the caret goes to the start.
    void SetText(const std::string& text) override;
    // In bytes; 0 means no limit. It limits typing only: a double-byte character that would not
    // fit whole is refused. Code assignments are not cut.
    int MaxLength() const { return maxLength_; }
    virtual void SetMaxLength(int maxLength) { maxLength_ = std::max(0, maxLength); }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase charCase);
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool autoSelect) { autoSelect_ = autoSelect; }
    char PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char passwordChar) { passwordChar_ = passwordChar; }
    const std::string& ImeName() const { return imeName_; }
    void SetImeName(const std::string& imeName) { imeName_ = imeName; }
    // Set by what a person types; code clears it.
    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }

    int SelStart() const { return selStart_; }
    void SetSelStart(int selStart);
    int SelLength() const { return selLength_; }
    void SetSelLength(int selLength);
    std::string SelText() const;
    // Replaces the selection (fires OnChange when the text changes).
    void SetSelText(const std::string& text);
    void SelectAll();
    void Clear() { SetText(""); }

    bool FocusOnClick() const override { return true; }
    unsigned DialogCode() const override { return dlgcWantArrows | dlgcWantChars; }
    void KeyDown(Word& key, TShiftState shift) override;
    void InputChar(const std::string& ch) override;
    void DoEnter() override;

    TNotifyEvent OnChange;

protected:
    virtual void Change();
    // What typing does to the edit text: replace the selection with `ch`, respecting ReadOnly,
    // MaxLength and CharCase. Answers whether anything changed.
    virtual bool TypeChar(const std::string& ch);
    virtual bool DeleteChar(bool forward);
    // The text as typing and the caret see it (a mask edit shows its literals here).
    virtual std::string EditBuffer() const { return GetText(); }
    // Stores a buffer changed by typing and fires OnChange.
    virtual void StoreTyped(const std::string& buffer);
    std::string ApplyCharCase(const std::string& text) const;
    void SetCaret(int caret);
    // Stores a text assigned by code: when it differs, the caret goes to the start and OnChange
    // fires.
    void AssignText(const std::string& stored);

private:
    int maxLength_ = 0;
    bool readOnly_ = false;
    TEditCharCase charCase_ = ecNormal;
    bool autoSelect_ = true;
    char passwordChar_ = 0;
    std::string imeName_;
    bool modified_ = false;
    int selStart_ = 0;
    int selLength_ = 0;
};

class TEdit : public TCustomEdit {
    KRV_CLASS(TEdit)
    explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

// Lines of text with a caret (column in bytes, line). Enter breaks the line when WantReturns.
class TCustomMemo : public TCustomEdit {
    KRV_CLASS(TCustomMemo)
    explicit TCustomMemo(TComponent* owner);
    ~TCustomMemo() override;

    // The lines joined with CR LF; setting splits at CR LF, LF or CR (a final break leaves an
    // empty last line).
    std::string GetText() const override;
    void SetText(const std::string& text) override;
    TStrings* Lines() const { return lines_.get(); }
    void SetLines(const TStrings* lines) { lines_->Assign(lines); }
    // X: byte column, Y: line.
    TPoint CaretPos() const { return caret_; }
    void SetCaretPos(TPoint pos);
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool wantReturns) { wantReturns_ = wantReturns; }
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool wantTabs) { wantTabs_ = wantTabs; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap) { wordWrap_ = wordWrap; }
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle scrollBars) { scrollBars_ = scrollBars; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment) { alignment_ = alignment; }

    unsigned DialogCode() const override;
    void KeyDown(Word& key, TShiftState shift) override;
    void InputChar(const std::string& ch) override;

private:
    void LinesChanged(TObject* sender);
    void EditLines(const std::function<void(TStrings&)>& edit);
    int TotalBytes() const;

    std::unique_ptr<TStringList> lines_;
    TPoint caret_;
    bool wantReturns_ = true;
    bool wantTabs_ = false;
    bool wordWrap_ = true;
    TScrollStyle scrollBars_ = ssNone;
    TAlignment alignment_ = taLeftJustify;
};

class TMemo : public TCustomMemo {
    KRV_CLASS(TMemo)
    explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
};

// ---- labels ----------------------------------------------------------------------------------

class TCustomLabel : public TGraphicControl {
    KRV_CLASS(TCustomLabel)
    explicit TCustomLabel(TComponent* owner);

    // With AutoSize a new caption or font resizes the label to its text: the widest line, and
    // one line height per line (even for an empty caption). A right-aligned label keeps its right
    // edge.
    void SetText(const std::string& text) override;
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout layout);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent) { transparent_ = transparent; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap) { wordWrap_ = wordWrap; }
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool show);
    // The control its accelerator focuses; cleared when that control is freed.
    TWinControl* FocusControl() const { return focusControl_; }
    virtual void SetFocusControl(TWinControl* control);
    // The caption as drawn (accelerator marks removed when ShowAccelChar).
    std::string DisplayText() const;
    // The caption's lines, split at CR LF, LF or CR.
    std::vector<std::string> DisplayLines() const;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;
    void FontChanged() override;
    void Paint() override;
    virtual void AdjustBounds();

private:
    bool autoSize_ = true;
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool transparent_ = false;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    TWinControl* focusControl_ = nullptr;
};

class TLabel : public TCustomLabel {
    KRV_CLASS(TLabel)
    explicit TLabel(TComponent* owner) : TCustomLabel(owner) {}
};

// ---- buttons, check boxes, radio buttons -----------------------------------------------------

// The base of push buttons, check boxes and radio buttons: it takes the focus on a click, has a
// canvas that the system's drawing of the button goes to (Paint first draws that, descendants
// then draw over it), and repaints when enabled changes.
class TButtonControl : public TWinControl {
    KRV_CLASS(TButtonControl)
    explicit TButtonControl(TComponent* owner);
    ~TButtonControl() override;

    TCanvas* Canvas() const { return canvas_.get(); }
    // While set, checked-state changes fire no OnClick.
    bool ClicksDisabled() const { return clicksDisabled_; }
    void SetClicksDisabled(bool disabled) { clicksDisabled_ = disabled; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap) { wordWrap_ = wordWrap; }
    virtual bool GetChecked() const { return false; }
    virtual void SetChecked(bool) {}
    bool Checked() const { return GetChecked(); }

    bool FocusOnClick() const override { return true; }
    // The space bar clicks as the mouse does.
    void InputChar(const std::string& ch) override;

protected:
    TCanvas* PaintCanvas() const override { return canvas_.get(); }
    void Paint() override;
    void EnabledChanged() override;
    void TextChanged() override;
    // The checking rule of radio buttons: the button is a tab stop exactly while checked, and
    // checking it unchecks the other buttons of its class under the same parent, then fires
    // OnClick unless clicks are disabled.
    template <class Radio>
    void ChangeRadioCheck(Radio& self, bool& stored, bool checked);

private:
    std::unique_ptr<TCanvas> canvas_;
    bool clicksDisabled_ = false;
    bool wordWrap_ = false;
};

template <class Radio>
void TButtonControl::ChangeRadioCheck(Radio& self, bool& stored, bool checked) {
    if (stored == checked) return;
    stored = checked;
    SetTabStop(checked);
    Invalidate();
    NotifyPeer(TPeerChange::Checked);
    if (!checked) return;
    if (TWinControl* parent = Parent())
        for (TControl* sibling : std::vector<TControl*>(parent->ControlList()))
            if (auto* radio = dynamic_cast<Radio*>(sibling); radio && radio != &self)
                radio->SetChecked(false);
    if (!ClicksDisabled()) Click();
}

class TButton : public TButtonControl {
    KRV_CLASS(TButton)
    explicit TButton(TComponent* owner);

    bool Cancel() const { return cancel_; }
    void SetCancel(bool cancel) { cancel_ = cancel; }
    bool Default() const { return default_; }
    void SetDefault(bool isDefault) { default_ = isDefault; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }

    // A modal result goes to the form first (ending a modal show), then OnClick.
    void Click() override;
    // Enter when this button is focused, or is the default button and no other button is;
    // Esc when it is a Cancel button. It must be able to take the focus, and no modifier held.
    bool DialogKey(Word key, TShiftState shift) override;

private:
    bool IsActive() const;

    bool cancel_ = false;
    bool default_ = false;
    TModalResult modalResult_ = mrNone;
};

class TCustomCheckBox : public TButtonControl {
    KRV_CLASS(TCustomCheckBox)
    explicit TCustomCheckBox(TComponent* owner);

    TCheckBoxState State() const { return state_; }
    // A change fires OnClick (unless ClicksDisabled).
    virtual void SetState(TCheckBoxState state);
    bool GetChecked() const override { return state_ == cbChecked; }
    void SetChecked(bool checked) override { SetState(checked ? cbChecked : cbUnchecked); }
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool allowGrayed) { allowGrayed_ = allowGrayed; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);

    // Unchecked, checked, grayed (when allowed), unchecked ...
    virtual void Toggle();
    void UserClick() override { Toggle(); }

protected:
    void Paint() override;

private:
    TCheckBoxState state_ = cbUnchecked;
    bool allowGrayed_ = false;
    TAlignment alignment_ = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
    KRV_CLASS(TCheckBox)
    explicit TCheckBox(TComponent* owner) : TCustomCheckBox(owner) {}
};

class TRadioButton : public TButtonControl {
    KRV_CLASS(TRadioButton)
    explicit TRadioButton(TComponent* owner);

    bool GetChecked() const override { return checked_; }
    // Checking unchecks the radio buttons with the same parent and fires OnClick (unless
    // ClicksDisabled); unchecking fires nothing. The checked button is the tab stop.
    void SetChecked(bool checked) override;
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);

    void UserClick() override { SetChecked(true); }

protected:
    void Paint() override;

private:
    bool checked_ = false;
    TAlignment alignment_ = taRightJustify;
};

// ---- combo boxes and list boxes --------------------------------------------------------------

// Shared by the item lists: owner drawing on a canvas, with default drawing when no handler.
class TCustomListControl : public TWinControl {
    KRV_CLASS(TCustomListControl)
    explicit TCustomListControl(TComponent* owner);
    ~TCustomListControl() override;

    TStrings* Items() const { return items_.get(); }
    void SetItems(const TStrings* items) { items_->Assign(items); }
    TCanvas* Canvas() const { return canvas_.get(); }
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int height) { itemHeight_ = std::max(1, height); }
    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);
    // -1 when nothing is selected. Setting an index out of range selects nothing, without error;
    // while loading the value is kept and checked when loading ends.
    int ItemIndex() const;
    virtual void SetItemIndex(int index);
    // Draws item `index`: OnDrawItem when assigned, else the item's text on the brush colour.
    virtual void DrawItem(int index, TRect rect, TOwnerDrawState state);
    virtual bool IsOwnerDrawn() const = 0;
    bool FocusOnClick() const override { return true; }

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    void Loaded() override;
    // The items changed (also through Items() directly).
    virtual void ItemsChanged();
    virtual void ItemIndexChanged() {}
    TCanvas* PaintCanvas() const override { return canvas_.get(); }
    void Paint() override;
    int StoredIndex() const { return itemIndex_; }

private:
    void ItemsListChanged(TObject*) { ItemsChanged(); }

    std::unique_ptr<TStringList> items_;
    std::unique_ptr<TCanvas> canvas_;
    int itemIndex_ = -1;
    int itemHeight_ = 16;
    bool sorted_ = false;
};

class TCustomComboBox : public TCustomListControl {
    KRV_CLASS(TCustomComboBox)
    explicit TCustomComboBox(TComponent* owner);

    TComboBoxStyle Style() const { return style_; }
    virtual void SetStyle(TComboBoxStyle style);
    // The list styles show the selected item; the others an editable text.
    bool IsListStyle() const { return style_ == csDropDownList || style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable; }
    bool IsOwnerDrawn() const override { return style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable; }
    // Selecting shows the item's text (nothing selected: an empty text). No OnChange.
    void SetItemIndex(int index) override;
    // A list style shows the selected item's text.
    std::string GetText() const override;
    // A list style selects the item with that text (ignoring case) when there is one; an edit
    // style stores the text and selects the item that matches it exactly. No OnChange.
    void SetText(const std::string& text) override;
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int count) { dropDownCount_ = count; }
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int maxLength) { maxLength_ = std::max(0, maxLength); }
    const std::string& ImeName() const { return imeName_; }
    void SetImeName(const std::string& imeName) { imeName_ = imeName; }
    bool DroppedDown() const { return droppedDown_; }
    void SetDroppedDown(bool droppedDown);

    // A person picks item `index` from the list: the selection and text change, then OnClick
    // and OnSelect (OnChange when there is no OnSelect). Ignored when the control is inert.
    void UserSelect(int index);
    unsigned DialogCode() const override { return dlgcWantArrows | dlgcWantChars; }
    // Up and Down step through the items as a person's selection.
    void KeyDown(Word& key, TShiftState shift) override;
    // An edit style takes typed text (OnChange); a list style selects the next item that begins
    // with the typed character.
    void InputChar(const std::string& ch) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    virtual void Change();
    virtual void Select();
    void ItemsChanged() override;
    void ItemIndexChanged() override;

private:
    TComboBoxStyle style_ = csDropDown;
    int dropDownCount_ = 8;
    int maxLength_ = 0;
    std::string imeName_;
    bool droppedDown_ = false;
};

class TComboBox : public TCustomComboBox {
    KRV_CLASS(TComboBox)
    explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
};

class TCustomListBox : public TCustomListControl {
    KRV_CLASS(TCustomListBox)
    explicit TCustomListBox(TComponent* owner);

    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle style) { style_ = style; Invalidate(); }
    bool IsOwnerDrawn() const override { return style_ != lbStandard; }
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool multiSelect);
    // Selection per item: with MultiSelect any number, else the item index alone.
    bool Selected(int index) const;
    void SetSelected(int index, bool selected);
    int SelCount() const;

    // A person clicks item `index`: it becomes the item index (and the only selected item),
    // then OnClick.
    void UserSelect(int index);
    unsigned DialogCode() const override { return dlgcWantArrows; }

protected:
    void ItemsChanged() override;
    void ItemIndexChanged() override;

private:
    TListBoxStyle style_ = lbStandard;
    bool multiSelect_ = false;
    std::vector<bool> selected_;
};

class TListBox : public TCustomListBox {
    KRV_CLASS(TListBox)
    explicit TListBox(TComponent* owner) : TCustomListBox(owner) {}
};

// ---- group boxes -----------------------------------------------------------------------------

// A frame with its caption drawn in the top edge; aligned children share the area below the
// caption (caption height in the box's font) inside the frame.
class TCustomGroupBox : public TCustomControl {
    KRV_CLASS(TCustomGroupBox)
    explicit TCustomGroupBox(TComponent* owner);

    // The height of the caption text in the box's font.
    int CaptionHeight() const;

protected:
    void AdjustClientRect(TRect& rect) const override;
    void Paint() override;
    void TextChanged() override;
    void FontChanged() override;
};

class TGroupBox : public TCustomGroupBox {
    KRV_CLASS(TGroupBox)
    explicit TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {}
};

}  // namespace krv
