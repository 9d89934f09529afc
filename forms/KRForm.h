// The base of every form of the module: the form defaults shared by all of them, the flags that
// track code conversion and language packages, and the operations descendants use for texts and
// message boxes.
//
// Code conversion (the converter component) and language packages (the language controller) are
// not attached yet: TranslateForm, ApplyLanguagePackages, GetLangText, ToUI/DesignToScreen and
// MessageDlgConverted are the points where they plug in; until then they keep texts as designed.
#pragma once

#include <string>

#include "platform/Classes.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"

namespace krv {

class TKRForm : public TForm {
    KRV_CLASS(TKRForm)
    // Sets the form defaults: font "宋体" 13 pixels, colour clBtnFace, key preview, screen centre,
    // not scaled, hints shown, 96 pixels per inch; binds OnCreate and OnShow.
    explicit TKRForm(TComponent* owner);

    // The form's texts have been passed through the code converter.
    bool Converted = false;
    // FormShow applies the language packages while this is set.
    bool ApplyLanguages = false;

    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);

    // Converts every text of the form once; idempotent.
    void TranslateForm();
    // A message box with the form's caption as its title.
    int MessageDlgConverted(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);
    // "936", "950" or "437".
    std::string GetSystemCodePage() const;
    std::string GetUICodePage() const;
    // A language text by section (class name) and key; the default is shown as designed.
    std::string GetLangText(const std::string& className, const std::string& key,
                            const std::string& defaultText, bool convertDefault);
    // Applies the language packages named after the target's classes, from TKRForm up to the
    // target's own class when wholeChain is set, else the target's own class only.
    virtual void ApplyLanguagePackages(TCustomForm* target, bool wholeChain);
    // Design-time text as the user interface shows it.
    std::string DesignToScreen(const std::string& text) const;

private:
    bool languagesApplied_ = false;
};

}  // namespace krv
