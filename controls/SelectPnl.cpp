#include "controls/SelectPnl.h"

#include <algorithm>
#include <unordered_set>

#include "platform/Forms.h"
#include "platform/SysUtils.h"
#include "runtime/LibStrs.h"

namespace krv {

const char* SelectStyleName(TSelectStyle style) {
    switch (style) {
    case sp_Range: return "sp_Range";
    case sp_Discrete: return "sp_Discrete";
    case sp_UserChoice: return "sp_UserChoice";
    }
    return "";
}

namespace {

// One pass over the text; cutting field by field with a positional search would rescan it for
// every row.
std::vector<std::string> SplitAt(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    size_t start = 0;
    for (;;) {
        size_t at = text.find(separator, start);
        if (at == std::string::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, at - start));
        start = at + 1;
    }
}

// An optional sign and decimal digits, nothing around them; false on overflow too.
bool ReadWholeNumber(const std::string& text, int64_t& value) {
    return Trim(text).size() == text.size() && TryStrToInt64(text, value);
}

int64_t WholeNumberOrZero(const std::string& text) {
    int64_t value = 0;
    return ReadWholeNumber(text, value) ? value : 0;
}

bool IsDigitRun(const std::string& text) {
    if (text.empty()) return false;
    for (unsigned char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

double DecimalValueOrZero(const std::string& text) {
    double value = 0;
    return TryStrToFloat(Trim(text), value) ? value : 0;
}

// "whole part.digits"; a side without a point, or a readable number whose rewriting would change
// its value (a sign before a zero whole part, an exponent), stays as typed.
std::string NormalisedDecimal(const std::string& text) {
    int point = Pos(".", text);
    if (point == 0) return text;
    std::string before = Trim(Copy(text, 1, point - 1));
    std::string after = Trim(Copy(text, point + 1, static_cast<int>(text.size())));
    std::string rewritten =
        IntToStr(WholeNumberOrZero(before)) + "." + (IsDigitRun(after) ? after : std::string("0"));
    double original = 0;
    if (TryStrToFloat(Trim(text), original) && original != DecimalValueOrZero(rewritten))
        return text;
    return rewritten;
}

bool IsFilledIn(const std::string& text, const std::string& trimmedBlank) {
    std::string trimmed = Trim(text);
    return !trimmed.empty() && trimmed != trimmedBlank;
}

bool DiscardAllows(const RangeRules& rules, const RangeTexts& texts) {
    return !rules.useDiscard ||
           (Trim(texts.begin) != rules.discard && Trim(texts.end) != rules.discard);
}

bool BeginOrdersAfterEnd(const RangeRules& rules, RangeTexts& texts) {
    switch (rules.valueType) {
    case vt_String:
    case vt_Time:
        return DiscardAllows(rules, texts) && texts.begin > texts.end;
    case vt_Number:
        return WholeNumberOrZero(texts.begin) > WholeNumberOrZero(texts.end);
    case vt_Date:
        if (!rules.autoChangeDateSite || !DiscardAllows(rules, texts)) return false;
        if (rules.dateType == dt_NoneCare) return texts.begin > texts.end;
        return DateNumber(texts.begin, rules.dateType, rules.dateSign, rules.blankText) >
               DateNumber(texts.end, rules.dateType, rules.dateSign, rules.blankText);
    case vt_Float:
        texts.begin = NormalisedDecimal(texts.begin);
        texts.end = NormalisedDecimal(texts.end);
        return DecimalValueOrZero(texts.begin) > DecimalValueOrZero(texts.end);
    case vt_OtherMask:
        return false;
    }
    return false;
}

int CountOccurrences(const std::string& text, const std::string& sign) {
    int count = 0;
    for (size_t at = text.find(sign); at != std::string::npos; at = text.find(sign, at + sign.size()))
        ++count;
    return count;
}

// A year-month text gets the first day in the position its field order puts the day.
std::string WithImpliedDay(const std::string& text, TDateType dateType, const std::string& sign) {
    switch (dateType) {
    case dt_MMDDYYYY: return Copy(text, 1, 2) + sign + "01" + Copy(text, 3, 5);
    case dt_DDMMYYYY: return "01" + sign + text;
    default: return text + sign + "01";
    }
}

const std::string& CellOrEmpty(const SelectRow& row, size_t column) {
    static const std::string empty;
    return column < row.size() ? row[column] : empty;
}

}  // namespace

// ---- value strings ---------------------------------------------------------------------------

std::string RowsToText(const SelectRows& rows) {
    std::string text;
    for (const SelectRow& row : rows) {
        for (size_t cell = 0; cell < row.size(); ++cell) {
            if (cell > 0) text += kCellSep;
            text += row[cell];
        }
        text += kRowEnd;
    }
    return text;
}

SelectRows RowsFromText(const std::string& text) {
    SelectRows rows;
    for (const std::string& piece : SplitAt(text, kRowEnd))
        if (!piece.empty()) rows.push_back(SplitAt(piece, kCellSep));
    return rows;
}

std::string FormatSaveValue(const SelectCondition& condition) {
    std::string value = SelectStyleName(condition.style);
    value += kSaveFieldSep;
    switch (condition.style) {
    case sp_Range:
        return value + condition.beginText + kSaveFieldSep + condition.endText;
    case sp_Discrete:
        return value + RowsToText(condition.rows);
    case sp_UserChoice:
        if (condition.userChoice)
            return value + "True" + kSaveFieldSep + condition.beginText + kSaveFieldSep +
                   condition.endText;
        return value + "False" + kSaveFieldSep + RowsToText(condition.rows);
    }
    return value;
}

Variant FormatServerValue(const SelectCondition& condition) {
    if (condition.IsRangeMode())
        return VarArrayOf({std::string(1, kRowEnd), condition.beginText, condition.endText});
    std::vector<Variant> elements;
    elements.reserve(condition.rows.size() + 1);
    elements.emplace_back(std::string(1, kListMarker));
    for (const SelectRow& row : condition.rows)
        elements.push_back(VarArrayOf(std::vector<Variant>(row.begin(), row.end())));
    return VarArrayOf(std::move(elements));
}

// ---- exit ordering ---------------------------------------------------------------------------

bool TrimsRangeTexts(const std::string& editMask) {
    return editMask.empty() || editMask[0] != '!';
}

RangeTexts OrderRangeTexts(const RangeRules& rules, RangeTexts texts) {
    if (TrimsRangeTexts(rules.editMask)) {
        texts.begin = Trim(texts.begin);
        texts.end = Trim(texts.end);
    }
    const std::string blank = Trim(rules.blankText);
    if (!IsFilledIn(texts.begin, blank) || !IsFilledIn(texts.end, blank)) return texts;
    if (BeginOrdersAfterEnd(rules, texts)) std::swap(texts.begin, texts.end);
    return texts;
}

int64_t DateNumber(const std::string& text, TDateType dateType, const std::string& dateSign,
                   const std::string& blankText) {
    std::string date = Trim(text);
    if (date.empty() || date == Trim(blankText) || dateSign.empty()) return 0;
    switch (CountOccurrences(date, dateSign)) {
    case 1: date = WithImpliedDay(date, dateType, dateSign); break;
    case 2: break;
    default: return 0;
    }
    int64_t fields[3];
    size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        size_t at = i < 2 ? date.find(dateSign, start) : date.size();
        if (at == std::string::npos || !ReadWholeNumber(Trim(date.substr(start, at - start)), fields[i]))
            return 0;
        start = at + dateSign.size();
    }
    int64_t year, month, day;
    switch (dateType) {
    case dt_MMDDYYYY: year = fields[2]; month = fields[0]; day = fields[1]; break;
    case dt_DDMMYYYY: year = fields[2]; month = fields[1]; day = fields[0]; break;
    case dt_YYMMDD:
    case dt_YYYMMDD: year = fields[0] + 1911; month = fields[1]; day = fields[2]; break;
    default: year = fields[0]; month = fields[1]; day = fields[2]; break;
    }
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) return 0;
    double serial = 0;
    if (!TryEncodeDate(int(year), int(month), int(day), serial)) return 0;
    // Day 1 is 0001-01-01, so that every real date counts above "no date".
    return static_cast<int64_t>(serial) + 693594;
}

