// The selection panel: the control through which a job form collects one condition, either a
// range (begin and end texts), a list of discrete rows, or both with a check box that lets the
// user choose. The value rules (exit ordering, value strings) are free functions so that they
// hold without any on-screen control.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "controls/F2Button.h"
#include "controls/GSpdBtn.h"
#include "platform/ComCtrls.h"
#include "platform/ExtCtrls.h"
#include "platform/Mask.h"
#include "platform/StdCtrls.h"
#include "platform/Variant.h"

namespace krv {

enum TSelectStyle : uint8_t { sp_Range, sp_Discrete, sp_UserChoice };
enum TValueType : uint8_t { vt_String, vt_Number, vt_Date, vt_Time, vt_Float, vt_OtherMask };
enum TDateType : uint8_t { dt_NoneCare, dt_YYYYMMDD, dt_MMDDYYYY, dt_DDMMYYYY, dt_YYMMDD, dt_YYYMMDD };
enum TCheckDuplicate : uint8_t { cd_None, cd_CheckCase, cd_CaseInsensitive };

// Separators of the value strings.
inline constexpr char kCellSep = '\x01';
inline constexpr char kSaveFieldSep = '\x03';
inline constexpr char kRowEnd = '\x04';      // after each row; also the range marker
inline constexpr char kListMarker = '\x05';

const char* SelectStyleName(TSelectStyle style);

// ---- value strings ---------------------------------------------------------------------------

// One row: the caption, then the sub-items.
using SelectRow = std::vector<std::string>;
using SelectRows = std::vector<SelectRow>;

// Caption, each sub-item after character 1, then character 4; rows in order.
std::string RowsToText(const SelectRows& rows);
// The non-empty pieces between characters 4, each split at character 1 into cells. A last row
// without its closing character 4 still counts.
SelectRows RowsFromText(const std::string& text);

// What a panel holds, as far as the saved and the server value carry it.
struct SelectCondition {
    TSelectStyle style = sp_Range;
    bool userChoice = true;
    std::string beginText;
    std::string endText;
    SelectRows rows;
    // Range mode: style range, or user choice with the range chosen.
    bool IsRangeMode() const { return style == sp_Range || (style == sp_UserChoice && userChoice); }
};

// Fields separated by character 3: the style's name, then what that style keeps.
std::string FormatSaveValue(const SelectCondition& condition);
// Range mode: [#4, begin, end]; list mode: [#5, [cells of row 1], ..., [cells of row n]].
Variant FormatServerValue(const SelectCondition& condition);

// ---- exit ordering ---------------------------------------------------------------------------

// The panel's settings that decide how begin and end are put in order when the focus leaves it.
struct RangeRules {
    TValueType valueType = vt_String;
    TDateType dateType = dt_NoneCare;
    std::string dateSign = "/";
    std::string editMask;
    std::string blankText;
    bool autoChangeDateSite = true;
    bool useDiscard = false;
    std::string discard;
};

struct RangeTexts {
    std::string begin;
    std::string end;
    bool operator==(const RangeTexts&) const = default;
};

// Whether the exit trims both texts: unless the mask keeps blanks (it begins with "!").
bool TrimsRangeTexts(const std::string& editMask);
// Both texts as they stand after the exit: trimmed (see TrimsRangeTexts), decimal texts
// normalised, and exchanged when begin orders after end. A side that is empty or shows only the
// mask's blank text is not filled in: nothing is exchanged then.
RangeTexts OrderRangeTexts(const RangeRules& rules, RangeTexts texts);
// A day count that grows with the date (0 for no or an impossible date) of a text whose fields
// stand in DateType's order, separated by DateSign; year-month texts imply the first day.
int64_t DateNumber(const std::string& text, TDateType dateType, const std::string& dateSign,
                   const std::string& blankText);

// ---- rows ------------------------------------------------------------------------------------

// Row order of a sort by column SortColumn (0 = caption): case-insensitive, DBCS-safe; equal texts
// fall back to the next key (column 0 then 1, 1 then 0, k then 0 then 1). Negative, 0 or positive.
int CompareRows(const SelectRow& a, const SelectRow& b, int sortColumn, bool ascending);
// The form of a caption under which duplicates compare equal (exact bytes, or upper-cased).
std::string DuplicateKey(const std::string& caption, TCheckDuplicate rule);

// ---- the panel's controls --------------------------------------------------------------------

const TTypeInfo& TypeInfoSelectStyle();     // "TSelectStyle"
const TTypeInfo& TypeInfoValueType();       // "TValueType"
const TTypeInfo& TypeInfoDateType();        // "TDateType"
const TTypeInfo& TypeInfoCheckDuplicate();  // "TCheckDuplicate"

using TItemSelectEvent = TEvent<TObject*, TListItem*, int, bool>;  // Sender, xItem, xIndex, xIsSelect
template <> inline constexpr const char* kEventTypeName<TItemSelectEvent> = "TItemSelectEvent";

// The panel's list of rows in report view: columns "Data<n>" added as rows need them, rows
// padded to one number of sub-items, optionally kept sorted and free of duplicate captions.
class TOruListView : public TListView {
    KRV_CLASS(TOruListView)
    explicit TOruListView(TComponent* owner);

