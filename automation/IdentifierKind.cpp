#include "IdentifierKind.h"

std::optional<IdentifierKind> KindFromStoredDigit(const QString& digit)
{
    static const IdentifierKind kinds[] = {IdentifierKind::ById, IdentifierKind::ByName,
                                           IdentifierKind::ByTitle, IdentifierKind::ByIndex,
                                           IdentifierKind::ByAddress};
    bool ok = false;
    const int position = digit.toInt(&ok);
    if (!ok || position < 0 || position > 4)
        return std::nullopt;
    return kinds[position];
}
