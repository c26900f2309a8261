// The work file: any bytes are refused with a text or read to a state that writes and reads
// back unchanged; any state the window can hold writes and reads back unchanged, and a
// text with a line break or a NUL is refused as a whole.
#include "fuzz_support.h"
#include "workfile/work_file.h"

namespace {

void anyBytes(const QByteArray &bytes)
{
    WorkState first;
    try {
        first = readWorkFile(bytes);
    } catch (const OpenFault &f) {
        FUZZ_CHECK(!f.text.isEmpty());
        return;
    }
    FUZZ_CHECK(readWorkFile(workFileText(first)) == first);
}

bool singleLineText(const QString &text)
{
    return !text.contains(u'\n') && !text.contains(u'\r') && !text.contains(QChar::Null);
}

void anyState(FuzzedDataProvider &data)
{
    WorkState s;
    bool allSingleLine = true;
    auto text = [&](std::size_t length) {
        QString t = fuzzText(data, length);
        allSingleLine = allSingleLine && singleLineText(t);
        return t;
    };
    for (const WorkControl &c : workControls)
        s.*(c.text) = text(16);
    for (const WorkCounter &c : workCounters)
        s.*(c.warning) = data.ConsumeBool();
    for (const WorkList &l : workLists) {
        ListState &list = s.*(l.list);
        const int n = data.ConsumeIntegralInRange(0, 30);
        for (int i = 0; i < n && data.remaining_bytes() > 0; ++i)
            list.entries << text(32);
        list.selected = data.ConsumeIntegralInRange<int>(-1, int(list.entries.size()) - 1);
    }
    s.image.path = text(40);
    s.image.georeferenced = data.ConsumeBool();

    try {
        FUZZ_CHECK(readWorkFile(workFileText(s)) == s);
        FUZZ_CHECK(allSingleLine);
    } catch (const OpenFault &f) {
        FUZZ_CHECK(!allSingleLine && !f.text.isEmpty());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    if (data.ConsumeIntegral<std::uint8_t>() & 1)
        anyState(data);
    else
        anyBytes(QByteArray::fromStdString(data.ConsumeRemainingBytesAsString()));
    return 0;
}
