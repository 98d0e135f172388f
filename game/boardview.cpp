#include "boardview.h"

#include "aftergamemenu.h"
#include "boardaccessible.h"
#include "boardspeech.h"
#include "design.h"
#include "game.h"
#include "routeoverlay.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QKeyEvent>
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
    , m_overlay(new RouteOverlay(this))
    , m_menu(new AfterGameMenu(this, m_overlay))
{
    connect(m_overlay, &RouteOverlay::changed, this, &BoardView::showingChanged);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    BoardAccessible::install();
}

float BoardView::measureInnerWidth()
{
    // Squares kept in the old measure would be painted again in the wrong places at the next layout.
    m_squares.clear();
    m_measuredWidth = float(contentsRect().width() * TwipsPerPixel);
    return m_measuredWidth;
}

double BoardView::twipsPerPixel() const
{
    return m_measuredWidth > 0 && contentsRect().width() > 0 ? m_measuredWidth / contentsRect().width() : TwipsPerPixel;
}

void BoardView::fillBox(float x1, float y1, float x2, float y2, QRgb colour)
{
    // Edges are rounded to device pixels, so neighbouring squares meet without gap or overlap.
    const double scale = devicePixelRatioF() / twipsPerPixel();
    const QRect box(QPoint(qRound(x1 * scale), qRound(y1 * scale)),
                    QPoint(qRound(x2 * scale) - 1, qRound(y2 * scale) - 1));
    if (box.isEmpty())
        return;
    if (m_pendingFills.empty())
        QMetaObject::invokeMethod(this, &BoardView::applyFills, Qt::QueuedConnection);
    if (m_pendingFills.empty() && m_picture.isNull())
        m_ratio = devicePixelRatioF();
    m_pendingFills[{ box.x(), box.y() }] = { box, colour };
    m_squares[{ x1, y1 }] = { QRectF(QPointF(x1, y1), QPointF(x2, y2)), colour };
}

void BoardView::applyFills()
{
    if (m_ratio != devicePixelRatioF() && !(m_picture.isNull() && m_pendingFills.empty()))
        rebuildPicture();
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
        const QRect onScreen(
            QPoint(int(std::floor(box.left() / ratio)), int(std::floor(box.top() / ratio))),
            QPoint(int(std::ceil((box.right() + 1) / ratio)) - 1, int(std::ceil((box.bottom() + 1) / ratio)) - 1));
        update(onScreen.translated(contentsRect().topLeft()));
    }
    m_pendingFills.clear();
    updateAccessibleName();
}

// At a new size or scale the squares are painted again, crisp in device pixels.
void BoardView::rebuildPicture()
{
    m_picture = QImage();
    m_pendingFills.clear();
    m_ratio = devicePixelRatioF();
    const auto squares = std::move(m_squares);
    m_squares.clear();
    for (const auto &[corner, square] : squares)
        fillBox(float(square.first.left()), float(square.first.top()), float(square.first.right()),
                float(square.first.bottom()), square.second);
    update(contentsRect());
}

const QImage &BoardView::picture()
{
    applyFills();
    return m_picture;
}

void BoardView::erase()
{
    m_pendingFills.clear();
    m_squares.clear();
    m_picture = QImage();
    hideCursor();
    update(contentsRect());
    // Clear ends the game only once the picture is erased.
    QMetaObject::invokeMethod(this, &BoardView::updateAccessibleName, Qt::QueuedConnection);
}

void BoardView::hideCursor()
{
    moveCursor(QPoint(-1, -1));
}

void BoardView::setGameText(const QString &text)
{
    m_gameText = text;
    updateAccessibleName();
}

void BoardView::startAccessibleTexts()
{
    m_accessibleTexts = true;
    updateAccessibleName();
}

QRect BoardView::squareRect(QPoint square) const
{
    const QRect inside = contentsRect();
    // Rounded as the picture's squares are, so the cursor lies on its square.
    const auto edge = [&](int index) { return qRound(index * inside.width() / double(BoardSide)); };
    return QRect(QPoint(inside.left() + edge(square.x()), inside.top() + edge(square.y())),
                 QPoint(inside.left() + edge(square.x() + 1) - 1, inside.top() + edge(square.y() + 1) - 1));
}

bool BoardView::isShowingGame() const
{
    return m_game && m_game->squareView(0, 0) != SquareView::NoBoard;
}

// The knight's square (its last one after the end), or the top-left one before the first move.
QPoint BoardView::cursorHome() const
{
    const QPoint knight = m_game->knightSquare();
    return isOnBoard(knight.x(), knight.y()) ? knight : QPoint(0, 0);
}

QString BoardView::squareName(int index) const
{
    return BoardSpeech::square(m_game, *m_overlay, QPoint(index % BoardSide, index / BoardSide));
}

QString BoardView::squareDescription(int index) const
{
    return index == m_cursor.y() * BoardSide + m_cursor.x() ? m_announcement : QString();
}

// A screen reader follows the cursor as focus moving from square to square.
void BoardView::moveCursor(QPoint square, bool announce)
{
    const bool moved = square != m_cursor;
    for (QPoint changed : { m_cursor, square }) {
        if (moved && isOnBoard(changed.x(), changed.y()))
            update(squareRect(changed));
    }
    m_cursor = square;
    m_announcement = announce ? m_gameText : QString();
    if (!QAccessible::isActive() || !hasFocus() || !isOnBoard(square.x(), square.y()) || !(moved || announce))
        return;
    const int index = square.y() * BoardSide + square.x();
    if (announce) // the same square may have a new text: a fresh object is spoken again
        BoardAccessible::renewSquare(this, index);
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(index);
    QAccessible::updateAccessibility(&focus);
}

