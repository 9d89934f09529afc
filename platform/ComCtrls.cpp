#include "platform/ComCtrls.h"

#include <algorithm>

#include "platform/Forms.h"

namespace krv {

const TTypeInfo& TypeInfoViewStyle() {
    static const TTypeInfo type = MakeEnumType("TViewStyle", {"vsIcon", "vsSmallIcon", "vsList", "vsReport"});
    return type;
}
const TTypeInfo& TypeInfoSortType() {
    static const TTypeInfo type = MakeEnumType("TSortType", {"stNone", "stData", "stText", "stBoth"});
    return type;
}
const TTypeInfo& TypeInfoToolButtonStyle() {
    static const TTypeInfo type = MakeEnumType(
        "TToolButtonStyle", {"tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator", "tbsDivider"});
    return type;
}

namespace {
// Room around a text in a header or a tab.
constexpr int kTextPadding = 12;

[[noreturn]] void IndexError(int index) {
    throw EListError("List index out of bounds (" + IntToStr(index) + ")");
}

template <class T>
void ReleaseLink(T*& link, TComponent* self, TComponent* next) {
    if (link == next) return;
    if (link) link->RemoveFreeNotification(self);
    link = static_cast<T*>(next);
    if (link) link->FreeNotification(self);
}
}  // namespace

// ---- TListColumn -----------------------------------------------------------------------------

const TClassInfo& TListColumn::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TListColumn>("TListColumn", TCollectionItem::StaticClassInfo())
            .Str("Caption", &TListColumn::Caption, &TListColumn::SetCaption)
            .Int("Width", &TListColumn::Width, &TListColumn::SetWidth)
            .Enum("Alignment", TypeInfoAlignment(), &TListColumn::Alignment, &TListColumn::SetAlignment)
            .Bool("AutoSize", &TListColumn::AutoSize, &TListColumn::SetAutoSize)
            .Int("ImageIndex", &TListColumn::ImageIndex, &TListColumn::SetImageIndex)
            .Build();
    return info;
}

TListColumn::TListColumn(TCollection* collection) : TCollectionItem(collection) {}

TCustomListView* TListColumn::ListView() const {
    const auto* columns = dynamic_cast<const TListColumns*>(Collection());
    return columns ? columns->ListView() : nullptr;
}

void TListColumn::SetCaption(const std::string& caption) {
    caption_ = caption;
    Changed(false);
}

int TListColumn::Width() const {
    const TCustomListView* view = ListView();
    if (width_ >= 0 || !view) return std::max(width_, 0);
    int widest = view->StringWidth(caption_);
    if (width_ == -1) {
        // Fits the texts of this column: captions for the first, sub-items for the others.
        const int column = Index();
        widest = 0;
        for (int i = 0; i < view->Items()->Count(); ++i) {
            const TListItem* item = view->Items()->Item(i);
            const std::string text = column == 0 ? item->Caption()
                                     : column <= item->SubItems()->Count()
                                         ? item->SubItems()->Strings(column - 1)
                                         : std::string();
            widest = std::max(widest, view->StringWidth(text));
        }
    }
    return widest + kTextPadding;
}

void TListColumn::SetWidth(int width) {
    width_ = std::max(width, -2);
    Changed(false);
}

void TListColumn::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    Changed(false);
}

void TListColumn::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TListColumn*>(source);
    if (!other) return TCollectionItem::Assign(source);
    caption_ = other->caption_;
    width_ = other->width_;
    alignment_ = other->alignment_;
    autoSize_ = other->autoSize_;
    imageIndex_ = other->imageIndex_;
    Changed(false);
}

const TClassInfo& TListColumns::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TListColumns>("TListColumns", TCollection::StaticClassInfo()).Build();
    return info;
}

TListColumns::TListColumns(TCustomListView* owner)
    : TCollection([](TCollection* c) -> TCollectionItem* { return new TListColumn(c); }, owner),
      owner_(owner) {}

// ---- TListItem -------------------------------------------------------------------------------

const TClassInfo& TListItem::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TListItem>("TListItem", TPersistent::StaticClassInfo())
                                       .Str("Caption", &TListItem::Caption, &TListItem::SetCaption)
                                       .Int("ImageIndex", &TListItem::ImageIndex, &TListItem::SetImageIndex)
                                       .Object("SubItems", &TListItem::SubItems, &TListItem::SetSubItems)
                                       .Build();
    return info;
}

