// Start-up loading of the parameter groups and saving one group: both run
// on the window thread, so they must stay far below a frame.

#include "common/AppDir.h"
#include "machine/DefaultInstall.h"
#include "machine/ParameterStore.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <random>

namespace {

namespace fs = std::filesystem;

// A freshly installed application folder in the temporary directory.
class Folder {
public:
    Folder() {
        std::random_device rd;
        m_root = fs::temp_directory_path() / ("korvel-params-bench-" + std::to_string(rd()));
        korvel::machine::InstallDefaults(korvel::common::AppDir(m_root), KORVEL_RESOURCES_DIR);
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }
    korvel::common::AppDir appDir() const { return korvel::common::AppDir(m_root); }

private:
    fs::path m_root;
};

void BM_LoadAtStartup(benchmark::State& state) {
    Folder folder;
    korvel::machine::ParameterSet params;
    korvel::machine::ParameterTables tables;
    korvel::machine::ParameterStore store(folder.appDir(), params, tables);
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.LoadAtStartup());
    }
}
BENCHMARK(BM_LoadAtStartup);

void BM_SaveSysPara(benchmark::State& state) {
    Folder folder;
    korvel::machine::ParameterSet params;
    korvel::machine::ParameterTables tables;
    korvel::machine::ParameterStore store(folder.appDir(), params, tables);
    store.LoadAtStartup();
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.SaveSysPara(0, true));
    }
}
BENCHMARK(BM_SaveSysPara);

} // namespace
