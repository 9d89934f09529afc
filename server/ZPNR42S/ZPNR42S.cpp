// Server module of the depreciation job. GetSvrController gives the job object that runs one
// job's argument array; the run is checked and recorded, one line per run, in the file named by
// KRV_SERVER_RUN_LOG (no record when it is unset). The module also serves its class
// "ZPNR42S.Class1" in-process, so that the class can be created by name through the registry.
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/CodePage.h"
#include "platform/ComObj.h"
#include "platform/Dispatch.h"
#include "platform/SysUtils.h"
#include "platform/Variant.h"

namespace krv {
namespace {

// Positions in the two argument layouts: batch jobs (type "B") and all others.
struct ArgLayout {
    int count, jobNumber, company, user, optionValues, database, step, product;
};
constexpr ArgLayout kBatchLayout{7, 0, 1, 2, 3, 4, 5, 6};
constexpr ArgLayout kOtherLayout{12, 0, 2, 3, 5, 4, 8, 9};

[[noreturn]] void Refuse(const std::string& reason) { throw Exception("ZPNR42S: " + reason); }

const ArgLayout& LayoutOf(const Variant& args) {
    if (!args.IsArray() || args.DimCount() != 1) Refuse("the job's arguments are not an array");
    const int count = args.ElementCount();
    if (count == kBatchLayout.count) return kBatchLayout;
    if (count == kOtherLayout.count) return kOtherLayout;
    Refuse("the job's argument array has " + IntToStr(count) + " elements, 7 or 12 expected");
}

std::string Element(const Variant& args, int position) {
    const Variant& value = args[args.LowBound() + position];
    if (value.IsArray() || value.IsDispatch()) Refuse("argument " + IntToStr(position) + " is not a value");
    return VarToStr(value);
}

std::string Timestamp() { return FormatDateTime("yyyy/mm/dd hh:nn:ss", Now()); }

void RecordRun(const std::string& line) {
    const char* file = std::getenv("KRV_SERVER_RUN_LOG");
    if (!file || !*file) return;
    std::ofstream log(file, std::ios::app);
    log << '[' << Timestamp() << "] " << AnsiToUtf8(line) << '\n';
    if (!log) Refuse(std::string("cannot record the run in ") + file);
}

void RunJob(const Variant& args) {
    const ArgLayout& layout = LayoutOf(args);
    const std::string job = Trim(Element(args, layout.jobNumber));
    if (job.empty()) Refuse("no job number");
    const Variant& values = args[args.LowBound() + layout.optionValues];
    if (!values.IsArray()) Refuse("the option values are not an array");
    RecordRun("job " + job + " company " + Element(args, layout.company) + " user " +
              Element(args, layout.user) + " database " + Element(args, layout.database) +
              " step " + Element(args, layout.step) + " product " + Element(args, layout.product) +
              " options " + IntToStr(values.ElementCount()));
}

class TZpnr42Job final : public ISvrController {
public:
    std::u16string Message() override { return message_; }
    void Run(const Variant& args) override {
        message_.clear();
        try {
            RunJob(args);
        } catch (const Exception& e) {
            message_ = AnsiToWide(e.Message());
            throw;
        }
    }
    void Release() override { delete this; }

private:
    std::u16string message_;
};

// The module's class for creation by name: "Execute"(arguments) runs and answers the message.
DispatchPtr NewClassObject() {
    auto object = std::make_shared<DispatchObject>();
    object->RegisterMethod("Execute", [](std::vector<Variant>& args) -> Variant {
        if (args.size() != 1) Refuse("Execute takes the argument array");
        RunJob(args[0]);
        return Variant(std::u16string());
    });
    return object;
}

}  // namespace
}  // namespace krv

extern "C" __attribute__((visibility("default"))) krv::ISvrController* GetSvrController() {
    return new krv::TZpnr42Job();
}

extern "C" __attribute__((visibility("default"))) bool KrvCreateObject(const char* className,
                                                                       krv::DispatchPtr* object) {
    if (!className || !object || !krv::SameText(className, "ZPNR42S.Class1")) return false;
    *object = krv::NewClassObject();
    return true;
}
