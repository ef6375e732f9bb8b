#include "platform/helpviewer.h"

#include <QFileInfo>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace penarin {

HelpViewer::HelpViewer(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("ペナリン ヘルプ"));

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    // Links that leave the document go to the system's browser instead of
    // replacing the help text with a page QTextBrowser cannot show.
    m_browser->setOpenExternalLinks(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(640, 600);
}

void HelpViewer::showContents(const QString &path)
{
    const QFileInfo file(path);
    // Emptying the browser first makes it load the file again even when it
    // already shows it, so an open window always returns to the table of
    // contents at the top and never keeps a stale copy.
    m_browser->clear();
    if (file.isFile() && file.isReadable()) {
        m_browser->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
    } else {
        m_browser->setHtml(QStringLiteral("<p>ヘルプファイルが見つかりません。</p><p>%1</p>")
                               .arg(path.toHtmlEscaped()));
    }
    m_browser->clearHistory();
    m_browser->verticalScrollBar()->setValue(0);

    if (isMinimized()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
    }
    show();
    raise();
    activateWindow();
}

void HelpViewer::closeHelp()
{
    close();
}

} // namespace penarin
