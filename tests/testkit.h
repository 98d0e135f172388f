#pragma once
// What the suites share: the real store in a temporary folder, a display that records what it
// is shown, answers to modal boxes and the main window.
#include "recordstable.h"

#include <QtCore>
#include <QtTest>

// The real settings store in a fresh temporary folder, holding `text` if given.
struct Store
{
    explicit Store(const QByteArray &text = {})
    {
        // copies of the program started now share it
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
        QDir().mkpath(dir.filePath("Tarvel"));
        if (!text.isEmpty())
            write(text);
    }
    // A table as QSettings writes it: names N0, N1…, the scores given; `change` ("Key =value") gives a key another
    // value.
    static QByteArray tableText(const QStringList &scores, const QString &change = {})
    {
        QString text = "[Users%20Data]\n";
        for (int i = 0; i < RecordCount; ++i)
            text += QString("User%20%1%20=N%1\nData%20%1%20=%2\n").arg(i).arg(scores[i]);
        const QString key = QUrl::toPercentEncoding(change.section('=', 0, 0), "") + '=';
        return text.replace(QRegularExpression("(?m)^" + key + ".*"), key + change.section('=', 1)).toUtf8();
    }
    static void write(const QByteArray &text)
    {
        QFile file(RecordStore::filePath());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
    }
    static QByteArray bytes()
    {
        QFile file(RecordStore::filePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : "";
    }
    // Places first..last as stored, "name score" without the name's padding, joined by '|'.
    static QString stored(int first, int last)
    {
        const auto values = RecordStore::read().value_or(RecordStore::Values());
        QStringList places;
        for (int i = first - 1; i < last; ++i)
            places << values.value(RecordStore::nameKey(i)).remove(QRegularExpression(" +$")) + ' '
                    + values.value(RecordStore::scoreKey(i));
        return places.join('|');
    }
    QTemporaryDir dir;
};

// Keeps the hall shown, a list of "place and name" and one of scores, and counts the failures reported.
struct RecordingDisplay : RecordsDisplay
{
    void showRecords(const QString &, const QString &placesAndNames, const QString &scores) override
    {
        names = placesAndNames.split("\r\r"), points = scores.split("\r\r");
    }
    void saveFailed() override { ++failedSaves; }
    QStringList names, points;
    int failedSaves = 0;
};

#ifdef QT_WIDGETS_LIB
#include "boardview.h"
#include "frmmain.h"

#include <QtWidgets>

// Answers modal boxes as they appear, in order: a button's text presses it, "Esc" presses Esc, "=text" types the
// text and presses ОК ("=text>Esc" presses Esc instead). Before that, "!NN" lets another copy fill the table with
// NN % results, "?" puts a FIFO where the store's lock goes. Each box is noted as "title|text|icon|buttons", '*' on
// the default; an input box's icon is "input" and the text it offers.
struct ModalAnswers : QObject
{
    explicit ModalAnswers(QStringList answers)
    {
        connect(&timer, &QTimer::timeout, this, [=]() mutable {
            QWidget *box = QApplication::activeModalWidget();
            if (!box || box->property("answered").toBool() || answers.isEmpty())
                return;
            box->setProperty("answered", true);
            auto *message = qobject_cast<QMessageBox *>(box);
            QString note = box->windowTitle() + '|' + (message ? message->text() : box->findChild<QLabel *>()->text())
                + '|' + (message ? QString::number(message->icon()) : "input" + box->findChild<QLineEdit *>()->text());
            const QList<QPushButton *> buttons = box->findChildren<QPushButton *>();
            for (QPushButton *button : buttons)
                note += (button->isDefault() ? "|*" : "|") + button->text();
            seen << note;
            QString answer = answers.takeFirst();
            if (answer.startsWith('!'))
                Store::write(Store::tableText(QStringList(20, answer.mid(1, 2)))), answer.remove(0, 3);
            if (answer.startsWith('?'))
                QProcess::execute("mkfifo", { RecordStore::lockPath() }), answer.remove(0, 1);
            if (answer.startsWith('='))
                box->findChild<QLineEdit *>()->setText(answer.section('>', 0, 0).mid(1)),
                    answer = answer.contains('>') ? answer.section('>', 1) : "ОК";
            if (answer == "Esc")
                return QTest::keyClick(box, Qt::Key_Escape);
            for (QPushButton *button : buttons)
                if (button->text() == answer && button->isVisible())
                    return button->click();
        });
        timer.start(5);
    }
    QStringList seen;
    QTimer timer;
};

// The real main window, shown, on a temporary store prepared before it reads it.
struct TestWindow : Store, FrmMain
{
    TestWindow()
    {
        show();
        QVERIFY(QTest::qWaitForWindowActive(this));
    }
    // A square's centre in the board's coordinates, or its first (corner 1) or last pixel (corner -1).
    QPoint at(int column, int row, int corner = 0) const
    {
        const double side = Pct->contentsRect().width() / 8.0;
        const auto edge = [&](int i) {
            return corner ? int(std::ceil((i + (corner < 0)) * side)) - (corner < 0) : int((i + 0.5) * side);
        };
        return Pct->contentsRect().topLeft() + QPoint(edge(column), edge(row));
    }
    // Inputs, space-separated: "S" Start, "C" Clear, "34" a left press on column 3, row 4 ("34+" / "34-" / "34>"
    // on its first / last pixel / the pixel past its last, "M34" / "R34" with the middle / right button); anything
    // else is a key.
    void play(const QString &inputs)
    {
        for (const QString &in : inputs.split(' ', Qt::SkipEmptyParts)) {
            const QString cell = QString(in).remove(QRegularExpression("^[MR]|[-+>]$"));
            if (in == "S" || in == "C") {
                QTest::mouseClick(in == "S" ? CmdGen : CmdClear, Qt::LeftButton);
            } else if (cell.size() == 2 && cell[0].isDigit()) {
                const QPoint point = at(cell[0].digitValue(), cell[1].digitValue(),
                                        in.endsWith('+') - in.endsWith('-') - in.endsWith('>'))
                    + QPoint(1, 1) * in.endsWith('>');
                QTest::mouseClick(Pct,
                                  in[0] == 'M'       ? Qt::MiddleButton
                                      : in[0] == 'R' ? Qt::RightButton
                                                     : Qt::LeftButton,
                                  {}, point);
                // as the platform follows a right press
                QContextMenuEvent menu(QContextMenuEvent::Mouse, point, Pct->mapToGlobal(point));
                if (in[0] == 'R')
                    QApplication::sendEvent(Pct, &menu);
            } else {
                const QKeyCombination key = QKeySequence(in)[0];
                QTest::keyClick(Pct, key.key(), key.keyboardModifiers());
            }
        }
    }
};
#endif
