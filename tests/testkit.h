#pragma once
// What the suites share: a store in a temporary directory, a display that
// records what it is shown, answers to modal boxes and the main window.
#include "recordstable.h"

#include <QtCore>
#include <QtTest>

const QString Blank(20, QLatin1Char(' '));

// The real settings store in a fresh temporary directory, holding `text` if given.
class TemporaryStore
{
public:
    explicit TemporaryStore(const QByteArray &text = {})
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path())); // the program's copies share it too
        QDir().mkpath(m_dir.filePath(QStringLiteral("Tarvel")));
        if (!text.isEmpty())
            write(text);
    }
    QString dir() const { return m_dir.path(); }
    static QString path() { return RecordStore::filePath(); }

    // A table as QSettings writes it, names N0, N1…; `patch` sets keys, or removes them with a null value.
    static QByteArray tableText(const QStringList &scores, QMap<QString, QString> patch = {})
    {
        for (int i = 0; i < RecordCount; ++i) {
            patch[RecordStore::nameKey(i)] = patch.value(RecordStore::nameKey(i), QStringLiteral("N%1").arg(i));
            patch[RecordStore::scoreKey(i)] = patch.value(RecordStore::scoreKey(i), scores.value(i, QStringLiteral("0")));
        }
        QByteArray text = "[Users%20Data]\n";
        for (auto it = patch.cbegin(); it != patch.cend(); ++it)
            text += it.value().isNull() ? QByteArray() : QUrl::toPercentEncoding(it.key(), "") + '=' + it.value().toUtf8() + '\n';
        return text;
    }
    static void write(const QByteArray &text)
    {
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
    }
    static QByteArray bytes()
    {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QString value(const QString &key) { return RecordStore::read().value_or(RecordStore::Values()).value(key); }
    // Places first..last as stored: "name score" (without the name's trailing spaces), separated by '|'.
    static QString stored(int first, int last)
    {
        QStringList places;
        for (int i = first - 1; i < last; ++i)
            places << value(RecordStore::nameKey(i)).remove(QRegularExpression(" +$")) + ' ' + value(RecordStore::scoreKey(i));
        return places.join('|');
    }

private:
    QTemporaryDir m_dir;
};

class RecordingDisplay : public RecordsDisplay
{
public:
    void showRecords(const QString &title, const QString &placesAndNames, const QString &scores) override
    {
        names = title + "\r\r" + placesAndNames;
        this->scores = "\r\r" + scores;
    }
    void saveFailed() override { ++failedSaves; }
    // Line n of the two labels (0: the hall title), joined by '|'.
    QString line(int n) const { return names.split("\r\r").value(n) + '|' + scores.split("\r\r").value(n); }

    QString names, scores;
    int failedSaves = 0;
};

#ifdef QT_WIDGETS_LIB
#include "boardview.h"
#include "frmmain.h"

#include <QtWidgets>

// Types key by key, as a player would (keyClicks cannot type Cyrillic).
inline void typeInto(QWidget *field, const QString &text)
{
    for (QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

// Answers modal boxes as they appear, in order, and notes each: "title|text|icon|buttons", '*' on the default.
class ModalAnswers : public QObject
{
public:
    using Answer = std::function<void(QWidget *)>;
    explicit ModalAnswers(QList<Answer> answers) : m_answers(std::move(answers))
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget *box = QApplication::activeModalWidget();
            if (!box || box->property("answered").toBool() || m_answers.isEmpty())
                return;
            box->setProperty("answered", true);
            auto *message = qobject_cast<QMessageBox *>(box);
            QStringList parts { box->windowTitle(), message ? message->text() : qobject_cast<QInputDialog *>(box)->labelText(),
                                message ? QString::number(message->icon()) : "input" };
            for (QPushButton *button : box->findChildren<QPushButton *>())
                parts << (button->isDefault() ? "*" : "") + button->text();
            seen << parts.join('|');
            m_answers.takeFirst()(box);
        });
        m_timer.start(5);
    }
    static Answer press(const QString &text)
    {
        return [text](QWidget *box) {
            for (QPushButton *button : box->findChildren<QPushButton *>())
                if (button->text() == text && button->isVisible())
                    return button->click();
            QFAIL(qPrintable("no button " + text));
        };
    }
    static Answer type(const QString &text)
    {
        return [text](QWidget *box) { typeInto(box->focusWidget(), text), press("ОК")(box); };
    }
    QStringList seen;

private:
    QTimer m_timer;
    QList<Answer> m_answers;
};

// The real main window, shown, on a temporary store prepared before it reads it.
class TestWindow : private TemporaryStore, public FrmMain
{
public:
    explicit TestWindow(const QByteArray &storeText = {}) : TemporaryStore(storeText)
    {
        show();
        QVERIFY(QTest::qWaitForWindowActive(this));
    }
    QPoint centre(int column, int row) const
    {
        const double side = Pct->contentsRect().width() / 8.0;
        return Pct->contentsRect().topLeft() + QPoint(int((column + 0.5) * side), int((row + 0.5) * side));
    }
    QImage board() const { return Pct->grab().toImage(); }
    QRgb colour(int column, int row) const { return board().pixel(centre(column, row)) & 0xffffff; }
    // Start, then the presses, as column-row digits: "34 46".
    void play(const QString &cells)
    {
        QTest::mouseClick(CmdGen, Qt::LeftButton);
        for (const QString &cell : cells.split(' ', Qt::SkipEmptyParts))
            QTest::mouseClick(Pct, Qt::LeftButton, {}, centre(cell[0].digitValue(), cell[1].digitValue()));
    }
};
#endif
