#include "recordstore.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
const QString Organization = QStringLiteral("Tarvel");
const QString Section = QStringLiteral("Users Data");
}

RecordStore::RecordStore()
    : m_settings(QSettings::NativeFormat, QSettings::UserScope, Organization, applicationName())
{
    m_settings.beginGroup(Section);
}

QString RecordStore::applicationName()
{
    // A renamed executable keeps a table of its own.
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString RecordStore::nameKey(int index)
{
    return QStringLiteral("User %1 ").arg(index);
}

QString RecordStore::scoreKey(int index)
{
    return QStringLiteral("Data %1 ").arg(index);
}

QString RecordStore::read(const QString &key) const
{
    return m_settings.value(key).toString();
}

bool RecordStore::write(const Values &values)
{
    for (const auto &[key, value] : values)
        m_settings.setValue(key, value);
    // Qt keeps unsaved values in its cache, so only the status after sync tells the truth.
    m_settings.sync();
    return m_settings.status() == QSettings::NoError;
}

QString RecordStore::lockPath() const
{
    const QFileInfo file(filePath());
    return file.absolutePath() + QLatin1Char('/') + file.completeBaseName() + QStringLiteral(".records.lock");
}
