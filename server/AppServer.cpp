#include "server/AppServer.h"

#include <algorithm>

#include "platform/CodePage.h"
#include "platform/ComObj.h"
#include "platform/DynLib.h"
#include "platform/SysUtils.h"

namespace krv {

namespace {

constexpr const char* kSchemeProvider = "pvdConSave";
constexpr const char* kAllRights = "YYYYYYYY";
constexpr const char* kSchemeExists = "方案名称已存在!";
constexpr const char* kSchemeMissing = "方案不存在!";
constexpr const char* kSchemeNameEmpty = "方案名称不可空白!";
constexpr const char* kRefused = "ERROR";

std::string Today() { return FormatDateTime("YYYYMMDD", Now()); }

std::string RightsKey(const std::string& user, const std::string& program) {
    return UpperCase(user + ";" + program);
}

std::string Digits(int value, int width) {
    std::string text = IntToStr(value);
    return std::string(text.size() < size_t(width) ? width - text.size() : 0, '0') + text;
}

}  // namespace

TAppServer::TAppServer(std::shared_ptr<Store> store)
    : store_(store ? std::move(store) : std::make_shared<Store>()) {
    RegisterMethods();
}

void TAppServer::RegisterMethods() {
    auto bind = [this](const char* name, Variant (TAppServer::*method)(std::vector<Variant>&)) {
        RegisterMethod(name, [this, method](std::vector<Variant>& args) { return (this->*method)(args); });
    };
    bind("LoadTable", &TAppServer::LoadTable);
    bind("InsertConTable", &TAppServer::InsertConTable);
    bind("DeleteConTable", &TAppServer::DeleteConTable);
    bind("ChangeConName", &TAppServer::ChangeConName);
    bind("AS_GetRecords", &TAppServer::GetProviderRecords);
    bind("GetPower", &TAppServer::GetPower);
    bind("ExecSvrDLL", &TAppServer::ExecSvrDLL);
    bind("UpdateStatus1", &TAppServer::UpdateStatus1);
    RegisterMethod("Request", [this](std::vector<Variant>& args) { return Submit(args, true); });
    RegisterMethod("Request1", [this](std::vector<Variant>& args) { return Submit(args, false); });
    RegisterMethod("SQLType", [](std::vector<Variant>&) { return Variant(1); });
    RegisterMethod("ErrorDescript", [this](std::vector<Variant>&) { return Variant(lastError_); });
}

void TAppServer::Fail(const std::string& message) {
    lastError_ = message;
    throw EOleException(message);
}

Variant& TAppServer::Arg(std::vector<Variant>& args, size_t index, const char* method) {
    if (index >= args.size())
        Fail(std::string(method) + ": argument " + IntToStr(int64_t(index) + 1) + " is missing");
    return args[index];
}

std::vector<std::string> TAppServer::Texts(const Variant& array, int count, const char* method) {
    if (!array.IsArray() || array.DimCount() != 1 || array.ElementCount() < count)
        Fail(std::string(method) + ": an array of " + IntToStr(count) + " elements is expected");
    std::vector<std::string> texts;
    texts.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        const Variant& element = array[array.LowBound() + i];
        if (element.IsArray() || element.IsDispatch())
            Fail(std::string(method) + ": element " + IntToStr(i) + " is not a value");
        texts.push_back(VarToStr(element));
    }
    return texts;
}

// ---- condition schemes -----------------------------------------------------------------------

const std::vector<TAppServer::Scheme>& TAppServer::Schemes() const { return store_->schemes; }

std::vector<TAppServer::Scheme>::iterator TAppServer::FindScheme(const std::string& name,
                                                                 const std::string& creator,
                                                                 const std::string& program) {
    return std::find_if(store_->schemes.begin(), store_->schemes.end(), [&](const Scheme& s) {
        return s.name == name && s.creator == creator && SameText(s.program, program);
    });
}

Variant TAppServer::LoadTable(std::vector<Variant>& args) {
    const auto key = Texts(Arg(args, 0, "LoadTable"), 2, "LoadTable");
    provided_.clear();
    for (const Scheme& scheme : store_->schemes)
        if (scheme.creator == key[0] && SameText(scheme.program, key[1])) provided_.push_back(scheme);
    return {};
}

