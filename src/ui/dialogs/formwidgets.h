#pragma once

#include <QPushButton>
#include <QThread>

#include <chrono>

namespace penarin::form {

// A dialog button that tests find by name and that Enter in a text box does
// not press by accident: only a dialog's own default button takes Enter.
inline QPushButton *button(const QString &text, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

// Polls `collect` (a dialog taking a background result) until it returns
// true or `limit` has passed; for tests and the report paths that must wait.
template <typename Collect> bool pollUntil(Collect collect, std::chrono::milliseconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!collect()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        QThread::msleep(5);
    }
    return true;
}

} // namespace penarin::form