// ---- rows ------------------------------------------------------------------------------------

int CompareRows(const SelectRow& a, const SelectRow& b, int sortColumn, bool ascending) {
    int key = sortColumn;
    int result = 0;
    for (;;) {
        size_t column = static_cast<size_t>(key < 0 ? 0 : key);
        std::string left = AnsiUpperCase(CellOrEmpty(a, column));
        std::string right = AnsiUpperCase(CellOrEmpty(b, column));
        result = left.compare(right);
        result = result < 0 ? -1 : result > 0 ? 1 : 0;
        if (result != 0) break;
        if (key == 0 && sortColumn != 1) key = 1;
        else if (sortColumn > 0 && key == sortColumn) key = 0;
        else break;
    }
    return ascending ? result : -result;
}

std::string DuplicateKey(const std::string& caption, TCheckDuplicate rule) {
    return rule == cd_CaseInsensitive ? AnsiUpperCase(caption) : caption;
}


const TTypeInfo& TypeInfoSelectStyle() {
    static const TTypeInfo info = MakeEnumType("TSelectStyle", {"sp_Range", "sp_Discrete", "sp_UserChoice"});
    return info;
}

const TTypeInfo& TypeInfoValueType() {
    static const TTypeInfo info =
        MakeEnumType("TValueType", {"vt_String", "vt_Number", "vt_Date", "vt_Time", "vt_Float", "vt_OtherMask"});
    return info;
}

const TTypeInfo& TypeInfoDateType() {
    static const TTypeInfo info = MakeEnumType(
        "TDateType", {"dt_NoneCare", "dt_YYYYMMDD", "dt_MMDDYYYY", "dt_DDMMYYYY", "dt_YYMMDD", "dt_YYYMMDD"});
    return info;
}

const TTypeInfo& TypeInfoCheckDuplicate() {
    static const TTypeInfo info = MakeEnumType("TCheckDuplicate", {"cd_None", "cd_CheckCase", "cd_CaseInsensitive"});
    return info;
}

// ---- TOruListView ----------------------------------------------------------------------------

const TClassInfo& TOruListView::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TOruListView>("TOruListView", TListView::StaticClassInfo())
            .Bool("ColumnsAutoSize", &TOruListView::ColumnsAutoSize, &TOruListView::SetColumnsAutoSize)
            .Build();
    return info;
}

TOruListView::TOruListView(TComponent* owner) : TListView(owner) { SetViewStyle(vsReport); }

SelectRow TOruListView::CellsOf(const TListItem& item) {
    SelectRow cells;
    const TStrings& subItems = *item.SubItems();
    cells.reserve(static_cast<size_t>(subItems.Count()) + 1);
    cells.push_back(item.Caption());
    for (int i = 0; i < subItems.Count(); ++i) cells.push_back(subItems[i]);
    return cells;
}

SelectRows TOruListView::Rows() const {
    SelectRows rows;
    rows.reserve(static_cast<size_t>(Items()->Count()));
    for (int i = 0; i < Items()->Count(); ++i) rows.push_back(CellsOf(*Items()->Item(i)));
    return rows;
}

