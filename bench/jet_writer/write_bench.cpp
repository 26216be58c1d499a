// How long the fixture writer takes for the 200,000-record benchmark table, in memory and
// to a file. Run by hand: build/bench/jet_writer/bench_jet_writer
#include <benchmark/benchmark.h>

#include <filesystem>

#include "jet/writer/database_writer.h"
#include "jet/writer/fixtures.h"

namespace {

using namespace kavero::jet::writer;

void writeBenchTableInMemory(benchmark::State& state) {
    const Database db = fixture("bench").build();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::vector<std::uint8_t> file = buildDatabase(db);
        bytes = file.size();
        benchmark::DoNotOptimize(file.data());
    }
    state.counters["records"] = static_cast<double>(db.tables.front().rowCount());
    state.counters["MiB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * db.tables.front().rowCount()));
}
BENCHMARK(writeBenchTableInMemory)->Unit(benchmark::kMillisecond);

void writeBenchTableToFile(benchmark::State& state) {
    const Database db = fixture("bench").build();
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "kavero_bench_writer.mdb";
    for (auto _ : state) writeDatabase(db, file);
    std::filesystem::remove(file);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * db.tables.front().rowCount()));
}
BENCHMARK(writeBenchTableToFile)->Unit(benchmark::kMillisecond);

void writeSampleShop(benchmark::State& state) {
    const Database db = shopDatabase();
    for (auto _ : state) benchmark::DoNotOptimize(buildDatabase(db).data());
}
BENCHMARK(writeSampleShop)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
