// The reference host's services, called through the module's typed entry points as the job forms
// call them.
#include "host/HostServices.h"

#include <gtest/gtest.h>

#include "forms/OuterServices.h"

namespace krv {
namespace {

class HostServicesTest : public ::testing::Test {
protected:
    HostServicesTest() : services_(std::make_shared<THostServices>()), host_(DispatchPtr(services_)) {}

    Variant Counter() { return THostServicesCall::Com_Counter(host_); }
    Variant Validator() { return THostServicesCall::Com_Validator(host_); }
    Variant Lookup() { return THostServicesCall::Com_F2Window(host_); }
    // CheckValue or QueryData on (table, query, keys); result receives the rows.
    bool Query(bool allRows, const char* table, const char* query, Variant keys, Variant& result) {
        Variant t(table), q(query), db("DEMO");
        return allRows ? TValidatorCall::QueryData(Validator(), t, q, db, keys, result)
                       : TValidatorCall::CheckValue(Validator(), t, q, db, keys, result);
    }
    static Variant LookupRequest(const char* table, const char* kind, bool multiple) {
        Variant request = VarArrayCreate(0, 18);
        request[0] = table;
        request[1] = kind;
        request[3] = multiple;
        return request;
    }

    std::shared_ptr<THostServices> services_;
    Variant host_;
};

TEST_F(HostServicesTest, MessagesComeFromTheTableAndUnknownIdsSaySo) {
    EXPECT_EQ(THostServicesCall::GetMessage(host_, "E", "000013"), "作业提交失败! %s");
    EXPECT_EQ(THostServicesCall::GetMessage(host_, "e", "000038"), "传入参数不足!");
    EXPECT_EQ(THostServicesCall::GetMessage(host_, "E", "999999"), "讯息未定义: E;999999");
    services_->SetMessageText("E", "999999", "自定义");
    EXPECT_EQ(THostServicesCall::GetMessage(host_, "E", "999999"), "自定义");
}

TEST_F(HostServicesTest, ProductIdIsThreeWhenTheHostCannotTell) {
    EXPECT_EQ(THostServicesCall::ProductID(host_), 1);
    services_->SetProductID(7);
    EXPECT_EQ(THostServicesCall::ProductID(host_), 7);
    auto mute = std::make_shared<DispatchObject>();
    auto wordy = std::make_shared<DispatchObject>();
    wordy->RegisterProperty("ProductID", [] { return Variant("many"); });
    for (const Variant& host : {Variant(DispatchPtr(mute)), Variant(DispatchPtr(wordy)), Variant()})
        EXPECT_EQ(THostServicesCall::ProductID(host), 3);
}

TEST_F(HostServicesTest, SystemSettingsAreATwoRowArrayOfNamesAndValues) {
    services_->SetSystemSetting("SYS001", "4");
    services_->SetSystemSetting("Sys999", "x");
    Variant company("DEMO");
    const Variant info = TCounterCall::GetSysInfo(Counter(), company);
    ASSERT_EQ(info.DimCount(), 2);
    ASSERT_EQ(info.HighBound(1), 1);
    std::map<std::string, std::string> settings;
    for (int i = info.LowBound(2); i <= info.HighBound(2); ++i)
        settings[VarToStr(info.At(0, i))] = VarToStr(info.At(1, i));
    EXPECT_EQ(settings["Sys001"], "4") << "a setting is replaced whatever the case of its name";
    EXPECT_EQ(settings.count("SYS001"), 0u);
    EXPECT_EQ(settings["Sys002"], "/");
    EXPECT_EQ(settings["KRV002"], "示范公司");
    EXPECT_EQ(settings["Sys999"], "x");
    EXPECT_EQ(VarToStr(company), "DEMO");
}

TEST_F(HostServicesTest, CountersAnswerTheNamedFunctions) {
    services_->SetConnectString("Data Source=demo.db");
    Variant none = VarArrayOf({""});
    EXPECT_EQ(VarToStr(TCounterCall::GetCounter(Counter(), "RESULTCONNECTSTRING", none, "DEMO", "DEMO")),
              "Data Source=demo.db");
    Variant portal = VarArrayOf({"SELECT MA003 FROM KRVINTMA WHERE MA001='StartupPortal' ", "MA003"});
    const Variant rows = TCounterCall::GetCounter(Counter(), "SIMPLESQL", portal, "DEMO", "DEMO");
    EXPECT_EQ(VarToStr(rows[0][0]), "N");
    Variant other = VarArrayOf({"SELECT 1", "X"});
    EXPECT_EQ(TCounterCall::GetCounter(Counter(), "SIMPLESQL", other, "DEMO", "DEMO").ElementCount(), 0);
    EXPECT_THROW(TCounterCall::GetCounter(Counter(), "NOSUCH", other, "DEMO", "DEMO"), EOleException);
}

TEST_F(HostServicesTest, ValidatorAnswersTheProgramMasterRows) {
    Variant row;
    ASSERT_TRUE(Query(false, "ADMMB", "01", VarArrayOf({"ZPNR42"}), row));
    EXPECT_EQ(VarToStr(row[0]), "自动摊提折旧作业");
    EXPECT_EQ(VarToStr(row[4]), "N");
    ASSERT_GE(row.ElementCount(), 8);
    EXPECT_EQ(VarToStr(row[7]), "Automatic depreciation");

    Variant rows;
    ASSERT_TRUE(Query(true, "ADMMB", "11", VarArrayOf({"ZPNR42"}), rows));
    EXPECT_EQ(VarToStr(rows[0][3]), "N") << "direct runs are allowed";
    ASSERT_TRUE(Query(false, "CMSMQ", "02", VarArrayOf({"ZA1", "C6"}), row));
    EXPECT_EQ(VarToStr(row[0]), "折旧凭证");

    Variant missing("stale");
    EXPECT_FALSE(Query(false, "ADMMB", "01", VarArrayOf({"ZPNR99"}), missing));
    EXPECT_TRUE(missing.IsEmpty());

    TValidatorCall::SetProductID(Validator(), 5);
    TValidatorCall::SetBaseLimited(Validator(), Variant(u"scope"));
    EXPECT_EQ(services_->ValidatorProductID(), 5);
    EXPECT_EQ(services_->ValidatorBaseLimited().AsWideString(), u"scope");
}

TEST_F(HostServicesTest, LookupsChooseAsAUserWould) {
    const Variant single = TLookupCall::F2GetData(Lookup(), LookupRequest("CMSMQ", "02", false));
    ASSERT_EQ(single.ElementCount(), 1);
    EXPECT_EQ(VarToStr(single[0][1]), "折旧凭证");
    EXPECT_EQ(TLookupCall::F2GetData(Lookup(), LookupRequest("ASTMA", "01", true)).ElementCount(), 3);
    EXPECT_TRUE(TLookupCall::F2GetData(Lookup(), LookupRequest("NOSUCH", "01", true)).IsEmpty());

    services_->SetChooser([](const Variant&, const Variant&) { return Variant(); });
    EXPECT_TRUE(TLookupCall::F2GetData(Lookup(), LookupRequest("ASTMA", "01", false)).IsEmpty());

    EXPECT_EQ(TLookupCall::ShowInputDay(Lookup(), false, "20000131", "DEMO"), "20000131");
    services_->SetDayPicker([](const Variant&) { return std::string(); });
    EXPECT_EQ(TLookupCall::ShowInputDay(Lookup(), true, "20000131", "DEMO"), "");

    services_->SetPhrase("常用片语");
    Variant user("DS"), db("DEMO");
    EXPECT_EQ(TLookupCall::GetPhrase(Lookup(), user, db, 0), "常用片语");
}

TEST_F(HostServicesTest, HelpCallsAndFileDescriptionsReachTheHost) {
    THostServicesCall::CallHelp(host_, "ZPN", "12420000");
    ASSERT_EQ(services_->HelpCalls().size(), 1u);
    EXPECT_EQ(VarToStr(services_->HelpCalls()[0][1]), "12420000");
    services_->SetFileDescription("zpnr42s.so", "<Modify>2024</Modify><Path>\\svr\\</Path>");
    EXPECT_EQ(THostServicesCall::GetFileList(host_, "zpnr42s.so"), "<Modify>2024</Modify><Path>\\svr\\</Path>");
    EXPECT_EQ(THostServicesCall::GetFileList(host_, "other.so"), "");
}

TEST(HostServicesByNameTest, StandAloneBuildsCreateTheServicesByName) {
    RegisterHostServices();
    const Variant host = CreateOleObject("VantorWorkCenter.Manager");
    EXPECT_EQ(THostServicesCall::GetMessage(host, "E", "000006"), "无法连接应用服务器!");
    UnregisterComObjectFactory(kHostServicesClassName);
}

// The typed entry points hand by-reference arguments back, also when the callee raises.
TEST(OuterServicesTest, ByReferenceArgumentsComeBackChangedOrIntact) {
    auto validator = std::make_shared<DispatchObject>();
    validator->RegisterMethod("CheckValue", [](std::vector<Variant>& args) {
        if (VarToStr(args[0]) == "FAIL") throw EOleException("validator down");
        args[1] = "changed";
        args[4] = VarArrayOf({"row"});
        return Variant(true);
    });
    const Variant object{DispatchPtr(validator)};
    Variant table("T"), query("01"), db("DB"), keys = VarArrayOf({"k"}), result;
    EXPECT_TRUE(TValidatorCall::CheckValue(object, table, query, db, keys, result));
    EXPECT_EQ(VarToStr(query), "changed");
    EXPECT_EQ(VarToStr(result[0]), "row");
    EXPECT_EQ(VarToStr(keys[0]), "k");

    Variant failing("FAIL");
    EXPECT_THROW(TValidatorCall::CheckValue(object, failing, query, db, keys, result), EOleException);
    EXPECT_EQ(VarToStr(failing), "FAIL");
    EXPECT_EQ(VarToStr(keys[0]), "k") << "arguments moved into the call come back after a failure";
}

TEST(OuterServicesTest, CallsOnNoObjectOrAnUnknownMethodRaise) {
    EXPECT_THROW(THostServicesCall::GetMessage(Variant(), "E", "000001"), EOleError);
    const Variant plain{DispatchPtr(std::make_shared<DispatchObject>())};
    try {
        TAppServerCall::ErrorDescript(plain);
        FAIL();
    } catch (const EOleError& e) {
        EXPECT_NE(e.Message().find("ErrorDescript"), std::string::npos) << e.Message();
    }
}

}  // namespace
}  // namespace krv