bool TOruListView::AddRow(const SelectRow& cells) {
    if (cells.empty()) return false;
    try {
        while (Columns()->Count() < static_cast<int>(cells.size()))
            Columns()->Add()->SetCaption("Data" + IntToStr(Columns()->Count()));
        // Rows share one number of sub-items: the new row is padded, or all others grow to it.
        const int subItems = std::max(static_cast<int>(cells.size()) - 1,
                                      Items()->Count() > 0 ? Items()->Item(0)->SubItems()->Count() : 0);
        TListItem* item = Items()->Insert(sortRows_ ? SortedPosition(cells) : Items()->Count());
        item->SetCaption(cells[0]);
        TStrings& own = *item->SubItems();
        own.BeginUpdate();
        for (size_t i = 1; i < cells.size(); ++i) own.Add(cells[i]);
        while (own.Count() < subItems) own.Add("");
        own.EndUpdate();
        for (int i = 0; i < Items()->Count(); ++i) {
            TStrings& other = *Items()->Item(i)->SubItems();
            while (other.Count() < subItems) other.Add("");
        }
        RemoveDuplicates();
        if (columnsAutoSize_) AutoSizeColumns();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void TOruListView::AutoSizeColumns() {
    const int w = StringWidth("W");
    for (int k = 0; k < Columns()->Count(); ++k) {
        TListColumn* column = Columns()->Items(k);
        size_t longest = column->Caption().size();
        for (int i = 0; i < Items()->Count(); ++i) {
            const TListItem& item = *Items()->Item(i);
            if (k == 0)
                longest = std::max(longest, item.Caption().size());
            else if (k - 1 < item.SubItems()->Count())
                longest = std::max(longest, item.SubItems()->Strings(k - 1).size());
        }
        column->SetWidth(w * static_cast<int>(longest));
    }
}

void TOruListView::RemoveDuplicates() {
    if (checkDuplicate_ == cd_None) return;
    std::unordered_set<std::string> seen;
    std::vector<int> repeated;
    for (int i = 0; i < Items()->Count(); ++i)
        if (!seen.insert(DuplicateKey(Items()->Item(i)->Caption(), checkDuplicate_)).second) repeated.push_back(i);
    for (auto it = repeated.rbegin(); it != repeated.rend(); ++it) Items()->Delete(*it);
}

void TOruListView::SetSortRows(bool sortRows) {
    sortRows_ = sortRows;
    if (sortRows_) Sort();
}

int TOruListView::CompareItems(const TListItem& a, const TListItem& b) const {
    return CompareRows(CellsOf(a), CellsOf(b), sortColumn_, sortAscending_);
}

void TOruListView::Sort() {
    CustomSort([this](TListItem* a, TListItem* b, intptr_t) { return CompareItems(*a, *b); });
}

void TOruListView::SortByColumn(int column) {
    if (column == sortColumn_) {
        sortAscending_ = !sortAscending_;
    } else {
        sortColumn_ = column;
        sortAscending_ = true;
    }
    Sort();
}

int TOruListView::SortedPosition(const SelectRow& cells) const {
    // After the rows it does not order before, so that equal rows keep their arrival order.
    int low = 0, high = Items()->Count();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (CompareRows(cells, CellsOf(*Items()->Item(middle)), sortColumn_, sortAscending_) < 0)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

bool TOruListView::TakeFocus() {
    if (!Focused()) SetFocus();
    return Focused();
}

void TOruListView::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && !TakeFocus()) return;
    TListView::MouseDown(button, shift, x, y);
}

void TOruListView::UserSelect(TListItem* item, TShiftState shift) {
    if (TakeFocus()) TListView::UserSelect(item, shift);
}

// ---- TOruMaskEdit, TOruCheckBox --------------------------------------------------------------

const TClassInfo& TOruMaskEdit::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TOruMaskEdit>("TOruMaskEdit", TMaskEdit::StaticClassInfo()).Build();
    return info;
}

void TOruMaskEdit::Change() {
    if (!muted_) TMaskEdit::Change();
}

const TClassInfo& TOruCheckBox::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TOruCheckBox>("TOruCheckBox", TCheckBox::StaticClassInfo()).Build();
    return info;
}


// ---- TSelectPanel ----------------------------------------------------------------------------

namespace {

constexpr int kChildHintCount = 9;

std::unique_ptr<TStringList> MakeList(std::initializer_list<std::string> lines) {
    auto list = std::make_unique<TStringList>();
    list->AddStrings(lines);
    return list;
}

}  // namespace

