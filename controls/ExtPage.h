// A page control whose tabs it draws itself: the active tab in the caption colours and bold.
#pragma once

#include "platform/ComCtrls.h"

namespace krv {

class TExtPageControl : public TPageControl {
    KRV_CLASS(TExtPageControl)
    // Owner-drawn tabs of fixed size.
    explicit TExtPageControl(TComponent* owner);

protected:
    // OnDrawTab when assigned; else the tab in caption colours with its page's caption centred.
    void DrawTab(int tabIndex, const TRect& rect, bool active) override;
};

}  // namespace krv
