// Throughput of GB to BIG5 conversion through the conversion library, and of a message lookup in a
// large language package (read and parsed again for every message, as the forms ask for them).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/LangCommon.h"
#include "runtime/TranslatorU.h"

namespace {

// A caption-sized text and a long one, both mixing Chinese and ASCII as the forms do.
const std::string kCaption = "自动摊提折旧作业";
std::string LongText() {
    std::string text;
    while (text.size() < 64 * 1024) text += "处理完毕! 折旧年月 2024/12, 资产类别 A01 至 Z99; ";
    return text;
}

void GbToBig5(benchmark::State& state, const std::string& text) {
    krv::TTranslator translator;
    for (auto _ : state) benchmark::DoNotOptimize(translator.GbToBig5(text));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK_CAPTURE(GbToBig5, Caption, kCaption);
BENCHMARK_CAPTURE(GbToBig5, Text64K, LongText());

// A package of `messages` messages and as many component elements.
class Package {
public:
    explicit Package(int messages) {
        char pattern[] = "/tmp/krvbenchXXXXXX";
        home_ = std::string(mkdtemp(pattern)) + "/";
        std::filesystem::create_directories(home_ + "MultiLanguage/CHS");
        std::ofstream out(home_ + "MultiLanguage/CHS/TfrmBench.Lng", std::ios::binary);
        out << "<?xml version=\"1.0\" encoding=\"GB2312\"?>\n<TfrmBench Caption=\"自动摊提折旧作业\">\n";
        for (int i = 0; i < messages; ++i) {
            out << "  <btn" << i << " Caption=\"按钮" << i << "\" Hint=\"提示 " << i << "\"/>\n";
            out << "  <sMsg" << i << " Msg=\"第 " << i << " 条讯息: 处理完毕!\"/>\n";
        }
        out << "</TfrmBench>\n";
    }
    ~Package() { std::filesystem::remove_all(home_); }
    const std::string& Home() const { return home_; }

private:
    std::string home_;
};

void ReadLangMessage(benchmark::State& state) {
    const int messages = static_cast<int>(state.range(0));
    Package package(messages);
    krv::TLangSettings settings;
    settings.HomeFolder = package.Home();
    krv::SetLangSettingsReader([settings](krv::TDesignType) { return settings; });
    const std::string last = "sMsg" + std::to_string(messages - 1);  // the worst case: found at the end
    for (auto _ : state) benchmark::DoNotOptimize(krv::ReadLangMessage(false, "TfrmBench", last, "default"));
    krv::SetLangSettingsReader(nullptr);
    state.SetItemsProcessed(state.iterations());
    state.counters["package_bytes"] =
        static_cast<double>(std::filesystem::file_size(package.Home() + "MultiLanguage/CHS/TfrmBench.Lng"));
}
BENCHMARK(ReadLangMessage)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
