#include "platform/Grids.h"

#include <algorithm>

namespace krv {

const TTypeInfo& TypeInfoGridOption() {
    static const TTypeInfo type = MakeEnumType(
        "TGridOption", {"goFixedVertLine", "goFixedHorzLine", "goVertLine", "goHorzLine", "goRangeSelect",
                        "goDrawFocusSelected", "goRowSizing", "goColSizing", "goRowMoving", "goColMoving",
                        "goEditing", "goTabs", "goRowSelect", "goAlwaysShowEditor", "goThumbTracking"});
    return type;
}

const TTypeInfo& TypeInfoGridOptions() {
    static const TTypeInfo type = MakeSetType("TGridOptions", TypeInfoGridOption());
    return type;
}

// ---- TCustomGrid -----------------------------------------------------------------------------

const TClassInfo& TCustomGrid::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCustomGrid>("TCustomGrid", TCustomControl::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TDrawGrid::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TDrawGrid> b("TDrawGrid", TCustomGrid::StaticClassInfo());
        return PublishWinControl(b)
            .Creatable()
            .Int("ColCount", &TDrawGrid::ColCount, &TDrawGrid::SetColCount)
            .Int("RowCount", &TDrawGrid::RowCount, &TDrawGrid::SetRowCount)
            .Int("FixedCols", &TDrawGrid::FixedCols, &TDrawGrid::SetFixedCols)
            .Int("FixedRows", &TDrawGrid::FixedRows, &TDrawGrid::SetFixedRows)
            .Int("DefaultColWidth", &TDrawGrid::DefaultColWidth, &TDrawGrid::SetDefaultColWidth)
            .Int("DefaultRowHeight", &TDrawGrid::DefaultRowHeight, &TDrawGrid::SetDefaultRowHeight)
            .Set("Options", TypeInfoGridOptions(), &TDrawGrid::Options, &TDrawGrid::SetOptions)
            .Event("OnSelectCell", &TDrawGrid::OnSelectCell)
            .Event("OnDrawCell", &TDrawGrid::OnDrawCell)
            .Event("OnSetEditText", &TDrawGrid::OnSetEditText)
            .Build();
    }();
    return info;
}

TCustomGrid::TCustomGrid(TComponent* owner) : TCustomControl(owner), colWidths_(5, 64), rowHeights_(5, 24) {
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 320, 120);
}

void TCustomGrid::SetColCount(int count) {
    count = std::max({count, fixedCols_ + 1, 1});
    colWidths_.resize(count, defaultColWidth_);
    ClampCurrent();
    Invalidate();
}

void TCustomGrid::SetRowCount(int count) {
    count = std::max({count, fixedRows_ + 1, 1});
    rowHeights_.resize(count, defaultRowHeight_);
    ClampCurrent();
    Invalidate();
}

void TCustomGrid::SetFixedCols(int count) {
    fixedCols_ = std::clamp(count, 0, ColCount() - 1);
    ClampCurrent();
    Invalidate();
}

void TCustomGrid::SetFixedRows(int count) {
    fixedRows_ = std::clamp(count, 0, RowCount() - 1);
    ClampCurrent();
    Invalidate();
}

void TCustomGrid::ClampCurrent() {
    col_ = std::clamp(col_, fixedCols_, ColCount() - 1);
    row_ = std::clamp(row_, fixedRows_, RowCount() - 1);
}

void TCustomGrid::SetDefaultColWidth(int width) {
    defaultColWidth_ = std::max(0, width);
    std::fill(colWidths_.begin(), colWidths_.end(), defaultColWidth_);
    Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(int height) {
    defaultRowHeight_ = std::max(0, height);
    std::fill(rowHeights_.begin(), rowHeights_.end(), defaultRowHeight_);
    Invalidate();
}

int TCustomGrid::ColWidths(int col) const { return col >= 0 && col < ColCount() ? colWidths_[col] : 0; }

void TCustomGrid::SetColWidths(int col, int width) {
    if (col >= 0 && col < ColCount()) colWidths_[col] = std::max(0, width);
    Invalidate();
}

int TCustomGrid::RowHeights(int row) const { return row >= 0 && row < RowCount() ? rowHeights_[row] : 0; }

void TCustomGrid::SetRowHeights(int row, int height) {
    if (row >= 0 && row < RowCount()) rowHeights_[row] = std::max(0, height);
    Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions options) {
    options_ = options;
    if (!options_.Contains(goEditing)) editorMode_ = false;
    if (options_.Contains(goEditing) && options_.Contains(goAlwaysShowEditor)) editorMode_ = true;
    Invalidate();
}

bool TCustomGrid::SelectCell(int col, int row) {
    bool canSelect = true;
    OnSelectCell(this, col, row, canSelect);
    return canSelect;
}

bool TCustomGrid::FocusCell(int col, int row) {
    if (col < fixedCols_ || col >= ColCount() || row < fixedRows_ || row >= RowCount()) return false;
    if (col == col_ && row == row_) return true;
    if (!SelectCell(col, row)) return false;
    col_ = col;
    row_ = row;
    editorFresh_ = true;
    if (!options_.Contains(goAlwaysShowEditor)) editorMode_ = false;
    NotifyPeer(TPeerChange::State);
    Invalidate();
    return true;
}

void TCustomGrid::SetEditorMode(bool editorMode) {
    if (editorMode && !options_.Contains(goEditing)) return;
    if (!editorMode && options_.Contains(goAlwaysShowEditor) && options_.Contains(goEditing)) return;
    editorMode_ = editorMode;
    editorFresh_ = editorMode;
    Invalidate();
}

void TCustomGrid::AdvanceCell() {
    if (col_ < ColCount() - 1) {
        FocusCell(col_ + 1, row_);
        return;
    }
    if (row_ == RowCount() - 1) AppendRow();
    FocusCell(fixedCols_, row_ + 1);
}

void TCustomGrid::DeleteRow(int row) {
    if (row < fixedRows_ || row >= RowCount() || RowCount() <= fixedRows_ + 1) return;
    RowDeleted(row);
    rowHeights_.erase(rowHeights_.begin() + row);
    ClampCurrent();
    Invalidate();
}

TRect TCustomGrid::CellRect(int col, int row) const {
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount()) return TRect{};
    int left = 0;
    for (int c = 0; c < col; ++c)
        left += colWidths_[c] + 1;
    int top = 0;
    for (int r = 0; r < row; ++r)
        top += rowHeights_[r] + 1;
    return Bounds(left, top, colWidths_[col], rowHeights_[row]);
}

