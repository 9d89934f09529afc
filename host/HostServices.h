// The reference host's services object, handed to the job controller as HostServices, with its
// counter, validator and lookup services. Everything is answered from embedded defaults (message
// texts, system settings, master rows and lookup tables for the depreciation job) that a caller
// can replace or extend, so the module runs end to end without a company database and a test can
// script the answers it needs.
//
// Lookups stand for the host's selection windows: a chooser picks from the rows of the table
// asked for. The default chooser answers as a user who takes the first row (single choice, as an
// array of one row) or every row (multiple choice); an unknown table gives nothing chosen.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Dispatch.h"
#include "platform/Variant.h"

namespace krv {

class THostServices : public DispatchObject {
public:
    // request: the 19-element lookup array; rows: the table's rows (0-based array of rows).
    using Chooser = std::function<Variant(const Variant& request, const Variant& rows)>;
    // [ROC-year flag, "YYYYMMDD", database] -> "YYYYMMDD" or "".
    using DayPicker = std::function<std::string(const Variant& request)>;

    THostServices();
    THostServices(const THostServices&) = delete;
    THostServices& operator=(const THostServices&) = delete;

    // The text GetMessage answers for a type letter and a six-digit number.
    void SetMessageText(const std::string& type, const std::string& id, const std::string& text);
    // A system setting GetSysInfo answers; an existing name (ignoring case) is replaced.
    void SetSystemSetting(const std::string& name, const std::string& value);
    // The rows the validator answers for a table, query and key texts (exact match).
    void SetValidatorRows(const std::string& table, const std::string& queryId,
                          const std::vector<std::string>& keys, const Variant& rows);
    // The rows a lookup window offers for a table and kind.
    void SetLookupRows(const std::string& table, const std::string& kind, const Variant& rows);
    void SetChooser(Chooser chooser);
    void SetDayPicker(DayPicker picker);
    void SetPhrase(const std::string& phrase);
    void SetProductID(int productId);
    // Answer of the counter's "ResultConnectString".
    void SetConnectString(const std::string& connectString);
    // Answer of the counter's "SimpleSQL" for a statement (compared trimmed): one value, one row.
    void SetSimpleSqlValue(const std::string& statement, const std::string& value);
    // The description GetFileList answers for a lower-case file name.
    void SetFileDescription(const std::string& lowerCaseFileName, const std::string& description);

    // What the module asked for, for a host that reports it and for tests.
    const std::vector<Variant>& HelpCalls() const;
    int ValidatorProductID() const;
    const Variant& ValidatorBaseLimited() const;

    struct Data;

private:
    std::shared_ptr<Data> data_;
    Variant counter_, validator_, lookup_;
};

// The name a stand-alone build of a job form creates its host services by.
inline constexpr const char* kHostServicesClassName = "VantorWorkCenter.Manager";

// Makes CreateOleObject("VantorWorkCenter.Manager") create a new THostServices in this process.
void RegisterHostServices();

}  // namespace krv
