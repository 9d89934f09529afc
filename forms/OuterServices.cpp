#include "forms/OuterServices.h"

#include <utility>
#include <vector>

#include "platform/Dispatch.h"

namespace krv {

namespace {

// The argument list of one call. By-reference arguments are moved in, not copied (they can be
// large arrays), and moved back to the caller when the call ends, whether it returned or raised.
class CallArgs {
public:
    CallArgs() { list_.reserve(12); }
    ~CallArgs() {
        for (const auto& [index, target] : refs_)
            if (index < list_.size()) *target = std::move(list_[index]);
    }
    CallArgs(const CallArgs&) = delete;
    CallArgs& operator=(const CallArgs&) = delete;

    CallArgs& In(Variant value) {
        list_.push_back(std::move(value));
        return *this;
    }
    CallArgs& Ref(Variant& value) {
        refs_.emplace_back(list_.size(), &value);
        list_.push_back(std::move(value));
        return *this;
    }
    Variant Call(const Variant& object, const std::string& name) {
        return DispatchCall(object, name, list_);
    }

private:
    std::vector<Variant> list_;
    std::vector<std::pair<size_t, Variant*>> refs_;
};

Variant CallNoArgs(const Variant& object, const std::string& name) {
    std::vector<Variant> none;
    return DispatchCall(object, name, none);
}

}  // namespace

// ---- host services ---------------------------------------------------------------------------

std::string THostServicesCall::GetMessage(const Variant& host, const std::string& type,
                                          const std::string& id) {
    return VarToStr(CallArgs().In(type).In(id).Call(host, "GetMessage"));
}

void THostServicesCall::CallHelp(const Variant& host, const std::string& module,
                                 const std::string& helpKey) {
    CallArgs().In(VarArrayOf({module, helpKey})).Call(host, "CallHelp");
}

int THostServicesCall::ProductID(const Variant& host) {
    constexpr int unknownProduct = 3;
    try {
        return CallNoArgs(host, "ProductID").AsInteger();
    } catch (const std::exception&) {
        return unknownProduct;
    }
}

Variant THostServicesCall::Com_Counter(const Variant& host) { return CallNoArgs(host, "Com_Counter"); }

Variant THostServicesCall::Com_Validator(const Variant& host) {
    return CallNoArgs(host, "Com_Validator");
}

Variant THostServicesCall::Com_F2Window(const Variant& host) {
    return CallNoArgs(host, "Com_F2Window");
}

std::string THostServicesCall::GetFileList(const Variant& host,
                                           const std::string& lowerCaseFileName) {
    return VarToStr(CallArgs().In(VarArrayOf({lowerCaseFileName})).Call(host, "GetFileList"));
}

// ---- counter ---------------------------------------------------------------------------------

Variant TCounterCall::GetSysInfo(const Variant& counter, Variant& companyId) {
    return CallArgs().Ref(companyId).Call(counter, "GetSysInfo");
}

Variant TCounterCall::GetCounter(const Variant& counter, const std::string& upperCaseName,
                                 Variant& args, const std::string& companyId,
                                 const std::string& database) {
    return CallArgs()
        .In(upperCaseName)
        .Ref(args)
        .In(VarArrayOf({companyId, database}))
        .Call(counter, "GetCounter");
}

// ---- validator -------------------------------------------------------------------------------

void TValidatorCall::SetProductID(const Variant& validator, int productNumber) {
    DispatchSet(validator, "ProductID", productNumber);
}

void TValidatorCall::SetBaseLimited(const Variant& validator, const Variant& dataScope) {
    DispatchSet(validator, "BaseLimited", dataScope);
}

namespace {
bool QueryValidator(const Variant& validator, const char* method, Variant& table,
                    Variant& queryId, Variant& database, Variant& keys, Variant& result) {
    return CallArgs()
        .Ref(table)
        .Ref(queryId)
        .Ref(database)
        .Ref(keys)
        .Ref(result)
        .Call(validator, method)
        .AsBoolean();
}
}  // namespace

bool TValidatorCall::QueryData(const Variant& validator, Variant& table, Variant& queryId,
                               Variant& database, Variant& keys, Variant& result) {
    return QueryValidator(validator, "QueryData", table, queryId, database, keys, result);
}

bool TValidatorCall::CheckValue(const Variant& validator, Variant& table, Variant& queryId,
                                Variant& database, Variant& keys, Variant& result) {
    return QueryValidator(validator, "CheckValue", table, queryId, database, keys, result);
}

// ---- lookup ----------------------------------------------------------------------------------

Variant TLookupCall::F2GetData(const Variant& lookup, const Variant& request) {
    return CallArgs().In(request).Call(lookup, "F2GetData");
}

std::string TLookupCall::ShowInputDay(const Variant& lookup, bool rocYears,
                                      const std::string& initialYmd, const std::string& database) {
    return VarToStr(
        CallArgs().In(VarArrayOf({rocYears, initialYmd, database})).Call(lookup, "ShowInputDay"));
}

std::string TLookupCall::GetPhrase(const Variant& lookup, Variant& userId, Variant& database,
                                   int64_t windowHandle) {
    return VarToStr(
        CallArgs().Ref(userId).Ref(database).In(windowHandle).Call(lookup, "GetPhrase"));
}

// ---- application server ----------------------------------------------------------------------

void TAppServerCall::LoadTable(const Variant& server, Variant& userAndProgram) {
    CallArgs().Ref(userAndProgram).Call(server, "LoadTable");
}

std::string TAppServerCall::InsertConTable(const Variant& server, Variant& scheme) {
    return VarToStr(CallArgs().Ref(scheme).Call(server, "InsertConTable"));
}

std::string TAppServerCall::DeleteConTable(const Variant& server, Variant& key) {
    return VarToStr(CallArgs().Ref(key).Call(server, "DeleteConTable"));
}

std::string TAppServerCall::ChangeConName(const Variant& server, Variant& oldKey,
                                          Variant& newKey) {
    return VarToStr(CallArgs().Ref(oldKey).Ref(newKey).Call(server, "ChangeConName"));
}

Variant TAppServerCall::GetPower(const Variant& server, const std::string& database,
                                 const std::string& userId, const std::string& programCode) {
    return CallArgs().In(VarArrayOf({database, userId, programCode, ""})).Call(server, "GetPower");
}

int TAppServerCall::SQLType(const Variant& server) { return CallNoArgs(server, "SQLType").AsInteger(); }

std::string TAppServerCall::Request(const Variant& server, const Variant& package) {
    return VarToStr(CallArgs().In(package).Call(server, "Request"));
}

std::string TAppServerCall::Request1(const Variant& server, const Variant& package,
                                     const std::string& computerName) {
    return VarToStr(CallArgs().In(package).In(computerName).Call(server, "Request1"));
}

void TAppServerCall::ExecSvrDLL(const Variant& server, Variant& jobNumber,
                                const std::string& programCode, const std::string& reserved,
                                const std::string& companyId, const std::string& userId,
                                const std::string& serverClassName, const std::string& programType,
                                const std::string& database, Variant& optionValues, int mode,
                                const std::string& stepNumber, int productNumber) {
    CallArgs()
        .Ref(jobNumber)
        .In(programCode)
        .In(reserved)
        .In(companyId)
        .In(userId)
        .In(serverClassName)
        .In(programType)
        .In(database)
        .Ref(optionValues)
        .In(mode)
        .In(stepNumber)
        .In(productNumber)
        .Call(server, "ExecSvrDLL");
}

void TAppServerCall::UpdateStatus1(const Variant& server, Variant& jobNumber,
                                   const std::string& messageLog, double endedAt) {
    CallArgs()
        .Ref(jobNumber)
        .In(messageLog)
        .In(Variant::FromDate(endedAt))
        .Call(server, "UpdateStatus1");
}

std::string TAppServerCall::ErrorDescript(const Variant& server) {
    return VarToStr(CallNoArgs(server, "ErrorDescript"));
}

}  // namespace krv
