#include "platform/Mask.h"

#include <algorithm>

#include "platform/Forms.h"
#include "platform/SysUtils.h"

namespace krv {

namespace {

// Byte length of the character at `i`: a lead byte and its trail byte form one character.
int CharLen(const std::string& s, size_t i) {
    return IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

bool IsAsciiDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool IsAsciiLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Index of the first unescaped ";" outside double-byte characters (npos when none).
size_t FieldSeparator(const std::string& editMask) {
    for (size_t i = 0; i < editMask.size(); i += CharLen(editMask, i)) {
        if (editMask[i] == '\\')
            ++i;
        else if (editMask[i] == ';')
            return i;
    }
    return std::string::npos;
}

// Finds `literal` at a character boundary at or after `from`.
size_t FindChar(const std::string& text, size_t from, const std::string& literal) {
    for (size_t i = from; i < text.size(); i += CharLen(text, i))
        if (text.compare(i, literal.size(), literal) == 0)
            return i;
    return std::string::npos;
}

// The longest run of whole characters from `from` that fits in `bytes`.
size_t TakeChars(const std::string& text, size_t from, size_t bytes) {
    size_t end = from;
    while (end < text.size() && end - from + CharLen(text, end) <= bytes)
        end += CharLen(text, end);
    return end - from;
}

}  // namespace

MaskLayout::MaskLayout(const std::string& editMask) {
    const size_t separator = FieldSeparator(editMask);
    ParseMaskPart(editMask.substr(0, separator));
    if (separator != std::string::npos)
        ParseOptions(editMask.substr(separator + 1));
}

void MaskLayout::ParseMaskPart(const std::string& mask) {
    CaseMode caseMode = CaseMode::Keep;
    auto literal = [&](char c) { slots_.push_back({SlotKind::Literal, caseMode, c}); };
    auto input = [&](SlotKind kind) { slots_.push_back({kind, caseMode, 0}); };
    for (size_t i = 0; i < mask.size(); ++i) {
        const char c = mask[i];
        if (CharLen(mask, i) == 2) {
            literal(c);
            literal(mask[++i]);
            continue;
        }
        switch (c) {
        case '\\':
            if (i + 1 < mask.size()) {
                literal(mask[++i]);
                if (CharLen(mask, i) == 2)
                    literal(mask[++i]);
            }
            break;
        case '!': rightAligned_ = true; break;
        case '>':
            caseMode = CaseMode::Upper;
            break;
        case '<':
            if (i + 1 < mask.size() && mask[i + 1] == '>') {
                caseMode = CaseMode::Keep;
                ++i;
            } else {
                caseMode = CaseMode::Lower;
            }
            break;
        case '0': input(SlotKind::Digit); break;
        case '9': input(SlotKind::DigitOpt); break;
        case '#': input(SlotKind::DigitSign); break;
        case 'L': input(SlotKind::Letter); break;
        case 'l': input(SlotKind::LetterOpt); break;
        case 'A': input(SlotKind::AlnumReq); break;
        case 'a': input(SlotKind::AlnumOpt); break;
        case 'C': input(SlotKind::AnyReq); break;
        case 'c': input(SlotKind::AnyOpt); break;
        case '_': literal(' '); break;
        default: literal(c); break;
        }
    }
}

void MaskLayout::ParseOptions(const std::string& options) {
    const size_t second = options.find(';');
    keepLiterals_ = options.empty() || options[0] != '0';
    if (second != std::string::npos && second + 1 < options.size())
        blank_ = options[second + 1];
}

bool MaskLayout::IsLiteral(int slot) const {
    return slot >= 0 && slot < Length() && slots_[slot].kind == SlotKind::Literal;
}

int MaskLayout::NextInput(int slot) const {
    slot = std::max(slot, 0);
    while (slot < Length() && IsLiteral(slot))
        ++slot;
    return std::min(slot, Length());
}

int MaskLayout::PreviousInput(int slot) const {
    for (int i = std::min(slot, Length()) - 1; i >= 0; --i)
        if (!IsLiteral(i))
            return i;
    return -1;
}

std::string MaskLayout::EmptyEditText() const {
    std::string text;
    text.reserve(slots_.size());
    for (const Slot& slot : slots_)
        text += slot.kind == SlotKind::Literal ? slot.literal : blank_;
    return text;
}

bool MaskLayout::Accepts(const Slot& slot, unsigned char c) const {
    switch (slot.kind) {
    case SlotKind::Digit:
    case SlotKind::DigitOpt: return IsAsciiDigit(c);
    case SlotKind::DigitSign: return IsAsciiDigit(c) || c == '+' || c == '-';
    case SlotKind::Letter:
    case SlotKind::LetterOpt: return IsAsciiLetter(c);
    case SlotKind::AlnumReq:
    case SlotKind::AlnumOpt: return IsAsciiDigit(c) || IsAsciiLetter(c);
    case SlotKind::AnyReq:
    case SlotKind::AnyOpt: return c >= ' ';
    case SlotKind::Literal: return false;
    }
    return false;
}

int MaskLayout::Place(std::string& editText, int slot, const char* ch, int len) const {
    if (slot < 0 || slot >= Length() || IsLiteral(slot) || editText.size() < slots_.size())
        return 0;
    auto isAny = [&](int i) {
        return slots_[i].kind == SlotKind::AnyReq || slots_[i].kind == SlotKind::AnyOpt;
    };
    if (len == 2) {
        // A double-byte character needs two adjacent free-text positions.
        if (slot + 1 >= Length() || !isAny(slot) || !isAny(slot + 1))
            return 0;
        editText[slot] = ch[0];
        editText[slot + 1] = ch[1];
        return 2;
    }
    const unsigned char c = static_cast<unsigned char>(ch[0]);
    if (!Accepts(slots_[slot], c))
        return 0;
    char out = ch[0];
    if (slots_[slot].caseMode == CaseMode::Upper && c >= 'a' && c <= 'z')
        out = static_cast<char>(c - 'a' + 'A');
    else if (slots_[slot].caseMode == CaseMode::Lower && c >= 'A' && c <= 'Z')
        out = static_cast<char>(c - 'A' + 'a');
    editText[slot] = out;
    return 1;
}

void MaskLayout::FillField(std::string& editText, int first, int end, const std::string& segment) const {
    const int width = end - first;
    int slot = first;
    if (rightAligned_ && static_cast<int>(segment.size()) < width)
        slot += width - static_cast<int>(segment.size());
    for (size_t i = 0; i < segment.size() && slot < end;) {
        const int len = CharLen(segment, i);
        if (len == 1 && IsEmptyMark(static_cast<unsigned char>(segment[i]))) {
            ++slot;
        } else {
            // A refused character still takes its place, so the rest of the field keeps its position.
            const int taken = slot + len <= end ? Place(editText, slot, &segment[i], len) : 0;
            slot += taken ? taken : len;
        }
        i += len;
    }
}

std::string MaskLayout::FitFields(const std::string& text) const {
    std::string editText = EmptyEditText();
    size_t pos = 0;
    int slot = 0;
    while (slot < Length()) {
        const int first = slot;
        while (slot < Length() && !IsLiteral(slot))
            ++slot;
        const int width = slot - first;
        if (slot == Length()) {
            FillField(editText, first, slot, text.substr(std::min(pos, text.size())));
            break;
        }
        // The literal closing this field; a double-byte literal spans two literal positions.
        std::string literal(1, slots_[slot].literal);
        if (IsLeadByte(static_cast<unsigned char>(literal[0])) && IsLiteral(slot + 1))
            literal += slots_[slot + 1].literal;
        size_t found = FindChar(text, pos, literal);
        if (width == 0 && found != pos)
            found = std::string::npos;
        size_t segmentEnd;
        size_t next;
        if (found != std::string::npos) {
            segmentEnd = found;
            next = found + literal.size();
        } else {
            segmentEnd = pos + TakeChars(text, pos, width);
            next = segmentEnd;
        }
        if (pos < text.size())
            FillField(editText, first, first + width, text.substr(pos, segmentEnd - pos));
        pos = next;
        slot += static_cast<int>(literal.size());
    }
    return editText;
}

std::string MaskLayout::EditTextFromInput(const std::string& raw) const {
    std::string editText = EmptyEditText();
    int inputs = 0;
    for (int i = 0; i < Length(); ++i)
        inputs += IsLiteral(i) ? 0 : 1;
    int slot = NextInput(0);
    if (rightAligned_)
        for (int skip = inputs - static_cast<int>(raw.size()); skip > 0; --skip)
            slot = NextInput(slot + 1);
    for (size_t i = 0; i < raw.size() && slot < Length();) {
        const int len = CharLen(raw, i);
        int taken = 0;
        if (len == 2 || !IsEmptyMark(static_cast<unsigned char>(raw[i])))
            taken = Place(editText, slot, &raw[i], len);
        for (int step = 0; step < (taken ? taken : len); ++step)
            slot = NextInput(slot + 1);
        i += len;
    }
    return editText;
}

std::string MaskLayout::EditTextFor(const std::string& text) const {
    return keepLiterals_ ? FitFields(text) : EditTextFromInput(text);
}

std::string MaskLayout::TextOf(const std::string& editText) const {
    if (!IsMasked())
        return editText;
    auto at = [&](int i) { return i < static_cast<int>(editText.size()) ? editText[i] : blank_; };
    std::string text;
    text.reserve(slots_.size());
    if (keepLiterals_) {
        for (int i = 0; i < Length(); ++i)
            text += IsLiteral(i) ? slots_[i].literal : (at(i) == blank_ ? ' ' : at(i));
        return text;
    }
    std::vector<bool> empty;
    for (int i = 0; i < Length(); ++i) {
        if (IsLiteral(i))
            continue;
        empty.push_back(at(i) == blank_);
        text += at(i) == blank_ ? ' ' : at(i);
    }
    // Only the empty run at the unfilled end goes; empty positions inside the text stay blanks.
    size_t head = 0;
    size_t tail = text.size();
    if (rightAligned_)
        while (head < tail && empty[head]) ++head;
    else
        while (tail > head && empty[tail - 1]) --tail;
    return text.substr(head, tail - head);
}

std::string MaskLayout::InputOf(const std::string& editText) const {
    std::string input;
    for (int i = 0; i < Length() && i < static_cast<int>(editText.size()); ++i)
        if (!IsLiteral(i))
            input += editText[i] == blank_ ? ' ' : editText[i];
    return input;
}

bool MaskLayout::IsComplete(const std::string& editText) const {
    for (int i = 0; i < Length(); ++i) {
        const SlotKind kind = slots_[i].kind;
        const bool required = kind == SlotKind::Digit || kind == SlotKind::Letter ||
                              kind == SlotKind::AlnumReq || kind == SlotKind::AnyReq;
        if (required && (i >= static_cast<int>(editText.size()) ||
                         IsEmptyMark(static_cast<unsigned char>(editText[i]))))
            return false;
    }
    return true;
}

// ---- TCustomMaskEdit -------------------------------------------------------------------------

const TClassInfo& TCustomMaskEdit::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCustomMaskEdit>("TCustomMaskEdit", TCustomEdit::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TMaskEdit::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TMaskEdit> b("TMaskEdit", TCustomMaskEdit::StaticClassInfo());
        return b.Creatable()
            .Str("EditMask", &TMaskEdit::EditMask, &TMaskEdit::SetEditMask)
            .Str("Text", &TMaskEdit::Text, &TMaskEdit::SetText)
            .Int("MaxLength", &TMaskEdit::MaxLength, &TMaskEdit::SetMaxLength)
            .Bool("ReadOnly", &TMaskEdit::ReadOnly, &TMaskEdit::SetReadOnly)
            .Enum("CharCase", TypeInfoEditCharCase(), &TMaskEdit::CharCase, &TMaskEdit::SetCharCase)
            .Bool("AutoSelect", &TMaskEdit::AutoSelect, &TMaskEdit::SetAutoSelect)
            .Char("PasswordChar", &TMaskEdit::PasswordChar, &TMaskEdit::SetPasswordChar)
            .Str("ImeName", &TMaskEdit::ImeName, &TMaskEdit::SetImeName)
            .Event("OnChange", &TMaskEdit::OnChange)
            .Build();
    }();
    return info;
}

TCustomMaskEdit::TCustomMaskEdit(TComponent* owner) : TCustomEdit(owner) {}

void TCustomMaskEdit::SetEditMask(const std::string& editMask) {
    if (editMask == editMask_) return;
    MaskLayout next(editMask);
    std::string editText;
    if (!next.IsMasked())
        editText = GetText();
    else if (IsMasked())
        editText = next.EditTextFromInput(layout_.InputOf(EditText()));
    else
        editText = next.FitFields(EditText());
    editMask_ = editMask;
    layout_ = std::move(next);
    AssignText(editText);
}

void TCustomMaskEdit::SetEditText(const std::string& editText) {
    AssignText(IsMasked() ? layout_.FitFields(editText) : editText);
}

std::string TCustomMaskEdit::GetText() const {
    return IsMasked() ? layout_.TextOf(EditText()) : EditText();
}

void TCustomMaskEdit::SetText(const std::string& text) {
    if (IsMasked())
        AssignText(layout_.EditTextFor(ApplyCharCase(text)));
    else
        TCustomEdit::SetText(text);
}

void TCustomMaskEdit::ValidateEdit() const {
    if (!Validate()) throw EDBEditError("Invalid input value.  Use escape key to abandon changes");
}

void TCustomMaskEdit::DoExit() {
    if (Modified() && !Validate()) {
        // Taking the focus back cancels the rest of the focus change.
        SetFocus();
        try {
            ValidateEdit();
        } catch (const EDBEditError& error) {
            Application->ShowException(error);
        }
        return;
    }
    TCustomEdit::DoExit();
}

void TCustomMaskEdit::BlankSelection(std::string& editText) const {
    for (int i = SelStart(); i < SelStart() + SelLength() && i < layout_.Length(); ++i)
        if (!layout_.IsLiteral(i)) editText[i] = layout_.BlankChar();
}

bool TCustomMaskEdit::TypeChar(const std::string& ch) {
    if (!IsMasked()) return TCustomEdit::TypeChar(ch);
    if (ReadOnly()) return false;
    std::string editText = EditText();
    int caret = SelStart();
    if (ch.size() == 1 && SelLength() == 0 && layout_.IsLiteral(caret) && editText[caret] == ch[0]) {
        SetCaret(caret + 1);  // typing the literal steps over it
        return true;
    }
    BlankSelection(editText);
    const int slot = layout_.NextInput(caret);
    const int taken = layout_.Place(editText, slot, ch.data(), static_cast<int>(ch.size()));
    if (taken == 0) return false;  // refused: the selection stays as it was
    SetCaret(layout_.NextInput(slot + taken));
    StoreTyped(editText);
    return true;
}

bool TCustomMaskEdit::DeleteChar(bool forward) {
    if (!IsMasked()) return TCustomEdit::DeleteChar(forward);
    if (ReadOnly()) return false;
    std::string editText = EditText();
    if (SelLength() > 0) {
        BlankSelection(editText);
        SetCaret(SelStart());
    } else {
        const int slot = forward ? layout_.NextInput(SelStart()) : layout_.PreviousInput(SelStart());
        if (slot < 0 || slot >= layout_.Length()) return false;
        editText[slot] = layout_.BlankChar();
        SetCaret(slot);
    }
    StoreTyped(editText);
    return true;
}

}  // namespace krv