    // Every row as its cells: caption, then sub-items.
    SelectRows Rows() const;
    // Adds a row from its cells (cell 0 the caption); false for no cells or on an error.
    bool AddRow(const SelectRow& cells);
    void ClearRows() { Items()->Clear(); }
    // Every column as wide as its longest text (caption or cells), counted in "W"s of the font.
    void AutoSizeColumns();

    bool ColumnsAutoSize() const { return columnsAutoSize_; }
    void SetColumnsAutoSize(bool autoSize) { columnsAutoSize_ = autoSize; }
    TCheckDuplicate CheckDuplicate() const { return checkDuplicate_; }
    void SetCheckDuplicate(TCheckDuplicate rule) { checkDuplicate_ = rule; }
    // Drops every row whose caption repeats that of an earlier row under the duplicate rule.
    void RemoveDuplicates();
    // Kept sorted by the sort keys as rows arrive; turning it on sorts the rows present.
    bool SortRows() const { return sortRows_; }
    void SetSortRows(bool sortRows);
    int SortColumn() const { return sortColumn_; }
    bool SortAscending() const { return sortAscending_; }
    // Sorts by `column`, or the other way round when it already is the sort column.
    void SortByColumn(int column);
    void Sort();

    // A left press, and a person's click on a row, first take the focus; when the focus cannot
    // come here they are ignored.
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void UserSelect(TListItem* item, TShiftState shift = {});

private:
    static SelectRow CellsOf(const TListItem& item);
    int CompareItems(const TListItem& a, const TListItem& b) const;
    int SortedPosition(const SelectRow& cells) const;
    bool TakeFocus();

    bool columnsAutoSize_ = true;
    TCheckDuplicate checkDuplicate_ = cd_None;
    bool sortRows_ = false;
    int sortColumn_ = 0;
    bool sortAscending_ = true;
};

// A mask edit whose change notification can be muted.
class TOruMaskEdit : public TMaskEdit {
    KRV_CLASS(TOruMaskEdit)
    explicit TOruMaskEdit(TComponent* owner) : TMaskEdit(owner) {}
    bool Muted() const { return muted_; }
    void SetMuted(bool muted) { muted_ = muted; }

protected:
    void Change() override;

private:
    bool muted_ = false;
};

// The user-choice check box.
class TOruCheckBox : public TCheckBox {
    KRV_CLASS(TOruCheckBox)
    explicit TOruCheckBox(TComponent* owner) : TCheckBox(owner) {}
};

using TOpenWinClickEvent = TEvent<TObject*, TObject*>;                          // SenderParent, Sender
using TDeleteClickEvent = TEvent<TObject*, bool&>;                              // Sender, Accept
using TStyleChangingEvent = TEvent<TObject*, TSelectStyle, TSelectStyle&, bool&>;  // NowStyle, NewStyle, Accept
using TStyleChangeEvent = TEvent<TObject*, TSelectStyle, TSelectStyle>;         // OldStyle, NewStyle
template <> inline constexpr const char* kEventTypeName<TOpenWinClickEvent> = "TOpenWinClickEvent";
template <> inline constexpr const char* kEventTypeName<TDeleteClickEvent> = "TDeleteClickEvent";
template <> inline constexpr const char* kEventTypeName<TStyleChangingEvent> = "TStyleChangingEvent";
template <> inline constexpr const char* kEventTypeName<TStyleChangeEvent> = "TStyleChangeEvent";

class TSelectPanel : public TGroupBox {
    KRV_CLASS(TSelectPanel)
    // 353 by 45, range style, the other layouts' size 200 by 105.
    explicit TSelectPanel(TComponent* owner);
    ~TSelectPanel() override;

