#include "controls/DBLabel.h"

#include <algorithm>

#include "platform/Dialogs.h"

namespace krv {

const TTypeInfo& TypeInfoPos() {
    static const TTypeInfo info = MakeEnumType("TPos", {"psTop", "psLeft", "psRight", "psBottom"});
    return info;
}

const TClassInfo& TDBLabel::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TDBLabel>("TDBLabel", TLabel::StaticClassInfo())
            .Creatable()
            .Object("FocusControl", &TDBLabel::FocusControl, &TDBLabel::SetFocusControl)
            .Bool("AutoAlign", &TDBLabel::AutoAlign, &TDBLabel::SetAutoAlign)
            .Bool("AutoCaption", &TDBLabel::AutoCaption, &TDBLabel::SetAutoCaption)
            .Int("Gap", &TDBLabel::Gap, &TDBLabel::SetGap)
            .Enum("Pos", TypeInfoPos(), &TDBLabel::Pos, &TDBLabel::SetPos)
            .Build();
    return info;
}

TDBLabel::TDBLabel(TComponent* owner) : TLabel(owner) { SetCaption("挂靠标签"); }

void TDBLabel::SetFocusControl(TWinControl* control) {
    if (control && control != FocusControl() && AttachedBySibling(control)) {
        MessageDlg("不能同时有两个 DBLabel 指到同一个 Control.", mtError, {mbOK});
        return;
    }
    TLabel::SetFocusControl(control);
    RefreshFromControl();
}

void TDBLabel::SetAutoAlign(bool autoAlign) {
    autoAlign_ = autoAlign;
    RefreshFromControl();
}

void TDBLabel::SetAutoCaption(bool autoCaption) {
    autoCaption_ = autoCaption;
    RefreshFromControl();
}

void TDBLabel::SetGap(uint8_t gap) {
    gap_ = gap;
    RefreshFromControl();
}

void TDBLabel::SetPos(TPos pos) {
    pos_ = pos;
    RefreshFromControl();
}

bool TDBLabel::AttachedBySibling(const TWinControl* control) const {
    if (!Parent()) return false;
    for (TControl* sibling : Parent()->ControlList())
        if (auto* label = dynamic_cast<TDBLabel*>(sibling); label && label != this && label->FocusControl() == control)
            return true;
    return false;
}

void TDBLabel::RefreshFromControl() {
    TWinControl* control = FocusControl();
    if (!control) return;
    if (autoCaption_) TakeFieldCaption(*control);
    if (autoAlign_) PlaceBeside(*control);
}

// A control bound to a data set names its field; the label shows that field's display label.
// A control without such a binding, or one naming no field, leaves the caption as it is.
void TDBLabel::TakeFieldCaption(TWinControl& control) {
    try {
        if (!IsPublishedProp(&control, "DataSource") || !IsPublishedProp(&control, "DataField"))
            return;
        auto* source = dynamic_cast<TDataSource*>(GetObjectProp(&control, "DataSource"));
        if (!source || !source->DataSet()) return;
        if (TField* field = source->DataSet()->FindField(GetStrProp(&control, "DataField")))
            SetCaption(field->DisplayLabel());
    } catch (const Exception&) {
        // A binding that cannot be read is no reason to refuse the attachment.
    }
}

void TDBLabel::PlaceBeside(const TWinControl& control) {
    const int middleTop = control.Height() == Height()
                              ? control.Top()
                              : std::max(0, control.Top() + control.Height() / 2 - Height() / 2);
    switch (pos_) {
    case psTop:
        SetBounds(control.Left(), std::max(0, control.Top() - Height() - gap_), Width(), Height());
        break;
    case psLeft:
        SetBounds(std::max(0, control.Left() - Width() - gap_), middleTop, Width(), Height());
        break;
    case psRight:
        SetBounds(std::max(0, control.Right() + gap_), middleTop, Width(), Height());
        break;
    case psBottom:
        SetBounds(control.Left(), control.Bottom() + gap_, Width(), Height());
        break;
    }
}

}  // namespace krv
