// A radio group whose buttons paint their captions in the group's font and colour.
#pragma once

#include <memory>
#include <vector>

#include "controls/KrRadioButton.h"
#include "platform/StdCtrls.h"

namespace krv {

class TKrRadioGroup;

// One button of a group: created and freed by the group, its clicks and keys go to the group.
class TKrGroupButton : public TKrRadioButton {
    KRV_CLASS(TKrGroupButton)
    explicit TKrGroupButton(TKrRadioGroup* group);

    void KeyDown(Word& key, TShiftState shift) override;
    void KeyPress(char& key) override;

private:
    TKrRadioGroup* group_;
};

class TKrRadioGroup : public TGroupBox {
    KRV_CLASS(TKrRadioGroup)
    // No items, no item chosen (-1), one column.
    explicit TKrRadioGroup(TComponent* owner);
    ~TKrRadioGroup() override;

    // One button per item; editing the list re-creates and re-arranges the buttons.
    TStrings* Items() const { return items_.get(); }
    void SetItems(const TStrings* items) { items_->Assign(items); }
    // -1 (none) up to the last item; while the group is being read the value is kept as given
    // and put in range when loading ends.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    // 1 to 16.
    int Columns() const { return columns_; }
    void SetColumns(int columns);

    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TKrGroupButton* Buttons(int index) const { return buttons_.at(static_cast<size_t>(index)); }

    void SetEnabled(bool enabled) override;

protected:
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void Resize() override;
    void FontChanged() override;

private:
    friend class TKrGroupButton;
    void ButtonClick(TObject* sender);
    void ItemsChange(TObject* sender);
    void UpdateButtons();
    void SetButtonCount(int count);
    void ArrangeButtons();
    int Clamped(int index) const;

    std::unique_ptr<TStringList> items_;
    std::vector<TKrGroupButton*> buttons_;
    int itemIndex_ = -1;
    int columns_ = 1;
    bool updating_ = false;
};

}  // namespace krv