// Without a screen reader listening, a press spends nothing on it.
void BoardView::updateAccessibleName()
{
    if (!m_accessibleTexts || !QAccessible::isActive())
        return;
    const QString name = BoardSpeech::boardName(isShowingGame(), m_gameText);
    if (name != accessibleName())
        setAccessibleName(name);
}

void BoardView::paintEvent(QPaintEvent *event)
{
    applyFills();
    if (!contentsRect().contains(event->rect()))
        QFrame::paintEvent(event);
    QPainter painter(this);
    if (m_picture.isNull())
        painter.fillRect(contentsRect(), background());
    const QPoint origin = contentsRect().topLeft();
    const double ratio = devicePixelRatioF();
    for (const QRect &dirty : event->region()) {
        const QRect inside = dirty & contentsRect();
        if (inside.isEmpty() || m_picture.isNull())
            continue;
        const QRectF source(QPointF(inside.topLeft() - origin) * ratio, QSizeF(inside.size()) * ratio);
        painter.drawImage(QRectF(inside), m_picture, source);
    }
    m_overlay->paint(painter, [this](QPoint square) { return squareRect(square); });
    if (isOnBoard(m_cursor.x(), m_cursor.y())) {
        // Two tones side by side, each two pixels wide, show on every square colour.
        const auto ring = [&painter](QRect r, Qt::GlobalColor colour) {
            painter.fillRect(QRect(r.left(), r.top(), r.width(), 2), colour);
            painter.fillRect(QRect(r.left(), r.bottom() - 1, r.width(), 2), colour);
            painter.fillRect(QRect(r.left(), r.top(), 2, r.height()), colour);
            painter.fillRect(QRect(r.right() - 1, r.top(), 2, r.height()), colour);
        };
        ring(squareRect(m_cursor), Qt::white);
        ring(squareRect(m_cursor).adjusted(2, 2, -2, -2), Qt::black);
    }
}

void BoardView::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    // fills still waiting were placed at the old size
    if (!m_squares.empty())
        rebuildPicture();
}

void BoardView::mousePressEvent(QMouseEvent *event)
{
    if (m_overlay->isAnimating()) // the first press completes a tour being laid out
        return m_overlay->completeAnimation();
    m_menuOnRightPress = event->button() == Qt::RightButton && m_game && !m_game->finishedRoute().isEmpty();
    if (event->button() == Qt::LeftButton)
        endShowing();
    hideCursor();
    const QPointF inside = event->position() - contentsRect().topLeft();
    emit pressed(buttonCode(event->button()), shiftCode(event->modifiers()), float(inside.x() * twipsPerPixel()),
                 float(inside.y() * twipsPerPixel()));
}

void BoardView::keyPressEvent(QKeyEvent *event)
{
    if (m_overlay->isAnimating()) // the first key completes a tour being laid out
        return m_overlay->completeAnimation();
    if (event->key() == Qt::Key_Menu || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        const bool shown = isOnBoard(m_cursor.x(), m_cursor.y());
        return openMenu(shown ? squareRect(m_cursor).center() : contentsRect().center());
    }
    // Keys act only while a game is shown, as presses do.
    if (!isShowingGame())
        return QFrame::keyPressEvent(event);
    // A hidden cursor appears where the first key finds it, without moving.
    const bool shown = isOnBoard(m_cursor.x(), m_cursor.y());
    QPoint square = shown ? m_cursor : cursorHome();
    const int step = shown ? 1 : 0;
    switch (event->key()) {
    case Qt::Key_Left: square.rx() -= step; break;
    case Qt::Key_Right: square.rx() += step; break;
    case Qt::Key_Up: square.ry() -= step; break;
    case Qt::Key_Down: square.ry() += step; break;
    case Qt::Key_Home: square.setX(0); break;
    case Qt::Key_End: square.setX(BoardSide - 1); break;
    case Qt::Key_PageUp: square.setY(0); break;
    case Qt::Key_PageDown: square.setY(BoardSide - 1); break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (shown) {
            pressSquare(square, event->key() == Qt::Key_Space && event->modifiers() & Qt::ShiftModifier);
            return;
        }
        break;
    default: return QFrame::keyPressEvent(event);
    }
    moveCursor(QPoint(qBound(0, square.x(), BoardSide - 1), qBound(0, square.y(), BoardSide - 1)));
}

// A press by keyboard. After a move the cursor follows the knight, and the move is said once.
void BoardView::pressSquare(QPoint square, bool automatic)
{
    if (!automatic)
        endShowing();
    const qint32 moveBefore = m_game->state().MoveNumber;
    const float side = float(contentsRect().width() * twipsPerPixel() / BoardSide);
    emit pressed(automatic ? ButtonRight : ButtonLeft, 0, (square.x() + 0.5f) * side, (square.y() + 0.5f) * side);
    if (m_game->state().MoveNumber != moveBefore && isShowingGame())
        moveCursor(m_game->knightSquare(), true);
}

void BoardView::contextMenuEvent(QContextMenuEvent *event)
{
    // A right press that ended a game, or came while nothing was on offer, opens nothing.
    if (event->reason() == QContextMenuEvent::Mouse && !m_menuOnRightPress)
        return event->ignore();
    m_menuOnRightPress = false;
    openMenu(event->pos());
}

void BoardView::openMenu(QPoint position)
{
    if (m_game)
        m_menu->open(position, m_game->finishedRoute());
}

void BoardView::endShowing()
{
    m_menu->hideShowing();
}

void BoardView::showingChanged()
{
    update(contentsRect());
    if (m_accessibleTexts && QAccessible::isActive())
        setAccessibleDescription(BoardSpeech::showing(*m_overlay));
}

QColor BoardView::background() const
{
    return palette().color(backgroundRole());
}