    // ---- the condition ----
    TSelectStyle Style() const { return style_; }
    // OnStyleChanging may change or refuse the new style; then the controls, the size and the
    // layout follow, OnStyleChange fires (Style still reads the old style), and Style changes.
    void SetStyle(TSelectStyle style);
    bool IsRangeMode() const;
    std::string BeginText() const { return edBegin_->Text(); }
    void SetBeginText(const std::string& text) { edBegin_->SetText(text); }
    std::string EndText() const { return edFinal_->Text(); }
    void SetEndText(const std::string& text) { edFinal_->SetText(text); }
    bool UserChoice() const { return userChoice_; }
    // Acts only in the user-choice style: the check box follows, the layout changes, then
    // OnTypeClick fires.
    void SetUserChoice(bool userChoice);
    bool AddRow(const SelectRow& cells) { return listBox_->AddRow(cells); }
    TListColumns* Columns() const { return listBox_->Columns(); }
    void SetColumns(const TListColumns* columns) { listBox_->SetColumns(columns); }
    TListItems* Items() const { return listBox_->Items(); }
    void SetItems(const TListItems* items) { listBox_->SetItems(items); }
    void ClearRows() { listBox_->ClearRows(); }
    SelectCondition Condition() const;
    // Rows text, saved value and server value of the current condition.
    std::string RowsText() const { return RowsToText(listBox_->Rows()); }
    std::string SaveValue() const { return FormatSaveValue(Condition()); }
    Variant ServerValue() const { return FormatServerValue(Condition()); }
    // Replaces the rows by those of a rows text.
    void LoadRowsText(const std::string& text);
    // Restores a saved value; the style stays. Raises "parse spSaveValue error" when the rows of
    // a discrete value cannot be read back.
    void RestoreSaveValue(const std::string& value);
    // The exit validation: trims, normalises and orders begin and end.
    void OrderRange();
    // Sets the style's controls visible.
    void ShowStyleControls(TSelectStyle style);

    // ---- published settings ----
    bool AutoChangeDateSite() const { return autoChangeDateSite_; }
    void SetAutoChangeDateSite(bool on) { autoChangeDateSite_ = on; }
    TStrings* BeginWords() const { return beginWords_.get(); }
    void SetBeginWords(const TStrings* words);
    TStrings* FinalWords() const { return finalWords_.get(); }
    void SetFinalWords(const TStrings* words);
    bool ColumnsAutoSize() const { return listBox_->ColumnsAutoSize(); }
    void SetColumnsAutoSize(bool on) { listBox_->SetColumnsAutoSize(on); }
    bool CanOpenWin() const { return canOpenWin_; }
    virtual void SetCanOpenWin(bool canOpenWin);
    TCheckDuplicate CheckDuplicate() const { return listBox_->CheckDuplicate(); }
    void SetCheckDuplicate(TCheckDuplicate rule);
    TStrings* ChildHints() const { return childHints_.get(); }
    void SetChildHints(const TStrings* hints) { childHints_->Assign(hints); }
    // A snapshot of the column captions; assigning replaces the columns by one per caption.
    TStrings* ColumnCaptions();
    void SetColumnCaptions(const TStrings* captions);
    TDateType DateType() const { return dateType_; }
    void SetDateType(TDateType type) { dateType_ = type; }
    const std::string& DateSign() const { return dateSign_; }
    void SetDateSign(const std::string& sign) { dateSign_ = sign; }
    const std::string& Discard() const { return discard_; }
    void SetDiscard(const std::string& discard) { discard_ = discard; }
    const std::string& EditMask() const { return editMask_; }
    void SetEditMask(const std::string& mask);
    // The text an empty edit shows under the mask.
    const std::string& BlankText() const { return blankText_; }
    int GlyphIndex() const { return glyphIndex_; }
    void SetGlyphIndex(int index);
    std::string HintWord() const { return chkUserChoice_->Caption(); }
    void SetHintWord(const std::string& word);
    bool HideSelection() const { return listBox_->HideSelection(); }
    void SetHideSelection(bool hide) { listBox_->SetHideSelection(hide); }
    int OtherHeight() const { return otherHeight_; }
    void SetOtherHeight(int height) { otherHeight_ = height; }
    int OtherWidth() const { return otherWidth_; }
    void SetOtherWidth(int width) { otherWidth_ = width; }
    bool ShowColumnHeader() const { return listBox_->ShowColumnHeaders(); }
    void SetShowColumnHeader(bool show) { listBox_->SetShowColumnHeaders(show); }
    bool SortListBox() const { return listBox_->SortRows(); }
    void SetSortListBox(bool sort) { listBox_->SetSortRows(sort); }
    bool UseDiscard() const { return useDiscard_; }
    void SetUseDiscard(bool on) { useDiscard_ = on; }
    bool UseVertical() const { return useVertical_; }
    // Only in the range style; a change exchanges the size with the other layouts' size.
    void SetUseVertical(bool vertical);
    TValueType ValueType() const { return valueType_; }
    void SetValueType(TValueType type) { valueType_ = type; }