unsigned TCustomGrid::DialogCode() const {
    return dlgcWantArrows | dlgcWantChars | (options_.Contains(goTabs) ? dlgcWantTab : 0u);
}

void TCustomGrid::KeyDown(Word& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    switch (key) {
        case VK_UP:
            FocusCell(col_, row_ - 1);
            break;
        case VK_DOWN:
            FocusCell(col_, row_ + 1);
            break;
        case VK_LEFT:
            if (!editorMode_) FocusCell(col_ - 1, row_);
            break;
        case VK_RIGHT:
            if (!editorMode_) FocusCell(col_ + 1, row_);
            break;
        case VK_HOME:
            if (!editorMode_) FocusCell(fixedCols_, row_);
            break;
        case VK_END:
            if (!editorMode_) FocusCell(ColCount() - 1, row_);
            break;
        case VK_TAB:
            if (options_.Contains(goTabs)) FocusCell(shift.Contains(ssShift) ? col_ - 1 : col_ + 1, row_);
            break;
        case VK_F2:
            SetEditorMode(true);
            editorFresh_ = false;
            break;
        default:
            break;
    }
}

void TCustomGrid::InputChar(const std::string& ch) {
    if (!options_.Contains(goEditing) || options_.Contains(goRowSelect) || ch.empty()) return;
    const bool backspace = ch == "\b";
    if (ch.size() == 1 && static_cast<unsigned char>(ch[0]) < 0x20 && !backspace) return;
    if (!editorMode_) SetEditorMode(true);
    std::string text = editorFresh_ ? std::string() : GetEditText(col_, row_);
    editorFresh_ = false;
    if (backspace) {
        // Back over one whole character, a double-byte one included.
        size_t start = 0;
        for (size_t i = 0; i < text.size(); i += IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1)
            start = i;
        if (!text.empty()) text.erase(start);
    } else {
        text += ch;
    }
    SetEditText(col_, row_, text);
}

void TCustomGrid::DoEnter() {
    if (options_.Contains(goEditing) && options_.Contains(goAlwaysShowEditor)) SetEditorMode(true);
    TCustomControl::DoEnter();
}

void TCustomGrid::UserClickCell(int col, int row) {
    if (!EnabledInParents()) return;
    FocusCell(col, row);
    Click();
}

std::string TCustomGrid::GetEditText(int, int) const { return ""; }

void TCustomGrid::SetEditText(int col, int row, const std::string& value) {
    OnSetEditText(this, col, row, value);
}

void TCustomGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
    if (OnDrawCell) {
        OnDrawCell(this, col, row, rect, state);
        return;
    }
    Canvas()->Brush()->SetColor(state.Contains(gdFixed) ? clBtnFace : Color());
    Canvas()->FillRect(rect);
}

void TCustomGrid::Paint() {
    Canvas()->SetFont(Font());
    for (int row = 0; row < RowCount(); ++row)
        for (int col = 0; col < ColCount(); ++col) {
            TGridDrawState state;
            if (col < fixedCols_ || row < fixedRows_) state.Include(gdFixed);
            if (col == col_ && row == row_) state.Include(gdFocused).Include(gdSelected);
            DrawCell(col, row, CellRect(col, row), state);
        }
}

// ---- TStringGrid -----------------------------------------------------------------------------

const TClassInfo& TStringGrid::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TStringGrid>("TStringGrid", TDrawGrid::StaticClassInfo()).Creatable().Build();
    return info;
}

TStringGrid::TStringGrid(TComponent* owner) : TDrawGrid(owner) { Resize(ColCount(), RowCount()); }

void TStringGrid::Resize(int cols, int rows) {
    cells_.resize(rows);
    for (auto& row : cells_)
        row.resize(cols);
}

void TStringGrid::SetColCount(int count) {
    TDrawGrid::SetColCount(count);
    Resize(ColCount(), RowCount());
}

void TStringGrid::SetRowCount(int count) {
    TDrawGrid::SetRowCount(count);
    Resize(ColCount(), RowCount());
}

std::string TStringGrid::Cells(int col, int row) const {
    if (row < 0 || row >= static_cast<int>(cells_.size()) || col < 0 ||
        col >= static_cast<int>(cells_[row].size()))
        return "";
    return cells_[row][col];
}

void TStringGrid::SetCells(int col, int row, const std::string& text) {
    if (row < 0 || row >= static_cast<int>(cells_.size()) || col < 0 ||
        col >= static_cast<int>(cells_[row].size()))
        return;
    cells_[row][col] = text;
    Invalidate();
}

void TStringGrid::SetEditText(int col, int row, const std::string& value) {
    SetCells(col, row, value);
    TDrawGrid::SetEditText(col, row, value);
}

void TStringGrid::RowDeleted(int row) {
    if (row >= 0 && row < static_cast<int>(cells_.size())) cells_.erase(cells_.begin() + row);
}

}  // namespace krv
