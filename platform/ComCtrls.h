// The common controls: list view, page control with tab sheets, tool bar with tool buttons, tree
// view and status bar.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ImgList.h"
#include "platform/Menus.h"
#include "platform/StdCtrls.h"

namespace krv {

class TCustomListView;
class TListItems;
class TPageControl;

enum TViewStyle : uint8_t { vsIcon, vsSmallIcon, vsList, vsReport };
enum TSortType : uint8_t { stNone, stData, stText, stBoth };
enum TItemChange : uint8_t { ctText, ctImage, ctState };
enum TToolButtonStyle : uint8_t { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

const TTypeInfo& TypeInfoViewStyle();        // "TViewStyle"
const TTypeInfo& TypeInfoSortType();         // "TSortType"
const TTypeInfo& TypeInfoToolButtonStyle();  // "TToolButtonStyle"

// ---- list view -------------------------------------------------------------------------------

// Width -1 fits the column to its texts, -2 to its header; reading it gives the fitted width.
class TListColumn : public TCollectionItem {
    KRV_CLASS(TListColumn)
    explicit TListColumn(TCollection* collection);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    int Width() const;
    void SetWidth(int width);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize) { autoSize_ = autoSize; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index) { imageIndex_ = index; }
    std::string DisplayName() const override { return caption_; }
    void Assign(const TPersistent* source) override;

private:
    TCustomListView* ListView() const;
    std::string caption_;
    int width_ = 50;
    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = false;
    int imageIndex_ = -1;
};

class TListColumns : public TCollection {
    KRV_CLASS(TListColumns)
    explicit TListColumns(TCustomListView* owner);
    TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
    TListColumn* Items(int index) const { return static_cast<TListColumn*>(TCollection::Items(index)); }
    TListColumn* operator[](int index) const { return Items(index); }
    TCustomListView* ListView() const { return owner_; }

private:
    TCustomListView* owner_;
};

class TListItem : public TPersistent {
    KRV_CLASS(TListItem)
    explicit TListItem(TListItems* owner);
    ~TListItem() override;

    const std::string& Caption() const { return caption_; }
    // A list sorted by text re-sorts after the change.
    void SetCaption(const std::string& caption);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index) { imageIndex_ = index; }
    TStrings* SubItems() const { return subItems_.get(); }
    void SetSubItems(const TStrings* subItems) { subItems_->Assign(subItems); }
    // Selecting fires the list's OnChanging/OnChange/OnSelectItem; without MultiSelect it
    // deselects the other items.
    bool Selected() const { return selected_; }
    void SetSelected(bool selected);
    bool Focused() const { return focused_; }
    void SetFocused(bool focused);
    void* Data() const { return data_; }
    void SetData(void* data) { data_ = data; }
    bool Checked() const { return checked_; }
    void SetChecked(bool checked) { checked_ = checked; }
    int Index() const;
    TListItems* Owner() const { return owner_; }
    TCustomListView* ListView() const;
    // Removes and frees the item.
    void Delete();
    // A person edits the caption in place (see TCustomListView::UserEditCaption).
    bool EditCaption(const std::string& text);
    void Assign(const TPersistent* source) override;

private:
    friend class TCustomListView;
    friend class TListItems;
    TListItems* owner_;
    std::string caption_;
    int imageIndex_ = -1;
    std::unique_ptr<TStringList> subItems_;
    bool selected_ = false;
    bool focused_ = false;
    bool checked_ = false;
    void* data_ = nullptr;
};

class TListItems : public TPersistent {
    KRV_CLASS(TListItems)
    explicit TListItems(TCustomListView* owner);
    ~TListItems() override;

    int Count() const { return static_cast<int>(items_.size()); }
    TListItem* Item(int index) const;
    TListItem* operator[](int index) const { return Item(index); }
    TListItem* Add();
    TListItem* Insert(int index);
    void Delete(int index);
    void Clear();
    int IndexOf(const TListItem* item) const;
    // While updating, a sorted list re-sorts once at the end.
    void BeginUpdate();
    void EndUpdate();
    TCustomListView* Owner() const { return owner_; }
    void Assign(const TPersistent* source) override;

private:
    friend class TCustomListView;
    friend class TListItem;
    void Remove(TListItem* item);

