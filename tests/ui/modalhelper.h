#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace penarin::test {

// Acts on the next modal dialog once it is shown: code that calls exec()
// blocks, so the action is queued first and runs from the event loop.
inline void whenModalShown(std::function<void(QWidget *)> action, int attempts = 200)
{
    QTimer::singleShot(10, [action = std::move(action), attempts]() mutable {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            action(modal);
        } else if (attempts > 0) {
            whenModalShown(std::move(action), attempts - 1);
        }
    });
}

} // namespace penarin::test