const TClassInfo& TSelectPanel::StaticClassInfo() {
    static const TClassInfo info = [] {
        using P = TSelectPanel;
        TClassBuilder<P> b("TSelectPanel", TGroupBox::StaticClassInfo());
        PublishWinControl(b);
        PublishCaption(b);
        return b.Creatable()
            .Bool("AutoChangeDateSite", &P::AutoChangeDateSite, &P::SetAutoChangeDateSite)
            .Object("BeginWords", &P::BeginWords, &P::SetBeginWords)
            .Bool("ColumnsAutoSize", &P::ColumnsAutoSize, &P::SetColumnsAutoSize)
            .Bool("CanOpenWin", &P::CanOpenWin, &P::SetCanOpenWin)
            .Enum("CheckDuplicate", TypeInfoCheckDuplicate(), &P::CheckDuplicate, &P::SetCheckDuplicate)
            .Object("ChildHints", &P::ChildHints, &P::SetChildHints)
            .Object("ColumnCaptions", &P::ColumnCaptions, &P::SetColumnCaptions)
            .Object("Columns", &P::Columns, &P::SetColumns)
            .Enum("DateType", TypeInfoDateType(), &P::DateType, &P::SetDateType)
            .Str("DateSign", &P::DateSign, &P::SetDateSign)
            .Str("Discard", &P::Discard, &P::SetDiscard)
            .Str("EditMask", &P::EditMask, &P::SetEditMask)
            .Object("FinalWords", &P::FinalWords, &P::SetFinalWords)
            .Int("GlyphIndex", &P::GlyphIndex, &P::SetGlyphIndex)
            .Str("HintWord", &P::HintWord, &P::SetHintWord)
            .Bool("HideSelection", &P::HideSelection, &P::SetHideSelection)
            .Object("Items", &P::Items, &P::SetItems)
            .Int("OtherHeight", &P::OtherHeight, &P::SetOtherHeight)
            .Int("OtherWidth", &P::OtherWidth, &P::SetOtherWidth)
            .Bool("ShowColumnHeader", &P::ShowColumnHeader, &P::SetShowColumnHeader)
            .Bool("SortListBox", &P::SortListBox, &P::SetSortListBox)
            .Enum("Style", TypeInfoSelectStyle(), &P::Style, &P::SetStyle)
            .Bool("UseDiscard", &P::UseDiscard, &P::SetUseDiscard)
            .Bool("UserChoice", &P::UserChoice, &P::SetUserChoice)
            .Bool("UseVertical", &P::UseVertical, &P::SetUseVertical)
            .Enum("ValueType", TypeInfoValueType(), &P::ValueType, &P::SetValueType)
            .Event("OnOpenWinClick", &P::OnOpenWinClick)
            .Event("OnClearClick", &P::OnClearClick)
            .Event("OnDeleteClick", &P::OnDeleteClick)
            .Event("OnTypeClick", &P::OnTypeClick)
            .Event("OnStyleChanging", &P::OnStyleChanging)
            .Event("OnStyleChange", &P::OnStyleChange)
            .Event("OnItemSelect", &P::OnItemSelect)
            .Event("OnItemChange", &P::OnItemChange)
            .Event("OnItemChanging", &P::OnItemChanging)
            .Build();
    }();
    return info;
}

TSelectPanel::TSelectPanel(TComponent* owner)
    : TGroupBox(owner),
      beginWords_(MakeList({"起", "起"})),
      finalWords_(MakeList({"止", "止"})),
      childHints_(MakeList({"用户自定输入方式", "区间选择-起始信息", "区间选择-起始信息开窗", "区间选择-截止信息",
                            "区间选择-截止信息开窗", "多选-己选择的信息", "多选-信息开窗", "多选-删除一笔信息",
                            "多选-删除己选信息"})),
      columnCaptions_(std::make_unique<TStringList>()) {
    SetBounds(Left(), Top(), 353, 45);
    CreateChildren();
    ForwardEvents();
    HintsChanged(nullptr);
    beginWords_->OnChange = TNotifyEvent(this, &TSelectPanel::WordsChanged);
    finalWords_->OnChange = TNotifyEvent(this, &TSelectPanel::WordsChanged);
    childHints_->OnChange = TNotifyEvent(this, &TSelectPanel::HintsChanged);
    ShowStyleControls(style_);
    Relayout();
}

TSelectPanel::~TSelectPanel() {
    beginWords_->OnChange.Clear();
    finalWords_->OnChange.Clear();
    childHints_->OnChange.Clear();
}

template <class T>
T* TSelectPanel::MakeChild(TWinControl* parent) {
    T* child = Create<T>(this);
    child->SetParent(parent);
    return child;
}

void TSelectPanel::CreateChildren() {
    chkUserChoice_ = MakeChild<TOruCheckBox>(this);
    chkUserChoice_->SetBounds(16, 17, chkUserChoice_->Width(), chkUserChoice_->Height());
    chkUserChoice_->SetCaption("区间选择");
    chkUserChoice_->SetChecked(userChoice_);

    pnlRange_ = MakeChild<TPanel>(this);
    lblBegin_ = MakeChild<TLabel>(pnlRange_);
    edBegin_ = MakeChild<TOruMaskEdit>(pnlRange_);
    btnBegin_ = MakeChild<TF2Button>(pnlRange_);
    lblFinal_ = MakeChild<TLabel>(pnlRange_);
    edFinal_ = MakeChild<TOruMaskEdit>(pnlRange_);
    btnFinal_ = MakeChild<TF2Button>(pnlRange_);
    pnlList_ = MakeChild<TPanel>(this);
    btnList_ = MakeChild<TF2Button>(pnlList_);
    btnDeleteRow_ = MakeChild<TGSpeedButton>(pnlList_);
    btnClearRows_ = MakeChild<TGSpeedButton>(pnlList_);
    listBox_ = MakeChild<TOruListView>(pnlList_);

    for (TPanel* container : {pnlRange_, pnlList_}) {
        container->SetBevelInner(bvNone);
        container->SetBevelOuter(bvNone);
        container->SetCaption(" ");
    }
    lblBegin_->SetAutoSize(true);
    lblFinal_->SetAutoSize(true);
    lblBegin_->SetCaption(Words(*beginWords_, 1));
    lblFinal_->SetCaption(Words(*finalWords_, 1));
    for (TOruMaskEdit* edit : {edBegin_, edFinal_}) edit->SetHeight(24);
    for (TF2Button* button : {btnBegin_, btnFinal_, btnList_}) {
        button->SetFlat(true);
        button->SetBounds(0, 0, 23, 23);
        button->SetGlyphIndex(glyphIndex_);
        button->SetNumGlyphs(1);
    }
    btnDeleteRow_->SetFlat(true);
    btnDeleteRow_->SetBounds(0, 0, 23, 23);
    btnDeleteRow_->SetGlyphIndex(47);
    btnClearRows_->SetFlat(true);
    btnClearRows_->SetBounds(0, 0, 23, 23);
    btnClearRows_->SetGlyphIndex(4);

    listBox_->SetCursor(crHandPoint);
    listBox_->SetMultiSelect(true);
    listBox_->SetRowSelect(true);
    listBox_->SetShowColumnHeaders(false);
    listBox_->SetReadOnly(true);
    listBox_->SetHideSelection(false);

    for (TControl* child : {static_cast<TControl*>(chkUserChoice_), static_cast<TControl*>(edBegin_),
                            static_cast<TControl*>(edFinal_), static_cast<TControl*>(btnBegin_),
                            static_cast<TControl*>(btnFinal_), static_cast<TControl*>(btnList_),
                            static_cast<TControl*>(btnDeleteRow_), static_cast<TControl*>(btnClearRows_),
                            static_cast<TControl*>(listBox_)})
        child->SetShowHint(ShowHint());
}

