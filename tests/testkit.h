#pragma once
// What the suites share: the real store in a temporary folder, a display that records what it
// is shown, answers to modal boxes and the main window.
#include "recordstable.h"

#include <QtCore>
#include <QtTest>

// The real settings store in a fresh temporary folder, holding `text` if given.
class TemporaryStore
{
public:
    explicit TemporaryStore(const QByteArray &text = {})
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path())); // the program's copies share it too
        QDir().mkpath(m_dir.filePath("Tarvel"));
        if (!text.isEmpty())
            write(text);
    }
    QString dir() const { return m_dir.path(); }
    static QString path() { return RecordStore::filePath(); }

    // A table as QSettings writes it: names N0, N1…, the scores given (0 beyond them); `patch` sets keys, or removes
    // them with a null value.
    static QByteArray tableText(const QStringList &scores, QMap<QString, QString> patch = {})
    {
        for (int i = 0; i < RecordCount; ++i) {
            patch.insert(RecordStore::nameKey(i), patch.value(RecordStore::nameKey(i), QString("N%1").arg(i)));
            patch.insert(RecordStore::scoreKey(i), patch.value(RecordStore::scoreKey(i), scores.value(i, "0")));
        }
        QByteArray text = "[Users%20Data]\n";
        for (auto it = patch.cbegin(); it != patch.cend(); ++it)
            text += it.value().isNull() ? QByteArray()
                                        : QUrl::toPercentEncoding(it.key(), "") + '=' + it.value().toUtf8() + '\n';
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
    // Places first..last as stored, "name score" with the name's padding dropped, joined by '|'.
    static QString stored(int first, int last)
    {
        const RecordStore::Values values = RecordStore::read().value_or(RecordStore::Values());
        QStringList places;
        for (int i = first - 1; i < last; ++i)
            places << values.value(RecordStore::nameKey(i)).remove(QRegularExpression(" +$")) + ' '
                    + values.value(RecordStore::scoreKey(i));
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
        lines = QStringList { title + '|' };
        const QStringList names = placesAndNames.split("\r\r"), points = scores.split("\r\r");
        for (int i = 0; i < names.size() - 1; ++i)
            lines << names[i] + '|' + points.value(i);
    }
    void saveFailed() override { ++failedSaves; }

    QStringList lines; // the hall title, then "place and name|score" per line
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
    explicit ModalAnswers(QList<Answer> answers)
        : m_answers(std::move(answers))
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget *box = QApplication::activeModalWidget();
            if (!box || box->property("answered").toBool() || m_answers.isEmpty())
                return;
            box->setProperty("answered", true);
            auto *message = qobject_cast<QMessageBox *>(box);
            QStringList parts { box->windowTitle(),
                                message ? message->text() : qobject_cast<QInputDialog *>(box)->labelText(),
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
        return [text](QWidget *box) { box->findChild<QLineEdit *>()->setText(text), press("ОК")(box); };
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
    explicit TestWindow(const QByteArray &storeText = {})
        : TemporaryStore(storeText)
    {
        show();
        QVERIFY(QTest::qWaitForWindowActive(this));
    }
    // A square's centre in the board's coordinates, or its first (corner 1) or last pixel (corner -1).
    QPoint at(int column, int row, int corner = 0) const
    {
        const QRect inner = Pct->contentsRect();
        const double side = inner.width() / 8.0;
        const auto edge = [&](int index) {
            return corner == 0 ? int((index + 0.5) * side)
                               : int(std::ceil((index + (corner < 0)) * side)) - (corner < 0);
        };
        return inner.topLeft() + QPoint(edge(column), edge(row));
    }
    QRgb colour(QPoint point) const { return Pct->grab().toImage().pixel(point) & 0xffffff; }
    // Start, then the presses, as column-row digits: "34 46".
    void play(const QString &cells)
    {
        QTest::mouseClick(CmdGen, Qt::LeftButton);
        for (const QString &cell : cells.split(' ', Qt::SkipEmptyParts))
            QTest::mouseClick(Pct, Qt::LeftButton, {}, at(cell[0].digitValue(), cell[1].digitValue()));
    }
};
#endif