    // ---- children ----
    TOruCheckBox* chkUserChoice() const { return chkUserChoice_; }
    TPanel* pnlRange() const { return pnlRange_; }
    TLabel* lblBegin() const { return lblBegin_; }
    TOruMaskEdit* edBegin() const { return edBegin_; }
    TF2Button* btnBegin() const { return btnBegin_; }
    TLabel* lblFinal() const { return lblFinal_; }
    TOruMaskEdit* edFinal() const { return edFinal_; }
    TF2Button* btnFinal() const { return btnFinal_; }
    TPanel* pnlList() const { return pnlList_; }
    TF2Button* btnList() const { return btnList_; }
    TGSpeedButton* btnDeleteRow() const { return btnDeleteRow_; }
    TGSpeedButton* btnClearRows() const { return btnClearRows_; }
    TOruListView* ListBox() const { return listBox_; }

    // Enables or disables the panel and everything inside it.
    void SetEnabled(bool enabled) override;
    // In list mode the focus goes on to the list.
    void SetFocus() override;
    // Runs the exit validation, then OnExit.
    void DoExit() override;
    // Lays the children out for the current style.
    void Relayout();

    TOpenWinClickEvent OnOpenWinClick;
    TNotifyEvent OnClearClick;
    TDeleteClickEvent OnDeleteClick;
    TNotifyEvent OnTypeClick;
    TStyleChangingEvent OnStyleChanging;
    TStyleChangeEvent OnStyleChange;
    TItemSelectEvent OnItemSelect;
    TLVChangeEvent OnItemChange;
    TLVChangingEvent OnItemChanging;

protected:
    void Loaded() override;
    void Resize() override;
    void FontChanged() override;

private:
    void CreateChildren();
    void ForwardEvents();
    template <class T>
    T* MakeChild(TWinControl* parent);
    void ApplyUserChoice();
    void ExchangeSize();
    void LayoutFor(TSelectStyle style);
    void ContainerLayout(TPanel* front, TPanel* back);
    void UserChoiceLayout();
    void HorizontalRangeLayout();
    void VerticalRangeLayout();
    void ListLayout();
    std::string Words(const TStrings& words, int entry) const;
    void WordsChanged(TObject* sender);
    void HintsChanged(TObject* sender);
    void LookupClick(TWinControl* target);
    void DeleteRowClick(TObject* sender);
    void ClearRowsClick(TObject* sender);
    void UserChoiceClick(TObject* sender);
    RangeRules Rules() const;

    TOruCheckBox* chkUserChoice_ = nullptr;
    TPanel* pnlRange_ = nullptr;
    TLabel* lblBegin_ = nullptr;
    TOruMaskEdit* edBegin_ = nullptr;
    TF2Button* btnBegin_ = nullptr;
    TLabel* lblFinal_ = nullptr;
    TOruMaskEdit* edFinal_ = nullptr;
    TF2Button* btnFinal_ = nullptr;
    TPanel* pnlList_ = nullptr;
    TF2Button* btnList_ = nullptr;
    TGSpeedButton* btnDeleteRow_ = nullptr;
    TGSpeedButton* btnClearRows_ = nullptr;
    TOruListView* listBox_ = nullptr;

    std::unique_ptr<TStringList> beginWords_;
    std::unique_ptr<TStringList> finalWords_;
    std::unique_ptr<TStringList> childHints_;
    std::unique_ptr<TStringList> columnCaptions_;
    bool assigningWords_ = false;

    TSelectStyle style_ = sp_Range;
    bool userChoice_ = true;
    bool autoChangeDateSite_ = true;
    bool canOpenWin_ = true;
    TDateType dateType_ = dt_NoneCare;
    std::string dateSign_ = "/";
    std::string discard_;
    std::string editMask_;
    std::string blankText_;
    int glyphIndex_ = 8;
    int otherHeight_ = 105;
    int otherWidth_ = 200;
    bool useDiscard_ = false;
    bool useVertical_ = false;
    TValueType valueType_ = vt_String;
};

}  // namespace krv
