// The floor of any Qt Widgets program: one window with a 688 x 688
// custom-painted widget and ten buttons and labels, nothing else.
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QWidget>

namespace {
class Painted : public QWidget
{
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        for (int i = 0; i < 64; ++i)
            painter.fillRect(i % 8 * 86, i / 8 * 86, 86, 86, (i % 8 + i / 8) % 2 ? Qt::white : Qt::black);
    }
};
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Floor"));
    window.setFixedSize(1024, 768);

    auto *board = new Painted;
    board->setParent(&window);
    board->setGeometry(8, 16, 688, 688);
    for (int i = 0; i < 6; ++i)
        (new QPushButton(QStringLiteral("Кнопка %1").arg(i), &window))
            ->setGeometry(720 + i % 2 * 120, 24 + i / 2 * 32, 105, 25);
    for (int i = 0; i < 4; ++i)
        (new QLabel(QStringLiteral("Метка %1").arg(i), &window))->setGeometry(720, 130 + i * 30, 200, 25);

    window.show();
    return app.exec();
}
