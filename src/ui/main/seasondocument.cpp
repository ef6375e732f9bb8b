#include "ui/main/seasondocument.h"

#include <filesystem>

namespace penarin {

namespace {

std::filesystem::path pathOf(const QString &path)
{
    return std::filesystem::u8path(path.toStdString());
}

} // namespace

SeasonDocument::SeasonDocument(Season &season, QObject *parent)
    : QObject(parent), m_season(season), m_lastFile(season.CurrentFile)
{}

QString SeasonDocument::fileName() const
{
    return QString::fromStdString(m_season.CurrentFile);
}

void SeasonDocument::announce(bool wasModified, const std::string &oldFile)
{
    if (oldFile != m_season.CurrentFile) {
        emit fileNameChanged(fileName());
    }
    if (wasModified != isModified()) {
        emit modifiedChanged(isModified());
    }
    emit changed();
}

LoadStatus SeasonDocument::open(const QString &path, std::string *reason)
{
    const bool wasModified = isModified();
    const std::string oldFile = m_season.CurrentFile;
    if (m_season.HasSeason) {
        ClearSeason(m_season);
    }
    const LoadStatus status = LoadSeason(m_season, pathOf(path), systemNow, reason);
    if (status != LoadStatus::Failed) {
        m_lastFile = m_season.CurrentFile;
    }
    announce(wasModified, oldFile);
    return status;
}

bool SeasonDocument::saveTo(const QString &path, const std::optional<SnapshotRequest> &snapshot,
                            const Clock &clock, std::string *error)
{
    const bool wasModified = isModified();
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
    }
    announce(wasModified, oldFile);
    return saved;
}

void SeasonDocument::clear()
{
    const bool wasModified = isModified();
    const std::string oldFile = m_season.CurrentFile;
    ClearSeason(m_season);
    announce(wasModified, oldFile);
}

void SeasonDocument::markModified()
{
    // Every refill after a click marks the season again; a season shown and
    // unsaved already has nothing to announce.
    if (isModified()) {
        return;
    }
    m_season.HasSeason = true;
    m_season.IsSaved = false;
    announce(false, m_season.CurrentFile);
}

void SeasonDocument::markSaved()
{
    const bool wasModified = isModified();
    m_season.IsSaved = true;
    announce(wasModified, m_season.CurrentFile);
}

} // namespace penarin
