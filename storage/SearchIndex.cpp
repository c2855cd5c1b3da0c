#include "SearchIndex.h"

#include "RecordTable.h"
#include "StorageNames.h"

namespace {

const QString IndexTable = QStringLiteral("网址索引");
const QString Triggers[] = {QStringLiteral("网址索引_插入"), QStringLiteral("网址索引_删除"),
                            QStringLiteral("网址索引_修改")};

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
    if (records.IsServer())
        return true;
    return records.HasColumns(IndexTable, {Columns::Name, Columns::Address});
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
    if (records.IsServer())
        return true;
    for (const QString& trigger : Triggers)
        if (!records.DropTrigger(trigger))
            return false;
    return records.DropTable(IndexTable);
}

bool Create(RecordTable& records)
{
    if (records.IsServer())
        return true;
    const QString columns = Columns::Name + u',' + Columns::Address;
    const QString newValues = QStringLiteral("new.ID, new.名称, new.地址");
    const QString oldValues = QStringLiteral("'delete', old.ID, old.名称, old.地址");
    const QString insertNew =
        QStringLiteral("insert into 网址索引(rowid, %1) values (%2);").arg(columns, newValues);
    const QString deleteOld =
        QStringLiteral("insert into 网址索引(网址索引, rowid, %1) values (%2);").arg(columns, oldValues);
    return records.CreateVirtualTable(IndexTable,
                                      QStringLiteral("fts5(%1, content='网址', content_rowid='ID', "
                                                     "tokenize='trigram')")
                                          .arg(columns)) &&
           records.CreateTrigger(Triggers[0], QStringLiteral("after insert on 网址"), insertNew) &&
           records.CreateTrigger(Triggers[1], QStringLiteral("after delete on 网址"), deleteOld) &&
           records.CreateTrigger(Triggers[2], QStringLiteral("after update of ID, 名称, 地址 on 网址"),
                                 deleteOld + insertNew) &&
           records.Insert(IndexTable, IndexTable, {QStringLiteral("rebuild")});
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
    if (!records.IsServer())
        return Exists(records) ? Indexed(column, text) : Literal(column, text);
    // The server's LIKE tells case apart everywhere: both sides are folded for ASCII only, and the
    // trigram index holds the folded column.
    QString folded = text;
    for (QChar& c : folded) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return {AsciiFolded(column) + QStringLiteral(" like ? escape '\\'"), {ContainsPattern(folded)}};
}

} // namespace SearchIndex
