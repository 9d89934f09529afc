#include "server/AppServer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "forms/OuterServices.h"
#include "platform/ComObj.h"

namespace krv {
namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class AppServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterAppServer();
        server_ = CreateOleObject(kAppServerClassName);
    }
    TAppServer& Server() { return static_cast<TAppServer&>(*server_.AsDispatch()); }

    std::string Insert(const std::string& name, const std::string& values, bool replace) {
        Variant scheme = VarArrayOf({name, "DS", "20240513", "ZPNR42", "me01,sp02", values, replace});
        return TAppServerCall::InsertConTable(server_, scheme);
    }
    // The provider's rows after LoadTable for the user and program.
    Variant Provided(const std::string& user, const std::string& program) {
        Variant key = VarArrayOf({user, program});
        TAppServerCall::LoadTable(server_, key);
        return DispatchCall(server_, "AS_GetRecords", {"pvdConSave"})[1];
    }
    std::string NewDirectRun() {
        Variant package = VarArrayOf({VarArrayCreate(1, 12), VarArrayCreate(1, 8), VarArrayCreate(1, 8)});
        return TAppServerCall::Request1(server_, package, "ws01");
    }
    std::string ExecBatch(const std::string& program, Variant jobNumber, Variant optionValues) {
        try {
            TAppServerCall::ExecSvrDLL(server_, jobNumber, program, "", "DEMO", "DS",
                                       program + "S.Class1", "B", "DEMO", optionValues, 1,
                                       VarToStr(jobNumber).substr(0, 8) + "0001", 1);
        } catch (const Exception& e) {
            return e.Message();
        }
        return "";
    }

    Variant server_;
};

TEST_F(AppServerTest, SchemesAreStoredRenamedAndDeletedPerUserAndProgram) {
    EXPECT_EQ(Insert("年底", "v1", false), "");
    EXPECT_EQ(Insert("月结", "v2", false), "");
    EXPECT_EQ(Insert("年底", "v3", false), "方案名称已存在!");
    EXPECT_EQ(Insert("年底", "v4", true), "") << "the replace flag overwrites";
    EXPECT_EQ(Insert("  ", "v5", false), "方案名称不可空白!");

    const Variant rows = Provided("DS", "zpnr42");
    ASSERT_EQ(rows.ElementCount(), 2);
    EXPECT_EQ(VarToStr(rows[0][0]), "年底");
    EXPECT_EQ(VarToStr(rows[0][4]), "v4");
    EXPECT_EQ(VarToStr(rows[0][5]), "20240513");
    EXPECT_EQ(Provided("OTHER", "ZPNR42").ElementCount(), 0);

    Variant oldKey = VarArrayOf({"月结", "DS", "ZPNR42"});
    Variant clash = VarArrayOf({"年底", "DS", "ZPNR42"});
    Variant fresh = VarArrayOf({"季结", "DS", "ZPNR42"});
    EXPECT_EQ(TAppServerCall::ChangeConName(server_, oldKey, clash), "方案名称已存在!");
    EXPECT_EQ(TAppServerCall::ChangeConName(server_, oldKey, fresh), "");
    EXPECT_EQ(VarToStr(oldKey[0]), "月结") << "by-reference arguments come back to the caller";

    EXPECT_EQ(TAppServerCall::DeleteConTable(server_, fresh), "");
    EXPECT_EQ(TAppServerCall::DeleteConTable(server_, fresh), "方案不存在!");
    ASSERT_EQ(Server().Schemes().size(), 1u);
    EXPECT_EQ(Server().Schemes()[0].name, "年底");
}

TEST_F(AppServerTest, ObjectsCreatedByNameShareTheStoreButNotTheProvider) {
    ASSERT_EQ(Insert("共用", "v", false), "");
    Provided("DS", "ZPNR42");
    const Variant second = CreateOleObject(kAppServerClassName);
    EXPECT_EQ(static_cast<TAppServer&>(*second.AsDispatch()).Schemes().size(), 1u);
    EXPECT_EQ(DispatchCall(second, "AS_GetRecords", {"pvdConSave"})[1].ElementCount(), 0)
        << "nothing loaded on that connection yet";
}

TEST_F(AppServerTest, RightsAnswerTheRightsTextAndTheDataScope) {
    const Variant full = TAppServerCall::GetPower(server_, "DEMO", "DS", "ZPNR42");
    ASSERT_EQ(full.ElementCount(), 6);
    EXPECT_EQ(VarToStr(full[1]), "ZPNR42,DS,DEMO,YYYYYYYY");
    EXPECT_EQ(full[5][0].AsInteger(), 0);

    Server().SetRights("guest", "zpnr42", "YYYYYYNN", "CO", {"A01", "A02"});
    const Variant limited = TAppServerCall::GetPower(server_, "DEMO", "GUEST", "ZPNR42");
    EXPECT_EQ(VarToStr(limited[1]), "ZPNR42,GUEST,DEMO,YYYYYYNN");
    EXPECT_EQ(VarToStr(limited[4]), "CO");
    ASSERT_EQ(limited[5].ElementCount(), 3);
    EXPECT_EQ(limited[5][0].AsInteger(), 2);
    EXPECT_EQ(VarToStr(limited[5][2]), "A02");
    EXPECT_EQ(TAppServerCall::SQLType(server_), 1);
}

