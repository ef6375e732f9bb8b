#pragma once

#include "season/filemodule.h"
#include "season/season.h"

#include <QObject>
#include <QString>

#include <optional>
#include <string>

namespace penarin {

// A dated snapshot of the standings that a save adds to the charts.
struct SnapshotRequest
{
    double date = 0.0;
    std::u16string memo;
};

// The season the program works on, with its file and its unsaved state.
// Every window and dialog that opens, saves or changes the season goes
// through here, so "is it saved" has one answer and the title, the menus and
// the close question follow it through the signals.
class SeasonDocument : public QObject
{
    Q_OBJECT

public:
    explicit SeasonDocument(Season &season, QObject *parent = nullptr);

    [[nodiscard]] Season &season() { return m_season; }
    [[nodiscard]] const Season &season() const { return m_season; }

    [[nodiscard]] bool hasSeason() const { return m_season.HasSeason; }
    [[nodiscard]] bool isModified() const { return m_season.HasSeason && !m_season.IsSaved; }
    [[nodiscard]] QString fileName() const;
    // The last season file that was open, kept across a failed open so that
    // the next start reopens what the user last worked on.
    [[nodiscard]] const std::string &lastFile() const { return m_lastFile; }
    void setLastFile(std::string path) { m_lastFile = std::move(path); }

    // Clears whatever season is open, then loads the file. On failure the
    // season stays cleared and `reason` receives what the user can act on,
    // if the loader knows it.
    [[nodiscard]] LoadStatus open(const QString &path, std::string *reason = nullptr);

    // Writes the season to path, with the snapshot when one is asked for.
    // On failure the file on disk is untouched, the season stays unsaved and
    // error says why.
    [[nodiscard]] bool saveTo(const QString &path, const std::optional<SnapshotRequest> &snapshot,
                              const Clock &clock = systemNow, std::string *error = nullptr);

    // The season as after clearing it: no teams, no file.
    void clear();

    // Displaying or changing the season makes it a shown, unsaved one.
    void markModified();
    // A freshly opened season counts as saved once it is shown.
    void markSaved();

signals:
    void changed();
    void fileNameChanged(const QString &fileName);
    void modifiedChanged(bool modified);

private:
    void announce(bool wasModified, const std::string &oldFile);

    Season &m_season;
    std::string m_lastFile;
};

} // namespace penarin
