#include "ui/main/seasondocument.h"

#include <QUndoCommand>
#include <QUndoStack>

#include <filesystem>

namespace penarin {

namespace {

std::filesystem::path pathOf(const QString &path)
{
    return std::filesystem::u8path(path.toStdString());
}

} // namespace

// A step that holds the season before and after it. A season of 88 teams is
// about 100 KB, so two copies per step cost less than describing each kind
// of change on its own.
class SeasonEditCommand : public QUndoCommand
{
public:
    SeasonEditCommand(SeasonDocument &document, const QString &text, Season before, Season after)
        : QUndoCommand(text), m_document(document), m_before(std::move(before)),
          m_after(std::move(after))
    {}

    void undo() override { m_document.restore(m_before); }
    void redo() override { m_document.restore(m_after); }

private:
    SeasonDocument &m_document;
    Season m_before;
    Season m_after;
};

SeasonDocument::SeasonDocument(Season &season, QObject *parent)
    : QObject(parent), m_season(season), m_undo(new QUndoStack(this)),
      m_lastFile(season.CurrentFile)
{
    connect(m_undo, &QUndoStack::cleanChanged, this, [this] { followModified(); });
}

bool SeasonDocument::isModified() const
{
    return m_season.HasSeason && (m_changedOutsideHistory || !m_undo->isClean());
}

QString SeasonDocument::fileName() const
{
    return QString::fromStdString(m_season.CurrentFile);
}

void SeasonDocument::followModified()
{
    const bool modified = isModified();
    if (modified != m_modified) {
        m_modified = modified;
        emit modifiedChanged(modified);
    }
}

void SeasonDocument::announce(const std::string &oldFile)
{
    if (oldFile != m_season.CurrentFile) {
        emit fileNameChanged(fileName());
    }
    followModified();
    emit changed();
}

void SeasonDocument::resetHistory()
{
    // The stack announces its clean state while it empties; the flag is
    // settled after it.
    m_undo->clear();
    m_changedOutsideHistory = false;
}

LoadStatus SeasonDocument::open(const QString &path, std::string *reason)
{
    const std::string oldFile = m_season.CurrentFile;
    resetHistory();
    if (m_season.HasSeason) {
        ClearSeason(m_season);
    }
    const LoadStatus status = LoadSeason(m_season, pathOf(path), systemNow, reason);
    if (status != LoadStatus::Failed) {
        // A loaded season is the one on show from now on.
        m_season.HasSeason = true;
        m_lastFile = m_season.CurrentFile;
    }
    announce(oldFile);
    return status;
}

bool SeasonDocument::saveTo(const QString &path, const std::optional<SnapshotRequest> &snapshot,
                            const Clock &clock, std::string *error)
{
    const std::string oldFile = m_season.CurrentFile;
    m_season.AddSnapshot = snapshot.has_value();
    if (snapshot) {
        m_season.SnapshotDate = snapshot->date;
        m_season.SnapshotMemo = snapshot->memo;
    }
    const bool saved = SaveSeason(m_season, pathOf(path), clock, error);
    m_season.AddSnapshot = false;
    if (saved) {
        m_lastFile = m_season.CurrentFile;
        m_changedOutsideHistory = false;
        m_undo->setClean();
    }
    announce(oldFile);
    return saved;
}

void SeasonDocument::clear()
{
    const std::string oldFile = m_season.CurrentFile;
    resetHistory();
    ClearSeason(m_season);
    announce(oldFile);
}

void SeasonDocument::adopt(Season built)
{
    const std::string oldFile = m_season.CurrentFile;
    resetHistory();
    m_season = std::move(built);
    m_season.HasSeason = true;
    // Nothing of it is on disk yet.
    m_changedOutsideHistory = true;
    announce(oldFile);
}

void SeasonDocument::pushEdit(const QString &text, Season after)
{
    m_undo->push(new SeasonEditCommand(*this, text, m_season, std::move(after)));
}

void SeasonDocument::push(QUndoCommand *command)
{
    m_undo->push(command);
}

void SeasonDocument::markChangedOutsideHistory()
{
    if (m_changedOutsideHistory || !m_season.HasSeason) {
        return;
    }
    m_changedOutsideHistory = true;
    followModified();
    emit changed();
}

// What a step sets back is the season's data. The file it belongs to and the
// view on show stay as they are: undoing a games count does not jump to the
// league that was shown when it was typed.
void SeasonDocument::restore(const Season &state)
{
    Season next = state;
    next.CurrentFile = m_season.CurrentFile;
    next.HasSeason = m_season.HasSeason;
    next.SnapshotDate = m_season.SnapshotDate;
    next.SnapshotMemo = m_season.SnapshotMemo;
    next.AddSnapshot = m_season.AddSnapshot;
    next.Header.ViewLeague = m_season.Header.ViewLeague;
    next.Header.ViewDivision = m_season.Header.ViewDivision;
    next.ViewRows = m_season.ViewRows;
    next.ViewCols = m_season.ViewCols;
    next.GameScope = m_season.GameScope;
    m_season = std::move(next);
    emit seasonReplaced();
}

} // namespace penarin
