#include "controls/KrSpin.h"

namespace krv {

std::string WithoutMisplacedSigns(const std::string& text) {
    if (text.empty()) return text;
    std::string result(1, text[0]);
    for (size_t i = 1; i < text.size(); ++i)
        if (text[i] != '+' && text[i] != '-') result += text[i];
    return result;
}

const TClassInfo& TKrSpinEdit::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TKrSpinEdit>("TKrSpinEdit", TSpinEdit::StaticClassInfo()).Creatable().Build();
    return info;
}

void TKrSpinEdit::Change() {
    const std::string text = Text();
    const std::string filtered = WithoutMisplacedSigns(text);
    if (filtered != text) {
        // Storing the filtered text comes back here and raises the one change notification.
        SetText(filtered);
        SetSelStart(static_cast<int>(filtered.size()));
        return;
    }
    if (!Trim(text).empty()) TSpinEdit::Change();
}

}  // namespace krv