TEST_F(AppServerTest, RequestsGiveDayNumberedJobsAndRefuseNonPackages) {
    const std::string first = NewDirectRun();
    const std::string second = NewDirectRun();
    ASSERT_EQ(first.size(), 14u);
    EXPECT_EQ(first.substr(0, 8), second.substr(0, 8));
    EXPECT_NE(first, second);
    EXPECT_EQ(Server().FindJob(first)->computerName, "ws01");

    Variant scheduled = VarArrayOf({VarArrayCreate(1, 12), VarArrayCreate(1, 8), VarArrayCreate(1, 8)});
    const std::string queued = TAppServerCall::Request(server_, scheduled);
    EXPECT_TRUE(Server().FindJob(queued)->scheduled);

    for (const Variant& bad : {Variant("text"), VarArrayOf({1, 2}), Variant()}) {
        EXPECT_EQ(TAppServerCall::Request(server_, bad), "ERROR");
        EXPECT_TRUE(Contains(TAppServerCall::ErrorDescript(server_), "option package"));
    }
}

TEST_F(AppServerTest, ExecSvrDLLRunsTheServerModuleAndRecordsTheRun) {
    const auto log = std::filesystem::temp_directory_path() / ("runs-" + std::to_string(::getpid()) + ".log");
    std::filesystem::remove(log);
    ::setenv("KRV_SERVER_RUN_LOG", log.c_str(), 1);
    const std::string job = NewDirectRun();
    EXPECT_EQ(ExecBatch("ZPNR42", job, VarArrayCreate(1, 8)), "");
    ::unsetenv("KRV_SERVER_RUN_LOG");
    EXPECT_EQ(Server().FindJob(job)->status, "ran");
    std::ifstream in(log);
    const std::string recorded((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(Contains(recorded, "job " + job + " company DEMO user DS database DEMO step " +
                                       job.substr(0, 8) + "0001 product 1 options 8"))
        << recorded;
    std::filesystem::remove(log);

    Variant number = Variant(job);
    TAppServerCall::UpdateStatus1(server_, number, "E;-1; ", 45425.5);
    EXPECT_EQ(Server().FindJob(job)->status, "done");
    EXPECT_EQ(Server().FindJob(job)->messageLog, "E;-1; ");
    Variant refused("ERROR");
    EXPECT_NO_THROW(TAppServerCall::UpdateStatus1(server_, refused, "", 45425.5));
}

TEST_F(AppServerTest, FailedRunsRaiseAndErrorDescriptTellsWhy) {
    const std::string job = NewDirectRun();
    const struct {
        const char* program;
        std::string jobNumber;
        Variant values;
        const char* reason;
    } cases[] = {
        {"NOSUCH", job, VarArrayCreate(1, 8), "Load Library NOSUCHS.dll Error!"},
        {"ZPNR42", job, Variant("no array"), "option values are not an array"},
        {"ZPNR42", "20000101999999", VarArrayCreate(1, 8), "unknown job number"},
    };
    for (const auto& c : cases) {
        const std::string message = ExecBatch(c.program, c.jobNumber, c.values);
        EXPECT_TRUE(Contains(message, c.reason)) << message;
        EXPECT_EQ(TAppServerCall::ErrorDescript(server_), message);
    }
    EXPECT_EQ(Server().FindJob(job)->status, "failed");
    EXPECT_NE(Server().FindJob(job)->moduleMessage, u"");
}

TEST_F(AppServerTest, BadCallsRaiseClearErrors) {
    try {
        DispatchCall(server_, "NoSuchMethod");
        FAIL();
    } catch (const EOleError& e) {
        EXPECT_TRUE(Contains(e.Message(), "NoSuchMethod")) << e.Message();
    }
    const struct {
        const char* method;
        std::vector<Variant> args;
        const char* reason;
    } cases[] = {
        {"LoadTable", {}, "LoadTable: argument 1 is missing"},
        {"InsertConTable", {VarArrayOf({"only", "three", "fields"})}, "array of 6 elements"},
        {"ChangeConName", {VarArrayOf({"a", "DS", "P"}), Variant(5)}, "array of 3 elements"},
        {"AS_GetRecords", {Variant("pvdOther")}, "unknown provider"},
        {"ExecSvrDLL", {Variant("1")}, "argument 12 is missing"},
    };
    for (auto c : cases) {
        try {
            DispatchCall(server_, c.method, c.args);
            ADD_FAILURE() << c.method << " accepted a bad call";
        } catch (const EOleException& e) {
            EXPECT_TRUE(Contains(e.Message(), c.reason)) << e.Message();
        }
    }
}

}  // namespace
}  // namespace krv