    TCustomListView* owner_;
    std::vector<TListItem*> items_;
    int updateCount_ = 0;
};

using TLVCompare = std::function<int(TListItem* item1, TListItem* item2, intptr_t data)>;
using TLVCompareEvent = TEvent<TObject*, TListItem*, TListItem*, intptr_t, int&>;
using TLVColumnClickEvent = TEvent<TObject*, TListColumn*>;
using TLVEditedEvent = TEvent<TObject*, TListItem*, std::string&>;
using TLVEditingEvent = TEvent<TObject*, TListItem*, bool&>;
using TLVSelectItemEvent = TEvent<TObject*, TListItem*, bool>;
using TLVChangeEvent = TEvent<TObject*, TListItem*, TItemChange>;
using TLVChangingEvent = TEvent<TObject*, TListItem*, TItemChange, bool&>;
using TLVDeletedEvent = TEvent<TObject*, TListItem*>;
template <> inline constexpr const char* kEventTypeName<TLVCompareEvent> = "TLVCompareEvent";
template <> inline constexpr const char* kEventTypeName<TLVColumnClickEvent> = "TLVColumnClickEvent";
template <> inline constexpr const char* kEventTypeName<TLVEditedEvent> = "TLVEditedEvent";
template <> inline constexpr const char* kEventTypeName<TLVEditingEvent> = "TLVEditingEvent";
template <> inline constexpr const char* kEventTypeName<TLVSelectItemEvent> = "TLVSelectItemEvent";
template <> inline constexpr const char* kEventTypeName<TLVChangeEvent> = "TLVChangeEvent";
template <> inline constexpr const char* kEventTypeName<TLVChangingEvent> = "TLVChangingEvent";
template <> inline constexpr const char* kEventTypeName<TLVDeletedEvent> = "TLVDeletedEvent";

class TCustomListView : public TCustomControl {
    KRV_CLASS(TCustomListView)
    explicit TCustomListView(TComponent* owner);
    ~TCustomListView() override;

    TListColumns* Columns() const { return columns_.get(); }
    void SetColumns(const TListColumns* columns) { columns_->Assign(columns); }
    TListItems* Items() const { return items_.get(); }
    void SetItems(const TListItems* items) { items_->Assign(items); }
    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle style);
    // The first selected item; nullptr when none. Setting selects that item alone.
    TListItem* Selected() const;
    void SetSelected(TListItem* item);
    TListItem* ItemFocused() const;
    int SelCount() const;
    void ClearSelection();

    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool multiSelect) { multiSelect_ = multiSelect; }
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool rowSelect) { rowSelect_ = rowSelect; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool hide) { hideSelection_ = hide; }
    bool ShowColumnHeaders() const { return showColumnHeaders_; }
    void SetShowColumnHeaders(bool show) { showColumnHeaders_ = show; }
    bool ColumnClick() const { return columnClick_; }
    void SetColumnClick(bool columnClick) { columnClick_ = columnClick; }
    bool AutoArrange() const { return autoArrange_; }
    void SetAutoArrange(bool autoArrange) { autoArrange_ = autoArrange; }
    TCustomImageList* LargeImages() const { return largeImages_; }
    void SetLargeImages(TCustomImageList* images);
    TCustomImageList* SmallImages() const { return smallImages_; }
    void SetSmallImages(TCustomImageList* images);

    // stText and stBoth keep the items ordered by caption (OnCompare decides when assigned).
    TSortType SortType() const { return sortType_; }
    void SetSortType(TSortType sortType);
    // A stable sort by `compare`, else OnCompare, else by caption ignoring case.
    bool CustomSort(const TLVCompare& compare = nullptr, intptr_t data = 0);
    bool AlphaSort() { return CustomSort(); }
    // Width of a text in the list's font.
    int StringWidth(const std::string& text) const;

    // A person's actions. Clicking an item selects it (alone, unless ctrl with MultiSelect).
    void UserSelect(TListItem* item, TShiftState shift = {});
    // A click on a column header: OnColumnClick when ColumnClick is on.
    void UserClickColumn(int index);
    // An in-place edit of an item's caption committed with `text`: OnEditing may refuse; OnEdited
    // may replace the text; the caption becomes the text afterwards. An exception escaping a
    // handler leaves the caption as it was (the application shows it). True when the caption was
    // replaced.
    bool UserEditCaption(TListItem* item, const std::string& text);
    unsigned DialogCode() const override { return dlgcWantArrows; }
    // Up and Down move the selection as a person's click would.
    void KeyDown(Word& key, TShiftState shift) override;
    bool FocusOnClick() const override { return true; }

    TLVCompareEvent OnCompare;
    TLVColumnClickEvent OnColumnClick;
    TLVEditedEvent OnEdited;
    TLVEditingEvent OnEditing;
    TLVSelectItemEvent OnSelectItem;
    TLVChangeEvent OnChange;
    TLVChangingEvent OnChanging;
    TLVDeletedEvent OnDeletion;
    TLVDeletedEvent OnInsert;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void Paint() override;
    // The selection of an item changes; false when OnChanging refused.
    virtual bool ChangeSelection(TListItem* item, bool selected);

