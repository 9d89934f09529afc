// Menus: menu items in a tree, main and popup menus, and the headless popup driver through which
// a test sees which popup was shown and chooses one of its items as a person would.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/Classes.h"
#include "platform/Graphics.h"
#include "platform/ImgList.h"

namespace krv {

class TMenu;

class TMenuItem : public TComponent {
    KRV_CLASS(TMenuItem)
    explicit TMenuItem(TComponent* owner);
    // Frees its sub-items.
    ~TMenuItem() override;

    // "&" marks the accelerator; "-" makes a separator.
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption) { caption_ = caption; }
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint) { hint_ = hint; }
    bool Checked() const { return checked_; }
    // Checking a radio item unchecks the other radio items of its group under the same parent.
    void SetChecked(bool checked);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool radioItem);
    uint8_t GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(uint8_t groupIndex);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index) { imageIndex_ = index; }
    bool IsLine() const { return caption_ == "-"; }

    // Sub-items.
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const;
    TMenuItem* operator[](int index) const { return Items(index); }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Takes the item out (the caller owns it then).
    void Remove(TMenuItem* item);
    // Frees the sub-item.
    void Delete(int index);
    void Clear();
    int IndexOf(const TMenuItem* item) const;
    // By caption without the accelerator marks, ignoring case; nullptr when none.
    TMenuItem* Find(const std::string& caption) const;
    TMenuItem* Parent() const { return parent_; }
    int MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }
    TMenu* GetParentMenu() const;

    // Runs OnClick when the item is enabled (a disabled item is inert, as on screen).
    virtual void Click();

    TNotifyEvent OnClick;

private:
    friend class TMenu;
    void TurnSiblingsOff();

    std::string caption_;
    std::string hint_;
    bool checked_ = false;
    bool radioItem_ = false;
    uint8_t groupIndex_ = 0;
    bool enabled_ = true;
    bool visible_ = true;
    int imageIndex_ = -1;
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr;
};

class TMenu : public TComponent {
    KRV_CLASS(TMenu)
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    // The invisible root whose sub-items are the menu's items.
    TMenuItem* Items() const { return items_; }
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* images);
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool ownerDraw) { ownerDraw_ = ownerDraw; }
    // The item with that component name anywhere in the tree; nullptr when none.
    TMenuItem* FindItem(const std::string& name) const;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TMenuItem* items_;
    TCustomImageList* images_ = nullptr;
    bool ownerDraw_ = false;
};

class TMainMenu : public TMenu {
    KRV_CLASS(TMainMenu)
    explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
};

class TPopupMenu : public TMenu {
    KRV_CLASS(TPopupMenu)
    explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}

    // Shows the menu at a screen position: OnPopup, then the popup driver.
    virtual void Popup(int x, int y);
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* component) { popupComponent_ = component; }
    TPoint PopupPoint() const { return popupPoint_; }
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool autoPopup) { autoPopup_ = autoPopup; }

    TNotifyEvent OnPopup;

private:
    TComponent* popupComponent_ = nullptr;
    TPoint popupPoint_;
    bool autoPopup_ = true;
};

// ---- popup driver ----------------------------------------------------------------------------

struct TPopupRecord {
    std::string menuName;
    TPoint point;
    std::vector<std::string> captions;  // the visible items at the top level, in order
};

class TPopupDriver {
public:
    virtual ~TPopupDriver() = default;
    virtual void Popup(TPopupMenu& menu, int x, int y) = 0;
};

// Records every popup; the next queued choice picks the item a person clicks (none: the popup
// is dismissed).
class THeadlessPopupDriver : public TPopupDriver {
public:
    void Popup(TPopupMenu& menu, int x, int y) override;
    // The choice gets the menu and names the item to click (nullptr: dismiss).
    void QueueChoice(std::function<TMenuItem*(TPopupMenu&)> choice);
    // Clicks the item of that component name.
    void QueueChoice(const std::string& itemName);
    const std::vector<TPopupRecord>& Records() const { return records_; }
    void Reset();

private:
    std::deque<std::function<TMenuItem*(TPopupMenu&)>> choices_;
    std::vector<TPopupRecord> records_;
};

// nullptr restores the headless default.
void SetPopupDriver(TPopupDriver* driver);
TPopupDriver& PopupDriver();
THeadlessPopupDriver& HeadlessPopupDriver();

}  // namespace krv
