#include "forms/KRForm.h"

#include "platform/CodePage.h"
#include "platform/TypInfo.h"

namespace krv {

const TClassInfo& TKRForm::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TKRForm>("TKRForm", TForm::StaticClassInfo())
                                       .Creatable()
                                       .Method("FormCreate", &TKRForm::FormCreate)
                                       .Method("FormShow", &TKRForm::FormShow)
                                       .Build();
    return info;
}

TKRForm::TKRForm(TComponent* owner) : TForm(owner) {
    Font()->SetName("宋体");
    Font()->SetHeight(-13);
    SetColor(clBtnFace);
    SetKeyPreview(true);
    SetPosition(poScreenCenter);
    SetScaled(false);
    SetShowHint(true);
    SetPixelsPerInch(96);
    OnCreate = TNotifyEvent(this, &TKRForm::FormCreate);
    OnShow = TNotifyEvent(this, &TKRForm::FormShow);
}

void TKRForm::FormCreate(TObject*) {
    Converted = false;
    ApplyLanguages = true;
    // Input-method names, the English-interface fonts and the disabled button images are set
    // here once the code converter is attached.
}

void TKRForm::FormShow(TObject*) {
    // Packages are applied at the first show only, like the one-time TranslateForm.
    if (!ApplyLanguages || languagesApplied_) return;
    languagesApplied_ = true;
    ApplyLanguagePackages(this, true);
}

void TKRForm::TranslateForm() {
    if (Converted) return;
    // The converter's ConvertForm runs here once it is attached.
    Converted = true;
}

int TKRForm::MessageDlgConverted(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    TMessageForm* dialog = CreateMessageDialog(text, type, buttons);
    dialog->SetCaption(Caption());
    int result = mrNone;
    try {
        result = dialog->ShowModal();
    } catch (...) {
        dialog->Free();
        throw;
    }
    dialog->Free();
    return result;
}

std::string TKRForm::GetSystemCodePage() const {
    const int codePage = krv::GetSystemCodePage();
    return codePage == 936 || codePage == 950 ? IntToStr(codePage) : "437";
}

// The client settings name the UI code page; without them it is the system's.
std::string TKRForm::GetUICodePage() const { return GetSystemCodePage(); }

std::string TKRForm::GetLangText(const std::string&, const std::string&, const std::string& defaultText,
                                 bool convertDefault) {
    return convertDefault ? DesignToScreen(defaultText) : defaultText;
}

void TKRForm::ApplyLanguagePackages(TCustomForm*, bool) {}

std::string TKRForm::DesignToScreen(const std::string& text) const { return text; }

}  // namespace krv
