#include "writers/source_writers.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Entries as presses make them: every one its own string, with varying numbers.
QStringList vtpEntries(int entries)
{
    QStringList list;
    list.reserve(entries);
    for (int i = 0; i < entries; ++i)
        list << QStringLiteral("VTPWidePoint %1, 0, %2, 0")
                    .arg(4080 + i % 8160)
                    .arg(11066 - i % 977);
    return list;
}

QStringList lwmEntries(int entries)
{
    QStringList list;
    list.reserve(entries);
    for (int i = 0; i < entries; ++i)
        list << QStringLiteral("LWMPoint %1, %2").arg(i % 256).arg(i / 256 % 256);
    return list;
}

VtpInputs vtpInputs(int entries)
{
    return {"47",
            "30.50",
            "-122",
            "18.25",
            "123",
            "120",
            "8",
            "5",
            "\"1139\"  ;asphalt / 2 lanes",
            vtpEntries(entries)};
}

LwmInputs lwmInputs(int entries)
{
    return {"47", "30.50", "-122", "18.25", "123", "120", "2", "27", "3", "0", lwmEntries(entries)};
}

void setBytes(benchmark::State &state, qsizetype bytes)
{
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["file_bytes"] = double(bytes);
}

// The whole Create: the source text, then the file replaced as a whole.
void BM_CreateLwm(benchmark::State &state)
{
    QTemporaryDir dir;
    const LwmInputs in = lwmInputs(int(state.range(0)));
    const QString path = lwmSourcePath(dir.path());
    for (auto _ : state)
        writeSourceFile(path, lwmSourceText(in, QLocale::c()));
    setBytes(state, QFile(path).size());
}

void BM_CreateVtp(benchmark::State &state)
{
    QTemporaryDir dir;
    const VtpInputs in = vtpInputs(int(state.range(0)));
    const QString path = vtpSourcePath(dir.path());
    for (auto _ : state)
        writeSourceFile(path, vtpSourceText(in, QLocale::c()));
    setBytes(state, QFile(path).size());
}

// The floor for the two above: the same bytes, prepared beforehand, replacing the file the
// same way (a temporary file, flushed to disk, renamed over the old one).
void rawSave(benchmark::State &state, const QByteArray &bytes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("raw.asm");
    for (auto _ : state) {
        QSaveFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
            state.SkipWithError("the raw write failed");
    }
    setBytes(state, bytes.size());
}

void BM_RawSaveLwm(benchmark::State &state)
{
    rawSave(state, lwmSourceText(lwmInputs(int(state.range(0))), QLocale::c()));
}

void BM_RawSaveVtp(benchmark::State &state)
{
    rawSave(state, vtpSourceText(vtpInputs(int(state.range(0))), QLocale::c()));
}

// A plain overwrite in place, without the flush and rename: how much of the above is the
// safe replacement.
void BM_RawPlainVtp(benchmark::State &state)
{
    QTemporaryDir dir;
    const QByteArray bytes = vtpSourceText(vtpInputs(int(state.range(0))), QLocale::c());
    const QString path = dir.filePath("raw.asm");
    for (auto _ : state) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
            state.SkipWithError("the raw write failed");
    }
    setBytes(state, bytes.size());
}

// The text alone, without any file.
void BM_BuildLwmText(benchmark::State &state)
{
    const LwmInputs in = lwmInputs(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(lwmSourceText(in, QLocale::c()));
}

void BM_BuildVtpText(benchmark::State &state)
{
    const VtpInputs in = vtpInputs(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(vtpSourceText(in, QLocale::c()));
}

#define MARLITH_SIZES                                                                              \
    ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond)->UseRealTime()
BENCHMARK(BM_CreateLwm) MARLITH_SIZES;
BENCHMARK(BM_CreateVtp) MARLITH_SIZES;
BENCHMARK(BM_RawSaveLwm) MARLITH_SIZES;
BENCHMARK(BM_RawSaveVtp) MARLITH_SIZES;
BENCHMARK(BM_RawPlainVtp) MARLITH_SIZES;
BENCHMARK(BM_BuildLwmText) MARLITH_SIZES;
BENCHMARK(BM_BuildVtpText) MARLITH_SIZES;

} // namespace
