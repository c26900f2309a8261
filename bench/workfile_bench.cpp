// Save and Open of a work file, and Open of a VTPSource.asm, against the list length.
#include "work_states.h"
#include "workfile/opening.h"
#include "workfile/work_file.h"

#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void setBytes(benchmark::State &state, qsizetype bytes)
{
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["file_bytes"] = double(bytes);
}

void BM_SaveWorkFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("work.marlith");
    const WorkState s = bench::filledState(int(state.range(0)));
    for (auto _ : state) {
        if (!saveWorkFile(path, s).isEmpty())
            state.SkipWithError("the save failed");
    }
    setBytes(state, workFileText(s).size());
}

// The floor for Save: the same bytes, prepared beforehand, replacing the file the same way.
void BM_RawSaveWorkFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("raw.marlith");
    const QByteArray bytes = workFileText(bench::filledState(int(state.range(0))));
    for (auto _ : state) {
        QSaveFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
            state.SkipWithError("the raw write failed");
    }
    setBytes(state, bytes.size());
}

void BM_OpenWorkFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("work.marlith");
    const WorkState s = bench::filledState(int(state.range(0)));
    if (!saveWorkFile(path, s).isEmpty())
        state.SkipWithError("the save failed");
    for (auto _ : state)
        benchmark::DoNotOptimize(openFile(path, WorkState(), QLocale::c()));
}

void BM_OpenVtpSource(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("VTPSource.asm");
    WorkState s = bench::filledState(int(state.range(0)) - 4);
    s.vtpCounter = "40"; // the writer's count is a byte
    writeSourceFile(path, vtpSourceText(vtpInputs(s), QLocale::c()));
    for (auto _ : state)
        benchmark::DoNotOptimize(openFile(path, s, QLocale::c()));
}

#define MARLITH_SIZES ->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()
BENCHMARK(BM_SaveWorkFile) MARLITH_SIZES;
BENCHMARK(BM_RawSaveWorkFile) MARLITH_SIZES;
BENCHMARK(BM_OpenWorkFile) MARLITH_SIZES;
BENCHMARK(BM_OpenVtpSource) MARLITH_SIZES;

} // namespace
