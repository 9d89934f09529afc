#include "platform/Tabs.h"

namespace krv {

const TClassInfo& TTabSet::StaticClassInfo() {
    static const TClassInfo info = [] {
        TClassBuilder<TTabSet> b("TTabSet", TCustomControl::StaticClassInfo());
        return PublishWinControl(b)
            .Creatable()
            .Object("Tabs", &TTabSet::Tabs, &TTabSet::SetTabs)
            .Int("TabIndex", &TTabSet::TabIndex, &TTabSet::SetTabIndex)
            .Event("OnChange", &TTabSet::OnChange)
            .Build();
    }();
    return info;
}

TTabSet::TTabSet(TComponent* owner) : TCustomControl(owner), tabs_(std::make_unique<TStringList>()) {
    tabs_->OnChange = TNotifyEvent(this, &TTabSet::TabsChanged);
    SetBounds(0, 0, 185, 21);
}

TTabSet::~TTabSet() { tabs_->OnChange.Clear(); }

void TTabSet::SetTabIndex(int index) {
    if (index < -1 || index >= tabs_->Count() || index == tabIndex_) return;
    tabIndex_ = index;
    NotifyPeer(TPeerChange::State);
    Invalidate();
}

void TTabSet::UserSelectTab(int index) {
    if (!EnabledInParents() || index < 0 || index >= tabs_->Count() || index == tabIndex_) return;
    bool allow = true;
    OnChange(this, index, allow);
    if (!allow) return;
    SetTabIndex(index);
    Click();
}

void TTabSet::TabsChanged(TObject*) {
    if (tabIndex_ >= tabs_->Count()) tabIndex_ = tabs_->Count() - 1;
    NotifyPeer(TPeerChange::Items);
    Invalidate();
}

}  // namespace krv