private:
    friend class TListItem;
    friend class TListItems;
    void SortIfNeeded();
    void ItemDeleting(TListItem* item);

    std::unique_ptr<TListColumns> columns_;
    std::unique_ptr<TListItems> items_;
    TViewStyle viewStyle_ = vsIcon;
    bool multiSelect_ = false;
    bool rowSelect_ = false;
    bool readOnly_ = false;
    bool hideSelection_ = true;
    bool showColumnHeaders_ = true;
    bool columnClick_ = true;
    bool autoArrange_ = true;
    TSortType sortType_ = stNone;
    TCustomImageList* largeImages_ = nullptr;
    TCustomImageList* smallImages_ = nullptr;
};

class TListView : public TCustomListView {
    KRV_CLASS(TListView)
    explicit TListView(TComponent* owner) : TCustomListView(owner) {}
};

// ---- page control ----------------------------------------------------------------------------

class TTabSheet : public TWinControl {
    KRV_CLASS(TTabSheet)
    // Hidden until it is the active page.
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return pageControl_; }
    // Joins the page control (as its last page) and makes it the parent.
    void SetPageControl(TPageControl* pageControl);
    void SetParent(TWinControl* parent) override;
    // Position among the pages; setting it moves the page.
    int PageIndex() const;
    void SetPageIndex(int index);
    // Position among the visible tabs; -1 when its tab is hidden.
    int TabIndex() const;
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool visible);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index) { imageIndex_ = index; }

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

protected:
    void VisibleChanged() override;
    void TextChanged() override;

private:
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;
    bool tabVisible_ = true;
    int imageIndex_ = -1;
};

using TTabChangingEvent = TEvent<TObject*, bool&>;  // also the type of TCloseQueryEvent
using TDrawTabEvent = TEvent<TPageControl*, int, const TRect&, bool>;
template <> inline constexpr const char* kEventTypeName<TDrawTabEvent> = "TDrawTabEvent";

