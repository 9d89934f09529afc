#include "controls/KrRadioGroup.h"

#include <algorithm>

namespace krv {

// ---- TKrGroupButton --------------------------------------------------------------------------

const TClassInfo& TKrGroupButton::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TKrGroupButton>("TKrGroupButton", TKrRadioButton::StaticClassInfo()).Build();
    return info;
}

TKrGroupButton::TKrGroupButton(TKrRadioGroup* group) : TKrRadioButton(group), group_(group) {
    group->buttons_.push_back(this);
    SetVisible(false);
    SetEnabled(group->Enabled());
    SetParentShowHint(false);
    OnClick = TNotifyEvent(group, &TKrRadioGroup::ButtonClick);
    SetParent(group);
}

void TKrGroupButton::KeyDown(Word& key, TShiftState shift) {
    TKrRadioButton::KeyDown(key, shift);
    if (key) group_->KeyDown(key, shift);
}

void TKrGroupButton::KeyPress(char& key) {
    TKrRadioButton::KeyPress(key);
    if (key) group_->KeyPress(key);
}

// ---- TKrRadioGroup ---------------------------------------------------------------------------

const TClassInfo& TKrRadioGroup::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TKrRadioGroup> b("TKrRadioGroup", TGroupBox::StaticClassInfo());
        PublishWinControl(b);
        PublishCaption(b);
        return b.Creatable()
            .Object("Items", &TKrRadioGroup::Items, &TKrRadioGroup::SetItems)
            .Int("ItemIndex", &TKrRadioGroup::ItemIndex, &TKrRadioGroup::SetItemIndex)
            .Int("Columns", &TKrRadioGroup::Columns, &TKrRadioGroup::SetColumns)
            .Build();
    }();
    return info;
}

TKrRadioGroup::TKrRadioGroup(TComponent* owner)
    : TGroupBox(owner), items_(std::make_unique<TStringList>()) {
    SetBounds(Left(), Top(), 185, 105);
    items_->OnChange = TNotifyEvent(this, &TKrRadioGroup::ItemsChange);
}

TKrRadioGroup::~TKrRadioGroup() {
    items_->OnChange.Clear();
    SetButtonCount(0);
}

int TKrRadioGroup::Clamped(int index) const {
    return std::clamp(index, -1, ButtonCount() - 1);
}

void TKrRadioGroup::SetItemIndex(int index) {
    if (IsReading()) {
        itemIndex_ = index;
        return;
    }
    index = Clamped(index);
    if (index == itemIndex_) return;
    if (itemIndex_ >= 0) buttons_[size_t(itemIndex_)]->SetChecked(false);
    itemIndex_ = index;
    if (itemIndex_ >= 0) buttons_[size_t(itemIndex_)]->SetChecked(true);
}

void TKrRadioGroup::SetColumns(int columns) {
    columns = std::clamp(columns, 1, 16);
    if (columns == columns_) return;
    columns_ = columns;
    ArrangeButtons();
    Invalidate();
}

void TKrRadioGroup::SetEnabled(bool enabled) {
    TGroupBox::SetEnabled(enabled);
    for (TKrGroupButton* button : buttons_) button->SetEnabled(enabled);
}

void TKrRadioGroup::Loaded() {
    TGroupBox::Loaded();
    itemIndex_ = std::clamp(itemIndex_, -1, items_->Count() - 1);
    UpdateButtons();
}

void TKrRadioGroup::Notification(TComponent* component, TOperation operation) {
    TGroupBox::Notification(component, operation);
    if (operation != opRemove) return;
    auto it = std::find(buttons_.begin(), buttons_.end(), component);
    if (it != buttons_.end()) buttons_.erase(it);
}

void TKrRadioGroup::Resize() {
    TGroupBox::Resize();
    ArrangeButtons();
}

void TKrRadioGroup::FontChanged() {
    TGroupBox::FontChanged();
    ArrangeButtons();
}

void TKrRadioGroup::ButtonClick(TObject* sender) {
    if (updating_) return;
    auto it = std::find(buttons_.begin(), buttons_.end(), sender);
    itemIndex_ = it == buttons_.end() ? -1 : static_cast<int>(it - buttons_.begin());
    NotifyPeer(TPeerChange::State);
    Click();
}

void TKrRadioGroup::ItemsChange(TObject*) {
    if (IsReading()) return;
    if (itemIndex_ >= items_->Count()) itemIndex_ = items_->Count() - 1;
    UpdateButtons();
}

void TKrRadioGroup::UpdateButtons() {
    SetButtonCount(items_->Count());
    for (int i = 0; i < ButtonCount(); ++i) buttons_[size_t(i)]->SetCaption(items_->Strings(i));
    if (itemIndex_ >= 0) {
        updating_ = true;
        buttons_[size_t(itemIndex_)]->SetChecked(true);
        updating_ = false;
    }
    ArrangeButtons();
    Invalidate();
}

void TKrRadioGroup::SetButtonCount(int count) {
    while (ButtonCount() < count) Create<TKrGroupButton>(this);
    while (ButtonCount() > count) {
        TKrGroupButton* last = buttons_.back();
        buttons_.pop_back();
        last->Free();
    }
}

void TKrRadioGroup::ArrangeButtons() {
    if (buttons_.empty() || IsReading()) return;
    const int n = ButtonCount();
    const int rows = (n + columns_ - 1) / columns_;
    const int width = (Width() - 10) / columns_;
    const int fontHeight = FontLineHeight(*Font());
    const int freeHeight = Height() - fontHeight - 5;
    const int height = freeHeight / rows;
    const int topMargin = (freeHeight % rows) / 2 + fontHeight + 1;
    for (int i = 0; i < n; ++i) {
        TKrGroupButton* button = buttons_[size_t(i)];
        int left = (i / rows) * width + 8;
        if (UseRightToLeftAlignment()) left = ClientWidth() - left - width;
        button->SetBounds(left, (i % rows) * height + topMargin, width, height);
        button->SetVisible(true);
    }
}

}  // namespace krv
