#include "GuiTestKit.h"

namespace krv::testkit {

const TClassInfo& TKitEdit::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TKitEdit>("TKitEdit", TWinControl::StaticClassInfo())
                                       .Creatable()
                                       .Str("Text", &TKitEdit::Text, &TKitEdit::SetText)
                                       .Event("OnChange", &TKitEdit::OnChange)
                                       .Event("OnEnter", &TKitEdit::OnEnter)
                                       .Build();
    return info;
}

const TClassInfo& TKitBox::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TKitBox>("TKitBox", TWinControl::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TKitButton::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TKitButton>("TKitButton", TWinControl::StaticClassInfo())
                                       .Str("Caption", &TKitButton::Caption, &TKitButton::SetCaption)
                                       .Event("OnClick", &TKitButton::OnClick)
                                       .Build();
    return info;
}

const TClassInfo& TKitSpeedButton::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TKitSpeedButton>("TKitSpeedButton", TGraphicControl::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TKitForm::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TKitForm>("TKitForm", TForm::StaticClassInfo())
                                       .Creatable()
                                       .Method("FormClick", &TKitForm::FormClick)
                                       .Build();
    return info;
}

}  // namespace krv::testkit