TListItem::TListItem(TListItems* owner) : owner_(owner), subItems_(std::make_unique<TStringList>()) {}

TListItem::~TListItem() = default;

TCustomListView* TListItem::ListView() const { return owner_->Owner(); }

void TListItem::SetCaption(const std::string& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    ListView()->Invalidate();
    ListView()->SortIfNeeded();
}

void TListItem::SetSelected(bool selected) {
    if (selected != selected_) ListView()->ChangeSelection(this, selected);
}

void TListItem::SetFocused(bool focused) {
    if (focused)
        for (TListItem* other : owner_->items_)
            other->focused_ = false;
    focused_ = focused;
}

int TListItem::Index() const { return owner_->IndexOf(this); }

void TListItem::Delete() {
    TListItems* owner = owner_;
    owner->Remove(this);
    delete this;
}

bool TListItem::EditCaption(const std::string& text) { return ListView()->UserEditCaption(this, text); }

void TListItem::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TListItem*>(source);
    if (!other) return TPersistent::Assign(source);
    caption_ = other->caption_;
    imageIndex_ = other->imageIndex_;
    subItems_->Assign(other->subItems_.get());
    data_ = other->data_;
    checked_ = other->checked_;
}

// ---- TListItems ------------------------------------------------------------------------------

const TClassInfo& TListItems::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TListItems>("TListItems", TPersistent::StaticClassInfo()).Build();
    return info;
}

TListItems::TListItems(TCustomListView* owner) : owner_(owner) {}

TListItems::~TListItems() {
    for (TListItem* item : items_)
        delete item;
}

TListItem* TListItems::Item(int index) const {
    if (index < 0 || index >= Count()) IndexError(index);
    return items_[index];
}

TListItem* TListItems::Add() { return Insert(Count()); }

TListItem* TListItems::Insert(int index) {
    auto* item = new TListItem(this);
    items_.insert(items_.begin() + std::clamp(index, 0, Count()), item);
    owner_->OnInsert(owner_, item);
    owner_->Invalidate();
    return item;
}

void TListItems::Delete(int index) { Item(index)->Delete(); }

void TListItems::Clear() {
    BeginUpdate();
    while (!items_.empty())
        items_.back()->Delete();
    EndUpdate();
}

int TListItems::IndexOf(const TListItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TListItems::BeginUpdate() { ++updateCount_; }

void TListItems::EndUpdate() {
    if (updateCount_ == 0 || --updateCount_ > 0) return;
    owner_->SortIfNeeded();
    owner_->Invalidate();
}

void TListItems::Remove(TListItem* item) {
    owner_->OnDeletion(owner_, item);
    items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
    owner_->Invalidate();
}

void TListItems::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TListItems*>(source);
    if (!other) return TPersistent::Assign(source);
    BeginUpdate();
    Clear();
    for (const TListItem* item : other->items_)
        Add()->Assign(item);
    EndUpdate();
}

// ---- TCustomListView -------------------------------------------------------------------------

const TClassInfo& TCustomListView::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCustomListView>("TCustomListView", TCustomControl::StaticClassInfo()).Build();
    return info;
}

