#pragma once

#include <QApplication>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>
#include <QWidget>

#include <functional>
#include <memory>

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

// Qt's own Japanese texts for the standard buttons, as the program loads
// them, for screenshots taken by a test; in force while the result lives
// (a translator leaves the application when it is destroyed).
inline std::unique_ptr<QTranslator> japaneseQtTexts()
{
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator.get());
    }
    return translator;
}

} // namespace penarin::test
