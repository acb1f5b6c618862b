// The main of the benchmarks of the core: Google Benchmark's, with the data folder pointed away from
// the real home for the whole run.
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    // Nothing measured reads the data folder, but keep any stray lookup out of the real home.
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