const TClassInfo& TListView::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TListView> b("TListView", TCustomListView::StaticClassInfo());
        return PublishWinControl(b)
            .Creatable()
            .Object("Columns", &TListView::Columns, &TListView::SetColumns)
            .Object("Items", &TListView::Items, &TListView::SetItems)
            .Enum("ViewStyle", TypeInfoViewStyle(), &TListView::ViewStyle, &TListView::SetViewStyle)
            .Enum("SortType", TypeInfoSortType(), &TListView::SortType, &TListView::SetSortType)
            .Bool("MultiSelect", &TListView::MultiSelect, &TListView::SetMultiSelect)
            .Bool("RowSelect", &TListView::RowSelect, &TListView::SetRowSelect)
            .Bool("ReadOnly", &TListView::ReadOnly, &TListView::SetReadOnly)
            .Bool("HideSelection", &TListView::HideSelection, &TListView::SetHideSelection)
            .Bool("ShowColumnHeaders", &TListView::ShowColumnHeaders, &TListView::SetShowColumnHeaders)
            .Bool("ColumnClick", &TListView::ColumnClick, &TListView::SetColumnClick)
            .Object("LargeImages", &TListView::LargeImages, &TListView::SetLargeImages)
            .Object("SmallImages", &TListView::SmallImages, &TListView::SetSmallImages)
            .Event("OnCompare", &TListView::OnCompare)
            .Event("OnColumnClick", &TListView::OnColumnClick)
            .Event("OnEdited", &TListView::OnEdited)
            .Event("OnEditing", &TListView::OnEditing)
            .Event("OnSelectItem", &TListView::OnSelectItem)
            .Event("OnChange", &TListView::OnChange)
            .Event("OnChanging", &TListView::OnChanging)
            .Event("OnDeletion", &TListView::OnDeletion)
            .Event("OnInsert", &TListView::OnInsert)
            .Build();
    }();
    return info;
}

TCustomListView::TCustomListView(TComponent* owner)
    : TCustomControl(owner),
      columns_(std::make_unique<TListColumns>(this)),
      items_(std::make_unique<TListItems>(this)) {
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 250, 150);
}

TCustomListView::~TCustomListView() {
    SetLargeImages(nullptr);
    SetSmallImages(nullptr);
    // Freed items tell nobody: the list is going.
    for (TListItem* item : items_->items_)
        delete item;
    items_->items_.clear();
}

void TCustomListView::SetViewStyle(TViewStyle style) {
    viewStyle_ = style;
    Invalidate();
}

TListItem* TCustomListView::Selected() const {
    for (TListItem* item : items_->items_)
        if (item->selected_) return item;
    return nullptr;
}

void TCustomListView::SetSelected(TListItem* item) {
    ClearSelection();
    if (!item) return;
    item->SetSelected(true);
    item->SetFocused(true);
}

TListItem* TCustomListView::ItemFocused() const {
    for (TListItem* item : items_->items_)
        if (item->focused_) return item;
    return nullptr;
}

int TCustomListView::SelCount() const {
    return static_cast<int>(std::count_if(items_->items_.begin(), items_->items_.end(),
                                          [](const TListItem* item) { return item->selected_; }));
}

void TCustomListView::ClearSelection() {
    for (TListItem* item : std::vector<TListItem*>(items_->items_))
        item->SetSelected(false);
}

void TCustomListView::SetLargeImages(TCustomImageList* images) { ReleaseLink(largeImages_, this, images); }

void TCustomListView::SetSmallImages(TCustomImageList* images) { ReleaseLink(smallImages_, this, images); }

void TCustomListView::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == largeImages_) largeImages_ = nullptr;
    if (component == smallImages_) smallImages_ = nullptr;
}

bool TCustomListView::ChangeSelection(TListItem* item, bool selected) {
    bool allow = true;
    OnChanging(this, item, ctState, allow);
    if (!allow) return false;
    if (selected && !multiSelect_)
        for (TListItem* other : std::vector<TListItem*>(items_->items_))
            if (other != item && other->selected_) ChangeSelection(other, false);
    item->selected_ = selected;
    NotifyPeer(TPeerChange::State);
    Invalidate();
    OnChange(this, item, ctState);
    OnSelectItem(this, item, selected);
    return true;
}

void TCustomListView::SetSortType(TSortType sortType) {
    sortType_ = sortType;
    SortIfNeeded();
}

void TCustomListView::SortIfNeeded() {
    if ((sortType_ == stText || sortType_ == stBoth) && items_->updateCount_ == 0) CustomSort();
}

bool TCustomListView::CustomSort(const TLVCompare& compare, intptr_t data) {
    auto order = [&](TListItem* a, TListItem* b) {
        if (compare) return compare(a, b, data);
        if (OnCompare) {
            int result = 0;
            OnCompare(this, a, b, data, result);
            return result;
        }
        return CompareText(a->caption_, b->caption_);
    };
    std::stable_sort(items_->items_.begin(), items_->items_.end(),
                     [&](TListItem* a, TListItem* b) { return order(a, b) < 0; });
    Invalidate();
    return true;
}

int TCustomListView::StringWidth(const std::string& text) const { return FontTextWidth(*Font(), text); }

