#include "boardview.h"

#include "gameview.h"
#include "design.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace {
qint16 buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return ButtonLeft;
    case Qt::RightButton: return ButtonRight;
    case Qt::MiddleButton: return ButtonMiddle;
    default: return 0;
    }
}

qint16 shiftCode(Qt::KeyboardModifiers modifiers)
{
    return qint16((modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
                  | (modifiers & Qt::AltModifier ? 4 : 0));
}
}

BoardView::BoardView(QWidget *parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

float BoardView::innerWidth() const
{
    return float(contentsRect().width() * TwipsPerPixel);
}

void BoardView::fillBox(float x1, float y1, float x2, float y2, QRgb colour)
{
    // Edges are rounded to device pixels, so neighbouring squares meet without gap or overlap.
    const double scale = devicePixelRatioF() / TwipsPerPixel;
    const QRect box(QPoint(qRound(x1 * scale), qRound(y1 * scale)),
                    QPoint(qRound(x2 * scale) - 1, qRound(y2 * scale) - 1));
    if (box.isEmpty())
        return;
    if (m_pendingFills.empty())
        QMetaObject::invokeMethod(this, &BoardView::applyFills, Qt::QueuedConnection);
    m_pendingFills[{ box.x(), box.y() }] = { box, colour };
}

void BoardView::applyFills()
{
    if (m_pendingFills.empty())
        return;
    if (m_picture.isNull()) {
        m_picture = QImage(contentsRect().size() * devicePixelRatioF(), QImage::Format_RGB32);
        m_picture.fill(background());
    }
    QPainter painter(&m_picture);
    const double ratio = devicePixelRatioF();
    for (const auto &[corner, fill] : m_pendingFills) {
        const auto &[box, colour] = fill;
        // Boxes never overlap, so one pixel tells the colour of the whole box.
        if (m_picture.pixel(box.topLeft()) == colour)
            continue;
        painter.fillRect(box, QColor::fromRgb(colour));
        const QRect onScreen(QPoint(int(std::floor(box.left() / ratio)), int(std::floor(box.top() / ratio))),
                             QPoint(int(std::ceil((box.right() + 1) / ratio)) - 1,
                                    int(std::ceil((box.bottom() + 1) / ratio)) - 1));
        update(onScreen.translated(contentsRect().topLeft()));
    }
    m_pendingFills.clear();
}

const QImage &BoardView::picture()
{
    applyFills();
    return m_picture;
}

void BoardView::erase()
{
    m_pendingFills.clear();
    m_picture = QImage();
    update(contentsRect());
}

void BoardView::paintEvent(QPaintEvent *event)
{
    applyFills();
    if (!contentsRect().contains(event->rect()))
        QFrame::paintEvent(event);
    QPainter painter(this);
    if (m_picture.isNull()) {
        painter.fillRect(contentsRect(), background());
        return;
    }
    const QPoint origin = contentsRect().topLeft();
    const double ratio = devicePixelRatioF();
    for (const QRect &dirty : event->region()) {
        const QRect inside = dirty & contentsRect();
        if (inside.isEmpty())
            continue;
        const QRectF source(QPointF(inside.topLeft() - origin) * ratio, QSizeF(inside.size()) * ratio);
        painter.drawImage(QRectF(inside), m_picture, source);
    }
}

void BoardView::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    const QSize size = contentsRect().size() * devicePixelRatioF();
    if (m_picture.isNull() || size == m_picture.size())
        return;
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(background());
    QPainter(&picture).drawImage(0, 0, m_picture);
    m_picture = picture;
}

void BoardView::mousePressEvent(QMouseEvent *event)
{
    const QPointF inside = event->position() - contentsRect().topLeft();
    emit pressed(buttonCode(event->button()), shiftCode(event->modifiers()),
                 float(inside.x() * TwipsPerPixel), float(inside.y() * TwipsPerPixel));
}

QColor BoardView::background() const
{
    return palette().color(backgroundRole());
}
