#pragma once

#include <QString>

// One row of table 网址. 地址 is the key: every lookup, update and delete selects by it.
struct BookmarkRecord {
    QString name;
    QString address;
    QString category;
    QString remark;
    QString account;
    QString password;
    QString accountId;
    QString passwordId;
    QString idType;
    QString buttonId;
    QString buttonIdType;
    QString controlType;
};
