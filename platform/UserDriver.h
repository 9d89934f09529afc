// Acting as a user in tests: focus, type, press keys, click, answer dialogs and modal forms,
// read what was shown. Every action goes through the application's dispatch, so an exception
// escaping a handler ends in an error box, as it would for a person.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"

namespace krv {

class TUserDriver {
public:
    // Resets the headless drivers' records and queues, and the message queue.
    void Reset();

    // Moves the focus as a click into the control would; true when the control then has it.
    bool Focus(TWinControl* control);
    // The focused control of the active form (nullptr when none).
    TWinControl* FocusedControl() const;

    // Types each character into the focused control: key down, key press (one or two bytes),
    // key up. "\r" is Enter, "\b" backspace, "\t" Tab, "\x1b" Esc.
    void Type(const std::string& text);
    // Focuses the control, then types; nothing is typed (false) when it did not get the focus.
    bool TypeInto(TWinControl* control, const std::string& text);
    // A key with modifiers on the focused control; characters follow for Enter, Esc,
    // backspace, Tab and Space.
    void PressKey(Word key, TShiftState shift = {});

    // A left click: a control that takes the focus on click gets it first, and the click is lost
    // when it then does not hold it. Disabled or hidden controls (or inside a disabled or hidden
    // container) ignore the click. True when the click was delivered.
    bool Click(TControl* control);
    bool DblClick(TControl* control);
    void MouseDown(TControl* control, TMouseButton button = mbLeft, TShiftState shift = {}, int x = 1, int y = 1);
    void MouseUp(TControl* control, TMouseButton button = mbLeft, TShiftState shift = {}, int x = 1, int y = 1);

    // Dialogs: the next message dialogs or boxes answer these results in order.
    void AnswerNextDialog(int result);
    void AnswerDialogs(const std::vector<int>& results);
    void OnNextDialog(std::function<int(TMessageForm&)> action);
    const std::vector<TDialogRecord>& Dialogs() const;
    // nullptr when no dialog was shown.
    const TDialogRecord* LastDialog() const;
    void ClearDialogs();

    // Modal forms: the next modal show runs this action inside the form, or answers a result.
    void OnNextModal(std::function<void(TCustomForm&)> action);
    void AnswerNextModal(TModalResult result);
    const std::vector<TModalRecord>& ModalShows() const;

    void ProcessMessages();
};

}  // namespace krv
