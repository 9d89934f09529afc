#include "controls/KrRadioButton.h"

#include <cmath>
#include <cstdlib>

namespace krv {

namespace {

// The accelerator letter of a caption ("&A" marks A; "&&" is a plain "&"), upper-cased; 0 when
// there is none.
char AcceleratorOf(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(caption[i]))) {
            ++i;
            continue;
        }
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        char c = caption[i + 1];
        return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return 0;
}

int FontPoints(const TFont& font) {
    return static_cast<int>(std::lround(std::abs(font.Height()) * 72.0 / 96.0));
}

}  // namespace

int RadioIndicatorWidth(int size) {
    struct Step { int upTo; int width; };
    static constexpr Step steps[] = {{8, 17},  {15, 19}, {17, 20}, {23, 21}, {29, 23}, {35, 25},
                                     {41, 27}, {43, 29}, {60, 31}, {80, 39}};
    if (size < 1) return 44;
    for (const Step& step : steps)
        if (size <= step.upTo) return step.width;
    return 44;
}

const TClassInfo& TKrRadioButton::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TKrRadioButton> b("TKrRadioButton", TButtonControl::StaticClassInfo());
        PublishWinControl(b);
        PublishCaption(b);
        return b.Creatable()
            .Enum("Alignment", TypeInfoLeftRight(), &TKrRadioButton::Alignment, &TKrRadioButton::SetAlignment)
            .Bool("Checked", &TKrRadioButton::GetChecked, &TKrRadioButton::SetChecked)
            .Event("OnStartDock", &TKrRadioButton::OnStartDock)
            .Event("OnEndDock", &TKrRadioButton::OnEndDock)
            .Build();
    }();
    return info;
}

TKrRadioButton::TKrRadioButton(TComponent* owner) : TButtonControl(owner) {
    SetBounds(0, 0, 113, 17);
    SetTabStop(false);
}

void TKrRadioButton::SetChecked(bool checked) { ChangeRadioCheck(*this, checked_, checked); }

void TKrRadioButton::SetAlignment(TAlignment alignment) {
    alignment_ = alignment == taLeftJustify ? taLeftJustify : taRightJustify;
    Invalidate();
}

bool TKrRadioButton::DialogKey(Word key, TShiftState shift) {
    const char accelerator = AcceleratorOf(GetText());
    if (accelerator && shift.Contains(ssAlt) && key == static_cast<unsigned char>(accelerator) && CanFocus()) {
        SetFocus();
        return true;
    }
    return TButtonControl::DialogKey(key, shift);
}

void TKrRadioButton::Paint() {
    TButtonControl::Paint();
    TCanvas& canvas = *Canvas();
    const int indicator = RadioIndicatorWidth(FontPoints(*Font()));
    TRect rect = ClientRect();
    // With the caption on the left the indicator sits at the right edge.
    if (alignment_ == taLeftJustify)
        rect.Right = rect.Left + rect.Width() - indicator;
    else
        rect.Left += indicator;
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(Color());
    canvas.Pen()->SetColor(Color());
    canvas.Rectangle(rect.Left - 4, rect.Top - 4, rect.Right + 4, rect.Bottom + 4);
    canvas.SetFont(Font());
    canvas.DrawText(GetText(), rect, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
}

}  // namespace krv
