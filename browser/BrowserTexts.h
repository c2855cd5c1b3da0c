#pragma once

#include <QString>

// Texts of the built-in browser's windows and messages.
namespace BrowserTexts {
inline const QString Caption = QStringLiteral("Lumo浏览器");
inline const QString AddressLabel = QStringLiteral("地址：");
inline const QString GoButton = QStringLiteral("转到");

inline const QString FileMenu = QStringLiteral("文件(&F)");
inline const QString OpenLocalPage = QStringLiteral("打开本地网页");
inline const QString DocumentMenu = QStringLiteral("文档(&W)");
inline const QString CaptureElement = QStringLiteral("获取鼠标处元素  Ctrl+L");
inline const QString ViewSource = QStringLiteral("查看源文件");
inline const QString FavouritesMenu = QStringLiteral("收藏(&S)");
inline const QString BookmarkAddress = QStringLiteral("收藏地址栏网址");
inline const QString DeleteHistory = QStringLiteral("删除历史记录网址");
inline const QString ToolsMenu = QStringLiteral("工具(&T)");
inline const QString CodeWindow = QStringLiteral("代码窗口");
inline const QString ElementTool = QStringLiteral("元素操作");

inline const QString SavePage = QStringLiteral("保存网页");
inline const QString Home = QStringLiteral("主页");
inline const QString Back = QStringLiteral("后退");
inline const QString Forward = QStringLiteral("前进");
inline const QString Refresh = QStringLiteral("刷新");
inline const QString Stop = QStringLiteral("停止");
inline const QString FullScreen = QStringLiteral("全屏");
inline const QString Edit = QStringLiteral("编辑");
inline const QString WebPageFilter =
    QStringLiteral("网页文档|*.htm;*.html;*.asp|网页，单个文件|*.mhtml;*.mht");
inline const QString SavePageFilter = QStringLiteral("网页，全部|*.html;*.htm|网页，单个文件|*.mhtml;*.mht");
inline const QString PageSaved = QStringLiteral("已保存网页：");
inline const QString CannotSavePage = QStringLiteral("无法保存网页：");

inline const QString HistoryCaption = QStringLiteral("删除历史记录网址");
inline const QString HistoryColumn = QStringLiteral("历史记录网址列表");
inline const QString DeleteButton = QStringLiteral("删除");
inline const QString ClearButton = QStringLiteral("清空");
inline const QString CancelButton = QStringLiteral("取消");
inline const QString SelectHistoryToDelete = QStringLiteral("请在左边列表选择要删除的记录");
inline const QString ConfirmClearHistory = QStringLiteral("确定清空历史记录吗？");

inline const QString SelectBookmarkToOpen = QStringLiteral("请选择欲打开的网址!");
inline const QString NoDefaultBrowser =
    QStringLiteral("无法用默认浏览器打开网页：系统没有设置默认浏览器。可以改用“自带浏览器打开”。");
inline const QString OtherSiteNoLogin = QStringLiteral("打开的网页不属于书签的网站，未自动登录：");
inline const QString LoggedIn = QStringLiteral("已自动登录");
inline const QString PasswordUnavailable = QStringLiteral("密码无法解密，未自动登录");
inline const QString WrongPrimaryPassword = QStringLiteral("主密码不正确，未自动登录");
inline const QString PrimaryPasswordNotGiven = QStringLiteral("没有输入主密码，未自动登录");
inline const QString KeyringWaitCancelled = QStringLiteral("已取消等待系统密钥环，未自动登录");
inline const QString LoginFilled = QStringLiteral("已填写登录信息");
inline const QString LoginFormNotFound = QStringLiteral("未找到登录框，未自动登录");
inline const QString LoginFieldsUnusable =
    QStringLiteral("登录框无法填写（禁用、只读或不是密码框），未自动登录");
inline const QString LoginControlNotFound = QStringLiteral("未找到可用的登录按钮，未提交登录");
inline const QString LoginFieldHidden =
    QStringLiteral("书签记下的登录框是一个看不见、无法输入的输入框，未自动登录");
inline const QString LoginTooLong = QStringLiteral("账号或密码比登录框允许的长度还长，未自动登录");
inline const QString LoginSignUpOnly = QStringLiteral("此页只有注册表单，未自动登录");
inline const QString LoginChangeOnly = QStringLiteral("此页只有修改密码表单，未自动登录");
inline const QString CodeAsked = QStringLiteral("请输入验证码");
inline const QString LoginNotSent = QStringLiteral("已填写登录信息，未看到提交");
inline const QString LoginRefusedByPage = QStringLiteral("网页不接受填写的登录信息，请查看网页上的提示");
inline const QString SaveLoginQuestion = QStringLiteral("是否保存此网站的登录信息？");
inline const QString IntoBookmark = QStringLiteral("，存入书签“%1”");
inline const QString SaveLogin = QStringLiteral("保存");
inline const QString DontSaveLogin = QStringLiteral("不保存");
inline const QString AddBookmarkWithLoginQuestion =
    QStringLiteral("此网站还没有书签，是否添加书签并保存登录信息？");
inline const QString AddBookmarkWithLogin = QStringLiteral("添加书签");
inline const QString DontAddBookmark = QStringLiteral("不添加");
inline const QString LoginSaved = QStringLiteral("已保存登录信息");
inline const QString LoginSaveFailed = QStringLiteral("保存登录信息失败");
inline const QString Loading = QStringLiteral("正在打开… ");
inline const QString LoadingProgress = QStringLiteral("正在打开网页… %1%");
inline const QString PageFailed = QStringLiteral("网页打不开：%1");
inline const QString UntitledPage = QStringLiteral("网页");
inline const QString PageNotOpened = QStringLiteral("网页打不开");
inline const QString PageStopped = QStringLiteral("已停止打开网页");
inline const QString NameNotResolved = QStringLiteral("找不到这个网站（域名无法解析），请检查地址");
inline const QString ConnectionRefused = QStringLiteral("网站拒绝连接");
inline const QString ConnectionTimedOut = QStringLiteral("连接网站超时");
inline const QString NoNetwork = QStringLiteral("没有网络连接");
inline const QString CertificateProblem = QStringLiteral("网站的安全证书有问题");
inline const QString ServerAnsweredError = QStringLiteral("网站答复错误 %1");
inline const QString OtherLoadError = QStringLiteral("错误 %1");
inline const QString LoginPageTimedOut = QStringLiteral("网页加载超时，未自动登录");
} // namespace BrowserTexts
