#pragma once

#include "recordstable.h"
#include "recordstore.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

// Points the real settings store at a fresh temporary directory.
class TemporaryStore
{
public:
    TemporaryStore()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    }

    // A directory that cannot be created: it would lie below a regular file.
    void makeUnwritable()
    {
        QFile blocker(m_dir.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, blocker.fileName() + QStringLiteral("/config"));
    }

    static QString value(const QString &key)
    {
        return RecordStore().read(key);
    }

    static void set(const QString &key, const QString &value)
    {
        RecordStore().write({ { key, value } });
    }

    static void remove(const QString &key)
    {
        QSettings settings(RecordStore().filePath(), QSettings::NativeFormat);
        settings.remove(QStringLiteral("Users Data/") + key);
    }

    static void writeTable(const QStringList &names, const QList<float> &scores, const QLocale &locale = QLocale::c())
    {
        RecordStore::Values values;
        for (int i = 0; i < RecordCount; ++i) {
            values.emplace_back(RecordStore::nameKey(i), names.value(i, QStringLiteral("Entry %1").arg(i)));
            QLocale plain = locale;
            plain.setNumberOptions(QLocale::OmitGroupSeparator);
            values.emplace_back(RecordStore::scoreKey(i), plain.toString(double(scores.value(i, 0)), 'g', 7));
        }
        RecordStore().write(values);
    }

private:
    QTemporaryDir m_dir;
};

// Keeps what the records table shows, as the main window's labels would.
class RecordingDisplay : public RecordsDisplay
{
public:
    void showRecords(const QString &placesAndNames, const QString &scores) override
    {
        names = placesAndNames;
        this->scores = scores;
        ++shown;
    }
    void saveFailed() override { ++failedSaves; }

    QString names;
    QString scores;
    int shown = 0;
    int failedSaves = 0;
};
