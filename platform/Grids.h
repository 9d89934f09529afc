// Grids: rows and columns of cells with fixed rows and columns, a current cell, and an editing
// mode in which typed characters go into the current cell.
#pragma once

#include <string>
#include <vector>

#include "platform/StdCtrls.h"

namespace krv {

enum TGridOption : uint8_t {
    goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected,
    goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs, goRowSelect,
    goAlwaysShowEditor, goThumbTracking
};
using TGridOptions = TSet<TGridOption>;
enum TGridDrawStateItem : uint8_t { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateItem>;

const TTypeInfo& TypeInfoGridOption();   // "TGridOption"
const TTypeInfo& TypeInfoGridOptions();  // "TGridOptions"

using TSelectCellEvent = TEvent<TObject*, int, int, bool&>;
using TDrawCellEvent = TEvent<TObject*, int, int, TRect, TGridDrawState>;
using TSetEditEvent = TEvent<TObject*, int, int, const std::string&>;
template <> inline constexpr const char* kEventTypeName<TSelectCellEvent> = "TSelectCellEvent";
template <> inline constexpr const char* kEventTypeName<TDrawCellEvent> = "TDrawCellEvent";
template <> inline constexpr const char* kEventTypeName<TSetEditEvent> = "TSetEditEvent";

class TCustomGrid : public TCustomControl {
    KRV_CLASS(TCustomGrid)
    // 5 x 5 cells of 64 x 24 with one fixed row and column.
    explicit TCustomGrid(TComponent* owner);

    int ColCount() const { return static_cast<int>(colWidths_.size()); }
    virtual void SetColCount(int count);
    int RowCount() const { return static_cast<int>(rowHeights_.size()); }
    virtual void SetRowCount(int count);
    // Fixed rows and columns stay below the counts; the current cell moves out of them.
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int count);
    int FixedRows() const { return fixedRows_; }
    void SetFixedRows(int count);
    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int width);
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultRowHeight(int height);
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int RowHeights(int row) const;
    void SetRowHeights(int row, int height);
    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions options);

    // The current cell. Moving it asks OnSelectCell, which may refuse; a cell outside the
    // non-fixed area is ignored.
    int Col() const { return col_; }
    void SetCol(int col) { FocusCell(col, row_); }
    int Row() const { return row_; }
    void SetRow(int row) { FocusCell(col_, row); }
    bool FocusCell(int col, int row);
    // Editing mode: needs goEditing (goAlwaysShowEditor keeps it on). Typed characters then edit
    // the current cell.
    bool EditorMode() const { return editorMode_; }
    void SetEditorMode(bool editorMode);
    // The grid has the focus and is editing (the in-place editor is focused).
    bool EditorFocused() const { return editorMode_ && Focused(); }
    // The cell after the current one: the next column, or the first non-fixed column of the next
    // row after the last column, adding a row after the last.
    void AdvanceCell();
    // Rows: appended at the end, or removed (with their cells).
    void AppendRow() { SetRowCount(RowCount() + 1); }
    virtual void DeleteRow(int row);
    TRect CellRect(int col, int row) const;

    bool FocusOnClick() const override { return true; }
    unsigned DialogCode() const override;
    // Arrows, Home/End and (with goTabs) Tab move the current cell; F2 starts editing.
    void KeyDown(Word& key, TShiftState shift) override;
    void InputChar(const std::string& ch) override;
    void DoEnter() override;
    // A person clicks a cell.
    void UserClickCell(int col, int row);

    TSelectCellEvent OnSelectCell;
    TDrawCellEvent OnDrawCell;
    TSetEditEvent OnSetEditText;

protected:
    // The text the editor works on, and where it goes; a string grid keeps it in the cell.
    virtual std::string GetEditText(int col, int row) const;
    virtual void SetEditText(int col, int row, const std::string& value);
    virtual bool SelectCell(int col, int row);
    virtual void DrawCell(int col, int row, const TRect& rect, TGridDrawState state);
    // The cells of rows at or beyond `row` move up one row; the string grid moves its texts.
    virtual void RowDeleted(int) {}
    void Paint() override;

private:
    void ClampCurrent();

    std::vector<int> colWidths_;
    std::vector<int> rowHeights_;
    int fixedCols_ = 1;
    int fixedRows_ = 1;
    int defaultColWidth_ = 64;
    int defaultRowHeight_ = 24;
    TGridOptions options_{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    int col_ = 1;
    int row_ = 1;
    bool editorMode_ = false;
    bool editorFresh_ = false;  // the next typed character replaces the cell's text
};

class TDrawGrid : public TCustomGrid {
    KRV_CLASS(TDrawGrid)
    explicit TDrawGrid(TComponent* owner) : TCustomGrid(owner) {}
};

class TStringGrid : public TDrawGrid {
    KRV_CLASS(TStringGrid)
    explicit TStringGrid(TComponent* owner);

    // "" outside the grid; writing outside does nothing.
    std::string Cells(int col, int row) const;
    void SetCells(int col, int row, const std::string& text);
    void SetColCount(int count) override;
    void SetRowCount(int count) override;

protected:
    std::string GetEditText(int col, int row) const override { return Cells(col, row); }
    void SetEditText(int col, int row, const std::string& value) override;
    void RowDeleted(int row) override;

private:
    void Resize(int cols, int rows);
    std::vector<std::vector<std::string>> cells_;  // [row][col]
};

}  // namespace krv