class TPageControl : public TWinControl {
    KRV_CLASS(TPageControl)
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const;
    // Code changes fire neither OnChanging nor OnChange; the new page's OnShow (and the old
    // one's OnHide) do fire. When the focus was on the page being left, it moves to the new page
    // (its first control); a page whose controls keep the focus is not left.
    TTabSheet* ActivePage() const { return activePage_; }
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }
    void SetActivePageIndex(int index);
    // The page of the visible tab `tabIndex` (hidden tabs skipped); nullptr when none.
    TTabSheet* PageForTab(int tabIndex) const;
    // The visible tab of the active page.
    int TabIndex() const { return activePage_ ? activePage_->TabIndex() : -1; }
    int VisibleTabCount() const;
    // The next (or previous) page with a visible tab after `current`, wrapping.
    TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible = true) const;
    // As a person changes the page: OnChanging may refuse, then the change and OnChange.
    void SelectNextPage(bool goForward, bool checkTabVisible = true);
    // A person clicks the visible tab `tabIndex`.
    void UserSelectTab(int tabIndex);
    // Ctrl+Tab and Ctrl+Shift+Tab change the page when the focus is inside the control.
    bool DialogKey(Word key, TShiftState shift) override;

    // Owner-drawn tabs have the fixed TabWidth x TabHeight and are drawn by OnDrawTab (or as
    // their caption when it is not assigned).
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool ownerDraw) { ownerDraw_ = ownerDraw; Invalidate(); }
    int TabWidth() const { return tabWidth_; }
    void SetTabWidth(int width) { tabWidth_ = std::max(0, width); Invalidate(); }
    int TabHeight() const { return tabHeight_; }
    void SetTabHeight(int height) { tabHeight_ = std::max(0, height); Invalidate(); }
    TRect TabRect(int tabIndex) const;
    TCanvas* Canvas() const { return canvas_.get(); }
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* images);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool multiLine) { multiLine_ = multiLine; }

    TTabChangingEvent OnChanging;
    TNotifyEvent OnChange;
    TDrawTabEvent OnDrawTab;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    TCanvas* PaintCanvas() const override { return canvas_.get(); }
    void Paint() override;
    virtual bool CanChange();
    virtual void Change();
    virtual void DrawTab(int tabIndex, const TRect& rect, bool active);
    // Pages sit below the tabs.
    void AdjustClientRect(TRect& rect) const override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void MovePage(TTabSheet* page, int index);
    // A person's change to `page`.
    void UserChangeTo(TTabSheet* page);
    bool ChangeActivePage(TTabSheet* page);
    int TabAreaHeight() const;

    std::vector<TTabSheet*> pages_;
    TTabSheet* activePage_ = nullptr;
    std::unique_ptr<TCanvas> canvas_;
    bool ownerDraw_ = false;
    int tabWidth_ = 0;
    int tabHeight_ = 0;
    TCustomImageList* images_ = nullptr;
    bool multiLine_ = false;
};

// ---- tool bar --------------------------------------------------------------------------------

class TToolBar;

// Takes no focus. A check button toggles Down; a drop-down button shows its menu below itself.
class TToolButton : public TGraphicControl {
    KRV_CLASS(TToolButton)
    explicit TToolButton(TComponent* owner);

    TToolButtonStyle Style() const { return style_; }
    void SetStyle(TToolButtonStyle style);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index) { imageIndex_ = index; Invalidate(); }
    bool Down() const { return down_; }
    void SetDown(bool down) { down_ = down; Invalidate(); }
    bool Grouped() const { return grouped_; }
    void SetGrouped(bool grouped) { grouped_ = grouped; }
    TPopupMenu* DropdownMenu() const { return dropdownMenu_; }
    void SetDropdownMenu(TPopupMenu* menu);
    TToolBar* ToolBar() const;
    void SetParent(TWinControl* parent) override;

    void UserClick() override;
    // A person clicks the drop-down arrow: the menu pops up at the button's bottom-left corner.
    void UserDropDown();

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void Paint() override;

private:
    TToolButtonStyle style_ = tbsButton;
    int imageIndex_ = -1;
    bool down_ = false;
    bool grouped_ = false;
    TPopupMenu* dropdownMenu_ = nullptr;
};

// Lays its buttons out in a row, each ButtonWidth x ButtonHeight (separators 8 wide).
class TToolBar : public TWinControl {
    KRV_CLASS(TToolBar)
    explicit TToolBar(TComponent* owner);

    bool Flat() const { return flat_; }
    void SetFlat(bool flat) { flat_ = flat; }
    int ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(int width);
    int ButtonHeight() const { return buttonHeight_; }
    void SetButtonHeight(int height);
    bool ShowCaptions() const { return showCaptions_; }
    void SetShowCaptions(bool show) { showCaptions_ = show; }
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* images);
    int ButtonCount() const;
    TToolButton* Buttons(int index) const;
    void ArrangeButtons();

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    bool flat_ = false;
    int buttonWidth_ = 23;
    int buttonHeight_ = 22;
    bool showCaptions_ = false;
    TCustomImageList* images_ = nullptr;
};

// ---- tree view -------------------------------------------------------------------------------

class TTreeNodes;

