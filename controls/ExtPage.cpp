#include "controls/ExtPage.h"

namespace krv {

const TClassInfo& TExtPageControl::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TExtPageControl>("TExtPageControl", TPageControl::StaticClassInfo()).Creatable().Build();
    return info;
}

TExtPageControl::TExtPageControl(TComponent* owner) : TPageControl(owner) { SetOwnerDraw(true); }

void TExtPageControl::DrawTab(int tabIndex, const TRect& rect, bool active) {
    if (OnDrawTab) {
        OnDrawTab(this, tabIndex, rect, active);
        return;
    }
    const TTabSheet* page = PageForTab(tabIndex);
    if (!page) return;
    TCanvas& canvas = *Canvas();
    canvas.SetFont(Font());
    TRect area = rect;
    TFontStyles style = canvas.Font()->Style();
    if (active) {
        InflateRect(area, -2, -2);
        canvas.Font()->SetColor(clCaptionText);
        canvas.Font()->SetStyle(style.Include(fsBold));
        canvas.Brush()->SetColor(clActiveCaption);
    } else {
        canvas.Font()->SetColor(clInactiveCaptionText);
        canvas.Font()->SetStyle(style.Exclude(fsBold));
        canvas.Brush()->SetColor(clInactiveCaption);
    }
    canvas.Brush()->SetStyle(bsSolid);
    canvas.FillRect(area);
    if (!active) area.Top += 2;
    canvas.DrawText(page->Caption(), area, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

}  // namespace krv
