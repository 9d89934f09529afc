#include "runtime/LibRTTI.h"

#include <gtest/gtest.h>

#include "platform/TypInfo.h"

namespace krv {
namespace {

// A component publishing one property of each kind the functions deal with.
class TProbe : public TComponent {
    KRV_CLASS(TProbe)
    using TComponent::TComponent;
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& s) { caption_ = s; }
    int Width() const { return width_; }
    void SetWidth(int w) { width_ = w; }
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { visible_ = v; }
    double Ratio() const { return 0.5; }
    void Clicked(TObject*) { ++clicks; }

    TNotifyEvent OnClick;
    int clicks = 0;

private:
    std::string caption_ = "start";
    int width_ = 10;
    bool visible_ = true;
};

const TClassInfo& TProbe::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TProbe>("TProbe", TComponent::StaticClassInfo())
                                       .Str("Caption", &TProbe::Caption, &TProbe::SetCaption)
                                       .Int("Width", &TProbe::Width, &TProbe::SetWidth)
                                       .Bool("Visible", &TProbe::Visible, &TProbe::SetVisible)
                                       .Float("Ratio", &TProbe::Ratio)
                                       .Event("OnClick", &TProbe::OnClick)
                                       .Build();
    return info;
}

TEST(LibRTTI, ReadsAndWritesPublishedPropertiesIgnoringCase) {
    TProbe probe(nullptr);
    EXPECT_TRUE(HasPropByName(&probe, "caption"));
    EXPECT_EQ(GetStrPropByName(&probe, "CAPTION"), "start");
    SetStrPropByName(&probe, "caption", "折旧");
    EXPECT_EQ(probe.Caption(), "折旧");
    EXPECT_EQ(GetOrdPropByName(&probe, "width"), 10);
    SetOrdPropByName(&probe, "Width", 42);
    EXPECT_EQ(probe.Width(), 42);
    SetOrdPropByName(&probe, "Visible", 0);
    EXPECT_FALSE(probe.Visible());

    EXPECT_FALSE(GetMethodPropByName(&probe, "OnClick").Assigned());
    SetMethodPropByName(&probe, "onclick", TMethod(TNotifyEvent(&probe, &TProbe::Clicked)));
    probe.OnClick(&probe);
    EXPECT_EQ(probe.clicks, 1);
    TMethod handler = GetMethodPropByName(&probe, "OnClick");
    EXPECT_TRUE(handler.Assigned());
    EXPECT_EQ(handler, TMethod(TNotifyEvent(&probe, &TProbe::Clicked)));
    SetMethodPropByName(&probe, "OnClick", TMethod());
    EXPECT_FALSE(probe.OnClick.Assigned());
}

TEST(LibRTTI, MissingObjectNameOrPropertyIsTolerated) {
    TProbe probe(nullptr);
    for (TObject* object : {static_cast<TObject*>(nullptr), static_cast<TObject*>(&probe)}) {
        for (const std::string name : {"", "NoSuchProp"}) {
            EXPECT_FALSE(HasPropByName(object, name));
            EXPECT_EQ(GetStrPropByName(object, name), "");
            EXPECT_EQ(GetOrdPropByName(object, name), 0);
            EXPECT_FALSE(GetMethodPropByName(object, name).Assigned());
            SetStrPropByName(object, name, "x");
            SetOrdPropByName(object, name, 1);
            SetMethodPropByName(object, name, TMethod(TNotifyEvent(&probe, &TProbe::Clicked)));
        }
    }
    EXPECT_FALSE(HasPropByName(nullptr, "Caption"));
    EXPECT_EQ(GetStrPropByName(nullptr, "Caption"), "");
    EXPECT_EQ(probe.Caption(), "start");
    EXPECT_FALSE(probe.OnClick.Assigned());
}

TEST(LibRTTI, WrongKindReachesTheCaller) {
    TProbe probe(nullptr);
    EXPECT_THROW(GetStrPropByName(&probe, "Width"), Exception);
    EXPECT_THROW(SetOrdPropByName(&probe, "Caption", 1), Exception);
    EXPECT_THROW(GetOrdPropByName(&probe, "Ratio"), Exception);
    EXPECT_THROW(GetMethodPropByName(&probe, "Caption"), Exception);
}

}  // namespace
}  // namespace krv
