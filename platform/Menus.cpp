#include "platform/Menus.h"

#include <algorithm>

#include "platform/TypInfo.h"

namespace krv {

// ---- TMenuItem -------------------------------------------------------------------------------

const TClassInfo& TMenuItem::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TMenuItem>("TMenuItem", TComponent::StaticClassInfo())
                                       .Creatable()
                                       .Str("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
                                       .Str("Hint", &TMenuItem::Hint, &TMenuItem::SetHint)
                                       .Bool("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
                                       .Bool("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem)
                                       .Int("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex)
                                       .Bool("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
                                       .Bool("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible)
                                       .Int("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex)
                                       .Event("OnClick", &TMenuItem::OnClick)
                                       .Build();
    return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    Clear();
    if (parent_) parent_->Remove(this);
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count()) throw EListError("Menu index out of range");
    return items_[index];
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item || item == this) return;
    if (item->parent_) item->parent_->Remove(item);
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    if (item->checked_) item->TurnSiblingsOff();
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->parent_ = nullptr;
}

void TMenuItem::Delete(int index) {
    TMenuItem* item = Items(index);
    Remove(item);
    item->Free();
}

void TMenuItem::Clear() {
    while (!items_.empty())
        Delete(Count() - 1);
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenuItem* TMenuItem::Find(const std::string& caption) const {
    const std::string wanted = StripAccelerators(caption);
    for (TMenuItem* item : items_)
        if (SameText(StripAccelerators(item->caption_), wanted)) return item;
    return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->parent_)
        item = item->parent_;
    return item->menu_;
}

void TMenuItem::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    if (checked) TurnSiblingsOff();
}

void TMenuItem::SetRadioItem(bool radioItem) {
    radioItem_ = radioItem;
    if (checked_) TurnSiblingsOff();
}

void TMenuItem::SetGroupIndex(uint8_t groupIndex) {
    groupIndex_ = groupIndex;
    if (checked_) TurnSiblingsOff();
}

void TMenuItem::TurnSiblingsOff() {
    if (!radioItem_ || !parent_) return;
    for (TMenuItem* sibling : parent_->items_)
        if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_)
            sibling->checked_ = false;
}

void TMenuItem::Click() {
    if (enabled_) OnClick(this);
}

// ---- TMenu -----------------------------------------------------------------------------------

const TClassInfo& TMenu::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TMenu>("TMenu", TComponent::StaticClassInfo())
                                       .Object("Items", &TMenu::Items)
                                       .Object("Images", &TMenu::Images, &TMenu::SetImages)
                                       .Bool("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw)
                                       .Build();
    return info;
}

const TClassInfo& TMainMenu::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TMainMenu>("TMainMenu", TMenu::StaticClassInfo()).Creatable().Build();
    return info;
}

const TClassInfo& TPopupMenu::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TPopupMenu>("TPopupMenu", TMenu::StaticClassInfo())
                                       .Creatable()
                                       .Bool("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup)
                                       .Event("OnPopup", &TPopupMenu::OnPopup)
                                       .Build();
    return info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) { items_->menu_ = this; }

TMenu::~TMenu() {
    if (images_) images_->RemoveFreeNotification(this);
    items_->Free();
}

void TMenu::SetImages(TCustomImageList* images) {
    if (images_ == images) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = images;
    if (images_) images_->FreeNotification(this);
}

void TMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == images_) images_ = nullptr;
}

namespace {
TMenuItem* FindItemIn(const TMenuItem* parent, const std::string& name) {
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (SameText(item->Name(), name)) return item;
        if (TMenuItem* found = FindItemIn(item, name)) return found;
    }
    return nullptr;
}
}  // namespace

TMenuItem* TMenu::FindItem(const std::string& name) const { return FindItemIn(items_, name); }

void TPopupMenu::Popup(int x, int y) {
    popupPoint_ = Point(x, y);
    OnPopup(this);
    PopupDriver().Popup(*this, x, y);
}

// ---- popup driver ----------------------------------------------------------------------------

void THeadlessPopupDriver::Popup(TPopupMenu& menu, int x, int y) {
    TPopupRecord record{menu.Name(), Point(x, y), {}};
    for (int i = 0; i < menu.Items()->Count(); ++i)
        if (menu.Items()->Items(i)->Visible()) record.captions.push_back(menu.Items()->Items(i)->Caption());
    records_.push_back(std::move(record));
    if (choices_.empty()) return;
    auto choice = std::move(choices_.front());
    choices_.pop_front();
    if (TMenuItem* item = choice(menu); item && item->Visible()) item->Click();
}

void THeadlessPopupDriver::QueueChoice(std::function<TMenuItem*(TPopupMenu&)> choice) {
    choices_.push_back(std::move(choice));
}

void THeadlessPopupDriver::QueueChoice(const std::string& itemName) {
    QueueChoice([itemName](TPopupMenu& menu) { return menu.FindItem(itemName); });
}

void THeadlessPopupDriver::Reset() {
    choices_.clear();
    records_.clear();
}

namespace {
TPopupDriver* installedPopupDriver = nullptr;
}

void SetPopupDriver(TPopupDriver* driver) { installedPopupDriver = driver; }

TPopupDriver& PopupDriver() { return installedPopupDriver ? *installedPopupDriver : HeadlessPopupDriver(); }

THeadlessPopupDriver& HeadlessPopupDriver() {
    static THeadlessPopupDriver driver;
    return driver;
}

}  // namespace krv
