#pragma once

#include <QPointer>
#include <QString>

class FrmPass;
class QWidget;
class RecordsTable;

// Clearing the records table behind the access password.
class Passwords
{
public:
    Passwords(RecordsTable &records, QWidget *window);
    ~Passwords();
    Q_DISABLE_COPY_MOVE(Passwords)

    QString AccessPassword;

    void OpenPasswordForm(const QString &prompt, const QString &caption);
    void ClosePasswordForm();
    void CheckPasswordAndClear();

    FrmPass *form() const;

private:
    RecordsTable &m_records;
    QWidget *m_window; // whose caption titles the error box
    QPointer<FrmPass> m_form;
};