Variant TAppServer::InsertConTable(std::vector<Variant>& args) {
    const Variant& record = Arg(args, 0, "InsertConTable");
    const auto fields = Texts(record, 6, "InsertConTable");
    if (record.ElementCount() < 7) Fail("InsertConTable: an array of 7 elements is expected");
    const bool replace = record[record.LowBound() + 6].AsBoolean();
    Scheme scheme{fields[0], fields[1], fields[3], fields[4], fields[5], fields[2]};
    if (Trim(scheme.name).empty()) return Variant(kSchemeNameEmpty);
    const auto existing = FindScheme(scheme.name, scheme.creator, scheme.program);
    if (existing == store_->schemes.end())
        store_->schemes.push_back(std::move(scheme));
    else if (replace)
        *existing = std::move(scheme);
    else
        return Variant(kSchemeExists);
    return Variant("");
}

Variant TAppServer::DeleteConTable(std::vector<Variant>& args) {
    const auto key = Texts(Arg(args, 0, "DeleteConTable"), 3, "DeleteConTable");
    const auto existing = FindScheme(key[0], key[1], key[2]);
    if (existing == store_->schemes.end()) return Variant(kSchemeMissing);
    store_->schemes.erase(existing);
    return Variant("");
}

Variant TAppServer::ChangeConName(std::vector<Variant>& args) {
    const auto from = Texts(Arg(args, 0, "ChangeConName"), 3, "ChangeConName");
    const auto to = Texts(Arg(args, 1, "ChangeConName"), 3, "ChangeConName");
    const auto existing = FindScheme(from[0], from[1], from[2]);
    if (existing == store_->schemes.end()) return Variant(kSchemeMissing);
    if (Trim(to[0]).empty()) return Variant(kSchemeNameEmpty);
    if (to[0] == from[0]) return Variant("");
    if (FindScheme(to[0], from[1], from[2]) != store_->schemes.end()) return Variant(kSchemeExists);
    existing->name = to[0];
    return Variant("");
}

Variant TAppServer::GetProviderRecords(std::vector<Variant>& args) {
    const std::string provider = VarToStr(Arg(args, 0, "AS_GetRecords"));
    if (!SameText(provider, kSchemeProvider)) Fail("AS_GetRecords: unknown provider \"" + provider + "\"");
    Variant rows = VarArrayCreate(0, int(provided_.size()) - 1);
    for (size_t i = 0; i < provided_.size(); ++i) {
        const Scheme& s = provided_[i];
        rows[int(i)] = VarArrayOf({s.name, s.creator, s.program, s.names, s.values, s.createDate});
    }
    return VarArrayOf({VarArrayOf({"NCONDITION", "CREATOR", "PROGRAMME", "SCONDITION", "VCONDITION",
                                   "CREATE_DATE"}),
                       std::move(rows)});
}

// ---- rights ----------------------------------------------------------------------------------

void TAppServer::SetRights(const std::string& userId, const std::string& programCode,
                           const std::string& rightsText, const std::string& scopePrefix,
                           const std::vector<std::string>& scopeItems) {
    store_->rights[RightsKey(userId, programCode)] = Rights{rightsText, scopePrefix, scopeItems};
}

// [user, "program,user,database,rights", "", "", scope prefix, [n, item 1 .. item n]]
Variant TAppServer::GetPower(std::vector<Variant>& args) {
    const auto request = Texts(Arg(args, 0, "GetPower"), 3, "GetPower");
    const std::string& database = request[0];
    const std::string& user = request[1];
    const std::string& program = request[2];
    const auto found = store_->rights.find(RightsKey(user, program));
    const Rights rights = found != store_->rights.end() ? found->second : Rights{kAllRights, "", {}};
    Variant scope = VarArrayCreate(0, int(rights.scopeItems.size()));
    scope[0] = int(rights.scopeItems.size());
    for (size_t i = 0; i < rights.scopeItems.size(); ++i) scope[int(i) + 1] = rights.scopeItems[i];
    return VarArrayOf({user, program + "," + user + "," + database + "," + rights.text, "", "",
                       rights.scopePrefix, std::move(scope)});
}