void TCustomListView::UserSelect(TListItem* item, TShiftState shift) {
    if (!item || item->owner_ != items_.get() || !EnabledInParents()) return;
    if (multiSelect_ && shift.Contains(ssCtrl)) {
        item->SetSelected(!item->selected_);
    } else {
        for (TListItem* other : std::vector<TListItem*>(items_->items_))
            if (other != item) other->SetSelected(false);
        item->SetSelected(true);
    }
    item->SetFocused(true);
    Click();
}

void TCustomListView::UserClickColumn(int index) {
    if (!columnClick_ || index < 0 || index >= columns_->Count() || !EnabledInParents()) return;
    OnColumnClick(this, columns_->Items(index));
}

bool TCustomListView::UserEditCaption(TListItem* item, const std::string& text) {
    if (!item || item->owner_ != items_.get() || readOnly_ || !EnabledInParents()) return false;
    bool replaced = false;
    Application->Dispatch(this, [&] {
        bool allow = true;
        OnEditing(this, item, allow);
        if (!allow) return;
        std::string edited = text;
        OnEdited(this, item, edited);
        item->SetCaption(edited);
        replaced = true;
    });
    return replaced;
}

void TCustomListView::KeyDown(Word& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if ((key != VK_DOWN && key != VK_UP) || items_->Count() == 0) return;
    const TListItem* current = ItemFocused() ? ItemFocused() : Selected();
    const int at = current ? current->Index() : -1;
    const int next = std::clamp(key == VK_DOWN ? at + 1 : at - 1, 0, items_->Count() - 1);
    if (next != at) UserSelect(items_->Item(next));
}

void TCustomListView::Paint() {
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    const int lineHeight = FontLineHeight(*Font()) + 2;
    int y = viewStyle_ == vsReport && showColumnHeaders_ ? lineHeight : 0;
    for (const TListItem* item : items_->items_) {
        canvas->TextOut(2, y, item->caption_);
        y += lineHeight;
    }
}

// ---- TTabSheet -------------------------------------------------------------------------------

const TClassInfo& TTabSheet::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TTabSheet> b("TTabSheet", TWinControl::StaticClassInfo());
        return PublishCaption(PublishWinControl(b))
            .Creatable()
            .Object("PageControl", &TTabSheet::PageControl, &TTabSheet::SetPageControl)
            .Bool("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible)
            .Int("PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex)
            .Int("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex)
            .Event("OnShow", &TTabSheet::OnShow)
            .Event("OnHide", &TTabSheet::OnHide)
            .Build();
    }();
    return info;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    SetVisible(false);
    SetAlign(alClient);
}

TTabSheet::~TTabSheet() {
    if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* pageControl) { SetParent(pageControl); }

void TTabSheet::SetParent(TWinControl* parent) {
    auto* pageControl = dynamic_cast<TPageControl*>(parent);
    if (pageControl_ && pageControl_ != pageControl) pageControl_->RemovePage(this);
    TWinControl::SetParent(parent);
    if (pageControl && pageControl_ != pageControl) pageControl->InsertPage(this);
}

int TTabSheet::PageIndex() const {
    if (!pageControl_) return -1;
    const auto& pages = pageControl_->pages_;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int index) {
    if (pageControl_) pageControl_->MovePage(this, index);
}

int TTabSheet::TabIndex() const {
    if (!pageControl_ || !tabVisible_) return -1;
    int tab = 0;
    for (const TTabSheet* page : pageControl_->pages_) {
        if (page == this) return tab;
        if (page->tabVisible_) ++tab;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool visible) {
    if (tabVisible_ == visible) return;
    tabVisible_ = visible;
    if (pageControl_) pageControl_->Invalidate();
}

void TTabSheet::VisibleChanged() {
    TWinControl::VisibleChanged();
    if (!pageControl_ || IsLoading()) return;
    if (Visible())
        OnShow(this);
    else
        OnHide(this);
}

void TTabSheet::TextChanged() {
    TWinControl::TextChanged();
    if (pageControl_) pageControl_->Invalidate();
}

// ---- TPageControl ----------------------------------------------------------------------------

const TClassInfo& TPageControl::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TPageControl> b("TPageControl", TWinControl::StaticClassInfo());
        return PublishWinControl(b)
            .Creatable()
            .Object("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage)
            .Bool("OwnerDraw", &TPageControl::OwnerDraw, &TPageControl::SetOwnerDraw)
            .Int("TabWidth", &TPageControl::TabWidth, &TPageControl::SetTabWidth)
            .Int("TabHeight", &TPageControl::TabHeight, &TPageControl::SetTabHeight)
            .Object("Images", &TPageControl::Images, &TPageControl::SetImages)
            .Bool("MultiLine", &TPageControl::MultiLine, &TPageControl::SetMultiLine)
            .Event("OnChanging", &TPageControl::OnChanging, "TTabChangingEvent")
            .Event("OnChange", &TPageControl::OnChange)
            .Event("OnDrawTab", &TPageControl::OnDrawTab)
            .Build();
    }();
    return info;
}

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner), canvas_(std::make_unique<TCanvas>()) {
    SetTabStop(true);
    SetBounds(0, 0, 289, 193);
}