// Children report their keys, clicks, mouse and drag events as the panel's own. The edits and
// the list keep themselves as Sender with their own coordinates; for the others the panel is
// Sender and the coordinates are the panel's.
void TSelectPanel::ForwardEvents() {
    TWinControl* valueControls[] = {edBegin_, edFinal_, listBox_};
    for (TWinControl* child : valueControls) {
        child->OnKeyDown = [this](TObject* sender, Word& key, TShiftState shift) { OnKeyDown(sender, key, shift); };
        child->OnKeyUp = [this](TObject* sender, Word& key, TShiftState shift) { OnKeyUp(sender, key, shift); };
        child->OnKeyPress = [this](TObject* sender, char& key) { OnKeyPress(sender, key); };
    }
    auto isValueControl = [valueControls](const TObject* child) {
        return std::find(std::begin(valueControls), std::end(valueControls), child) != std::end(valueControls);
    };
    auto senderFor = [this, isValueControl](TObject* child) -> TObject* { return isValueControl(child) ? child : this; };
    auto pointFor = [this, isValueControl](TObject* child, int x, int y) {
        if (isValueControl(child)) return TPoint{x, y};
        return static_cast<TControl*>(child)->ClientToParent({x, y}, this);
    };
    auto panelPoint = [this](TObject* child, int x, int y) {
        return static_cast<TControl*>(child)->ClientToParent({x, y}, this);
    };

    for (TControl* child : {static_cast<TControl*>(pnlRange_), static_cast<TControl*>(pnlList_),
                            static_cast<TControl*>(lblBegin_), static_cast<TControl*>(lblFinal_),
                            static_cast<TControl*>(edBegin_), static_cast<TControl*>(edFinal_),
                            static_cast<TControl*>(listBox_)})
        child->OnClick = [this, senderFor](TObject* sender) { OnClick(senderFor(sender)); };
    for (TControl* child : {static_cast<TControl*>(chkUserChoice_), static_cast<TControl*>(pnlRange_),
                            static_cast<TControl*>(pnlList_), static_cast<TControl*>(edBegin_),
                            static_cast<TControl*>(edFinal_), static_cast<TControl*>(listBox_)})
        child->OnDblClick = [this, senderFor](TObject* sender) { OnDblClick(senderFor(sender)); };

    for (TComponent* component : ComponentList()) {
        auto* child = dynamic_cast<TControl*>(component);
        if (!child) continue;
        child->OnMouseDown = [=, this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
            TPoint p = pointFor(s, x, y);
            OnMouseDown(senderFor(s), b, sh, p.X, p.Y);
        };
        child->OnMouseUp = [=, this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
            TPoint p = pointFor(s, x, y);
            OnMouseUp(senderFor(s), b, sh, p.X, p.Y);
        };
        child->OnMouseMove = [=, this](TObject* s, TShiftState sh, int x, int y) {
            TPoint p = pointFor(s, x, y);
            OnMouseMove(senderFor(s), sh, p.X, p.Y);
        };
        child->OnDragDrop = [=, this](TObject* s, TObject* source, int x, int y) {
            TPoint p = panelPoint(s, x, y);
            OnDragDrop(this, source, p.X, p.Y);
        };
        child->OnDragOver = [=, this](TObject* s, TObject* source, int x, int y, TDragState state, bool& accept) {
            TPoint p = panelPoint(s, x, y);
            OnDragOver(this, source, p.X, p.Y, state, accept);
        };
        child->OnEndDrag = [=, this](TObject* s, TObject* target, int x, int y) {
            TPoint p = panelPoint(s, x, y);
            OnEndDrag(this, target, p.X, p.Y);
        };
        child->OnEndDock = [=, this](TObject* s, TObject* target, int x, int y) {
            TPoint p = panelPoint(s, x, y);
            OnEndDock(this, target, p.X, p.Y);
        };
        child->OnStartDrag = [this](TObject*, TDragObject*& object) { OnStartDrag(this, object); };
        child->OnStartDock = [this](TObject*, TDragDockObject*& object) { OnStartDock(this, object); };
        if (auto* windowed = dynamic_cast<TWinControl*>(child)) {
            windowed->OnGetSiteInfo = [this](TObject*, TControl* client, TRect& rect, TPoint pos, bool& canDock) {
                OnGetSiteInfo(this, client, rect, pos, canDock);
            };
            windowed->OnUnDock = [this](TObject*, TControl* client, TWinControl* target, bool& allow) {
                OnUnDock(this, client, target, allow);
            };
        }
    }

    chkUserChoice_->OnClick = TNotifyEvent(this, &TSelectPanel::UserChoiceClick);
    btnBegin_->OnClick = [this](TObject*) { LookupClick(edBegin_); };
    btnFinal_->OnClick = [this](TObject*) { LookupClick(edFinal_); };
    btnList_->OnClick = [this](TObject*) { LookupClick(listBox_); };
    btnDeleteRow_->OnClick = TNotifyEvent(this, &TSelectPanel::DeleteRowClick);
    btnClearRows_->OnClick = TNotifyEvent(this, &TSelectPanel::ClearRowsClick);
    listBox_->OnColumnClick = [this](TObject*, TListColumn* column) { listBox_->SortByColumn(column->Index()); };
    listBox_->OnSelectItem = [this](TObject*, TListItem* item, bool selected) {
        OnItemSelect(this, item, item->Index(), selected);
    };
    listBox_->OnChange = [this](TObject*, TListItem* item, TItemChange change) { OnItemChange(this, item, change); };
    listBox_->OnChanging = [this](TObject*, TListItem* item, TItemChange change, bool& allow) {
        OnItemChanging(this, item, change, allow);
    };
}

