#pragma once

#include "platform/prompts.h"

#include <QStringList>

#include <deque>
#include <vector>

namespace penarin {

// Prompts for tests: remembers every question exactly as it was asked, in
// order, and answers from scripts queued beforehand. With a script used up
// it answers as a user who closes the box or cancels the dialog would.
class RecordingPrompts final : public Prompts
{
public:
    enum class Kind
    {
        Message,
        OpenFile,
        SaveFile,
        ChooseColor,
    };

    struct Call
    {
        Kind kind = Kind::Message;
        // Message boxes.
        QString text;
        MessageIcon icon = MessageIcon::Information;
        MessageButtons buttons = MessageButtons::Ok;
        QString title; // as passed: empty means the program's title
        MessageAnswer answer = MessageAnswer::Ok;
        MessageAnswer defaultAnswer = MessageAnswer::Ok; // the button Enter presses
        // File dialogs.
        FileRequest file;
        // Colour dialog.
        QColor initialColor;
    };

    void queueAnswer(MessageAnswer answer) { m_answers.push_back(answer); }
    void queueOpenFile(const QString &path) { m_openPaths.push_back(path); }
    void queueSaveFile(const QString &path) { m_savePaths.push_back(path); }
    void queueColor(const std::optional<QColor> &color) { m_colors.push_back(color); }

    // Scripted answers not asked for yet, of every kind together: a test can
    // check that every answer it queued was used.
    [[nodiscard]] int pendingAnswers() const;

    [[nodiscard]] const std::vector<Call> &calls() const { return m_calls; }
    [[nodiscard]] std::vector<Call> messages() const;
    [[nodiscard]] QStringList messageTexts() const;
    // Answers that did not fit the buttons of their box: a script error in
    // the test, reported here because the answer is still given.
    [[nodiscard]] int misfitAnswers() const { return m_misfits; }

    // Forgets the calls and the scripts.
    void clear();

    using Prompts::message;
    MessageAnswer message(const QString &text, MessageIcon icon, MessageButtons buttons,
                          const QString &title, MessageAnswer defaultAnswer) override;
    QString openFile(const FileRequest &request) override;
    QString saveFile(const FileRequest &request) override;
    std::optional<QColor> chooseColor(const QColor &initial) override;

private:
    std::vector<Call> m_calls;
    std::deque<MessageAnswer> m_answers;
    std::deque<QString> m_openPaths;
    std::deque<QString> m_savePaths;
    std::deque<std::optional<QColor>> m_colors;
    int m_misfits = 0;
};

} // namespace penarin
