#include "ui/dialogs/qtdialogs.h"

#include "charts/frmdate.h"
#include "ui/dialogs/dlgset.h"

namespace penarin {

std::optional<SnapshotRequest> QtDialogs::askSnapshot(double today, QWidget *parent)
{
    frmDate prompt(m_prompts, today, parent);
    if (prompt.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return SnapshotRequest{prompt.snapshotDate(), prompt.snapshotMemo()};
}

void QtDialogs::editSettings(Settings &settings, const FontPreview &preview,
                             const std::function<void()> &applied, QWidget *parent)
{
    DlgSet dialog(settings, m_prompts, preview, parent);
    QObject::connect(&dialog, &DlgSet::settingsApplied, &dialog, [&applied] { applied(); });
    dialog.ShowSettings();
}

} // namespace penarin
