#include "platform/recordingprompts.h"

#include <QDebug>

namespace penarin {

namespace {

template <class T> std::optional<T> takeFirst(std::deque<T> &queue)
{
    if (queue.empty()) {
        return std::nullopt;
    }
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

} // namespace

int RecordingPrompts::pendingAnswers() const
{
    return static_cast<int>(m_answers.size() + m_openPaths.size() + m_savePaths.size() +
                            m_colors.size());
}

std::vector<RecordingPrompts::Call> RecordingPrompts::messages() const
{
    std::vector<Call> result;
    for (const Call &call : m_calls) {
        if (call.kind == Kind::Message) {
            result.push_back(call);
        }
    }
    return result;
}

QStringList RecordingPrompts::messageTexts() const
{
    QStringList result;
    for (const Call &call : m_calls) {
        if (call.kind == Kind::Message) {
            result.append(call.text);
        }
    }
    return result;
}

void RecordingPrompts::clear()
{
    m_calls.clear();
    m_answers.clear();
    m_openPaths.clear();
    m_savePaths.clear();
    m_colors.clear();
    m_misfits = 0;
}

MessageAnswer RecordingPrompts::message(const QString &text, MessageIcon icon,
                                        MessageButtons buttons, const QString &title,
                                        MessageAnswer defaultAnswer)
{
    const MessageAnswer answer = takeFirst(m_answers).value_or(dismissedAnswer(buttons));
    if (!answerFits(answer, buttons)) {
        ++m_misfits;
        qWarning() << "RecordingPrompts: scripted answer" << static_cast<int>(answer)
                   << "is not a button of the box asking" << text;
    }
    Call call;
    call.kind = Kind::Message;
    call.text = text;
    call.icon = icon;
    call.buttons = buttons;
    call.title = title;
    call.answer = answer;
    call.defaultAnswer = defaultAnswer;
    m_calls.push_back(call);
    return answer;
}

QString RecordingPrompts::openFile(const FileRequest &request)
{
    Call call;
    call.kind = Kind::OpenFile;
    call.file = request;
    m_calls.push_back(call);
    return takeFirst(m_openPaths).value_or(QString());
}

QString RecordingPrompts::saveFile(const FileRequest &request)
{
    Call call;
    call.kind = Kind::SaveFile;
    call.file = request;
    m_calls.push_back(call);
    return takeFirst(m_savePaths).value_or(QString());
}

std::optional<QColor> RecordingPrompts::chooseColor(const QColor &initial)
{
    Call call;
    call.kind = Kind::ChooseColor;
    call.initialColor = initial;
    m_calls.push_back(call);
    return takeFirst(m_colors).value_or(std::nullopt);
}

} // namespace penarin