class TTreeNode : public TPersistent {
    KRV_CLASS(TTreeNode)
    TTreeNode(TTreeNodes* owner, TTreeNode* parent);
    ~TTreeNode() override;

    const std::string& Text() const { return text_; }
    void SetText(const std::string& text) { text_ = text; }
    TTreeNode* Parent() const { return parent_; }
    int Count() const { return static_cast<int>(children_.size()); }
    TTreeNode* Item(int index) const;
    int Index() const;
    int Level() const;
    // The next node in the tree's overall order (depth first); nullptr after the last.
    TTreeNode* GetNext() const;
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index) { imageIndex_ = index; }
    void* Data() const { return data_; }
    void SetData(void* data) { data_ = data; }
    bool Expanded() const { return expanded_; }
    void SetExpanded(bool expanded) { expanded_ = expanded; }
    TTreeNodes* Owner() const { return owner_; }
    void Delete();

private:
    friend class TTreeNodes;
    TTreeNodes* owner_;
    TTreeNode* parent_;
    std::vector<TTreeNode*> children_;
    std::string text_;
    int imageIndex_ = -1;
    void* data_ = nullptr;
    bool expanded_ = false;
};

class TTreeView;

class TTreeNodes : public TPersistent {
    KRV_CLASS(TTreeNodes)
    explicit TTreeNodes(TTreeView* owner);
    ~TTreeNodes() override;

    // All nodes, in the tree's overall order.
    int Count() const;
    TTreeNode* Item(int index) const;
    TTreeNode* GetFirstNode() const { return roots_.empty() ? nullptr : roots_.front(); }
    // A node after the last sibling of `sibling` (a root when `sibling` is nullptr).
    TTreeNode* Add(TTreeNode* sibling, const std::string& text);
    TTreeNode* AddChild(TTreeNode* parent, const std::string& text);
    void Delete(TTreeNode* node);
    void Clear();
    TTreeView* Owner() const { return owner_; }

private:
    friend class TTreeNode;
    TTreeView* owner_;
    std::vector<TTreeNode*> roots_;
};

class TTreeView : public TWinControl {
    KRV_CLASS(TTreeView)
    explicit TTreeView(TComponent* owner);
    ~TTreeView() override;
    TTreeNodes* Items() const { return items_.get(); }
    TTreeNode* Selected() const { return selected_; }
    void SetSelected(TTreeNode* node) { selected_ = node; }
    bool FocusOnClick() const override { return true; }

private:
    friend class TTreeNodes;
    std::unique_ptr<TTreeNodes> items_;
    TTreeNode* selected_ = nullptr;
};

// ---- status bar ------------------------------------------------------------------------------

class TStatusPanel : public TCollectionItem {
    KRV_CLASS(TStatusPanel)
    explicit TStatusPanel(TCollection* collection);
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    int Width() const { return width_; }
    void SetWidth(int width);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment) { alignment_ = alignment; }
    std::string DisplayName() const override { return text_; }
    void Assign(const TPersistent* source) override;

private:
    std::string text_;
    int width_ = 50;
    TAlignment alignment_ = taLeftJustify;
};

class TStatusPanels : public TCollection {
    KRV_CLASS(TStatusPanels)
    explicit TStatusPanels(TPersistent* owner);
    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
    TStatusPanel* Items(int index) const { return static_cast<TStatusPanel*>(TCollection::Items(index)); }
    TStatusPanel* operator[](int index) const { return Items(index); }
};

class TStatusBar : public TWinControl {
    KRV_CLASS(TStatusBar)
    // Aligned to the bottom.
    explicit TStatusBar(TComponent* owner);
    ~TStatusBar() override;
    TStatusPanels* Panels() const { return panels_.get(); }
    void SetPanels(const TStatusPanels* panels) { panels_->Assign(panels); }
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool simple) { simplePanel_ = simple; }
    const std::string& SimpleText() const { return simpleText_; }
    void SetSimpleText(const std::string& text) { simpleText_ = text; }

private:
    std::unique_ptr<TStatusPanels> panels_;
    bool simplePanel_ = false;
    std::string simpleText_;
};

}  // namespace krv
