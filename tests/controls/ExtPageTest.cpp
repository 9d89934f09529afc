// The page control that draws its own tabs.
#include <gtest/gtest.h>

#include "controls/ExtPage.h"
#include "platform/Forms.h"

namespace krv {
namespace {

// Lets the test draw single tabs as the painting does.
class TDrawnPages : public TExtPageControl {
public:
    using TExtPageControl::DrawTab;
    explicit TDrawnPages(TComponent* owner) : TExtPageControl(owner) {}
};

struct ExtPageTest : ::testing::Test {
    void SetUp() override {
        form = Create<TForm>(nullptr);
        pages = Create<TDrawnPages>(form);
        pages->SetParent(form);
        for (const char* caption : {"条件", "隐藏", "排程"}) {
            TTabSheet* sheet = Create<TTabSheet>(form);
            sheet->SetCaption(caption);
            sheet->SetPageControl(pages);
        }
        pages->Pages(1)->SetTabVisible(false);
        pages->SetActivePageIndex(0);
    }
    void TearDown() override { form->Free(); }
    std::vector<TCanvasOp> Draw(int tab, bool active) {
        pages->Canvas()->ClearOperations();
        pages->DrawTab(tab, Rect(0, 0, 60, 20), active);
        return pages->Canvas()->Operations();
    }
    TForm* form = nullptr;
    TDrawnPages* pages = nullptr;
};

TEST_F(ExtPageTest, ActiveAndInactiveTabsInCaptionColours) {
    EXPECT_TRUE(pages->OwnerDraw());
    std::vector<TCanvasOp> active = Draw(0, true);
    ASSERT_EQ(active.size(), 2u);
    EXPECT_EQ(active[0].kind, TCanvasOp::FillRect);
    EXPECT_EQ(active[0].rect, Rect(2, 2, 58, 18));
    EXPECT_EQ(active[0].brushColor, clActiveCaption);
    EXPECT_EQ(active[1].text, "条件");
    EXPECT_EQ(active[1].fontColor, clCaptionText);
    EXPECT_TRUE(active[1].fontStyle.Contains(fsBold));
    EXPECT_EQ(active[1].format & (DT_CENTER | DT_VCENTER | DT_SINGLELINE), DT_CENTER | DT_VCENTER | DT_SINGLELINE);

    // Tab 1 is the third page: the hidden tab is skipped.
    std::vector<TCanvasOp> inactive = Draw(1, false);
    ASSERT_EQ(inactive.size(), 2u);
    EXPECT_EQ(inactive[0].rect, Rect(0, 0, 60, 20));
    EXPECT_EQ(inactive[0].brushColor, clInactiveCaption);
    EXPECT_EQ(inactive[1].text, "排程");
    EXPECT_EQ(inactive[1].fontColor, clInactiveCaptionText);
    EXPECT_FALSE(inactive[1].fontStyle.Contains(fsBold));
    EXPECT_EQ(inactive[1].rect.Top, 2);

    EXPECT_TRUE(Draw(2, false).empty()) << "no tab there";
}

TEST_F(ExtPageTest, AnAssignedHandlerDrawsAlone) {
    std::vector<std::pair<int, bool>> calls;
    pages->OnDrawTab = [&](TPageControl* control, int tab, const TRect&, bool active) {
        EXPECT_EQ(control, pages);
        calls.push_back({tab, active});
    };
    pages->Repaint();
    EXPECT_EQ(calls, (std::vector<std::pair<int, bool>>{{0, true}, {1, false}}));
    EXPECT_TRUE(pages->Canvas()->Operations().empty());
}

}  // namespace
}  // namespace krv