// ---- the condition ---------------------------------------------------------------------------

bool TSelectPanel::IsRangeMode() const {
    return style_ == sp_Range || (style_ == sp_UserChoice && userChoice_);
}

SelectCondition TSelectPanel::Condition() const {
    SelectCondition condition;
    condition.style = style_;
    condition.userChoice = userChoice_;
    if (style_ != sp_Discrete) {
        condition.beginText = BeginText();
        condition.endText = EndText();
    }
    if (style_ != sp_Range) condition.rows = listBox_->Rows();
    return condition;
}

void TSelectPanel::LoadRowsText(const std::string& text) {
    ClearRows();
    for (const SelectRow& row : RowsFromText(text)) AddRow(row);
}

void TSelectPanel::RestoreSaveValue(const std::string& value) {
    const std::string kind = GetDelimitedItem(value, std::string(1, kSaveFieldSep), 1);
    auto field = [&](int index) { return GetDelimitedItem(value, std::string(1, kSaveFieldSep), index); };
    if (kind == "sp_Range") {
        SetBeginText(field(2));
        SetEndText(field(3));
    } else if (kind == "sp_Discrete") {
        try {
            LoadRowsText(field(2));
        } catch (const std::exception&) {
            throw Exception("parse spSaveValue error");
        }
    } else if (kind == "sp_UserChoice") {
        const std::string choice = field(2);
        if (!SameText(choice, "True") && !SameText(choice, "False")) return;
        const bool range = SameText(choice, "True");
        SetUserChoice(range);
        if (range) {
            SetBeginText(field(3));
            SetEndText(field(4));
        } else {
            try {
                LoadRowsText(field(3));
            } catch (const std::exception&) {
            }
        }
    }
}

RangeRules TSelectPanel::Rules() const {
    RangeRules rules;
    rules.valueType = valueType_;
    rules.dateType = dateType_;
    rules.dateSign = dateSign_;
    rules.editMask = editMask_;
    rules.blankText = blankText_;
    rules.autoChangeDateSite = autoChangeDateSite_;
    rules.useDiscard = useDiscard_;
    rules.discard = discard_;
    return rules;
}

void TSelectPanel::OrderRange() {
    auto store = [](TOruMaskEdit* edit, const std::string& text) {
        if (edit->Text() != text) edit->SetText(text);
    };
    if (TrimsRangeTexts(editMask_)) {
        store(edBegin_, Trim(BeginText()));
        store(edFinal_, Trim(EndText()));
    }
    RangeTexts ordered = OrderRangeTexts(Rules(), {BeginText(), EndText()});
    store(edBegin_, ordered.begin);
    store(edFinal_, ordered.end);
}

void TSelectPanel::DoExit() {
    OrderRange();
    TGroupBox::DoExit();
}

// ---- style, user choice, orientation ---------------------------------------------------------

void TSelectPanel::SetStyle(TSelectStyle style) {
    if (style == style_) return;
    TSelectStyle newStyle = style;
    bool accept = true;
    OnStyleChanging(this, style_, newStyle, accept);
    if (!accept) return;
    ShowStyleControls(newStyle);
    if (newStyle != style_ && (newStyle == sp_Range || style_ == sp_Range) && !useVertical_) ExchangeSize();
    LayoutFor(newStyle);
    OnStyleChange(this, style_, newStyle);
    style_ = newStyle;
}

void TSelectPanel::SetUserChoice(bool userChoice) {
    if (style_ != sp_UserChoice) return;
    if (chkUserChoice_->Checked() != userChoice)
        chkUserChoice_->SetChecked(userChoice);  // its click applies the choice
    else
        ApplyUserChoice();
}

void TSelectPanel::UserChoiceClick(TObject*) {
    if (style_ == sp_UserChoice)
        ApplyUserChoice();
    else
        chkUserChoice_->SetChecked(userChoice_);  // only the user-choice style changes the choice
}

void TSelectPanel::ApplyUserChoice() {
    userChoice_ = chkUserChoice_->Checked();
    LayoutFor(style_);
    ShowStyleControls(style_);
    OnTypeClick(this);
}

void TSelectPanel::SetUseVertical(bool vertical) {
    if (style_ != sp_Range || vertical == useVertical_) return;
    useVertical_ = vertical;
    if (IsLoading()) return;
    ExchangeSize();
    Relayout();
}

void TSelectPanel::ExchangeSize() {
    if (IsLoading()) return;
    const int width = Width(), height = Height();
    SetBounds(Left(), Top(), otherWidth_, otherHeight_);
    otherWidth_ = width;
    otherHeight_ = height;
}

