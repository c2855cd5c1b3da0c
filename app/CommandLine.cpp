#include "CommandLine.h"

#include "FailureExplanation.h"

#include "TransferTexts.h"
#include "BookmarkTransfer.h"
#include "DatabaseFile.h"
#include "IniFile.h"
#include "RecordTable.h"
#include "SafeFile.h"
#include "ServerSchema.h"
#include "SingleInstance.h"
#include "StorageNames.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextStream>
#include <QUuid>

#include <cstdio>
#include <cstring>

namespace CommandLine {
namespace {

constexpr int Done = 0;
constexpr int Failed = 1;
constexpr int Misused = 2;

const QString Usage =
    QStringLiteral("用法：qavex [选项]\n"
                   "不带选项时打开 qavex 的窗口。\n"
                   "\n"
                   "  --help           显示本说明\n"
                   "  --version        显示版本\n"
                   "  --export 文件    把全部网址导出到文件（.html 为网页书签文件，其他为“|”分隔的文本）\n"
                   "  --import 文件    从文件导入网址（同上两种格式；已收藏的网址跳过）\n"
                   "  --check          检查 qavex.mdb 是否完好\n"
                   "\n"
                   "退出状态：0 成功，1 失败，2 参数错误。\n");

void Say(FILE* stream, const QString& text)
{
    const QByteArray bytes = (text + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

int Fail(const QString& text)
{
    Say(stderr, text);
    return Failed;
}

IniFile SettingsOf(const QString& programDirectory)
{
    return IniFile(QDir(programDirectory).filePath(SettingsFileName));
}

// The collection's database as it is; nothing is created or migrated here but by an import.
bool OpenExisting(RecordTable& database, const QString& programDirectory, QString& problem)
{
    // Where the user chose, never the local file in its place.
    if (ServerChosen(SettingsOf(programDirectory))) {
        if (ServerSchema::OpenChosen(database, SettingsOf(programDirectory)))
            return true;
        problem = FailureExplanation::Server(TransferTexts::CannotReachServer, database.LastError());
        return false;
    }
    const QString path = DatabasePath(programDirectory);
    if (!QFile::exists(path)) {
        problem = TransferTexts::NoCollection + QDir::toNativeSeparators(path);
        return false;
    }
    if (!IsSqliteFile(path) || !database.Open(path) ||
        !database.HasColumns(Tables::Bookmarks,
                             {Columns::Name, Columns::Address, Columns::Category, Columns::Remark})) {
        problem = TransferTexts::NotOurDatabase + QDir::toNativeSeparators(path);
        return false;
    }
    return true;
}

int Export(const QString& file, const QString& programDirectory)
{
    RecordTable database;
    QString problem;
    if (!OpenExisting(database, programDirectory, problem))
        return Fail(problem);
    const BookmarkTransfer::Exported exported = BookmarkTransfer::Export(database, file);
    if (exported.failed)
        return Fail(TransferTexts::CannotReadBookmarks);
    if (!WriteFileSafely(file, exported.bytes))
        return Fail(TransferTexts::CannotWriteFile + QDir::toNativeSeparators(file));
    Say(stdout, TransferTexts::Exported.arg(exported.count));
    return Done;
}

int Import(const QString& file, const QString& programDirectory)
{
    // Held while the import runs: a window started meanwhile waits its turn rather than write beside it.
    SingleInstance instance(programDirectory);
    if (!instance.HoldCollection() && instance.HeldElsewhere())
        return Fail(TransferTexts::CollectionInUse);
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        return Fail(TransferTexts::CannotReadFile + QDir::toNativeSeparators(file));
    const BookmarkHtmlFile::Contents contents = BookmarkTransfer::Parse(file, input.readAll());

    RecordTable database;
    const IniFile settings = SettingsOf(programDirectory);
    if (ServerChosen(settings)) {
        if (!ServerSchema::OpenChosen(database, settings))
            return Fail(FailureExplanation::Server(TransferTexts::CannotReachServer, database.LastError()));
    } else {
        const DatabaseState state = PrepareDatabase(database, programDirectory, settings);
        if (state == DatabaseState::NotADatabase || state == DatabaseState::UnreadableLegacy ||
            state == DatabaseState::Failed)
            return Fail(TransferTexts::NotOurDatabase +
                        QDir::toNativeSeparators(DatabasePath(programDirectory)));
    }
    const BookmarkTransfer::Result result = BookmarkTransfer::Store(database, contents.lines);
    if (!result.stored)
        return Fail(TransferTexts::AddFailed);
    Say(stdout, BookmarkTransfer::Report(result, contents.notPages, contents.skipped));
    return result.refused > 0 || result.categoriesRefused > 0 ? Failed : Done;
}

int Check(const QString& programDirectory)
{
    RecordTable database;
    QString problem;
    if (!OpenExisting(database, programDirectory, problem))
        return Fail(problem);
    database.Close();
    // Read only: a running window may be writing it.
    const QString connection = QUuid::createUuid().toString();
    QStringList findings;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(DatabasePath(programDirectory));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("pragma integrity_check"))) {
                while (query.next())
                    findings.append(query.value(0).toString());
            }
        }
    }
    QSqlDatabase::removeDatabase(connection);
    const QString path = QDir::toNativeSeparators(DatabasePath(programDirectory));
    if (findings != QStringList{QStringLiteral("ok")})
        return Fail(TransferTexts::DatabaseDamaged + path + u'\n' + findings.join(u'\n'));
    Say(stdout, TransferTexts::DatabaseSound + path);
    return Done;
}

} // namespace

bool AsksForVerb(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--", 2) == 0)
            return true;
    }
    return false;
}

int Run(const QStringList& arguments, const QString& programDirectory)
{
    const QString verb = arguments.value(0);
    const bool takesFile = verb == QStringLiteral("--export") || verb == QStringLiteral("--import");
    if (arguments.size() != (takesFile ? 2 : 1) || (takesFile && arguments[1].isEmpty())) {
        Say(stderr,
            (verb.isEmpty() ? QString() : TransferTexts::WrongArguments + arguments.join(u' ') + u'\n') +
                Usage);
        return Misused;
    }
    if (verb == QStringLiteral("--help")) {
        Say(stdout, Usage);
        return Done;
    }
    if (verb == QStringLiteral("--version")) {
        Say(stdout, QStringLiteral("qavex " QAVEX_VERSION));
        return Done;
    }
    if (verb == QStringLiteral("--export"))
        return Export(arguments[1], programDirectory);
    if (verb == QStringLiteral("--import"))
        return Import(arguments[1], programDirectory);
    if (verb == QStringLiteral("--check"))
        return Check(programDirectory);
    Say(stderr, TransferTexts::WrongArguments + arguments.join(u' ') + u'\n' + Usage);
    return Misused;
}

} // namespace CommandLine
