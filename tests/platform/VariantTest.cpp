#include "platform/Variant.h"

#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "platform/Dispatch.h"
#include "platform/SysUtils.h"

namespace krv {
namespace {

TEST(VariantArray, OwnBoundsPerDimensionAndCheckedAccess) {
    Variant options = VarArrayCreate(1, 3);
    EXPECT_EQ(VarArrayDimCount(options), 1);
    EXPECT_EQ(VarArrayLowBound(options, 1), 1);
    EXPECT_EQ(VarArrayHighBound(options, 1), 3);
    EXPECT_TRUE(options[1].IsEmpty());
    EXPECT_THROW(options[0], EVariantBadIndexError);
    EXPECT_THROW(options[4], EVariantBadIndexError);
    EXPECT_THROW(options.At(1, 1), EVariantBadIndexError);
    EXPECT_THROW(VarArrayLowBound(options, 2), EVariantBadIndexError);

    Variant grid = VarArrayCreate(0, 1, 0, 2);  // the shape of a names/values answer
    for (int col = 0; col <= 2; ++col) {
        grid.At(0, col) = "Sys00" + std::to_string(col);
        grid.At(1, col) = col * 10;
    }
    EXPECT_EQ(grid.DimCount(), 2);
    EXPECT_EQ(grid.HighBound(2), 2);
    EXPECT_EQ(grid.At(0, 2).AsString(), "Sys002");
    EXPECT_EQ(grid.At(1, 1).AsInteger(), 10);
    EXPECT_THROW(grid[0], EVariantBadIndexError);
    EXPECT_THROW(grid.At(2, 0), EVariantBadIndexError);
}

TEST(VariantArray, CopiesAreDeepAndNestedArraysToo) {
    Variant inner = VarArrayOf({"a", 1});
    Variant outer = VarArrayOf({inner, Variant::Null()});
    Variant copy = outer;
    copy[0][0] = "changed";
    copy[1] = 5;
    EXPECT_EQ(outer[0][0].AsString(), "a");
    EXPECT_TRUE(outer[1].IsNull());
    EXPECT_EQ(copy[0][0].AsString(), "changed");
    EXPECT_NE(copy, outer);
    copy = outer;
    EXPECT_EQ(copy, outer);

    // Assigning an element of an array to the array itself must not read freed memory.
    Variant self = VarArrayOf({VarArrayOf({1, 2}), 3});
    self = self[0];
    EXPECT_EQ(self.HighBound(1), 1);
    EXPECT_EQ(self[1].AsInteger(), 2);
    Variant moved = VarArrayOf({VarArrayOf({7}), 8});
    moved = std::move(moved[0]);
    EXPECT_EQ(moved[0].AsInteger(), 7);
}

TEST(VariantArray, RedimKeepsElementsInBothShapes) {
    Variant v = VarArrayOf({1, 2, 3});
    VarArrayRedim(v, 4);
    EXPECT_EQ(v.HighBound(1), 4);
    EXPECT_EQ(v[2].AsInteger(), 3);
    EXPECT_TRUE(v[4].IsEmpty());

    Variant grid = VarArrayCreate(0, 1, 0, 0);
    grid.At(0, 0) = "name";
    grid.At(1, 0) = "value";
    grid.Redim(1);
    EXPECT_EQ(grid.At(0, 0).AsString(), "name");
    EXPECT_EQ(grid.At(1, 0).AsString(), "value");
    EXPECT_TRUE(grid.At(1, 1).IsEmpty());

    Variant empty = VarArrayOf(std::vector<Variant>{});
    EXPECT_TRUE(VarIsArray(empty));
    EXPECT_FALSE(VarIsNonEmptyArray(empty));
    EXPECT_EQ(empty.HighBound(1), -1);
}

struct ConversionCase {
    Variant value;
    const char* text;
};

TEST(VariantConversion, ToTextAsTheGuiLibraryPrintsIt) {
    const ConversionCase cases[] = {
        {Variant(), ""},
        {Variant::Null(), ""},
        {Variant(42), "42"},
        {Variant(int64_t(12345678901234)), "12345678901234"},
        {Variant(true), "True"},
        {Variant(2.5), "2.5"},
        {Variant(1.0 / 3), "0.333333333333333"},
        {Variant::FromDate(EncodeDate(2024, 5, 13)), "2024/05/13"},
        {Variant(u"自动"), "自动"},
        {Variant("摊提"), "摊提"},
    };
    for (const auto& c : cases) EXPECT_EQ(VarToStr(c.value), c.text) << c.value.TypeName();
}

TEST(VariantConversion, NumbersBooleansAndDates) {
    EXPECT_EQ(Variant("  17 ").AsInteger(), 17);
    EXPECT_EQ(Variant("2.5").AsInteger(), 2);  // half to even
    EXPECT_EQ(Variant(3.5).AsInteger(), 4);
    EXPECT_EQ(Variant(true).AsInteger(), -1);
    EXPECT_EQ(Variant().AsInteger(), 0);
    EXPECT_DOUBLE_EQ(Variant("-1.25").AsFloat(), -1.25);
    EXPECT_TRUE(Variant("true").AsBoolean());
    EXPECT_FALSE(Variant("0").AsBoolean());
    EXPECT_TRUE(Variant(u"TRUE").AsBoolean());
    EXPECT_DOUBLE_EQ(Variant("2024/05/13").AsDate(), EncodeDate(2024, 5, 13));
    EXPECT_EQ(Variant("摊提").AsWideString(), u"摊提");
}

TEST(VariantConversion, ImpossibleConversionsRaiseWithClearText) {
    try {
        Variant("abc").AsInteger();
        FAIL() << "no exception";
    } catch (const EVariantTypeCastError& e) {
        EXPECT_EQ(e.Message(), "Could not convert variant of type (String) into type (Int64)");
    }
    EXPECT_THROW(Variant::Null().AsInteger(), EVariantTypeCastError);
    EXPECT_THROW(Variant("yes").AsBoolean(), EVariantTypeCastError);
    EXPECT_THROW(VarArrayOf({1}).AsString(), EVariantTypeCastError);
    EXPECT_THROW(Variant("1e999").AsFloat(), EVariantTypeCastError);
    EXPECT_THROW(Variant(1).AsDispatch(), EVariantTypeCastError);
    EXPECT_THROW(Variant(1)[0], EVariantError);
}

TEST(VariantKinds, TypeCodesAndNilDispatch) {
    EXPECT_EQ(VarType(Variant()), varEmpty);
    EXPECT_EQ(VarType(Variant("x")), varString);
    EXPECT_EQ(VarType(Variant(u"x")), varOleStr);
    EXPECT_TRUE(VarType(VarArrayOf({1})) & varArray);
    auto object = std::make_shared<DispatchObject>();
    EXPECT_EQ(VarType(Variant(DispatchPtr(object))), varDispatch);
    EXPECT_TRUE(Variant(DispatchPtr()).IsEmpty());
}

TEST(LateBinding, CallsByNameWithByReferenceArgumentsAndErrors) {
    auto counter = std::make_shared<DispatchObject>();
    counter->RegisterMethod("GetSysInfo", [](std::vector<Variant>& args) {
        args.at(0) = "company changed";
        return Variant(VarArrayOf({"Sys001"}));
    });
    counter->RegisterMethod("Fail", [](std::vector<Variant>&) -> Variant {
        throw EOleException("server refused");
    });
    int productId = 3;
    counter->RegisterProperty(
        "ProductID", [&] { return Variant(productId); },
        [&](const Variant& v) { productId = v.AsInteger(); });
    Variant object{DispatchPtr(counter)};

    std::vector<Variant> args{"01"};
    Variant answer = DispatchCall(object, "getsysinfo", args);
    EXPECT_EQ(args[0].AsString(), "company changed");
    EXPECT_EQ(answer[0].AsString(), "Sys001");

    DispatchSet(object, "productid", 7);
    EXPECT_EQ(DispatchGet(object, "PRODUCTID").AsInteger(), 7);
    EXPECT_EQ(DispatchCall(object, "ProductID").AsInteger(), 7);

    try {
        DispatchCall(object, "Fail");
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "server refused");
    }
    try {
        DispatchCall(object, "NoSuchMethod");
        FAIL();
    } catch (const EOleError& e) {
        EXPECT_EQ(e.Message(), "Method 'NoSuchMethod' not supported by automation object");
    }
    EXPECT_THROW(DispatchCall(Variant(5), "Any"), EOleError);
}

}  // namespace
}  // namespace krv
