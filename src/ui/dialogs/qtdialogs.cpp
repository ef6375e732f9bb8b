#include "ui/dialogs/qtdialogs.h"

#include "charts/frmdate.h"

namespace penarin {

std::optional<SnapshotRequest> QtDialogs::askSnapshot(double today, QWidget *parent)
{
    frmDate prompt(m_prompts, today, parent);
    if (prompt.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return SnapshotRequest{prompt.snapshotDate(), prompt.snapshotMemo()};
}

} // namespace penarin
