#pragma once

#include <QPushButton>

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

} // namespace penarin::form
