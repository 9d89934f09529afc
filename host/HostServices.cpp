#include "host/HostServices.h"

#include <utility>

#include "platform/ComObj.h"
#include "platform/SysUtils.h"

namespace krv {

namespace {

struct MessageDefault {
    const char* type;
    const char* id;
    const char* text;
};

// The texts of the messages the job forms report, as the host's message table holds them.
constexpr MessageDefault kMessages[] = {
    {"E", "000001", "资料不存在! %s"},
    {"E", "000005", "执行时间设定错误! %s"},
    {"E", "000006", "无法连接应用服务器!"},
    {"E", "000013", "作业提交失败! %s"},
    {"E", "000030", "选项条件设定错误! %s"},
    {"E", "000036", "程序代号与作业不符!"},
    {"E", "000037", "必要栏位不可空白!"},
    {"E", "000038", "传入参数不足!"},
    {"E", "100007", "单据性质不存在!"},
    {"I", "000003", "没有可处理的选项条件! %s"},
    {"I", "000004", "作业已提交, 作业编号: %s"},
    {"I", "000008", "请重新输入或按[F2]查询"},
    {"I", "000009", "请检查执行日期与时间"},
    {"I", "000010", "是否正确!"},
    {"I", "000011", "请检查选项条件"},
    {"W", "000002", "%s 应有 %s 项, 现为 %s 项!"},
    {"W", "000003", "%s 共 %s 项, 第 %s 项未设定!"},
    {"W", "000004", "资料不存在! %s"},
    {"W", "000014", "预设条件的栏位名称不正确!"},
    {"R", "200235", "方案内容无法还原!"},
};

constexpr const char* kProgramCode = "ZPNR42";
constexpr const char* kProgramName = "自动摊提折旧作业";
constexpr const char* kDefaultDocumentType = "ZA1";

std::string MessageKey(const std::string& type, const std::string& id) {
    return UpperCase(Trim(type)) + ";" + Trim(id);
}

// Keys as texts: a key array gives one text per element, a scalar one text.
std::vector<std::string> KeyTexts(const Variant& keys) {
    std::vector<std::string> texts;
    if (!keys.IsArray()) {
        texts.push_back(VarToStr(keys));
        return texts;
    }
    for (const Variant& key : keys.Elements()) texts.push_back(key.IsArray() ? std::string() : VarToStr(key));
    return texts;
}

std::string TableKey(const std::string& table, const std::string& kind,
                      const std::vector<std::string>& keys) {
    std::string key = UpperCase(table) + '\x01' + kind;
    for (const std::string& part : keys) key += '\x01' + part;
    return key;
}

Variant Rows(std::initializer_list<Variant> rows) { return VarArrayOf(rows); }

Variant ChooseLikeAUser(const Variant& request, const Variant& rows) {
    if (!VarIsNonEmptyArray(rows)) return {};
    const bool multiple = request.IsArray() && request.ElementCount() > 3 && request[request.LowBound() + 3].AsBoolean();
    return multiple ? rows : VarArrayOf({rows[rows.LowBound()]});
}

std::string AcceptProposedDay(const Variant& request) {
    return request.IsArray() && request.ElementCount() > 1 ? VarToStr(request[1]) : std::string();
}

[[noreturn]] void RaiseBadCall(const std::string& method, const std::string& reason) {
    throw EOleException(method + ": " + reason);
}

Variant& Arg(std::vector<Variant>& args, size_t index, const char* method) {
    if (index >= args.size()) RaiseBadCall(method, "argument " + IntToStr(int64_t(index) + 1) + " is missing");
    return args[index];
}

// The first element of a one-element array argument ([file name], [module, key] ...).
const Variant& ArrayElement(const Variant& array, int index, const char* method) {
    if (!array.IsArray() || array.ElementCount() <= index)
        RaiseBadCall(method, "an array of at least " + IntToStr(index + 1) + " elements is expected");
    return array[array.LowBound() + index];
}

}  // namespace

struct THostServices::Data {
    std::map<std::string, std::string> messages;               // key: "TYPE;id"
    std::vector<std::pair<std::string, std::string>> settings; // in the order GetSysInfo lists them
    std::map<std::string, Variant> validatorRows;              // key: TableKey
    std::map<std::string, Variant> lookupRows;                 // key: TableKey without keys
    std::map<std::string, std::string> simpleSql;              // key: trimmed statement
    std::map<std::string, std::string> fileDescriptions;
    Chooser chooser = ChooseLikeAUser;
    DayPicker dayPicker = AcceptProposedDay;
    std::string phrase, connectString;
    int productId = 1;
    int validatorProductId = 0;
    Variant validatorBaseLimited;
    std::vector<Variant> helpCalls;

    void SetSetting(const std::string& name, const std::string& value) {
        for (auto& [known, current] : settings)
            if (SameText(known, name)) {
                current = value;
                return;
            }
        settings.emplace_back(name, value);
    }

