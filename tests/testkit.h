#pragma once
// What the test suites share: a store in a temporary directory, a display and
// a view that record what they are shown, answers to modal boxes, the main window.

#include "recordstable.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <functional>

const QString Blank(20, QLatin1Char(' '));

inline QString padded(const QString &name)
{
    return name + QString(20 - name.size(), QLatin1Char(' '));
}

// The real settings store, pointed at a fresh temporary directory.
class TemporaryStore
{
public:
    explicit TemporaryStore(const QByteArray &text = {})
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        QDir().mkpath(m_dir.filePath(QStringLiteral("Tarvel")));
        if (!text.isEmpty())
            write(text);
    }

    static QString path() { return RecordStore::filePath(); }
    QString dir() const { return m_dir.path(); }

    // A table as QSettings writes it; `patch` sets (or, with a null value, removes) keys.
    static QByteArray tableText(const QStringList &scores, const QMap<QString, QString> &patch = {})
    {
        QMap<QString, QString> values;
        for (int i = 0; i < RecordCount; ++i) {
            values[RecordStore::nameKey(i)] = QStringLiteral("N%1").arg(i);
            values[RecordStore::scoreKey(i)] = scores.value(i, QStringLiteral("0"));
        }
        for (auto it = patch.cbegin(); it != patch.cend(); ++it) {
            if (it.value().isNull())
                values.remove(it.key());
            else
                values[it.key()] = it.value();
        }
        QByteArray text = "[Users%20Data]\n";
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            text += QUrl::toPercentEncoding(it.key(), "") + '=' + it.value().toUtf8() + '\n';
        return text;
    }

    static void write(const QByteArray &text)
    {
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

    static QByteArray bytes()
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // What another program reading the file with QSettings sees.
    static QString value(const QString &key)
    {
        const QString copy = QDir::temp().filePath(QStringLiteral("tarvel-read-%1.conf").arg(++s_reads));
        QFile::remove(copy);
        QFile::copy(path(), copy);
        const QString text = QSettings(copy, QSettings::NativeFormat).value(QStringLiteral("Users Data/") + key).toString();
        QFile::remove(copy);
        return text;
    }

private:
    QTemporaryDir m_dir;
    static inline int s_reads = 0;
};

// Keeps what the records table shows, as the main window's labels would.
class RecordingDisplay : public RecordsDisplay
{
public:
    void showRecords(const QString &title, const QString &placesAndNames, const QString &scores) override
    {
        hallTitle = title;
        names = placesAndNames.split(QStringLiteral("\r\r"));
        this->scores = scores.split(QStringLiteral("\r\r"));
    }
    void saveFailed() override { ++failedSaves; }

    QString line(int index) const { return names.value(index) + QLatin1Char('|') + scores.value(index); }

    QString hallTitle;
    QStringList names;
    QStringList scores;
    int failedSaves = 0;
};

#ifdef QT_WIDGETS_LIB
#include "boardview.h"
#include "frmmain.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

// What a modal box showed when it was answered: its title, text, icon and buttons, joined by '|'.
using SeenBox = QString;

// Answers modal boxes one after another as they appear, in the order given.
class ModalAnswers : public QObject
{
public:
    using Answer = std::function<void(QWidget *)>;

    explicit ModalAnswers(QList<Answer> answers)
        : m_answers(std::move(answers))
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalAnswers::answerNext);
        m_timer.start(5);
    }

    bool allAnswered() const { return m_answers.isEmpty(); }
    QList<SeenBox> seen;

    static Answer press(const QString &buttonText)
    {
        return [buttonText](QWidget *box) {
            const auto buttons = box->findChildren<QPushButton *>();
            for (QPushButton *button : buttons) {
                if (button->text() == buttonText && button->isVisible())
                    return button->click();
            }
            QFAIL(qPrintable("no button " + buttonText));
        };
    }

    // Types character by character, as a player would, then presses OK.
    static Answer type(const QString &text)
    {
        return [text](QWidget *box) {
            QLineEdit *field = box->findChild<QLineEdit *>();
            QVERIFY(field);
            for (QChar ch : text)
                QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(ch), Qt::NoModifier);
            press(QStringLiteral("ОК"))(box);
        };
    }

    static Answer key(Qt::Key key)
    {
        return [key](QWidget *box) { QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, key); };
    }

private:
    void answerNext()
    {
        QWidget *box = QApplication::activeModalWidget();
        if (!box || box->property("answered").toBool() || m_answers.isEmpty())
            return;
        box->setProperty("answered", true);
        seen.append(describe(box));
        m_answers.takeFirst()(box);
    }

    static SeenBox describe(QWidget *box)
    {
        QStringList parts { box->windowTitle() };
        if (auto *message = qobject_cast<QMessageBox *>(box))
            parts << message->text() << QString::number(message->icon());
        else if (auto *input = qobject_cast<QInputDialog *>(box))
            parts << input->labelText() << QStringLiteral("input");
        const auto buttons = box->findChildren<QPushButton *>();
        for (QPushButton *button : buttons)
            parts << (button->isDefault() ? QStringLiteral("*") : QString()) + button->text();
        return parts.join(QLatin1Char('|'));
    }

    QTimer m_timer;
    QList<Answer> m_answers;
};

// The real main window on a fresh temporary store, shown, with its board
// read and pressed square by square. The store may be prepared before the
// window reads it.
class TestWindow : private TemporaryStore, public FrmMain
{
public:
    explicit TestWindow(const QByteArray &storeText = {})
        : TemporaryStore(storeText)
    {
        show();
        if (!QTest::qWaitForWindowActive(this))
            qWarning("the main window was not activated");
    }

    void start() { QTest::mouseClick(CmdGen, Qt::LeftButton); }

    QPoint squareCentre(QPoint cell) const
    {
        const double side = Pct->contentsRect().width() / 8.0;
        return Pct->contentsRect().topLeft() + QPoint(int((cell.x() + 0.5) * side), int((cell.y() + 0.5) * side));
    }

    QImage boardImage() const { return Pct->grab().toImage(); }
    QRgb squareColour(QPoint cell) const { return boardImage().pixel(squareCentre(cell)) & 0xffffff; }

    void pressSquare(QPoint cell, Qt::MouseButton button = Qt::LeftButton) const
    {
        QTest::mouseClick(Pct, button, Qt::NoModifier, squareCentre(cell));
    }

    // The knight's moves from "12 04 ..." (column, row digits).
    void play(const QString &cells)
    {
        const QStringList list = cells.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString &cell : list)
            pressSquare(QPoint(cell[0].digitValue(), cell[1].digitValue()));
    }
};
#endif
