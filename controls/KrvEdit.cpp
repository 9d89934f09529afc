#include "controls/KrvEdit.h"

#include "controls/F2Button.h"

namespace krv {

const TTypeInfo& TypeInfoLabelPosition() {
    static const TTypeInfo info = MakeEnumType("TLabelPosition", {"lpAbove", "lpBelow", "lpLeft", "lpRight"});
    return info;
}

// ---- TKrEdit ---------------------------------------------------------------------------------

const TClassInfo& TKrEdit::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TKrEdit>("TKrEdit", TEdit::StaticClassInfo())
            .Creatable()
            .Str("Caption", &TKrEdit::Caption, &TKrEdit::SetCaption)
            .Enum("LabelPosition", TypeInfoLabelPosition(), &TKrEdit::LabelPosition, &TKrEdit::SetLabelPosition)
            .Int("LabelSpacing", &TKrEdit::LabelSpacing, &TKrEdit::SetLabelSpacing)
            .Build();
    return info;
}

TKrEdit::TKrEdit(TComponent* owner) : TEdit(owner) {
    label_ = Create<TLabel>(this);
    label_->SetName("EditLabel");
    label_->SetCaption("");
    label_->SetFocusControl(this);
}

std::string TKrEdit::Caption() const { return label_ ? label_->Caption() : std::string(); }

void TKrEdit::SetCaption(const std::string& caption) {
    if (!label_) return;
    label_->SetCaption(caption);
    PlaceLabel();
}

void TKrEdit::SetLabelPosition(TLabelPosition position) {
    labelPosition_ = position;
    PlaceLabel();
}

void TKrEdit::SetLabelSpacing(int spacing) {
    if (spacing < 0) return;
    labelSpacing_ = spacing;
    PlaceLabel();
}

void TKrEdit::SetParent(TWinControl* parent) {
    TEdit::SetParent(parent);
    if (label_) label_->SetParent(parent);
    PlaceAttachments();
}

void TKrEdit::SetBounds(int left, int top, int width, int height) {
    TEdit::SetBounds(left, top, width, height);
    PlaceAttachments();
}

void TKrEdit::Notification(TComponent* component, TOperation operation) {
    TEdit::Notification(component, operation);
    if (operation == opRemove && component == label_) label_ = nullptr;
}

void TKrEdit::VisibleChanged() {
    TEdit::VisibleChanged();
    if (label_) label_->SetVisible(Visible());
}

void TKrEdit::EnabledChanged() {
    TEdit::EnabledChanged();
    if (label_) label_->SetEnabled(Enabled());
}

void TKrEdit::PlaceAttachments() { PlaceLabel(); }

void TKrEdit::PlaceLabel() {
    if (!label_) return;
    const int width = label_->Width(), height = label_->Height();
    const int centredTop = Top() + (Height() - height) / 2;
    switch (labelPosition_) {
    case lpAbove: label_->SetBounds(Left(), Top() - height - labelSpacing_, width, height); break;
    case lpBelow: label_->SetBounds(Left(), Bottom() + labelSpacing_, width, height); break;
    case lpLeft: label_->SetBounds(Left() - width - labelSpacing_, centredTop, width, height); break;
    case lpRight: label_->SetBounds(Right() + labelSpacing_, centredTop, width, height); break;
    }
}

// ---- TKrDBEdit -------------------------------------------------------------------------------

const TClassInfo& TKrDBEdit::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TKrDBEdit>("TKrDBEdit", TKrEdit::StaticClassInfo())
            .Creatable()
            .Object("DataSource", &TKrDBEdit::DataSource, &TKrDBEdit::SetDataSource)
            .Str("DataField", &TKrDBEdit::DataField, &TKrDBEdit::SetDataField)
            .Build();
    return info;
}

void TKrDBEdit::SetDataSource(TDataSource* dataSource) {
    if (dataSource_ == dataSource) return;
    if (dataSource_) dataSource_->RemoveFreeNotification(this);
    dataSource_ = dataSource;
    if (dataSource_) dataSource_->FreeNotification(this);
}

void TKrDBEdit::Notification(TComponent* component, TOperation operation) {
    TKrEdit::Notification(component, operation);
    if (operation == opRemove && component == dataSource_) dataSource_ = nullptr;
}

// ---- TKrBtnDBEdit ----------------------------------------------------------------------------

const TClassInfo& TKrBtnDBEdit::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TKrBtnDBEdit>("TKrBtnDBEdit", TKrDBEdit::StaticClassInfo())
            .Creatable()
            .Int("ButtonSpacing", &TKrBtnDBEdit::ButtonSpacing, &TKrBtnDBEdit::SetButtonSpacing)
            .Int("GlyphIndex", &TKrBtnDBEdit::GlyphIndex, &TKrBtnDBEdit::SetGlyphIndex)
            .Str("ButtonHint", &TKrBtnDBEdit::ButtonHint, &TKrBtnDBEdit::SetButtonHint)
            .Event("OnDialog", &TKrBtnDBEdit::OnDialog)
            .Build();
    return info;
}

TKrBtnDBEdit::TKrBtnDBEdit(TComponent* owner) : TKrDBEdit(owner) {
    button_ = Create<TGSpeedButton>(this);
    button_->SetName("F2Button");
    button_->SetFlat(true);
    button_->SetGlyphIndex(8);
    button_->OnClick = TNotifyEvent(this, &TKrBtnDBEdit::ButtonClick);
}

void TKrBtnDBEdit::SetButtonSpacing(int spacing) {
    buttonSpacing_ = spacing;
    PlaceAttachments();
}

int TKrBtnDBEdit::GlyphIndex() const { return button_ ? button_->GlyphIndex() : 0; }

void TKrBtnDBEdit::SetGlyphIndex(int index) {
    if (button_) button_->SetGlyphIndex(index);
}

std::string TKrBtnDBEdit::ButtonHint() const { return button_ ? button_->Hint() : std::string(); }

void TKrBtnDBEdit::SetButtonHint(const std::string& hint) {
    if (button_) button_->SetHint(hint);
}

void TKrBtnDBEdit::SetParent(TWinControl* parent) {
    if (button_) button_->SetParent(parent);
    TKrDBEdit::SetParent(parent);
}

void TKrBtnDBEdit::Notification(TComponent* component, TOperation operation) {
    TKrDBEdit::Notification(component, operation);
    if (operation == opRemove && component == button_) button_ = nullptr;
}

void TKrBtnDBEdit::VisibleChanged() {
    TKrDBEdit::VisibleChanged();
    if (button_) button_->SetVisible(Visible());
}

void TKrBtnDBEdit::EnabledChanged() {
    TKrDBEdit::EnabledChanged();
    if (button_) button_->SetEnabled(Enabled());
}

void TKrBtnDBEdit::PlaceAttachments() {
    TKrDBEdit::PlaceAttachments();
    if (button_) button_->SetBounds(Right() + buttonSpacing_, Top(), Height(), Height());
}

void TKrBtnDBEdit::ButtonClick(TObject*) {
    if (OnDialog)
        OnDialog(this);
    else
        SendOpenWinRequest(this);
}

}  // namespace krv
