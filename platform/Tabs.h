// A row of tabs (without pages) selected by index.
#pragma once

#include <memory>

#include "platform/StdCtrls.h"

namespace krv {

using TTabChangeEvent = TEvent<TObject*, int, bool&>;
template <> inline constexpr const char* kEventTypeName<TTabChangeEvent> = "TTabChangeEvent";

class TTabSet : public TCustomControl {
    KRV_CLASS(TTabSet)
    explicit TTabSet(TComponent* owner);
    ~TTabSet() override;

    TStrings* Tabs() const { return tabs_.get(); }
    void SetTabs(const TStrings* tabs) { tabs_->Assign(tabs); }
    // -1 when no tab is selected. Code assignments out of range are ignored and fire nothing.
    int TabIndex() const { return tabIndex_; }
    void SetTabIndex(int index);

    // A person clicks tab `index`: OnChange(Sender, NewTab, var AllowChange) may refuse; then
    // the tab is selected and OnClick runs.
    void UserSelectTab(int index);

    TTabChangeEvent OnChange;

private:
    void TabsChanged(TObject*);

    std::unique_ptr<TStringList> tabs_;
    int tabIndex_ = -1;
};

}  // namespace krv