TPageControl::~TPageControl() {
    SetImages(nullptr);
    // The pages are freed with the other children; they must not come back to this list.
    for (TTabSheet* page : pages_)
        page->pageControl_ = nullptr;
    pages_.clear();
    activePage_ = nullptr;
}

TTabSheet* TPageControl::Pages(int index) const {
    if (index < 0 || index >= PageCount()) IndexError(index);
    return pages_[index];
}

void TPageControl::InsertPage(TTabSheet* page) {
    pages_.push_back(page);
    page->pageControl_ = this;
    if (page != activePage_ && page->Visible()) page->SetVisible(false);
    Invalidate();
}

void TPageControl::RemovePage(TTabSheet* page) {
    TTabSheet* next = FindNextPage(page, true, true);
    pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
    page->pageControl_ = nullptr;
    Invalidate();
    if (page != activePage_) return;
    activePage_ = nullptr;
    if (!IsDestroying()) ChangeActivePage(next == page ? nullptr : next);
}

void TPageControl::MovePage(TTabSheet* page, int index) {
    pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
    pages_.insert(pages_.begin() + std::clamp(index, 0, PageCount()), page);
    Invalidate();
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->pageControl_ != this) return;
    ChangeActivePage(page);
}

void TPageControl::SetActivePageIndex(int index) {
    SetActivePage(index >= 0 && index < PageCount() ? pages_[index] : nullptr);
}

bool TPageControl::ChangeActivePage(TTabSheet* page) {
    if (page == activePage_) return true;
    TCustomForm* form = GetParentForm(this);
    const bool focusInside = form && activePage_ && activePage_->ContainsControl(form->ActiveControl());
    if (focusInside) {
        // Leaving the page runs its controls' exit checks; one that keeps the focus keeps the page.
        activePage_->SetFocus();
        if (form->ActiveControl() != activePage_) return false;
    }
    TTabSheet* old = activePage_;
    activePage_ = page;
    if (page) {
        page->BringToFront();
        page->SetVisible(true);
    }
    if (focusInside) {
        if (page && page->CanFocus())
            page->SetFocus();
        else
            SetFocus();
    }
    if (old) old->SetVisible(false);
    if (focusInside && page && form->ActiveControl() == page) page->SelectFirst();
    NotifyPeer(TPeerChange::ActivePage);
    Invalidate();
    return true;
}

TTabSheet* TPageControl::PageForTab(int tabIndex) const {
    if (tabIndex < 0) return nullptr;
    for (TTabSheet* page : pages_)
        if (page->tabVisible_ && tabIndex-- == 0) return page;
    return nullptr;
}

