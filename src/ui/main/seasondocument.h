#pragma once

#include "season/filemodule.h"
#include "season/season.h"

#include <QObject>
#include <QString>

#include <optional>
#include <string>

class QUndoCommand;
class QUndoStack;

namespace penarin {

// A dated snapshot of the standings that a save adds to the charts.
struct SnapshotRequest
{
    double date = 0.0;
    std::u16string memo;
};

// The season the program works on, with its file, its undo stack and its
// unsaved state. Every change of the season is a command pushed here, so
// "is it saved" has one answer, read from the stack: a season back at the
// state of its last save is saved again, whatever was done and undone in
// between. The title, the menus and the close question follow the signals.
class SeasonDocument : public QObject
{
    Q_OBJECT

public:
    explicit SeasonDocument(Season &season, QObject *parent = nullptr);

    // Read access for everyone; the card pane and the commands below are
    // the only writers.
    [[nodiscard]] Season &season() { return m_season; }
    [[nodiscard]] const Season &season() const { return m_season; }
    [[nodiscard]] QUndoStack *undoStack() const { return m_undo; }

    [[nodiscard]] bool hasSeason() const { return m_season.HasSeason; }
    [[nodiscard]] bool isModified() const;
    [[nodiscard]] QString fileName() const;
    // The last season file that was open, kept across a failed open so that
    // the next start reopens what the user last worked on.
    [[nodiscard]] const std::string &lastFile() const { return m_lastFile; }
    void setLastFile(std::string path) { m_lastFile = std::move(path); }

    // Clears whatever season is open and its history, then loads the file.
    // On failure the season stays cleared and `reason` receives what the
    // user can act on, if the loader knows it.
    [[nodiscard]] LoadStatus open(const QString &path, std::string *reason = nullptr);

    // Writes the season to path, with the snapshot when one is asked for.
    // On failure the file on disk is untouched, the season stays unsaved and
    // error says why; on success this state becomes the saved one.
    [[nodiscard]] bool saveTo(const QString &path, const std::optional<SnapshotRequest> &snapshot,
                              const Clock &clock = systemNow, std::string *error = nullptr);

    // The season as after clearing it: no teams, no file, no history.
    void clear();
    // A season built from nothing (the new season wizard): no history, and
    // unsaved until it is written somewhere.
    void adopt(Season built);

    // One undoable step that turns the season into `after`, named `text` in
    // the edit menu. Pushing applies it.
    void pushEdit(const QString &text, Season after);
    // A finer command (a card entry); the document takes it.
    void push(QUndoCommand *command);

    // Changes the file keeps but nobody undoes: the view shown, games counts
    // a converted file needed before it could be shown. They make the season
    // unsaved until the next save.
    void markChangedOutsideHistory();

signals:
    void changed();
    void fileNameChanged(const QString &fileName);
    void modifiedChanged(bool modified);
    // A whole-season step was done, undone or redone: the window shows the
    // season again from its stored view.
    void seasonReplaced();

private:
    friend class SeasonEditCommand;
    void restore(const Season &state);
    void resetHistory();
    void announce(const std::string &oldFile);
    void followModified();

    Season &m_season;
    QUndoStack *m_undo = nullptr;
    std::string m_lastFile;
    bool m_changedOutsideHistory = false;
    bool m_modified = false;
};

} // namespace penarin
