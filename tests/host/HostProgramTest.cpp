// The reference host program, run as a person runs it from the console.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string BinDir() {
    const char* dir = std::getenv("KRV_BIN_DIR");
    return dir ? std::string(dir) + "/" : std::string();
}

struct HostRun {
    int exitCode = -1;
    std::string output;  // standard output and standard error
};

// Runs krvhost with the arguments; its registry file is one that does not exist, so the host
// prepares its own throw-away installation whatever the machine has.
HostRun RunHost(const std::string& arguments) {
    const fs::path folder = fs::temp_directory_path() / ("krvhost-test-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string command = "KRV_REGISTRY_FILE='" + (folder / "none.reg").string() + "' '" + BinDir() +
                                "krvhost' " + arguments + " 2>&1";
    HostRun run;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        while (size_t read = std::fread(buffer, 1, sizeof buffer, pipe)) run.output.append(buffer, read);
        const int status = ::pclose(pipe);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    fs::remove_all(folder);
    return run;
}

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST(HostProgramTest, DrivesTheJobFromCreationToTheLastNotification) {
    const HostRun run = RunHost("");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const size_t created = run.output.find("notification 256 (form created)");
    const size_t status = run.output.find("CreateForm: ");
    const size_t destroyed = run.output.find("notification 304 (form destroyed)");
    ASSERT_NE(created, std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("notification "), created) << "256 comes before any other notification";
    EXPECT_LT(created, status);
    ASSERT_NE(destroyed, std::string::npos) << run.output;
    EXPECT_EQ(Count(run.output, "notification 304"), 1u) << run.output;
    EXPECT_NE(run.output.find("ResultCode: ", destroyed), std::string::npos) << "the results are printed on 304";
    EXPECT_EQ(run.output.find("never destroyed"), std::string::npos) << run.output;
}

TEST(HostProgramTest, BadModulesAndOptionsEndWithAClearError) {
    const struct {
        std::string arguments;
        int exitCode;
        const char* says;
    } cases[] = {
        {"--module /nonexistent/ZPNR42C.so", 1, "cannot load /nonexistent/ZPNR42C.so"},
        {"--module '" + BinDir() + "ZPNR42S.so'", 1, "has no export GetController"},
        {"--colour", 2, "unknown option --colour"},
    };
    for (const auto& c : cases) {
        const HostRun run = RunHost(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << "\n" << run.output;
        EXPECT_NE(run.output.find(c.says), std::string::npos) << run.output;
    }
}

}  // namespace
