#include "TextNumber.h"

#include <limits>

int TextToInteger(const QString& text)
{
    const QString trimmed = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < trimmed.size() && (trimmed[i] == u'-' || trimmed[i] == u'+'))
        negative = trimmed[i++] == u'-';
    long long value = 0;
    for (; i < trimmed.size() && trimmed[i] >= u'0' && trimmed[i] <= u'9'; ++i) {
        value = value * 10 + (trimmed[i].unicode() - u'0');
        if (value > std::numeric_limits<int>::max())
            return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    }
    return int(negative ? -value : value);
}
