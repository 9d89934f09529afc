// Typed entry points for the late-bound calls the job forms make on objects outside the module:
// the host's services object and its counter, validator and lookup services, the application
// server, and the job object of a server module. Each function names one call, passes its
// arguments in the callee's order and hands by-reference arguments back through Variant&.
//
// The object is the variant that holds it (a form's HostServices, CounterService, AppServer ...).
// A failing call raises: the callee's exception as it came, EOleError when the variant holds no
// object or the object has no such method. Callers guard as their own rules say; the only
// exception is THostServicesCall::ProductID, which answers 3 when the host cannot tell.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/ComObj.h"
#include "platform/DynLib.h"
#include "platform/Variant.h"

namespace krv {

// The host's services object.
struct THostServicesCall {
    // Message text for a type letter and a six-digit number; it may hold %s.
    static std::string GetMessage(const Variant& host, const std::string& type, const std::string& id);
    static void CallHelp(const Variant& host, const std::string& module, const std::string& helpKey);
    // The product number; 3 when the call fails or answers no number.
    static int ProductID(const Variant& host);
    static Variant Com_Counter(const Variant& host);
    static Variant Com_Validator(const Variant& host);
    static Variant Com_F2Window(const Variant& host);
    // Description of the server's copy of a server library; the name comes lower-cased.
    static std::string GetFileList(const Variant& host, const std::string& lowerCaseFileName);
};

// The counter service (Com_Counter).
struct TCounterCall {
    // Two-row array: row 0 the setting names, row 1 their values.
    static Variant GetSysInfo(const Variant& counter, Variant& companyId);
    // Runs the named function (the name upper-cased by the caller) with its arguments; the
    // third argument the service receives is [company id, database].
    static Variant GetCounter(const Variant& counter, const std::string& upperCaseName,
                              Variant& args, const std::string& companyId,
                              const std::string& database);
};

// The validator service (Com_Validator).
struct TValidatorCall {
    static void SetProductID(const Variant& validator, int productNumber);
    static void SetBaseLimited(const Variant& validator, const Variant& dataScope);
    // All rows of the query for the keys; true when found, the rows in result.
    static bool QueryData(const Variant& validator, Variant& table, Variant& queryId,
                          Variant& database, Variant& keys, Variant& result);
    // The first row only; true when found, the row in result.
    static bool CheckValue(const Variant& validator, Variant& table, Variant& queryId,
                           Variant& database, Variant& keys, Variant& result);
};

// The lookup service (Com_F2Window).
struct TLookupCall {
    // One lookup window; the request is the 19-element array. Empty when nothing was chosen.
    static Variant F2GetData(const Variant& lookup, const Variant& request);
    // The date window; answers "YYYYMMDD", or "" when the user chose none.
    static std::string ShowInputDay(const Variant& lookup, bool rocYears,
                                    const std::string& initialYmd, const std::string& database);
    static std::string GetPhrase(const Variant& lookup, Variant& userId, Variant& database,
                                 int64_t windowHandle);
};

// The application server "ZezuzuVavorarA.dmReportCounter".
struct TAppServerCall {
    // Fills the provider pvdConSave with the schemes of [user id, program code].
    static void LoadTable(const Variant& server, Variant& userAndProgram);
    // [name, user, "YYYYMMDD", program, names, values, flag] → error text, "" when stored.
    static std::string InsertConTable(const Variant& server, Variant& scheme);
    // [name, user, program] → error text, "" when done.
    static std::string DeleteConTable(const Variant& server, Variant& key);
    static std::string ChangeConName(const Variant& server, Variant& oldKey, Variant& newKey);
    // The rights array of [database, user, program, ""].
    static Variant GetPower(const Variant& server, const std::string& database,
                            const std::string& userId, const std::string& programCode);
    static int SQLType(const Variant& server);
    // Submits a package to the scheduler; answers the job number as text ("ERROR" on refusal).
    static std::string Request(const Variant& server, const Variant& package);
    // Registers a direct run; answers the job number as text ("ERROR" on refusal).
    static std::string Request1(const Variant& server, const Variant& package,
                                const std::string& computerName);
    // Runs the job's server module on the server; the twelve arguments in the server's order.
    static void ExecSvrDLL(const Variant& server, Variant& jobNumber, const std::string& programCode,
                           const std::string& reserved, const std::string& companyId,
                           const std::string& userId, const std::string& serverClassName,
                           const std::string& programType, const std::string& database,
                           Variant& optionValues, int mode, const std::string& stepNumber,
                           int productNumber);
    // Records the outcome of a run: the message log and the local date-time it ended.
    static void UpdateStatus1(const Variant& server, Variant& jobNumber,
                              const std::string& messageLog, double endedAt);
    // Text of the server's last error.
    static std::string ErrorDescript(const Variant& server);
};

// The job object of a server module (operation 3 runs, operation 2 gives the message) is
// TServerModuleJob in platform/ComObj.h, shared with the application server that runs modules too.

}  // namespace krv
