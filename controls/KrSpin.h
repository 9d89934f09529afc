// A spin edit that refuses signs after the first character.
#pragma once

#include <string>

#include "platform/Spin.h"

namespace krv {

// The text without any "+" or "-" after its first character.
std::string WithoutMisplacedSigns(const std::string& text);

class TKrSpinEdit : public TSpinEdit {
    KRV_CLASS(TKrSpinEdit)
    explicit TKrSpinEdit(TComponent* owner) : TSpinEdit(owner) {}

protected:
    // Drops misplaced signs (the caret stays at the end), then raises OnChange once, and only
    // when the text is not blank.
    void Change() override;
};

}  // namespace krv