    Variant SysInfo() const {
        Variant info = VarArrayCreate(0, 1, 0, int(settings.size()) - 1);
        for (size_t i = 0; i < settings.size(); ++i) {
            info.At(0, int(i)) = settings[i].first;
            info.At(1, int(i)) = settings[i].second;
        }
        return info;
    }

    const Variant* FindValidatorRows(const Variant& table, const Variant& queryId,
                                     const Variant& keys) const {
        const auto found = validatorRows.find(TableKey(VarToStr(table), VarToStr(queryId), KeyTexts(keys)));
        return found == validatorRows.end() || !VarIsNonEmptyArray(found->second) ? nullptr : &found->second;
    }
};

namespace {

void LoadDefaults(THostServices::Data& data) {
    for (const MessageDefault& message : kMessages) data.messages[MessageKey(message.type, message.id)] = message.text;
    for (const auto& [name, value] : std::initializer_list<std::pair<const char*, const char*>>{
             {"Sys001", "1"}, {"Sys002", "/"}, {"SYS007", ""}, {"SYS008", ""}, {"SYS009", ""},
             {"SYS010", ""}, {"sys087", "Y"}, {"KRV002", "示范公司"}})
        data.SetSetting(name, value);
    // Program master rows: "01" [name, code, module, type, log flag, -, -, English name];
    // "11" [code, name, type, direct runs forbidden].
    data.validatorRows[TableKey("ADMMB", "01", {kProgramCode})] =
        Rows({VarArrayOf({kProgramName, kProgramCode, "ZPN", "B", "N", "", "", "Automatic depreciation"})});
    data.validatorRows[TableKey("ADMMB", "11", {kProgramCode})] =
        Rows({VarArrayOf({kProgramCode, kProgramName, "B", "N"})});
    // Default document type of the depreciation voucher, and its name.
    data.validatorRows[TableKey("ASTME", "01", {""})] = Rows({VarArrayOf({"", kDefaultDocumentType})});
    data.validatorRows[TableKey("CMSMQ", "02", {kDefaultDocumentType, "C6"})] =
        Rows({VarArrayOf({"折旧凭证", kDefaultDocumentType})});
    data.lookupRows[TableKey("ASTMA", "01", {})] =
        Rows({VarArrayOf({"A01", "房屋及建筑物"}), VarArrayOf({"A02", "机器设备"}), VarArrayOf({"A03", "运输设备"})});
    data.lookupRows[TableKey("ASTMB", "01", {})] =
        Rows({VarArrayOf({"0001", "办公大楼"}), VarArrayOf({"0002", "冲压机"}), VarArrayOf({"0003", "货车"})});
    data.lookupRows[TableKey("CMSMQ", "02", {})] = Rows({VarArrayOf({kDefaultDocumentType, "折旧凭证"})});
    data.lookupRows[TableKey("KRVMA", "04", {})] =
        Rows({VarArrayOf({"DS", "系统管理员", "", ""})});
    data.simpleSql["SELECT MA003 FROM KRVINTMA WHERE MA001='StartupPortal'"] = "N";
    data.simpleSql["SELECT MA003 FROM KRVINTMA WHERE MA001='Portal WS'"] = "";
}

using DataPtr = std::shared_ptr<THostServices::Data>;

Variant NewCounter(const DataPtr& data) {
    auto counter = std::make_shared<DispatchObject>();
    counter->RegisterMethod("GetSysInfo", [data](std::vector<Variant>& args) {
        Arg(args, 0, "GetSysInfo");
        return data->SysInfo();
    });
    counter->RegisterMethod("GetCounter", [data](std::vector<Variant>& args) -> Variant {
        const std::string name = UpperCase(VarToStr(Arg(args, 0, "GetCounter")));
        if (name == "RESULTCONNECTSTRING") return data->connectString;
        if (name == "SIMPLESQL") {
            const std::string statement = Trim(VarToStr(ArrayElement(Arg(args, 1, "GetCounter"), 0, "GetCounter")));
            const auto found = data->simpleSql.find(statement);
            if (found == data->simpleSql.end()) return VarArrayCreate(0, -1);
            return VarArrayOf({VarArrayOf({found->second})});
        }
        RaiseBadCall("GetCounter", "no counter named \"" + name + "\"");
    });
    return Variant(DispatchPtr(counter));
}

Variant NewValidator(const DataPtr& data) {
    auto validator = std::make_shared<DispatchObject>();
    validator->RegisterProperty(
        "ProductID", [data] { return Variant(data->validatorProductId); },
        [data](const Variant& value) { data->validatorProductId = value.AsInteger(); });
    validator->RegisterProperty(
        "BaseLimited", [data] { return data->validatorBaseLimited; },
        [data](const Variant& value) { data->validatorBaseLimited = value; });
    // QueryData answers every row, CheckValue the first: (var table, var query id, var database,
    // var keys, var result).
    for (const bool allRows : {true, false}) {
        const char* method = allRows ? "QueryData" : "CheckValue";
        validator->RegisterMethod(method, [data, allRows, method](std::vector<Variant>& args) {
            Variant& result = Arg(args, 4, method);
            const Variant* rows = data->FindValidatorRows(args[0], args[1], args[3]);
            result = rows ? (allRows ? *rows : (*rows)[rows->LowBound()]) : Variant();
            return Variant(rows != nullptr);
        });
    }
    return Variant(DispatchPtr(validator));
}

Variant NewLookup(const DataPtr& data) {
    auto lookup = std::make_shared<DispatchObject>();
    lookup->RegisterMethod("F2GetData", [data](std::vector<Variant>& args) {
        const Variant& request = Arg(args, 0, "F2GetData");
        const std::string table = VarToStr(ArrayElement(request, 0, "F2GetData"));
        const std::string kind = VarToStr(ArrayElement(request, 1, "F2GetData"));
        const auto found = data->lookupRows.find(TableKey(table, kind, {}));
        return data->chooser(request, found == data->lookupRows.end() ? Variant() : found->second);
    });
    lookup->RegisterMethod("ShowInputDay", [data](std::vector<Variant>& args) {
        return Variant(data->dayPicker(Arg(args, 0, "ShowInputDay")));
    });
    lookup->RegisterMethod("GetPhrase", [data](std::vector<Variant>& args) {
        Arg(args, 2, "GetPhrase");
        return Variant(data->phrase);
    });
    return Variant(DispatchPtr(lookup));
}

}  // namespace

THostServices::THostServices()
    : data_(std::make_shared<Data>()),
      counter_(NewCounter(data_)),
      validator_(NewValidator(data_)),
      lookup_(NewLookup(data_)) {
    LoadDefaults(*data_);
    RegisterMethod("GetMessage", [this](std::vector<Variant>& args) -> Variant {
        const std::string type = VarToStr(Arg(args, 0, "GetMessage"));
        const std::string id = VarToStr(Arg(args, 1, "GetMessage"));
        const auto found = data_->messages.find(MessageKey(type, id));
        if (found != data_->messages.end()) return found->second;
        return "讯息未定义: " + Trim(type) + ";" + Trim(id);
    });
    RegisterMethod("CallHelp", [this](std::vector<Variant>& args) {
        data_->helpCalls.push_back(Arg(args, 0, "CallHelp"));
        return Variant();
    });
    RegisterProperty("ProductID", [this] { return Variant(data_->productId); });
    RegisterProperty("Com_Counter", [this] { return counter_; });
    RegisterProperty("Com_Validator", [this] { return validator_; });
    RegisterProperty("Com_F2Window", [this] { return lookup_; });
    RegisterMethod("GetFileList", [this](std::vector<Variant>& args) -> Variant {
        const std::string name = VarToStr(ArrayElement(Arg(args, 0, "GetFileList"), 0, "GetFileList"));
        const auto found = data_->fileDescriptions.find(name);
        return found == data_->fileDescriptions.end() ? std::string() : found->second;
    });
}

void THostServices::SetMessageText(const std::string& type, const std::string& id,
                                   const std::string& text) {
    data_->messages[MessageKey(type, id)] = text;
}

void THostServices::SetSystemSetting(const std::string& name, const std::string& value) {
    data_->SetSetting(name, value);
}

void THostServices::SetValidatorRows(const std::string& table, const std::string& queryId,
                                     const std::vector<std::string>& keys, const Variant& rows) {
    data_->validatorRows[TableKey(table, queryId, keys)] = rows;
}

void THostServices::SetLookupRows(const std::string& table, const std::string& kind,
                                  const Variant& rows) {
    data_->lookupRows[TableKey(table, kind, {})] = rows;
}

void THostServices::SetChooser(Chooser chooser) { data_->chooser = std::move(chooser); }
void THostServices::SetDayPicker(DayPicker picker) { data_->dayPicker = std::move(picker); }
void THostServices::SetPhrase(const std::string& phrase) { data_->phrase = phrase; }
void THostServices::SetProductID(int productId) { data_->productId = productId; }
void THostServices::SetConnectString(const std::string& connectString) {
    data_->connectString = connectString;
}
void THostServices::SetSimpleSqlValue(const std::string& statement, const std::string& value) {
    data_->simpleSql[Trim(statement)] = value;
}
void THostServices::SetFileDescription(const std::string& lowerCaseFileName,
                                       const std::string& description) {
    data_->fileDescriptions[lowerCaseFileName] = description;
}

const std::vector<Variant>& THostServices::HelpCalls() const { return data_->helpCalls; }
int THostServices::ValidatorProductID() const { return data_->validatorProductId; }
const Variant& THostServices::ValidatorBaseLimited() const { return data_->validatorBaseLimited; }

void RegisterHostServices() {
    RegisterComObjectFactory(kHostServicesClassName, [] { return std::make_shared<THostServices>(); });
}

}  // namespace krv