int TPageControl::VisibleTabCount() const {
    return static_cast<int>(
        std::count_if(pages_.begin(), pages_.end(), [](const TTabSheet* p) { return p->tabVisible_; }));
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const {
    const int count = PageCount();
    if (count == 0) return nullptr;
    auto it = std::find(pages_.begin(), pages_.end(), current);
    const int start = it != pages_.end() ? static_cast<int>(it - pages_.begin()) : goForward ? count - 1 : 0;
    int i = start;
    do {
        i = goForward ? (i + 1) % count : (i + count - 1) % count;
        if (!checkTabVisible || pages_[i]->tabVisible_) return pages_[i];
    } while (i != start);
    return nullptr;
}

bool TPageControl::CanChange() {
    bool allow = true;
    OnChanging(this, allow);
    return allow;
}

void TPageControl::Change() { OnChange(this); }

void TPageControl::UserChangeTo(TTabSheet* page) {
    if (!page || page == activePage_ || !CanChange()) return;
    if (ChangeActivePage(page)) Change();
}

void TPageControl::SelectNextPage(bool goForward, bool checkTabVisible) {
    UserChangeTo(FindNextPage(activePage_, goForward, checkTabVisible));
}

void TPageControl::UserSelectTab(int tabIndex) {
    if (EnabledInParents()) UserChangeTo(PageForTab(tabIndex));
}

bool TPageControl::DialogKey(Word key, TShiftState shift) {
    const TCustomForm* form = GetParentForm(this);
    if (key == VK_TAB && shift.Contains(ssCtrl) && form && ContainsControl(form->ActiveControl())) {
        SelectNextPage(!shift.Contains(ssShift));
        return true;
    }
    return TWinControl::DialogKey(key, shift);
}

void TPageControl::SetImages(TCustomImageList* images) { ReleaseLink(images_, this, images); }

void TPageControl::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == images_) images_ = nullptr;
}

int TPageControl::TabAreaHeight() const { return tabHeight_ > 0 ? tabHeight_ : FontLineHeight(*Font()) + 8; }

TRect TPageControl::TabRect(int tabIndex) const {
    int left = 0;
    for (int tab = 0; tab <= tabIndex; ++tab) {
        const TTabSheet* page = PageForTab(tab);
        if (!page) return TRect{};
        const int width = tabWidth_ > 0 ? tabWidth_ : FontTextWidth(*Font(), page->Caption()) + kTextPadding;
        if (tab == tabIndex) return Bounds(left, 0, width, TabAreaHeight());
        left += width;
    }
    return TRect{};
}

void TPageControl::AdjustClientRect(TRect& rect) const {
    TWinControl::AdjustClientRect(rect);
    rect.Top += TabAreaHeight();
    InflateRect(rect, -4, -4);
}

void TPageControl::DrawTab(int tabIndex, const TRect& rect, bool active) {
    if (ownerDraw_ && OnDrawTab) {
        OnDrawTab(this, tabIndex, rect, active);
        return;
    }
    canvas_->SetFont(Font());
    canvas_->Brush()->SetColor(clBtnFace);
    canvas_->FillRect(rect);
    TRect text = rect;
    if (const TTabSheet* page = PageForTab(tabIndex))
        canvas_->DrawText(page->Caption(), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TPageControl::Paint() {
    for (int tab = 0; tab < VisibleTabCount(); ++tab)
        DrawTab(tab, TabRect(tab), PageForTab(tab) == activePage_);
}

// ---- TToolButton, TToolBar -------------------------------------------------------------------

const TClassInfo& TToolButton::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TToolButton> b("TToolButton", TGraphicControl::StaticClassInfo());
        return PublishCaption(PublishControl(b))
            .Creatable()
            .Enum("Style", TypeInfoToolButtonStyle(), &TToolButton::Style, &TToolButton::SetStyle)
            .Int("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex)
            .Bool("Down", &TToolButton::Down, &TToolButton::SetDown)
            .Bool("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped)
            .Object("DropdownMenu", &TToolButton::DropdownMenu, &TToolButton::SetDropdownMenu)
            .Build();
    }();
    return info;
}

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 23, 22); }

TToolBar* TToolButton::ToolBar() const { return dynamic_cast<TToolBar*>(Parent()); }

void TToolButton::SetParent(TWinControl* parent) {
    TToolBar* before = ToolBar();
    TGraphicControl::SetParent(parent);
    if (before && before != ToolBar()) before->ArrangeButtons();
    if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
}

void TToolButton::SetStyle(TToolButtonStyle style) {
    style_ = style;
    if (TToolBar* bar = ToolBar()) bar->ArrangeButtons();
    Invalidate();
}

void TToolButton::SetDropdownMenu(TPopupMenu* menu) { ReleaseLink(dropdownMenu_, this, menu); }

