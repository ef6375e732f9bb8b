#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace penarin {

// The program's help window: shows the HTML help document that lives beside
// the program. It is a window of its own, not a dialog, so the user can keep
// it open next to the main window while working.
class HelpViewer : public QWidget
{
    Q_OBJECT

public:
    explicit HelpViewer(QWidget *parent = nullptr);

    // Opens the window (or brings it to the front) at the top of the
    // document, where its table of contents is. A missing or unreadable
    // file shows a note in the window instead.
    void showContents(const QString &path);

    // Closes the window; the main window calls this as it closes itself.
    void closeHelp();

    [[nodiscard]] QTextBrowser *browser() const { return m_browser; }

private:
    QTextBrowser *m_browser = nullptr;
};

} // namespace penarin