void TSelectPanel::ShowStyleControls(TSelectStyle style) {
    chkUserChoice_->SetVisible(style == sp_UserChoice);
    const bool range = style == sp_Range || (chkUserChoice_->Visible() && chkUserChoice_->Checked());
    pnlRange_->SetVisible(range);
    pnlList_->SetVisible(!range);
}

// ---- settings --------------------------------------------------------------------------------

void TSelectPanel::SetBeginWords(const TStrings* words) {
    assigningWords_ = true;
    beginWords_->Assign(words);
    assigningWords_ = false;
    Relayout();
}

void TSelectPanel::SetFinalWords(const TStrings* words) {
    assigningWords_ = true;
    finalWords_->Assign(words);
    assigningWords_ = false;
    Relayout();
}

void TSelectPanel::WordsChanged(TObject* sender) {
    if (!assigningWords_ && static_cast<TStrings*>(sender)->Count() >= 2) Relayout();
}

std::string TSelectPanel::Words(const TStrings& words, int entry) const {
    if (entry < words.Count()) return words[entry];
    return words.Count() > 0 ? words[0] : std::string();
}

void TSelectPanel::HintsChanged(TObject*) {
    TControl* children[kChildHintCount] = {chkUserChoice_, edBegin_, btnBegin_, edFinal_, btnFinal_,
                                           listBox_, btnList_, btnDeleteRow_, btnClearRows_};
    const int count = std::min(childHints_->Count(), kChildHintCount);
    for (int i = 0; i < count; ++i) children[i]->SetHint(childHints_->Strings(i));
}

void TSelectPanel::SetCanOpenWin(bool canOpenWin) {
    canOpenWin_ = canOpenWin;
    for (TF2Button* button : {btnBegin_, btnFinal_, btnList_}) button->SetVisible(canOpenWin);
    Relayout();
}

void TSelectPanel::SetCheckDuplicate(TCheckDuplicate rule) {
    listBox_->SetCheckDuplicate(rule);
    if (rule == cd_None) return;
    SetSortListBox(true);
    if (!IsRangeMode()) listBox_->RemoveDuplicates();
}

TStrings* TSelectPanel::ColumnCaptions() {
    columnCaptions_->Clear();
    for (int i = 0; i < Columns()->Count(); ++i) columnCaptions_->Add(Columns()->Items(i)->Caption());
    return columnCaptions_.get();
}

void TSelectPanel::SetColumnCaptions(const TStrings* captions) {
    Columns()->Clear();
    if (captions)
        for (int i = 0; i < captions->Count(); ++i) Columns()->Add()->SetCaption(captions->Strings(i));
    listBox_->AutoSizeColumns();
}

void TSelectPanel::SetEditMask(const std::string& mask) {
    editMask_ = mask;
    const std::string beginText = edBegin_->Text();
    edBegin_->SetMuted(true);
    edBegin_->SetText("");
    edBegin_->SetEditMask(mask);
    edFinal_->SetEditMask(mask);
    blankText_ = edBegin_->Text();
    edBegin_->SetText(beginText);
    edBegin_->SetMuted(false);
}

void TSelectPanel::SetGlyphIndex(int index) {
    if (index == glyphIndex_) return;
    glyphIndex_ = index;
    for (TF2Button* button : {btnBegin_, btnFinal_, btnList_}) button->SetGlyphIndex(index);
}

void TSelectPanel::SetHintWord(const std::string& word) {
    chkUserChoice_->SetCaption(word);
    chkUserChoice_->SetBounds(chkUserChoice_->Left(), chkUserChoice_->Top(),
                              FontTextWidth(*chkUserChoice_->Font(), word) + 24,
                              FontLineHeight(*chkUserChoice_->Font()) + 2);
}

// ---- focus and state -------------------------------------------------------------------------

void TSelectPanel::SetEnabled(bool enabled) {
    TGroupBox::SetEnabled(enabled);
    for (TComponent* component : ComponentList())
        if (auto* child = dynamic_cast<TControl*>(component)) child->SetEnabled(enabled);
}

void TSelectPanel::SetFocus() {
    TGroupBox::SetFocus();
    if (!IsRangeMode()) listBox_->SetFocus();
}

// ---- buttons ---------------------------------------------------------------------------------

void TSelectPanel::LookupClick(TWinControl* target) {
    target->SetFocus();
    if (target->Focused())
        if (TCustomForm* form = FormOfControl(this))
            Application->SendMessage(form, WM_OPENWIN, 0, reinterpret_cast<intptr_t>(target));
    OnOpenWinClick(this, target);
}

void TSelectPanel::DeleteRowClick(TObject*) {
    bool accept = true;
    OnDeleteClick(this, accept);
    if (!accept) return;
    TListItems& items = *listBox_->Items();
    for (int i = 0; i < items.Count();) {
        if (items[i]->Selected())
            items.Delete(i);
        else
            ++i;
    }
}

void TSelectPanel::ClearRowsClick(TObject*) {
    ClearRows();
    listBox_->SetFocus();
    OnClearClick(this);
}

// ---- layout ----------------------------------------------------------------------------------

void TSelectPanel::Loaded() {
    TGroupBox::Loaded();
    ShowStyleControls(style_);
    Relayout();
}

void TSelectPanel::Resize() {
    TGroupBox::Resize();
    Relayout();
}

void TSelectPanel::FontChanged() {
    TGroupBox::FontChanged();
    Relayout();
}

void TSelectPanel::Relayout() { LayoutFor(style_); }