// ---- jobs ------------------------------------------------------------------------------------

const TAppServer::Job* TAppServer::FindJob(const std::string& number) const {
    const auto found = store_->jobs.find(number);
    return found == store_->jobs.end() ? nullptr : &found->second;
}

// Day and a sequence of the process: the first 8 characters are the day, as step numbers expect.
std::string TAppServer::NextJobNumber() { return Today() + Digits(++store_->jobSequence, 6); }

// Request (to the scheduler) and Request1 (a direct run) answer "ERROR" for a package that is no
// option package; ErrorDescript then tells why.
Variant TAppServer::Submit(std::vector<Variant>& args, bool scheduled) {
    const char* method = scheduled ? "Request" : "Request1";
    const Variant& package = Arg(args, 0, method);
    if (!package.IsArray() || package.DimCount() != 1 || package.ElementCount() < 3) {
        lastError_ = std::string(method) + ": the option package must be an array of at least 3 elements";
        return Variant(kRefused);
    }
    Job job;
    job.number = NextJobNumber();
    job.package = package;
    job.scheduled = scheduled;
    job.status = scheduled ? "queued" : "running";
    if (!scheduled) job.computerName = VarToStr(Arg(args, 1, method));
    const std::string number = job.number;
    store_->jobs.emplace(number, std::move(job));
    lastError_.clear();
    return Variant(number);
}

namespace {

// The argument array a server module receives: batch jobs get the short layout.
Variant ModuleArguments(const std::vector<Variant>& a, const std::string& programType) {
    if (UpperCase(programType) == "B") return VarArrayOf({a[0], a[3], a[4], a[8], a[7], a[10], a[11]});
    return VarArrayOf({a[0], "", a[3], a[4], a[7], a[8], a[9], UpperCase(programType), a[10], a[11],
                       1, IntToStr(GetSystemCodePage())});
}

}  // namespace

// ExecSvrDLL(var job number, program code, "", company, user, server class, program type,
// database, var option values, 1, step number, product number)
Variant TAppServer::ExecSvrDLL(std::vector<Variant>& args) {
    Arg(args, 11, "ExecSvrDLL");
    const std::string number = VarToStr(args[0]);
    const auto found = store_->jobs.find(number);
    if (found == store_->jobs.end()) Fail("ExecSvrDLL: unknown job number \"" + number + "\"");
    Job& job = found->second;
    const std::string moduleName = VarToStr(args[1]) + "S.dll";
    TDynLib library(moduleName);
    if (!library.Loaded()) Fail("Load Library " + moduleName + " Error! " + library.Error());
    ++job.runs;
    try {
        TServerModuleJob module(library);
        try {
            module.Run(ModuleArguments(args, VarToStr(args[6])));
            job.status = "ran";
        } catch (...) {
            job.moduleMessage = module.Message();
            throw;
        }
        job.moduleMessage = module.Message();
    } catch (const std::exception& e) {
        job.status = "failed";
        Fail(e.what());
    }
    lastError_.clear();
    return {};
}

// UpdateStatus1(var job number, message log, ended at); unknown numbers ("ERROR") are ignored.
Variant TAppServer::UpdateStatus1(std::vector<Variant>& args) {
    const auto found = store_->jobs.find(VarToStr(Arg(args, 0, "UpdateStatus1")));
    if (found == store_->jobs.end()) return {};
    Job& job = found->second;
    job.messageLog = VarToStr(Arg(args, 1, "UpdateStatus1"));
    const Variant& endedAt = Arg(args, 2, "UpdateStatus1");
    job.endedAt = endedAt.IsEmpty() || endedAt.IsNull() ? 0 : endedAt.AsDate();
    job.status = "done";
    return {};
}

void RegisterAppServer() {
    auto store = std::make_shared<TAppServer::Store>();
    RegisterComObjectFactory(kAppServerClassName, [store] { return std::make_shared<TAppServer>(store); });
}

}  // namespace krv
