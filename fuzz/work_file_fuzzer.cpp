// The work file: any bytes are refused with a text or read to a work that writes and reads
// back unchanged, and that Open, if it takes it, takes again once saved; any work writes and
// reads back with its texts under the rule for typed text; and whatever a session can save,
// Open accepts.
#include "fuzz_support.h"
#include "session/session.h"
#include "text/runtime_error.h"
#include "text/typed_text.h"
#include "workfile/opening.h"
#include "workfile/work_file.h"

#include <QJsonDocument>

namespace {

constexpr QString WorkState::*texts[] = {
    &WorkState::latDeg,     &WorkState::latMin,     &WorkState::longDeg,    &WorkState::longMin,
    &WorkState::altitude,   &WorkState::lineType,   &WorkState::vtpWidth,   &WorkState::layer,
    &WorkState::lwmCounter, &WorkState::vtpCounter, &WorkState::latDecimal, &WorkState::lngDecimal,
    &WorkState::cellX,      &WorkState::cellY,      &WorkState::areaX,      &WorkState::areaY,
};

void anyBytes(const QByteArray &bytes, const QLocale &locale)
{
    WorkState first;
    try {
        first = readWorkFile(bytes);
    } catch (const OpenFault &f) {
        FUZZ_CHECK(!f.text.isEmpty());
        return;
    }
    FUZZ_CHECK(readWorkFile(workFileText(first)) == first);
    // What Open takes, with its checks of the captions against the coordinates, it takes
    // again once saved.
    Opened opened;
    try {
        opened = openBytes(bytes, QStringLiteral("w.marlith"), WorkState(), locale);
    } catch (const OpenFault &f) {
        FUZZ_CHECK(!f.text.isEmpty());
        return;
    }
    FUZZ_CHECK(opened.kind == OpenedKind::WorkFile && opened.state == first);
    try {
        FUZZ_CHECK(
            openBytes(workFileText(opened.state), QStringLiteral("w.marlith"), WorkState(), locale)
                .state
            == first);
    } catch (const OpenFault &f) {
        std::fprintf(stderr, "refused once saved: %s\n", qPrintable(f.text));
        FUZZ_CHECK(false);
    }
}

void anyWork(FuzzedDataProvider &data)
{
    WorkState s, typed;
    for (QString WorkState::*t : texts) {
        s.*t = fuzzText(data, 16);
        typed.*t = typedText(s.*t);
    }
    for (ListState WorkState::*l : {&WorkState::lwm, &WorkState::vtp}) {
        const int n = data.ConsumeIntegralInRange(0, 30);
        for (int i = 0; i < n && data.remaining_bytes() > 0; ++i) {
            (s.*l).entries << fuzzText(data, 32);
            (typed.*l).entries << typedText((s.*l).entries.last());
        }
        (s.*l).selected = (typed.*l).selected =
            data.ConsumeIntegralInRange<int>(-1, int((s.*l).entries.size()) - 1);
    }
    s.image = typed.image = {typedText(fuzzText(data, 40)), data.ConsumeBool(), {}};
    typed.calculatedFrom = s.calculatedFrom;
    const QByteArray text = workFileText(s);
    FUZZ_CHECK(readWorkFile(text) == typed);
    // The lists are put together beside Qt's text of the rest: the bytes must be Qt's own.
    FUZZ_CHECK(QJsonDocument::fromJson(text).toJson(QJsonDocument::Indented) == text);
}

// Typed coordinates, a Calculate (which may stop at a run-time error), and more typing after
// it: the work saved must open again as it was.
void savedWorkOpens(FuzzedDataProvider &data)
{
    Session session(QString{});
    const QLocale locale = data.ConsumeBool() ? QLocale::c() : QLocale(QLocale::German);
    session.setLocale(locale);
    const Field coordinates[] = {Field::LatDeg, Field::LatMin, Field::LongDeg, Field::LongMin};
    for (Field f : coordinates)
        session.setText(f, fuzzText(data, 12));
    try {
        session.calculate();
    } catch (const RuntimeError &) {
    }
    if (data.ConsumeBool())
        session.setText(coordinates[data.ConsumeIntegralInRange(0, 3)], fuzzText(data, 12));
    const QByteArray saved = workFileText(session.work());
    try {
        FUZZ_CHECK(openBytes(saved, QStringLiteral("w.marlith"), WorkState(), locale).state
                   == session.work());
    } catch (const OpenFault &f) {
        std::fprintf(stderr, "refused: %s\n", qPrintable(f.text));
        FUZZ_CHECK(false);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const std::uint8_t mode = data.ConsumeIntegral<std::uint8_t>();
    switch (mode % 3) {
    case 0:
        anyWork(data);
        break;
    case 1:
        savedWorkOpens(data);
        break;
    default:
        anyBytes(QByteArray::fromStdString(data.ConsumeRemainingBytesAsString()),
                 mode / 3 % 2 ? QLocale(QLocale::German) : QLocale::c());
    }
    return 0;
}
