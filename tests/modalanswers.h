#pragma once

#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

// What a modal box showed when it was answered.
struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton;
    bool input = false;
};

// Answers modal boxes one after another as they appear, in the order given.
class ModalAnswers : public QObject
{
public:
    using Answer = std::function<void(QWidget *)>;

    ModalAnswers()
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalAnswers::answerNext);
        m_timer.start(5);
    }

    ModalAnswers &then(Answer answer)
    {
        m_answers.append(std::move(answer));
        return *this;
    }

    bool allAnswered() const { return m_answers.isEmpty(); }
    QList<SeenBox> seen;

    static Answer press(const QString &buttonText)
    {
        return [buttonText](QWidget *box) {
            const auto buttons = box->findChildren<QPushButton *>();
            for (QPushButton *button : buttons) {
                if (button->text() == buttonText && button->isVisible()) {
                    button->click();
                    return;
                }
            }
            QFAIL(qPrintable("no button " + buttonText));
        };
    }

    // Types character by character, as a player would, then presses the button.
    static Answer type(const QString &text, const QString &buttonText = QStringLiteral("ОК"))
    {
        return [text, buttonText](QWidget *box) {
            QLineEdit *field = box->findChild<QLineEdit *>();
            QVERIFY(field);
            for (QChar ch : text)
                QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(ch), Qt::NoModifier);
            press(buttonText)(box);
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
        SeenBox seen;
        seen.title = box->windowTitle();
        if (auto *message = qobject_cast<QMessageBox *>(box)) {
            seen.text = message->text();
            seen.icon = message->icon();
            if (message->defaultButton())
                seen.defaultButton = message->defaultButton()->text();
        } else if (auto *input = qobject_cast<QInputDialog *>(box)) {
            seen.text = input->labelText();
            seen.input = true;
        }
        const auto buttons = box->findChildren<QPushButton *>();
        for (QPushButton *button : buttons)
            seen.buttons.append(button->text());
        return seen;
    }

    QTimer m_timer;
    QList<Answer> m_answers;
};
