#pragma once

#include "SettingsKeys.h"

#include <QString>

// qavex.ini with the semantics of Windows private profiles: section and key names match without
// regard to ASCII case, the first match wins, and a write keeps every other line of the file.
// Each call goes to the file; nothing is cached, so two windows never see different values.
class IniFile {
public:
    explicit IniFile(QString path = {});

    const QString& Path() const { return m_path; }
    void SetPath(const QString& path) { m_path = path; }

    QString Read(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    QString Read(const SettingKey& key) const { return Read(key.section, key.key, key.defaultValue); }

    // Replaces the file atomically; false when it cannot be written (the old file then stays).
    bool Write(const QString& section, const QString& key, const QString& value) const;
    bool Write(const SettingKey& key, const QString& value) const
    {
        return Write(key.section, key.key, value);
    }

private:
    QString m_path;
};
