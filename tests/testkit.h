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
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path())); // copies of the program started now share it
        QDir().mkpath(dir.filePath("Tarvel"));
        if (!text.isEmpty())
            write(text);
    }
    static QString path() { return RecordStore::filePath(); }
    // A table as QSettings writes it: names N0, N1…, the scores given; `patch` sets keys, or removes them (a null
    // value).
    static QByteArray tableText(const QStringList &scores, QMap<QString, QString> patch = {})
    {
        QByteArray text = "[Users%20Data]\n";
        for (int i = 0; i < RecordCount; ++i) {
            patch.insert(RecordStore::nameKey(i), patch.value(RecordStore::nameKey(i), QString("N%1").arg(i)));
            patch.insert(RecordStore::scoreKey(i), patch.value(RecordStore::scoreKey(i), scores.value(i)));
        }
        for (auto it = patch.cbegin(); it != patch.cend(); ++it)
            text += it->isNull() ? "" : QUrl::toPercentEncoding(it.key(), "") + '=' + it->toUtf8() + '\n';
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

struct RecordingDisplay : RecordsDisplay
{
    void showRecords(const QString &title, const QString &placesAndNames, const QString &scores) override
    {
        const QStringList names = placesAndNames.split("\r\r"), points = scores.split("\r\r");
        lines = QStringList { title };
        for (int i = 0; i < names.size() - 1; ++i)
            lines << names[i] + '|' + points[i];
    }
    void saveFailed() override { ++failedSaves; }
    QStringList lines; // the hall title, then "place and name|score" per line
    int failedSaves = 0;
};

#ifdef QT_WIDGETS_LIB
#include "boardview.h"
#include "frmmain.h"

#include <QtWidgets>

// Answers modal boxes as they appear, in order, and notes each: "title|text|icon|buttons", '*' on the default.
struct ModalAnswers : QObject
{
    using Answer = std::function<void(QWidget *)>;
    explicit ModalAnswers(QList<Answer> answers)
    {
        connect(&timer, &QTimer::timeout, this, [this, answers]() mutable {
            auto *box = QApplication::activeModalWidget();
            if (!box || box->property("answered").toBool() || answers.isEmpty())
                return;
            box->setProperty("answered", true);
            auto *message = qobject_cast<QMessageBox *>(box);
            QStringList parts { box->windowTitle(), message ? message->text() : box->findChild<QLabel *>()->text(),
                                message ? QString::number(message->icon()) : "input" };
            for (QPushButton *button : box->findChildren<QPushButton *>())
                parts << (button->isDefault() ? "*" : "") + button->text();
            seen << parts.join('|');
            answers.takeFirst()(box);
        });
        timer.start(5);
    }
    static Answer press(const QString &text)
    {
        return [text](QWidget *box) {
            for (QPushButton *button : box->findChildren<QPushButton *>())
                if (button->text() == text && button->isVisible())
                    button->click();
        };
    }
    static Answer type(const QString &text)
    {
        return [text](QWidget *box) { box->findChild<QLineEdit *>()->setText(text), press("ОК")(box); };
    }
    QStringList seen;
    QTimer timer;
};

// The real main window, shown, on a temporary store prepared before it reads it.
struct TestWindow : Store, FrmMain
{
    explicit TestWindow(const QByteArray &storeText = {})
        : Store(storeText)
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
    // Start, then the presses, as column-row digits: "34 46".
    void play(const QString &cells)
    {
        QTest::mouseClick(CmdGen, Qt::LeftButton);
        for (const QString &cell : cells.split(' ', Qt::SkipEmptyParts))
            QTest::mouseClick(Pct, Qt::LeftButton, {}, at(cell[0].digitValue(), cell[1].digitValue()));
    }
};
#endif
