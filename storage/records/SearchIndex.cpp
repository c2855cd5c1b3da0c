#include "SearchIndex.h"

#include "RecordTable.h"
#include "StorageNames.h"

namespace {

// The text as typed: % and _ are matched as themselves, not as wildcards.
QString ContainsPattern(QString text)
{
    text.replace(u'\\', QStringLiteral("\\\\"));
    text.replace(u'%', QStringLiteral("\\%"));
    text.replace(u'_', QStringLiteral("\\_"));
    return u'%' + text + u'%';
}

} // namespace

namespace SearchIndex {

bool Exists(RecordTable& records)
{
    return records.Store() && records.Store()->SearchIndexExists();
}

bool Ensure(RecordTable& records)
{
    if (Exists(records))
        return true;
    const bool made = records.BeginTransaction() && Create(records) && records.Commit();
    if (!made)
        records.Rollback();
    return made;
}

bool Drop(RecordTable& records)
{
    return records.Store() && records.Store()->DropSearchIndex();
}

bool Create(RecordTable& records)
{
    return records.Store() && records.Store()->CreateSearchIndex();
}

Condition Literal(const QString& column, const QString& text)
{
    return {column + QStringLiteral(" like ? escape '\\'"), {ContainsPattern(text)}};
}

Condition Indexed(const QString& column, const QString& text)
{
    // A trigram needs three characters; a NUL would end the text early in the index's eyes.
    if (text.toUcs4().size() < 3 || text.contains(QChar(0)))
        return Literal(column, text);
    QString phrase = text;
    phrase.replace(u'"', QStringLiteral("\"\""));
    Condition literal = Literal(column, text);
    // The index folds case beyond ASCII and so finds a few rows more; the literal test drops them.
    return {QStringLiteral("ID in (select rowid from 网址索引 where %1 match ?) and ").arg(column) +
                literal.where,
            QVariantList{u'"' + phrase + u'"'} + literal.args};
}

QString AsciiFolded(const QString& column)
{
    return QStringLiteral("translate(%1, 'ABCDEFGHIJKLMNOPQRSTUVWXYZ', 'abcdefghijklmnopqrstuvwxyz')")
        .arg(column);
}

Condition Matching(RecordTable& records, const QString& column, const QString& text)
{
    if (!records.Store())
        return Literal(column, text);
    auto [where, args] = records.Store()->Containing(column, text);
    return {where, args};
}

} // namespace SearchIndex