void TSelectPanel::LayoutFor(TSelectStyle style) {
    if (!listBox_) return;  // still being built
    const TFont& chkFont = *chkUserChoice_->Font();
    chkUserChoice_->SetBounds(chkUserChoice_->Left(), chkUserChoice_->Top(),
                              FontTextWidth(chkFont, chkUserChoice_->Caption()) + 24, FontLineHeight(chkFont) + 2);
    switch (style) {
    case sp_Range:
        chkUserChoice_->SetVisible(false);
        ContainerLayout(pnlRange_, pnlList_);
        if (useVertical_)
            VerticalRangeLayout();
        else
            HorizontalRangeLayout();
        break;
    case sp_Discrete:
        chkUserChoice_->SetVisible(false);
        ContainerLayout(pnlList_, pnlRange_);
        ListLayout();
        break;
    case sp_UserChoice:
        chkUserChoice_->SetVisible(true);
        UserChoiceLayout();
        VerticalRangeLayout();
        ListLayout();
        break;
    }
}

void TSelectPanel::ContainerLayout(TPanel* front, TPanel* back) {
    chkUserChoice_->SendToBack();
    front->BringToFront();
    back->SendToBack();
    const int left = 2;
    const int top = FontLineHeight(*Font()) + 3;
    const int bevel = front->BevelWidth();
    const TRect bounds = Bounds(left, top, Width() - left - bevel - 2, Height() - top - bevel - 2);
    front->SetBoundsRect(bounds);
    back->SetBoundsRect(bounds);
}

void TSelectPanel::UserChoiceLayout() {
    chkUserChoice_->BringToFront();
    chkUserChoice_->SetBounds(16, FontLineHeight(*Font()) + 1, chkUserChoice_->Width(), chkUserChoice_->Height());
    TPanel* active = userChoice_ ? pnlRange_ : pnlList_;
    TPanel* other = userChoice_ ? pnlList_ : pnlRange_;
    active->BringToFront();
    other->SendToBack();
    const int left = 2;
    const int top = FontLineHeight(*chkUserChoice_->Font()) + chkUserChoice_->Top() + 2;
    const TRect bounds = Bounds(left, top, Width() - left - 2, Height() - top - 2);
    active->SetBoundsRect(bounds);
    other->SetBoundsRect(bounds);
}

void TSelectPanel::HorizontalRangeLayout() {
    lblBegin_->SetCaption(Words(*beginWords_, 0));
    lblFinal_->SetCaption(Words(*finalWords_, 0));
    const int W = pnlRange_->Width(), H = pnlRange_->Height();
    const int BW = btnBegin_->Width(), FW = btnFinal_->Width(), LW = lblFinal_->Width();
    const int top = (H - edBegin_->Height()) / 2;
    lblBegin_->SetBounds(2, top, lblBegin_->Width(), lblBegin_->Height());
    const int room = W - lblBegin_->Left() - lblBegin_->Width();
    const int editWidth = canOpenWin_ ? (room - BW - LW - FW - 8) / 2 - 1 : (room - LW - 4) / 2 - 1;
    edBegin_->SetBounds(lblBegin_->Right() + 1, top, editWidth, edBegin_->Height());
    if (canOpenWin_) btnBegin_->SetBounds(edBegin_->Right() + 2, top, BW, btnBegin_->Height());
    const int finalLeft = canOpenWin_ ? btnBegin_->Right() + 2 : edBegin_->Right() + 4;
    lblFinal_->SetBounds(finalLeft, top, lblFinal_->Width(), lblFinal_->Height());
    edFinal_->SetBounds(lblFinal_->Right() + 2, top, edBegin_->Width(), edFinal_->Height());
    if (canOpenWin_) btnFinal_->SetBounds(edFinal_->Right() + 2, top, FW, btnFinal_->Height());
}

void TSelectPanel::VerticalRangeLayout() {
    lblBegin_->SetCaption(Words(*beginWords_, 1));
    lblFinal_->SetCaption(Words(*finalWords_, 1));
    const int W = pnlRange_->Width(), H = pnlRange_->Height();
    const int BW = btnBegin_->Width();
    const int gap = (H - edBegin_->Height() - edFinal_->Height()) / 3;
    lblBegin_->SetBounds(2, gap, lblBegin_->Width(), lblBegin_->Height());
    const int room = W - lblBegin_->Left() - lblBegin_->Width();
    const int editWidth = canOpenWin_ ? room - BW - 4 : room - 2;
    edBegin_->SetBounds(lblBegin_->Right() + 2, lblBegin_->Top(), editWidth, edBegin_->Height());
    if (canOpenWin_) btnBegin_->SetBounds(edBegin_->Right() + 1, lblBegin_->Top(), BW, btnBegin_->Height());
    lblFinal_->SetBounds(lblBegin_->Left(), gap + lblBegin_->Top() + edBegin_->Height(), lblFinal_->Width(),
                         lblFinal_->Height());
    edFinal_->SetBounds(edBegin_->Left(), lblFinal_->Top(), edBegin_->Width(), edFinal_->Height());
    if (canOpenWin_) btnFinal_->SetBounds(btnBegin_->Left(), lblFinal_->Top(), btnFinal_->Width(), btnFinal_->Height());
}

void TSelectPanel::ListLayout() {
    listBox_->SetBounds(listBox_->Left(), 0, pnlList_->Width() - listBox_->Left() - btnList_->Width() - 3,
                        pnlList_->Height());
    btnList_->SetBounds(listBox_->Width() + 2, listBox_->Top(), btnList_->Width(), btnList_->Height());
    btnDeleteRow_->SetBounds(btnList_->Left(), btnList_->Bottom(), btnDeleteRow_->Width(), btnDeleteRow_->Height());
    btnClearRows_->SetBounds(btnList_->Left(), btnDeleteRow_->Bottom(), btnClearRows_->Width(),
                             btnClearRows_->Height());
}

}  // namespace krv
