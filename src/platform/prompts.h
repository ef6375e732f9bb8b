#pragma once

#include <QColor>
#include <QString>

#include <optional>

namespace penarin {

enum class MessageIcon
{
    Information,
    Exclamation,
    Question,
    Critical,
};

enum class MessageButtons
{
    Ok,
    OkCancel,
    YesNo,
    YesNoCancel,
};

enum class MessageAnswer
{
    Ok,
    Cancel,
    Yes,
    No,
};

// What a message box answers when the user closes it without choosing a
// button (Escape, the close box): Cancel where there is one, No for Yes/No,
// Ok for a box with only OK.
[[nodiscard]] inline MessageAnswer dismissedAnswer(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return MessageAnswer::Ok;
    case MessageButtons::YesNo:
        return MessageAnswer::No;
    case MessageButtons::OkCancel:
    case MessageButtons::YesNoCancel:
        break;
    }
    return MessageAnswer::Cancel;
}

// Whether the answer is one of the box's buttons.
[[nodiscard]] inline bool answerFits(MessageAnswer answer, MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return answer == MessageAnswer::Ok;
    case MessageButtons::OkCancel:
        return answer == MessageAnswer::Ok || answer == MessageAnswer::Cancel;
    case MessageButtons::YesNo:
        return answer == MessageAnswer::Yes || answer == MessageAnswer::No;
    case MessageButtons::YesNoCancel:
        return answer != MessageAnswer::Ok;
    }
    return false;
}

// The button Enter presses when the caller names none: the first one, OK or
// Yes, as users of the program expect from its boxes.
[[nodiscard]] inline MessageAnswer firstAnswer(MessageButtons buttons)
{
    return buttons == MessageButtons::Ok || buttons == MessageButtons::OkCancel
               ? MessageAnswer::Ok
               : MessageAnswer::Yes;
}

// One open or save file dialog.
struct FileRequest
{
    QString title;
    // Entries in Qt's form, "name(patterns)", several joined by ";;":
    // "ペナリン(*.ptr)" or "カンマ区切り(*.csv);;タブ区切り(*.txt)".
    QString filter;
    // Added to a typed name that has no extension; without the dot ("ptr").
    QString defaultSuffix;
    // Folder or file to start in; empty for the dialog's own choice.
    QString initialPath;

    friend bool operator==(const FileRequest &, const FileRequest &) = default;
};

// Every question the program asks the user goes through this interface: the
// message boxes, the file dialogs and the colour dialog. The program gets a
// real implementation; tests get one that records each question and answers
// from a script, so no test ever waits on a modal box and every message text
// can be checked.
class Prompts
{
public:
    Prompts() = default;
    Prompts(const Prompts &) = delete;
    Prompts &operator=(const Prompts &) = delete;
    virtual ~Prompts() = default;

    // An empty title means the program's own title. `defaultAnswer` is the
    // button Enter presses: a question whose Yes would be easy to take by
    // mistake defaults to No.
    virtual MessageAnswer message(const QString &text, MessageIcon icon, MessageButtons buttons,
                                  const QString &title, MessageAnswer defaultAnswer) = 0;
    MessageAnswer message(const QString &text, MessageIcon icon, MessageButtons buttons,
                          const QString &title)
    {
        return message(text, icon, buttons, title, firstAnswer(buttons));
    }
    MessageAnswer message(const QString &text, MessageIcon icon, MessageButtons buttons)
    {
        return message(text, icon, buttons, QString());
    }

    // The chosen path, or an empty text when the user cancels. The open
    // dialog accepts only an existing file; the save dialog asks before it
    // overwrites one.
    virtual QString openFile(const FileRequest &request) = 0;
    virtual QString saveFile(const FileRequest &request) = 0;

    // The chosen colour, or nothing when the user cancels.
    virtual std::optional<QColor> chooseColor(const QColor &initial) = 0;
};

} // namespace penarin
