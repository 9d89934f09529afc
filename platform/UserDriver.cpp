#include "platform/UserDriver.h"

namespace krv {

namespace {

struct KeyStroke {
    Word key;
    TShiftState shift;
    std::string ch;
};

// The virtual key a person presses for a typed character (GB characters come through the input
// method as one character of two bytes).
KeyStroke StrokeFor(const std::string& text, size_t& i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (IsLeadByte(c) && i + 1 < text.size()) {
        KeyStroke stroke{VK_PROCESSKEY, {}, text.substr(i, 2)};
        i += 2;
        return stroke;
    }
    ++i;
    std::string ch(1, static_cast<char>(c));
    switch (c) {
    case '\r':
        return {VK_RETURN, {}, ch};
    case '\b':
        return {VK_BACK, {}, ch};
    case '\t':
        return {VK_TAB, {}, ch};
    case 0x1B:
        return {VK_ESCAPE, {}, ch};
    case ' ':
        return {VK_SPACE, {}, ch};
    default:
        break;
    }
    if (c >= 'a' && c <= 'z') return {static_cast<Word>(c - 'a' + 'A'), {}, ch};
    if (c >= 'A' && c <= 'Z') return {c, {ssShift}, ch};
    if (c >= '0' && c <= '9') return {c, {}, ch};
    switch (c) {
    case ';': return {0xBA, {}, ch};
    case '=': return {0xBB, {}, ch};
    case ',': return {0xBC, {}, ch};
    case '-': return {0xBD, {}, ch};
    case '.': return {0xBE, {}, ch};
    case '/': return {0xBF, {}, ch};
    default: return {VK_PROCESSKEY, {}, ch};
    }
}

std::string CharFor(Word key, TShiftState shift) {
    if (shift.Contains(ssCtrl) || shift.Contains(ssAlt)) return "";
    switch (key) {
    case VK_RETURN: return "\r";
    case VK_ESCAPE: return "\x1b";
    case VK_BACK: return "\b";
    case VK_TAB: return "\t";
    case VK_SPACE: return " ";
    default: break;
    }
    if (key >= 'A' && key <= 'Z')
        return std::string(1, static_cast<char>(shift.Contains(ssShift) ? key : key - 'A' + 'a'));
    if (key >= '0' && key <= '9') return std::string(1, static_cast<char>(key));
    return "";
}

void Deliver(const KeyStroke& stroke) {
    TCustomForm* form = Screen->ActiveCustomForm();
    if (!form) return;
    Application->Dispatch(form, [&] { form->DispatchKey(stroke.key, stroke.shift, stroke.ch); });
}

}  // namespace

void TUserDriver::Reset() {
    HeadlessDialogDriver().Reset();
    HeadlessModalDriver().Reset();
    Application->ClearMessages();
}

bool TUserDriver::Focus(TWinControl* control) {
    if (!control) return false;
    Application->Dispatch(control, [&] { control->SetFocus(); });
    return control->Focused();
}

TWinControl* TUserDriver::FocusedControl() const {
    TCustomForm* form = Screen->ActiveCustomForm();
    return form ? form->ActiveControl() : nullptr;
}

void TUserDriver::Type(const std::string& text) {
    for (size_t i = 0; i < text.size();) Deliver(StrokeFor(text, i));
}

bool TUserDriver::TypeInto(TWinControl* control, const std::string& text) {
    if (!Focus(control)) return false;
    Type(text);
    return true;
}

void TUserDriver::PressKey(Word key, TShiftState shift) { Deliver({key, shift, CharFor(key, shift)}); }

bool TUserDriver::Click(TControl* control) {
    if (!control || !control->Showing() || !control->EnabledInParents()) return false;
    bool delivered = false;
    Application->Dispatch(control, [&] {
        if (control->FocusOnClick()) {
            auto* windowed = dynamic_cast<TWinControl*>(control);
            if (windowed && windowed->CanFocus()) {
                windowed->SetFocus();
                // The focus change was taken elsewhere (an exit check): the click is lost.
                if (!windowed->Focused()) return;
            }
        }
        control->MouseDown(mbLeft, {}, 1, 1);
        control->UserClick();
        delivered = true;
        control->MouseUp(mbLeft, {}, 1, 1);
    });
    return delivered;
}

bool TUserDriver::DblClick(TControl* control) {
    if (!Click(control)) return false;
    Application->Dispatch(control, [&] { control->DblClick(); });
    return true;
}

void TUserDriver::MouseDown(TControl* control, TMouseButton button, TShiftState shift, int x, int y) {
    if (!control) return;
    Application->Dispatch(control, [&] { control->MouseDown(button, shift, x, y); });
}

void TUserDriver::MouseUp(TControl* control, TMouseButton button, TShiftState shift, int x, int y) {
    if (!control) return;
    Application->Dispatch(control, [&] { control->MouseUp(button, shift, x, y); });
}

void TUserDriver::AnswerNextDialog(int result) { HeadlessDialogDriver().QueueAnswer(result); }

void TUserDriver::AnswerDialogs(const std::vector<int>& results) {
    for (int result : results) HeadlessDialogDriver().QueueAnswer(result);
}

void TUserDriver::OnNextDialog(std::function<int(TMessageForm&)> action) {
    HeadlessDialogDriver().QueueAction(std::move(action));
}

const std::vector<TDialogRecord>& TUserDriver::Dialogs() const { return HeadlessDialogDriver().Records(); }

const TDialogRecord* TUserDriver::LastDialog() const {
    const auto& records = HeadlessDialogDriver().Records();
    return records.empty() ? nullptr : &records.back();
}

void TUserDriver::ClearDialogs() { HeadlessDialogDriver().ClearRecords(); }

void TUserDriver::OnNextModal(std::function<void(TCustomForm&)> action) {
    HeadlessModalDriver().QueueAction(std::move(action));
}

void TUserDriver::AnswerNextModal(TModalResult result) { HeadlessModalDriver().QueueResult(result); }

const std::vector<TModalRecord>& TUserDriver::ModalShows() const { return HeadlessModalDriver().Records(); }

void TUserDriver::ProcessMessages() { Application->ProcessMessages(); }

}  // namespace krv
