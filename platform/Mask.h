// Edit masks: the rules by which a mask edit lays out, filters and reads back its text.
//
// An edit mask reads "mask;keep-literals;blank". The mask part holds input positions
//   0 digit (required)   9 digit (optional)   # digit, "+" or "-" (optional)
//   L letter (required)  l letter (optional)  A letter or digit (required)  a (optional)
//   C any character (required)   c any character (optional)
// and literals, shown as written ("/" and ":" included); "\" makes the next character a literal,
// "_" is a literal blank, ">" upper-cases and "<" lower-cases what follows ("<>" stops that), and
// "!" right-aligns optional input. The mask part ends at the first ";" that is not escaped. The
// second field "0" means Text leaves the literals out; anything else keeps them. The third field
// is the character that marks an empty input position ("_" when absent).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/StdCtrls.h"

namespace krv {

class MaskLayout {
public:
    MaskLayout() = default;
    explicit MaskLayout(const std::string& editMask);

    bool IsMasked() const { return !slots_.empty(); }
    bool KeepsLiterals() const { return keepLiterals_; }
    char BlankChar() const { return blank_; }
    bool RightAligned() const { return rightAligned_; }
    // Number of characters (bytes) the edit text has under this mask.
    int Length() const { return static_cast<int>(slots_.size()); }

    bool IsLiteral(int slot) const;
    // Index of the first input position at or after `slot` (Length() when none).
    int NextInput(int slot) const;
    // Index of the last input position before `slot` (-1 when none).
    int PreviousInput(int slot) const;

    // The edit text of an empty edit: literals, and the blank character at every input position.
    std::string EmptyEditText() const;
    // Puts one character (1 byte, or 2 for a double-byte character) into the edit text at input
    // position `slot`, case-converted. Answers how many positions it took (0: refused).
    int Place(std::string& editText, int slot, const char* ch, int len) const;
    // An assigned text as edit text. Keeping literals, the text is fitted field by field at the
    // literals (a field shorter than its positions is padded, a longer one cut); otherwise its
    // characters fill the input positions in order. Characters a position refuses leave it empty.
    std::string EditTextFor(const std::string& text) const;
    // A text that may show literals fitted field by field at this mask's literals.
    std::string FitFields(const std::string& text) const;
    // The input characters alone, one per input position, empty ones as blanks; with
    // EditTextFromInput it carries what was typed across a change of mask.
    std::string InputOf(const std::string& editText) const;
    // Input characters laid into the input positions in order (from the end when right-aligned).
    std::string EditTextFromInput(const std::string& input) const;
    // The edit text as Text reads it: empty positions as blanks; without literals, the input
    // characters alone with the empty tail (head, when right-aligned) dropped.
    std::string TextOf(const std::string& editText) const;
    // The Text of an empty edit ("9999/99/99;1; " gives "    /  /  ").
    std::string BlankText() const { return TextOf(EmptyEditText()); }
    // Every required position is filled.
    bool IsComplete(const std::string& editText) const;

private:
    enum class SlotKind : uint8_t {
        Literal, Digit, DigitOpt, DigitSign, Letter, LetterOpt, AlnumReq, AlnumOpt, AnyReq, AnyOpt
    };
    enum class CaseMode : uint8_t { Keep, Upper, Lower };
    struct Slot {
        SlotKind kind;
        CaseMode caseMode;
        char literal;
    };

    void ParseMaskPart(const std::string& mask);
    void ParseOptions(const std::string& options);
    bool Accepts(const Slot& slot, unsigned char c) const;
    bool IsEmptyMark(unsigned char c) const { return c == ' ' || c == static_cast<unsigned char>(blank_); }
    void FillField(std::string& editText, int first, int end, const std::string& segment) const;

    std::vector<Slot> slots_;
    bool keepLiterals_ = true;
    bool rightAligned_ = false;
    char blank_ = '_';
};

KRV_DECLARE_EXCEPTION(EDBEditError, Exception);

// An edit whose text follows an edit mask. Its window text (EditText) shows every literal and
// the blank character at empty positions; Text reads it as the mask's second field says.
// Typing fills input positions only, refuses characters a position does not take, and steps
// over literals.
class TCustomMaskEdit : public TCustomEdit {
    KRV_CLASS(TCustomMaskEdit)
    explicit TCustomMaskEdit(TComponent* owner);

    const std::string& EditMask() const { return editMask_; }
    // A new mask re-formats the current text: what was typed under a previous mask keeps its
    // input positions, a plain text is fitted field by field. Fires OnChange when the text changes.
    virtual void SetEditMask(const std::string& editMask);
    bool IsMasked() const { return layout_.IsMasked(); }
    const MaskLayout& MaskRules() const { return layout_; }

    std::string EditText() const { return TControl::GetText(); }
    void SetEditText(const std::string& editText);
    std::string GetText() const override;
    // Masked, the text is fitted under the mask (see MaskLayout::EditTextFor).
    void SetText(const std::string& text) override;

    // Every required position is filled (always true without a mask).
    bool Validate() const { return !IsMasked() || layout_.IsComplete(EditText()); }
    // Raises EDBEditError when Validate fails.
    virtual void ValidateEdit() const;
    // Leaving an edit that a person changed and left incomplete shows the error and keeps the
    // focus (OnExit does not run).
    void DoExit() override;

protected:
    bool TypeChar(const std::string& ch) override;
    bool DeleteChar(bool forward) override;
    std::string EditBuffer() const override { return EditText(); }

private:
    void BlankSelection(std::string& editText) const;

    std::string editMask_;
    MaskLayout layout_;
};

class TMaskEdit : public TCustomMaskEdit {
    KRV_CLASS(TMaskEdit)
    explicit TMaskEdit(TComponent* owner) : TCustomMaskEdit(owner) {}
};

}  // namespace krv