void TToolButton::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == dropdownMenu_) dropdownMenu_ = nullptr;
}

void TToolButton::UserClick() {
    if (style_ == tbsSeparator || style_ == tbsDivider) return;
    if (style_ == tbsCheck) SetDown(!down_);
    Click();
}

void TToolButton::UserDropDown() {
    if (!dropdownMenu_ || !EnabledInParents()) return;
    const TPoint at = ClientToScreen(Point(0, Height()));
    dropdownMenu_->SetPopupComponent(this);
    dropdownMenu_->Popup(at.X, at.Y);
}

void TToolButton::Paint() {
    TCanvas* canvas = Canvas();
    const TToolBar* bar = ToolBar();
    if (bar && bar->Images() && imageIndex_ >= 0) {
        const int x = (Width() - bar->Images()->Width()) / 2;
        const int y = (Height() - bar->Images()->Height()) / 2;
        bar->Images()->Draw(canvas, x, y, imageIndex_);
    }
    if (down_) canvas->FrameRect(ClientRect());
}

const TClassInfo& TToolBar::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TToolBar> b("TToolBar", TWinControl::StaticClassInfo());
        return PublishWinControl(b)
            .Creatable()
            .Bool("Flat", &TToolBar::Flat, &TToolBar::SetFlat)
            .Int("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth)
            .Int("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight)
            .Bool("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions)
            .Object("Images", &TToolBar::Images, &TToolBar::SetImages)
            .Build();
    }();
    return info;
}

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 150, 29);
    SetAlign(alTop);
}

void TToolBar::SetButtonWidth(int width) {
    buttonWidth_ = std::max(1, width);
    ArrangeButtons();
}

void TToolBar::SetButtonHeight(int height) {
    buttonHeight_ = std::max(1, height);
    ArrangeButtons();
}

void TToolBar::SetImages(TCustomImageList* images) { ReleaseLink(images_, this, images); }

void TToolBar::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == images_) images_ = nullptr;
}

int TToolBar::ButtonCount() const {
    return static_cast<int>(std::count_if(ControlList().begin(), ControlList().end(), [](TControl* c) {
        return dynamic_cast<TToolButton*>(c) != nullptr;
    }));
}

TToolButton* TToolBar::Buttons(int index) const {
    for (TControl* control : ControlList())
        if (auto* button = dynamic_cast<TToolButton*>(control); button && index-- == 0) return button;
    IndexError(index);
}

void TToolBar::ArrangeButtons() {
    int left = 0;
    for (TControl* control : ControlList()) {
        auto* button = dynamic_cast<TToolButton*>(control);
        if (!button || !button->Visible()) continue;
        const bool gap = button->Style() == tbsSeparator || button->Style() == tbsDivider;
        const int width = gap ? 8 : buttonWidth_;
        button->SetBounds(left, 0, width, buttonHeight_);
        left += width;
    }
}

// ---- tree view -------------------------------------------------------------------------------

const TClassInfo& TTreeNode::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TTreeNode>("TTreeNode", TPersistent::StaticClassInfo())
                                       .Str("Text", &TTreeNode::Text, &TTreeNode::SetText)
                                       .Int("ImageIndex", &TTreeNode::ImageIndex, &TTreeNode::SetImageIndex)
                                       .Build();
    return info;
}

TTreeNode::TTreeNode(TTreeNodes* owner, TTreeNode* parent) : owner_(owner), parent_(parent) {}

TTreeNode::~TTreeNode() {
    for (TTreeNode* child : children_)
        delete child;
}

TTreeNode* TTreeNode::Item(int index) const {
    if (index < 0 || index >= Count()) IndexError(index);
    return children_[index];
}

int TTreeNode::Index() const {
    const auto& siblings = parent_ ? parent_->children_ : owner_->roots_;
    return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

int TTreeNode::Level() const {
    int level = 0;
    for (const TTreeNode* node = parent_; node; node = node->parent_)
        ++level;
    return level;
}

TTreeNode* TTreeNode::GetNext() const {
    if (!children_.empty()) return children_.front();
    for (const TTreeNode* node = this; node; node = node->parent_) {
        const auto& siblings = node->parent_ ? node->parent_->children_ : node->owner_->roots_;
        const size_t next = static_cast<size_t>(node->Index()) + 1;
        if (next < siblings.size()) return siblings[next];
    }
    return nullptr;
}

void TTreeNode::Delete() { owner_->Delete(this); }

const TClassInfo& TTreeNodes::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TTreeNodes>("TTreeNodes", TPersistent::StaticClassInfo()).Build();
    return info;
}

