#include "source_writers.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

VtpInputs vtpInputs(int entries)
{
    return {"47", "30.50", "-122", "18.25", "123", "120", "8", "5", "\"1139\"  ;asphalt / 2 lanes",
            QStringList(entries, QStringLiteral("VTPWidePoint 4602, 0, 11066, 0"))};
}

LwmInputs lwmInputs(int entries)
{
    return {"47", "30.50", "-122", "18.25", "123", "120", "2", "27", "3", "0",
            QStringList(entries, QStringLiteral("LWMPoint 120, 101"))};
}

void BM_CreateLwm(benchmark::State &state)
{
    QTemporaryDir dir;
    const LwmInputs in = lwmInputs(int(state.range(0)));
    const QString path = LWMFilePath(dir.path());
    for (auto _ : state)
        writeSourceFile(path, lwmSourceText(in, QLocale::c()));
}

void BM_CreateVtp(benchmark::State &state)
{
    QTemporaryDir dir;
    const VtpInputs in = vtpInputs(int(state.range(0)));
    const QString path = VTPFilePath(dir.path());
    for (auto _ : state)
        writeSourceFile(path, vtpSourceText(in, QLocale::c()));
}

// The same number of bytes written straight to a file, the floor for the two above.
void BM_RawWrite(benchmark::State &state)
{
    QTemporaryDir dir;
    const QByteArray bytes = vtpSourceText(vtpInputs(int(state.range(0))), QLocale::c());
    const QString path = dir.filePath("raw.asm");
    for (auto _ : state) {
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
    }
}

BENCHMARK(BM_CreateLwm)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CreateVtp)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RawWrite)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace

namespace {
void BM_BuildVtpText(benchmark::State &state)
{
    const VtpInputs in = vtpInputs(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(vtpSourceText(in, QLocale::c()));
}
BENCHMARK(BM_BuildVtpText)->Arg(100000)->Unit(benchmark::kMicrosecond);
} // namespace
