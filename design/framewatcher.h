#pragma once

#include <QMargins>
#include <QWidget>
#include <QWindow>

#include <functional>

// Calls `fit` with the frame that the window manager put around a top-level
// window (none on a bare X server), once, when the window is first on screen:
// only then is the frame known.
class FrameWatcher : public QObject
{
public:
    FrameWatcher(QWidget *window, std::function<void(QMargins)> fit)
        : QObject(window)
        , m_fit(std::move(fit))
    {
        window->winId(); // creates the platform window
        window->windowHandle()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *handle = static_cast<QWindow *>(watched);
        if (event->type() == QEvent::Expose && handle->isExposed()) {
            handle->removeEventFilter(this);
            m_fit(handle->frameMargins());
            deleteLater();
        }
        return false;
    }

private:
    std::function<void(QMargins)> m_fit;
};
