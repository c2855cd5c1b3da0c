#include "FailureExplanation.h"

#include <QRegularExpression>

#include <array>

namespace {

struct Reason {
    const char* pattern; // in the library's message, case-insensitive
    const char16_t* cause;
    const char16_t* advice;
};

// Ordered: the first match wins, so narrower patterns come before wider ones.
const std::array ServerReasons{
    Reason{"password authentication failed|authentication failed", u"用户名或密码不正确",
           u"请检查“用户”和“密码”。"},
    Reason{"no password supplied", u"服务器要求密码，但没有提供", u"请填写“密码”，或把密码写入 ~/.pgpass。"},
    Reason{"no pg_hba\\.conf entry", u"服务器不允许从这台电脑连接",
           u"请服务器的管理员在 pg_hba.conf 中允许这台电脑和这个用户。"},
    Reason{"permission denied|must be owner", u"这个用户没有所需的权限",
           u"请服务器的管理员授予这个用户在该数据库中建表和读写的权限。"},
    Reason{"role [\"“][^\n]*does not exist", u"服务器上没有这个用户", u"请检查“用户”。"},
    Reason{"database [\"“][^\n]*does not exist", u"服务器上没有这个数据库",
           u"请检查“数据库”，或请管理员建立它。"},
    Reason{"could not translate host name|name or service not known|temporary failure in name resolution",
           u"找不到这个主机", u"请检查“主机”的拼写和网络连接。"},
    Reason{"connection refused", u"服务器拒绝连接", u"请确认服务器已经启动，“主机”和“端口”填写正确。"},
    Reason{"timeout|timed out", u"服务器没有及时回应", u"请检查网络连接，或稍后再试。"},
    Reason{
        "server closed the connection|terminating connection|no connection to the server|connection to "
        "server was lost|broken pipe|connection reset|could not receive data|could not send data|ssl syscall",
        u"与服务器的连接中断了", u"请检查网络连接和服务器，然后再试。"},
    Reason{"ssl", u"无法建立加密连接", u"请检查服务器的 SSL 设置。"},
    Reason{"too many connections|remaining connection slots", u"服务器的连接数已满",
           u"请稍后再试，或请管理员增加允许的连接数。"},
    Reason{"no space left|disk full", u"服务器的磁盘已满", u"请服务器的管理员腾出空间。"},
    // Our own word for a connection the user gave up waiting for.
    Reason{"连接已取消", u"连接已取消", u"稍后再操作时会重新连接服务器。"},
};

const std::array KeyringReasons{
    // The advice depends on what was being done; the caller gives it.
    Reason{"denied|cancel|dismissed", u"没有得到使用系统密钥环的许可", u""},
    Reason{"timeout", u"系统密钥环没有回应", u""},
    Reason{"locked", u"系统密钥环已锁定", u""},
};

const Reason* Match(const auto& reasons, const QString& message)
{
    for (const Reason& reason : reasons)
        if (message.contains(QRegularExpression(QString::fromUtf8(reason.pattern),
                                                QRegularExpression::CaseInsensitiveOption)))
            return &reason;
    return nullptr;
}

QString Keyring(const QString& what, const QString& message, const QString& advice)
{
    const Reason* reason = Match(KeyringReasons, message);
    const QString cause = reason ? QString::fromUtf16(reason->cause) : QStringLiteral("系统密钥环不可用");
    return FailureExplanation::WithDetail(what + u'：' + cause + u'。' + advice, message);
}

} // namespace

namespace FailureExplanation {

QString WithDetail(const QString& what, const QString& detail)
{
    const QString trimmed = detail.trimmed();
    return trimmed.isEmpty() ? what : what + QStringLiteral("\n\n详细信息：") + trimmed;
}

QString Server(const QString& what, const QString& serverMessage)
{
    const Reason* reason = Match(ServerReasons, serverMessage);
    const QString cause =
        reason ? QString::fromUtf16(reason->cause) : QStringLiteral("服务器没有接受连接或请求");
    const QString advice =
        reason ? QString::fromUtf16(reason->advice)
               : QStringLiteral("请检查主机、端口、数据库、用户和密码，以及服务器是否已经启动。");
    // Our own words (a look given up) need no detail after them.
    return WithDetail(what + u'：' + cause + u'。' + advice,
                      serverMessage == cause ? QString() : serverMessage);
}

QString KeyringRead(const QString& keyringMessage)
{
    return Keyring(QStringLiteral("无法从系统密钥环取得密码的密钥"), keyringMessage,
                   QStringLiteral("请启动并解锁系统密钥环（如 GNOME 密钥环或 KWallet）后再试。"));
}

QString KeyringWrite(const QString& keyringMessage)
{
    return Keyring(
        QStringLiteral("无法把密码的密钥存入系统密钥环"), keyringMessage,
        QStringLiteral("可改用主密码保护，或启动并解锁系统密钥环（如 GNOME 密钥环或 KWallet）后再试。"));
}

QString KeyringServerPassword(const QString& keyringMessage)
{
    return Keyring(QStringLiteral("无法把服务器密码存入系统密钥环"), keyringMessage,
                   QStringLiteral("可把“密码”留空，改把密码写入 ~/.pgpass，或启动并解锁系统密钥环后再试。"));
}

} // namespace FailureExplanation
