#include "text/typed_text.h"

namespace {

bool isControl(QChar c)
{
    return c.unicode() < 0x20 || c.unicode() == 0x7f;
}

} // namespace

QString typedText(QStringView text)
{
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        if (c == u'\t')
            result.append(u' ');
        else if (!isControl(c))
            result.append(c);
    }
    return result;
}

bool isTypedText(QStringView text)
{
    for (QChar c : text) {
        if (isControl(c))
            return false;
    }
    return true;
}
