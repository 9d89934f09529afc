#include "platform/ComObj.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Registry.h"

namespace krv {
namespace {

// Each test gets its own registry file; the previous registry comes back afterwards.
class ComObjTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("comobj-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
        WriteRegistry("");
    }
    void TearDown() override {
        SetRegistryFilePath("");
        std::filesystem::remove_all(folder_);
    }
    // Registers class -> library for in-process servers.
    void WriteRegistry(const std::string& entries) {
        const auto file = folder_ / "registry.reg";
        std::ofstream(file) << "REGEDIT4\r\n\r\n" << entries;
        SetRegistryFilePath(file.string());
    }
    static std::string ServerEntry(const std::string& className, const std::string& library) {
        return "[HKEY_CLASSES_ROOT\\" + className + "\\InprocServer32]\r\n@=\"" + library + "\"\r\n\r\n";
    }
    static std::string CreationError(const std::string& className) {
        try {
            CreateOleObject(className);
        } catch (const EOleSysError& e) {
            return e.Message();
        }
        return "(created)";
    }

    std::filesystem::path folder_;
};

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(ComObjTest, RegisteredFactoryCreatesByNameIgnoringCase) {
    TComObjectRegistration registration("Test.Counter", [] {
        auto object = std::make_shared<DispatchObject>();
        object->RegisterMethod("Answer", [](std::vector<Variant>&) { return Variant(42); });
        return object;
    });
    const Variant first = CreateOleObject("test.COUNTER");
    const Variant second = CreateOleObject("Test.Counter");
    EXPECT_EQ(DispatchCall(first, "Answer").AsInteger(), 42);
    EXPECT_NE(first.AsDispatch(), second.AsDispatch()) << "each creation gives a new object";
}

TEST_F(ComObjTest, UnknownOrUnregisteredNameRaisesNamingTheClass) {
    {
        TComObjectRegistration registration("Test.Gone", [] { return std::make_shared<DispatchObject>(); });
        EXPECT_TRUE(IsComObjectFactoryRegistered("TEST.GONE"));
    }
    EXPECT_FALSE(IsComObjectFactoryRegistered("Test.Gone"));
    for (const char* name : {"Test.Gone", "No.Such.Class", ""}) {
        const std::string message = CreationError(name);
        EXPECT_TRUE(Contains(message, std::string("\"") + name + "\"")) << message;
    }
    EXPECT_TRUE(Contains(CreationError("No.Such.Class"), "not registered"));
}

TEST_F(ComObjTest, FailingFactoryRaisesWithItsReason) {
    TComObjectRegistration empty("Test.Empty", [] { return DispatchPtr(); });
    TComObjectRegistration raising("Test.Raising", []() -> DispatchPtr { throw Exception("licence expired"); });
    EXPECT_TRUE(Contains(CreationError("Test.Empty"), "no object"));
    EXPECT_TRUE(Contains(CreationError("Test.Raising"), "licence expired"));
}

TEST_F(ComObjTest, ServerLibraryNamedInTheRegistryCreatesTheObject) {
    WriteRegistry(ServerEntry("ZPNR42S.Class1", "ZPNR42S.dll"));
    const Variant job = CreateOleObject("ZPNR42S.Class1");
    ASSERT_TRUE(job.IsDispatch());
    EXPECT_TRUE(job.AsDispatch()->HasMember("Execute"));
}

TEST_F(ComObjTest, BadServerLibraryEntriesRaiseClearErrors) {
    WriteRegistry(ServerEntry("Test.Missing", "NoSuchServer.dll") +
                  ServerEntry("Test.NoExport", "libkrvplatform.so") +
                  ServerEntry("Test.Unserved", "ZPNR42S.dll"));
    EXPECT_TRUE(Contains(CreationError("Test.Missing"), "cannot load library NoSuchServer.dll"));
    EXPECT_TRUE(Contains(CreationError("Test.NoExport"), "no export KrvCreateObject"));
    EXPECT_TRUE(Contains(CreationError("Test.Unserved"), "does not serve"));
}

// ---- the server module's job object -----------------------------------------------------------

Variant BatchArguments(const Variant& optionValues) {
    return VarArrayOf({"20240513000001", "DEMO", "DS", optionValues, "DEMO", "202405130001", 1});
}

TEST(ServerModuleJobTest, RunsTheArgumentArrayAndGivesItsMessage) {
    TDynLib library("ZPNR42S.dll");
    ASSERT_TRUE(library.Loaded()) << library.Error();
    TServerModuleJob job(library);
    job.Run(BatchArguments(VarArrayCreate(1, 8)));
    EXPECT_EQ(job.Message(), u"");
}

TEST(ServerModuleJobTest, RefusedArgumentsRaiseAndTheMessageSaysWhy) {
    TDynLib library("ZPNR42S.dll");
    TServerModuleJob job(library);
    for (const Variant& args : {Variant("not an array"), VarArrayOf({1, 2, 3}),
                                BatchArguments(Variant("no option values"))}) {
        EXPECT_THROW(job.Run(args), Exception);
        EXPECT_NE(job.Message(), u"");
    }
}

TEST(ServerModuleJobTest, LibraryWithoutTheExportRaises) {
    TDynLib library("libkrvplatform.so");
    ASSERT_TRUE(library.Loaded()) << library.Error();
    try {
        TServerModuleJob job(library);
        FAIL() << "a job object from a library without GetSvrController";
    } catch (const EOleError& e) {
        EXPECT_NE(std::string(e.Message()).find("GetSvrController"), std::string::npos) << e.Message();
    }
}

}  // namespace
}  // namespace krv
