#pragma once

#include <QString>

// Every key of qavex.ini with the value a read yields when the key is absent.
struct SettingKey {
    QString section;
    QString key;
    QString defaultValue; // null: no default, an absent key reads as the empty text
};

inline const QString SettingsFileName = QStringLiteral("qavex.ini");

namespace Settings {
inline const QString AppearanceSection = QStringLiteral("外观");
inline const QString RecordSection = QStringLiteral("记录");
inline const QString OptionSection = QStringLiteral("设置");

inline const SettingKey TextColor{AppearanceSection, QStringLiteral("文本颜色"), QStringLiteral("8388608")};
inline const SettingKey TextBackColor{AppearanceSection, QStringLiteral("文本背景色"),
                                      QStringLiteral("16777215")};
inline const SettingKey BackColor{AppearanceSection, QStringLiteral("背景颜色"), QStringLiteral("16777215")};
inline const SettingKey FontName{AppearanceSection, QStringLiteral("字体名称"), {}};
inline const SettingKey FontSize{AppearanceSection, QStringLiteral("字体大小"), {}};
inline const SettingKey Width{AppearanceSection, QStringLiteral("宽度"), QStringLiteral("520")};
inline const SettingKey Height{AppearanceSection, QStringLiteral("高框"), QStringLiteral("574")};
inline const SettingKey CategoryTextColor{AppearanceSection, QStringLiteral("分类文本颜色"),
                                          QStringLiteral("16711680")};
inline const SettingKey CategoryBackColor{AppearanceSection, QStringLiteral("分类背景颜色"),
                                          QStringLiteral("15527148")};
inline const SettingKey CategoryFontName{AppearanceSection, QStringLiteral("分类字体名称"), {}};
inline const SettingKey CategoryFontSize{AppearanceSection, QStringLiteral("分类字体大小"), {}};

inline const SettingKey CurrentCategory{RecordSection, QStringLiteral("当前分类"), QStringLiteral("-1")};
inline const SettingKey LastBrowserAddress{RecordSection, QStringLiteral("IE地址"), {}};

inline const SettingKey BuiltInBrowser{OptionSection, QStringLiteral("自带浏览器"), {}};

// Where the collection lives: the local file, or a PostgreSQL server (its password is not here).
inline const QString DatabaseSection = QStringLiteral("数据库");
inline const QString LocalLocation = QStringLiteral("本机文件");
inline const QString ServerLocation = QStringLiteral("PostgreSQL 服务器");
inline const SettingKey DatabaseLocation{DatabaseSection, QStringLiteral("位置"), LocalLocation};
inline const SettingKey ServerHost{DatabaseSection, QStringLiteral("主机"), {}};
inline const SettingKey ServerPort{DatabaseSection, QStringLiteral("端口"), QStringLiteral("5432")};
inline const SettingKey ServerDatabase{DatabaseSection, QStringLiteral("数据库名"), {}};
inline const SettingKey ServerUser{DatabaseSection, QStringLiteral("用户名"), {}};
// 真: the server's password is in the desktop's keyring; otherwise libpq finds it (~/.pgpass).
inline const SettingKey ServerPasswordInKeyring{DatabaseSection, QStringLiteral("密码在密钥环"), {}};

// The text form of a true logical; every other value reads as false.
inline const QString TrueText = QStringLiteral("真");
inline const QString FalseText = QStringLiteral("假");
} // namespace Settings
