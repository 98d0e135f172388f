#pragma once

#include <QSettings>
#include <QString>

#include <utility>
#include <vector>

// The records table as the user's settings store keeps it: section
// "Users Data" of the application named after the executable.
class RecordStore
{
public:
    using Values = std::vector<std::pair<QString, QString>>;

    RecordStore(); // a fresh view of the store: another running copy may have written it

    static QString applicationName();
    static QString nameKey(int index);
    static QString scoreKey(int index);

    QString read(const QString &key) const;
    // Writes the values in their order and commits them in one file replacement.
    bool write(const Values &values);

    QString filePath() const { return m_settings.fileName(); }
    // Beside the store; QSettings takes "<file>.lock" for itself.
    QString lockPath() const;

private:
    QSettings m_settings;
};
