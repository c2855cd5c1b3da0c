#pragma once

#include "TransferTexts.h"

#include <QString>
#include <QStringList>

#include <array>

// Texts of the bookmark manager's windows and messages.
namespace BookmarkTexts {
// The texts of moving bookmarks in and out are the window's too.
using namespace TransferTexts;

inline const QString DesignCaption = QStringLiteral("网址收藏");
inline const std::array<QString, 4> ListColumns = {QStringLiteral("网站名称"), QStringLiteral("地址"),
                                                   QStringLiteral("分类"), QStringLiteral("备注")};
inline const QString CategoryListLabel = QStringLiteral("分类列表：");
inline const QString NameLabel = QStringLiteral("网站名：");
inline const QString AddressLabel = QStringLiteral("地址：");
inline const QString RemarkLabel = QStringLiteral("备注：");
inline const QString CategoryLabel = QStringLiteral("分类：");
inline const QString AddButton = QStringLiteral("添加");
inline const QString ModifyButton = QStringLiteral("修改");
inline const QString AdvancedButton = QStringLiteral("高级");

inline const QString OperationsMenu = QStringLiteral("操作");
inline const QString OpenWebPage = QStringLiteral("打开网页");
inline const QString OpenInBuiltInBrowser = QStringLiteral("自带浏览器打开");
inline const QString ExportData = QStringLiteral("导出数据");
inline const QString ImportData = QStringLiteral("导入数据");
inline const QString ChangeCategory = QStringLiteral("修改分类");
inline const QString DeleteBookmarks = QStringLiteral("删除网址");
inline const QString ClearData = QStringLiteral("清空数据");
inline const QString FindInNames = QStringLiteral("在名称中查找...");
inline const QString FindInAddresses = QStringLiteral("在地址中查找...");
inline const QString AppearanceSettings = QStringLiteral("设置外观...");
inline const QString PasswordProtectionItem = QStringLiteral("密码保护...");
inline const QString DatabaseLocationItem = QStringLiteral("数据库位置...");
inline const QString UseBuiltInBrowser = QStringLiteral("使用自带浏览器");
inline const QString CategoryMenu = QStringLiteral("分类");
inline const QString RenameCategory = QStringLiteral("重命名");
inline const QString DeleteCategory = QStringLiteral("删除");

inline const QString ShowAll = QStringLiteral("显示全部");
inline const QString DefaultCategory = QStringLiteral("软件下载");
inline const QString DefaultRemark = QStringLiteral("精品软件下载站");

inline const QString ErrorTitle = QStringLiteral("错误：");
inline const QString QuestionTitle = QStringLiteral("询问");
inline const QString CannotOpenDatabase = QStringLiteral("无法打开数据库文件：");
inline const QString MissingFields = QStringLiteral("请输入网站名称、地址和分类！");
inline const QString AlreadyBookmarked = QStringLiteral("此网址已经收藏过");
inline const QString SelectRecordToModify = QStringLiteral("请选择要修改的记录");
inline const QString NameAndAddressRequired = QStringLiteral("网址名称和网页地址不能为空");
inline const QString ModifyFailed = QStringLiteral("修改失败");
inline const QString SelectBookmarksToDelete = QStringLiteral("请选择要删除的网址!");
inline const QString ConfirmDelete = QStringLiteral("确定删除选定网址吗？");
inline const QString AddTip = QStringLiteral("把填写的网站名、地址和分类存为新书签（Ctrl+N）");
inline const QString ModifyTip = QStringLiteral("用填写的内容更新选中的书签");
inline const QString AdvancedTip = QStringLiteral("填写选中网站的登录账号和密码，打开时自动登录");
inline const QString ListTip =
    QStringLiteral("双击或按回车打开网页；右键单击打开菜单：导入、导出、查找、删除（Delete）等");
inline const QString EmptyListHint =
    QStringLiteral("这里还没有网址。\n\n在下面填写网站名、地址和分类，按“添加”（Ctrl+N）；\n"
                   "或右键单击这里，选择“导入数据”或“从浏览器导入...”。");
inline const QString ListHint =
    QStringLiteral("双击网址打开网页，选中后在下面修改。\n右键单击打开“操作”菜单：导入、导出、修改分类、删除、查找……\n"
                   "右键单击右边的分类列表可以重命名或删除分类。");
inline const QString ConfirmClear = QStringLiteral("确定清空网址数据吗？");
inline const QString ClearWhatGoes =
    QStringLiteral("全部 %1 个网址和所有分类将被删除。清空前的收藏会保存在 %2，需要时可以从那里找回。");
inline const QString DeleteFailed = QStringLiteral("删除网址失败，网址未全部删除");
inline const QString ClearFailed = QStringLiteral("清空数据失败，数据未改变");
inline const QString BackupFailed = QStringLiteral("无法备份数据库（qavex.mdb.bak），数据未清空");
inline const QString ServerBackupFailed =
    QStringLiteral("无法把服务器上的收藏备份到本机（qavex-server.mdb.bak），数据未清空");

// Categories
inline const QString SelectCategoryToRename = QStringLiteral("请选择要重命名的分类");
inline const QString NewCategoryPrompt = QStringLiteral("输入新分类名称：");
inline const QString SelectCategoryToDelete = QStringLiteral("请选择要删除的分类");
inline const QString ConfirmDeleteCategory = QStringLiteral("确定删除此分类吗？");
inline const QString CategoryBookmarksGoToo = QStringLiteral("此分类中的 %1 个网址将一起删除。");
inline const QString RenameCategoryFailed = QStringLiteral("重命名分类失败，分类未改变");
inline const QString DeleteCategoryFailed = QStringLiteral("删除分类失败，分类未改变");
inline const QString MoveFailed = QStringLiteral("修改分类失败，网址未全部移动");
inline const QString QuestionTitleColon = QStringLiteral("询问：");
inline const QString SelectRecordsToMove = QStringLiteral("请选择修改分类的的记录！");
inline const QString ChangeCategoryCaption = QStringLiteral("修改分类");
inline const QString ChooseNewCategory = QStringLiteral("选择新分类：");
inline const QString ChooseCategory = QStringLiteral("选择分类：");
inline const QString OkButton = QStringLiteral("确定");
inline const QString CancelButton = QStringLiteral("取消");

// Search
inline const QString FindNamePrompt = QStringLiteral("输入要查找的网页名称。可为名称部分内容。");
inline const QString FindAddressPrompt = QStringLiteral("输入要查找的网址。可为网址部分内容。");
inline const QString NoMatches = QStringLiteral("没有找到符合条件的网址");

// Import and export
inline const QString SaveTitle = QStringLiteral("保存");
inline const QString TextFileFilter = QStringLiteral("文本文件(*.txt)|*.txt");
inline const QString ExportFilter = QStringLiteral("文本文件(*.txt)|*.txt|网页书签文件(*.html)|*.html");
inline const QString ImportFilter =
    QStringLiteral("文本文件(*.txt)|*.txt|网页书签文件(*.htm;*.html)|*.htm;*.html|旧版数据库(*.mdb)|*.mdb");
inline const QString ImportFromBrowsers = QStringLiteral("从浏览器导入...");
inline const QString BrowserImportCaption = QStringLiteral("从浏览器导入");
inline const QString ChooseBrowsers = QStringLiteral("选择要导入其书签的浏览器：");
inline const QString ProfileEntry = QStringLiteral("%1（%2 个书签）");
inline const QString ImportButton = QStringLiteral("导入");
inline const QString NoBrowserBookmarks = QStringLiteral("没有在本机找到浏览器的书签");
inline const QString ReadingBrowserBookmarks = QStringLiteral("正在读取浏览器的书签……");
inline const QString BrowserProfileUnreadable =
    QStringLiteral("无法读取 %1 的书签（不是浏览器书签库的样子，或太大、读取太久），没有导入。");
inline const QString LegacyMigrated = QStringLiteral("已导入旧版数据库：");
inline const QString LegacyMerged =
    QStringLiteral("已合并旧版数据库：网址 %1 个，分类 %2 个，历史地址 %3 个");
inline const QString NotALegacyDatabase = QStringLiteral("不是可读取的旧版数据库文件：");
inline const QString CollectionCopied =
    QStringLiteral("程序目录 %1 不能写入，其中的收藏已复制到 %2，以后在那里保存。");
inline const QString CollectionAnswersNot = QStringLiteral(
    "这个收藏已在另一个 qavex 窗口中打开，但它没有响应。请切换到那个窗口，或等它结束后再启动。");
inline const QString InstanceCheckFailed =
    QStringLiteral("无法确认这个收藏是否已在另一个 qavex 中打开（%1）。请不要同时运行两个 qavex。");
inline const QString NothingToExport = QStringLiteral("没有可导出的网址");
inline const QString BookmarkGone = QStringLiteral("此网址已被删除");
inline const QString CannotReadList = QStringLiteral("无法读取网址列表");

// Appearance dialog
inline const QString AppearanceCaption = QStringLiteral("外观设置");
inline const QString BookmarkListGroup = QStringLiteral("地址列表框");
inline const QString TextColorLabel = QStringLiteral("文本颜色：");
inline const QString TextBackColorLabel = QStringLiteral("字体背景颜色：");
inline const QString BackColorLabel = QStringLiteral("背景颜色：");
inline const QString FontNameLabel = QStringLiteral("字体名称：");
inline const QString FontSizeLabel = QStringLiteral("字体大小：");
inline const QString CategoryListGroup = QStringLiteral("分类列表框");
inline const QString FontColorLabel = QStringLiteral("字体颜色：");
inline const QString WindowSizeLabel = QStringLiteral("窗口：宽        高       ");
inline const QStringList FontNames = {QStringLiteral("方正姚体"),    QStringLiteral("仿宋_GB2312"),
                                      QStringLiteral("黑体"),        QStringLiteral("华文新魏"),
                                      QStringLiteral("楷体_GB2312"), QStringLiteral("隶书"),
                                      QStringLiteral("宋体"),        QStringLiteral("宋体_PUA"),
                                      QStringLiteral("新宋体"),      QStringLiteral("幼圆")};
inline const QString SizeNotWhole = QStringLiteral("窗口的宽和高必须是整数。");
inline const QString SizeTooSmall = QStringLiteral("窗口的宽不能小于 %1，高不能小于 %2。");

// Account dialog
inline const QString AccountCaption = QStringLiteral("添加新网站账号信息");
inline const QString NameField = QStringLiteral("名称：");
inline const QString SiteAddressField = QStringLiteral("网站地址：");
inline const QString AccountField = QStringLiteral("帐号：");
inline const QString PasswordField = QStringLiteral("密码：");
inline const QString AccountIdField = QStringLiteral("账号标识：");
inline const QString PasswordIdField = QStringLiteral("密码标识：");
inline const QString IdTypeField = QStringLiteral("标识类型：");
inline const QString ButtonIdField = QStringLiteral("按钮标识：");
inline const QString ControlTypeField = QStringLiteral("控件类型：");
inline const QStringList IdTypes = {QStringLiteral("0、ID"), QStringLiteral("1、名称"),
                                    QStringLiteral("2、标题"), QStringLiteral("3、索引"),
                                    QStringLiteral("4、地址")};
inline const QString ButtonControl = QStringLiteral("按钮");
inline const QString LinkControl = QStringLiteral("链接");
inline const QString ShowPassword = QStringLiteral("显示");
// Short: the password box is 90 pixels wide.
inline const QString PasswordLocked = QStringLiteral("未解锁");
inline const QString AccountAndPasswordRequired =
    QStringLiteral("请输入帐号和密码。如果是邮箱账号，不要填后缀。");
inline const QString ModifySucceeded = QStringLiteral("修改成功");

// The 密码保护 dialog.
inline const QString PasswordProtectionCaption = QStringLiteral("密码保护");
inline const QString PasswordProtectionQuestion = QStringLiteral("网址的密码在数据库中如何保存：");
inline const QString NoProtection = QStringLiteral("不保护");
inline const QString NoProtectionDetail = QStringLiteral("密码以明文保存，得到数据库文件的人都能读到。");
inline const QString KeyringProtection = QStringLiteral("系统密钥环");
inline const QString KeyringProtectionDetail =
    QStringLiteral("密码加密保存，密钥存在本机桌面的密钥环中，登录桌面即可使用，无需输入。");
inline const QString PrimaryPasswordProtection = QStringLiteral("主密码");
inline const QString PrimaryPasswordDetail =
    QStringLiteral("密码加密保存，每次运行第一次用到密码时输入主密码；数据库文件复制到别处也可用主密码打开。"
                   "忘记主密码就无法再取得已保存的密码。");
inline const QString NewPrimaryPasswordField = QStringLiteral("主密码：");
inline const QString ConfirmPrimaryPasswordField = QStringLiteral("确认主密码：");
inline const QString ChangePrimaryPasswordHint = QStringLiteral("填写新的主密码即更改主密码；留空则不更改。");
inline const QString PrimaryPasswordMissing = QStringLiteral("请输入主密码");
inline const QString PrimaryPasswordsDiffer = QStringLiteral("两次输入的主密码不一致");
inline const QString ProtectionChanged = QStringLiteral("密码保护已改为“%1”。");
inline const QString ProtectionBackupFailed = QStringLiteral("无法备份数据库（%1），密码保护没有更改");
inline const QString ProtectionBackupRenewed = QStringLiteral("备份（%1）已按新的密码保护重新制作。");
inline const QString ProtectionBackupRemoved =
    QStringLiteral("无法重新制作备份，旧的备份（%1）含有未加密的密码，已删除。");
inline const QString ProtectionBackupStale = QStringLiteral("无法重新制作备份（%1），它仍是更改前的数据。");

// Long work.
inline const QString ProgressTitle = QStringLiteral("请稍候");
inline const QString ImportingBookmarks = QStringLiteral("正在导入网址……");
inline const QString ReadingLegacyDatabase = QStringLiteral("正在读取旧版数据库……");
inline const QString ExportingBookmarks = QStringLiteral("正在导出网址……");
inline const QString IndexingBookmarks = QStringLiteral("第一次查找，正在为全部网址建立索引……");
inline const QString ImportCancelled = QStringLiteral("已取消导入，没有导入任何网址。");
inline const QString ExportCancelled = QStringLiteral("已取消导出，没有写入文件。");

// Where the collection lives.
inline const QString DatabaseLocationCaption = QStringLiteral("数据库位置");
inline const QString DatabaseLocationQuestion = QStringLiteral("收藏保存在：");
inline const QString LocalFileLocation = QStringLiteral("本机文件");
inline const QString LocalFileDetail = QStringLiteral("qavex.mdb，只在这台电脑上。");
inline const QString ServerLocation = QStringLiteral("PostgreSQL 服务器");
inline const QString ServerDetail =
    QStringLiteral("几台电脑共用一个收藏，别处的修改一秒内显示出来。登录密码必须用主密码保护。");
inline const QString ServerHostField = QStringLiteral("主机：");
inline const QString ServerPortField = QStringLiteral("端口：");
inline const QString ServerDatabaseField = QStringLiteral("数据库：");
inline const QString ServerUserField = QStringLiteral("用户：");
inline const QString ServerPasswordField = QStringLiteral("密码：");
inline const QString ServerPasswordNote =
    QStringLiteral("密码存入系统密钥环，不写入 qavex.ini；留空则使用 ~/.pgpass。");
inline const QString TestConnectionButton = QStringLiteral("测试连接");
inline const QString ConnectingToServer = QStringLiteral("正在连接服务器……");
inline const QString WaitingForKeyring = QStringLiteral("正在等待系统密钥环……");
inline const QString MissingServerFields = QStringLiteral("请填写主机、数据库和用户");
inline const QString ImportLostServer =
    QStringLiteral("与数据库服务器的连接中断，没有导入任何网址。请检查网络连接和服务器，然后再导入。");
inline const QString ServerHoldsCollection = QStringLiteral("连接成功。服务器上已有收藏，共 %1 个网址。");
inline const QString ServerIsEmpty = QStringLiteral("连接成功。服务器上的数据库是空的。");
inline const QString ServerHoldsOtherTables =
    QStringLiteral("连接成功，但这个数据库中已有别的表，不能用来保存收藏。请选择一个空的数据库。");
inline const QString OfferCopyUp =
    QStringLiteral("服务器上的数据库是空的。把本机的收藏（%1 个网址）复制到服务器上吗？\n本机文件保持不变。");
inline const QString CopyUpNeedsPrimaryPassword =
    QStringLiteral("本机收藏中有登录密码。服务器上的密码必须用主密码保护：请先在“操作 → "
                   "密码保护...”中选择“主密码”，再复制。");
inline const QString CopyingUp = QStringLiteral("正在把收藏复制到服务器……");
inline const QString CopiedUp = QStringLiteral("已复制到服务器：%1 个网址，%2 个分类，%3 条历史地址。");
inline const QString CopiedUpRepeated =
    QStringLiteral("\n%1 个地址重复的网址没有复制（服务器上每个地址只存一次）。");
inline const QString CopyUpFailed = QStringLiteral("无法把收藏复制到服务器上，服务器上什么也没有写入");
inline const QString CannotMakeServerTables = QStringLiteral("无法在服务器上建立收藏的表");
inline const QString NowOnServer = QStringLiteral("收藏现在保存在 %1。");
inline const QString NowInLocalFile = QStringLiteral("收藏现在保存在本机文件 %1。");
inline const QString CannotWriteLocation = QStringLiteral("无法写入 qavex.ini，数据库位置没有更改。");

} // namespace BookmarkTexts
