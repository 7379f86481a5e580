// Commit of the patch command's 15 values into hives of growing size, against copying the same
// hive with a flush (the least any safe rewrite of the file must cost).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <map>
#include <memory>
#include <vector>

#include "app/registry/WineHiveStore.hpp"
#include "tests/registry/TestHive.hpp"

namespace {

namespace fs = std::filesystem;
using registry::StringWrite;

// Hive sizes by benchmark argument: 0 is the hive wineboot writes (25 KB).
std::string HiveOfSize(std::int64_t bytes) {
    return bytes == 0 ? registry::test::WinebootHive()
                      : registry::test::LargeHive(static_cast<std::size_t>(bytes));
}

struct Prefix {
    registry::test::TempDir dir;
    fs::path path = dir.Path() / "prefix";
};

Prefix& PrefixFor(std::int64_t bytes) {
    static std::map<std::int64_t, std::unique_ptr<Prefix>> prefixes;
    auto& prefix = prefixes[bytes];
    if (!prefix) {
        prefix = std::make_unique<Prefix>();
        registry::test::MakePrefix(prefix->path, HiveOfSize(bytes));
    }
    return *prefix;
}

std::vector<StringWrite> PatchCommandWrites() {
    std::vector<StringWrite> writes = {
        {u"Software\\Yahoo\\Pager\\View\\YMSGR_Overview", u"Display Bmp", u""},
        {u"Software\\Yahoo\\Pager\\View\\YMSGR_AddressBook", u"Display Bmp", u""},
    };
    for (const char16_t* name :
         {u"Chat Adurl", u"Conf Adurl", u"Webcam Viewer Ad", u"Webcam Viewer Ad Big",
          u"Webcam Viewer Ad Medium", u"Webcam Upload Ad", u"Change Room Banner",
          u"Personals Alert Ad URL", u"News Alert Ad URL", u"Mail Alert Ad URL",
          u"IMVironment Ad URL", u"Calendar Alert Ad URL", u"Finance Disclaimer"}) {
        writes.push_back({u"Software\\Yahoo\\Pager\\yurl", name, u"C:\\Program Files\\noad.gif"});
    }
    return writes;
}

void BM_CommitPatchValues(benchmark::State& state) {
    Prefix& prefix = PrefixFor(state.range(0));
    registry::WineHiveStore store(prefix.path);
    const auto writes = PatchCommandWrites();
    for (auto _ : state) {
        const registry::Result result = store.Apply(writes);
        if (!result) state.SkipWithError(result.Message().c_str());
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(fs::file_size(store.HivePath())));
}

void BM_CopyHiveWithFlush(benchmark::State& state) {
    Prefix& prefix = PrefixFor(state.range(0));
    const fs::path source = prefix.path / "user.reg";
    const fs::path target = prefix.dir.Path() / "copy.reg";
    std::vector<char> buffer(1 << 16);
    for (auto _ : state) {
        const int in = open(source.c_str(), O_RDONLY);
        const int out = open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        for (ssize_t got; (got = read(in, buffer.data(), buffer.size())) > 0;) {
            if (write(out, buffer.data(), static_cast<std::size_t>(got)) != got) {
                state.SkipWithError("write failed");
            }
        }
        fsync(out);
        close(out);
        close(in);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fs::file_size(source)));
}

void HiveSizes(benchmark::internal::Benchmark* bench) {
    bench->Arg(0)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_CommitPatchValues)->Apply(HiveSizes);
BENCHMARK(BM_CopyHiveWithFlush)->Apply(HiveSizes);

}  // namespace

BENCHMARK_MAIN();