TTreeNodes::TTreeNodes(TTreeView* owner) : owner_(owner) {}

TTreeNodes::~TTreeNodes() {
    for (TTreeNode* node : roots_)
        delete node;
}

int TTreeNodes::Count() const {
    int count = 0;
    for (const TTreeNode* node = GetFirstNode(); node; node = node->GetNext())
        ++count;
    return count;
}

TTreeNode* TTreeNodes::Item(int index) const {
    int at = 0;
    for (TTreeNode* node = GetFirstNode(); node; node = node->GetNext())
        if (at++ == index) return node;
    IndexError(index);
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const std::string& text) {
    return AddChild(sibling ? sibling->parent_ : nullptr, text);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::string& text) {
    auto* node = new TTreeNode(this, parent);
    node->text_ = text;
    (parent ? parent->children_ : roots_).push_back(node);
    owner_->Invalidate();
    return node;
}

void TTreeNodes::Delete(TTreeNode* node) {
    if (!node) return;
    for (const TTreeNode* n = owner_->selected_; n; n = n->parent_)
        if (n == node) {
            owner_->selected_ = nullptr;
            break;
        }
    auto& siblings = node->parent_ ? node->parent_->children_ : roots_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), node), siblings.end());
    delete node;
    owner_->Invalidate();
}

void TTreeNodes::Clear() {
    while (!roots_.empty())
        Delete(roots_.back());
}

const TClassInfo& TTreeView::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TTreeView> b("TTreeView", TWinControl::StaticClassInfo());
        return PublishWinControl(b).Creatable().Object("Items", &TTreeView::Items).Build();
    }();
    return info;
}

TTreeView::TTreeView(TComponent* owner) : TWinControl(owner), items_(std::make_unique<TTreeNodes>(this)) {
    SetTabStop(true);
    SetBounds(0, 0, 121, 97);
}

TTreeView::~TTreeView() = default;

// ---- status bar ------------------------------------------------------------------------------

const TClassInfo& TStatusPanel::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TStatusPanel>("TStatusPanel", TCollectionItem::StaticClassInfo())
            .Str("Text", &TStatusPanel::Text, &TStatusPanel::SetText)
            .Int("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth)
            .Enum("Alignment", TypeInfoAlignment(), &TStatusPanel::Alignment, &TStatusPanel::SetAlignment)
            .Build();
    return info;
}

TStatusPanel::TStatusPanel(TCollection* collection) : TCollectionItem(collection) {}

void TStatusPanel::SetText(const std::string& text) {
    text_ = text;
    Changed(false);
}

void TStatusPanel::SetWidth(int width) {
    width_ = std::max(0, width);
    Changed(false);
}

void TStatusPanel::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TStatusPanel*>(source);
    if (!other) return TCollectionItem::Assign(source);
    text_ = other->text_;
    width_ = other->width_;
    alignment_ = other->alignment_;
    Changed(false);
}

const TClassInfo& TStatusPanels::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TStatusPanels>("TStatusPanels", TCollection::StaticClassInfo()).Build();
    return info;
}

TStatusPanels::TStatusPanels(TPersistent* owner)
    : TCollection([](TCollection* c) -> TCollectionItem* { return new TStatusPanel(c); }, owner) {}

const TClassInfo& TStatusBar::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TStatusBar> b("TStatusBar", TWinControl::StaticClassInfo());
        return PublishWinControl(b)
            .Creatable()
            .Object("Panels", &TStatusBar::Panels, &TStatusBar::SetPanels)
            .Bool("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel)
            .Str("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText)
            .Build();
    }();
    return info;
}

TStatusBar::TStatusBar(TComponent* owner)
    : TWinControl(owner), panels_(std::make_unique<TStatusPanels>(this)) {
    SetBounds(0, 0, 150, 19);
    SetAlign(alBottom);
}

TStatusBar::~TStatusBar() = default;

}  // namespace krv
