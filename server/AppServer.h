// The application server "ZezuzuVavorarA.dmReportCounter" as an in-process late-bound object.
//
// Its data lives in memory, in a store that the objects created by name in one process share (so
// a second form sees the schemes the first saved): the condition schemes per user and program,
// the users' rights and the job requests with their statuses. What a connection's provider
// "pvdConSave" holds and the last error are kept per object, as per connection. ExecSvrDLL runs the job's server module (program code + "S",
// loaded by name next to the program) in this process.
//
// Methods by name, besides those the job forms call:
//   AS_GetRecords(provider name) -> [field names, rows]: the records a provider holds now
//   (rows: a 0-based array of 0-based rows, one cell per field); unknown providers raise.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Dispatch.h"
#include "platform/Variant.h"

namespace krv {

inline constexpr const char* kAppServerClassName = "ZezuzuVavorarA.dmReportCounter";

class TAppServer : public DispatchObject {
public:
    struct Store;
    explicit TAppServer(std::shared_ptr<Store> store = nullptr);
    // Its methods are bound to this object.
    TAppServer(const TAppServer&) = delete;
    TAppServer& operator=(const TAppServer&) = delete;

    struct Scheme {
        std::string name, creator, program, names, values, createDate;
    };
    struct Job {
        std::string number;
        Variant package;              // as submitted
        std::string computerName;     // Request1 only
        bool scheduled = false;       // Request (the scheduler's queue) or Request1 (a direct run)
        int runs = 0;                 // ExecSvrDLL runs
        std::string status;           // "queued", "running", "ran", "failed", "done"
        std::u16string moduleMessage; // the server module's message after its last run
        std::string messageLog;       // from UpdateStatus1
        double endedAt = 0;
    };

    // Rights that GetPower answers for a user and program: the rights text (flags at characters
    // 7 and 8, "N" for not granted) and the data scope (a prefix and its items).
    void SetRights(const std::string& userId, const std::string& programCode,
                   const std::string& rightsText, const std::string& scopePrefix = "",
                   const std::vector<std::string>& scopeItems = {});

    const std::vector<Scheme>& Schemes() const;
    const Job* FindJob(const std::string& number) const;
    const std::string& LastError() const { return lastError_; }

    struct Rights {
        std::string text, scopePrefix;
        std::vector<std::string> scopeItems;
    };
    struct Store {
        std::vector<Scheme> schemes;
        std::map<std::string, Rights> rights;  // key: upper-cased "user;program"
        std::map<std::string, Job> jobs;
        int jobSequence = 0;
    };

private:
    void RegisterMethods();

    Variant LoadTable(std::vector<Variant>& args);
    Variant InsertConTable(std::vector<Variant>& args);
    Variant DeleteConTable(std::vector<Variant>& args);
    Variant ChangeConName(std::vector<Variant>& args);
    Variant GetProviderRecords(std::vector<Variant>& args);
    Variant GetPower(std::vector<Variant>& args);
    Variant Submit(std::vector<Variant>& args, bool scheduled);
    Variant ExecSvrDLL(std::vector<Variant>& args);
    Variant UpdateStatus1(std::vector<Variant>& args);

    std::vector<Scheme>::iterator FindScheme(const std::string& name, const std::string& creator,
                                             const std::string& program);
    std::string NextJobNumber();
    // Checked access to a call's arguments: a missing argument, a non-array or a short array
    // raises a clear error naming the method.
    Variant& Arg(std::vector<Variant>& args, size_t index, const char* method);
    std::vector<std::string> Texts(const Variant& array, int count, const char* method);
    // Records the failure for ErrorDescript and raises it.
    [[noreturn]] void Fail(const std::string& message);

    std::shared_ptr<Store> store_;
    std::vector<Scheme> provided_;  // what LoadTable put in the provider
    std::string lastError_;
};

// Makes CreateOleObject("ZezuzuVavorarA.dmReportCounter") create a new TAppServer in this
// process, all of them on one shared store.
void RegisterAppServer();

}  // namespace krv
