#include "ui/dialogs/tableexport.h"

#include "platform/prompts.h"
#include "season/tablewriter.h"

#include <filesystem>

namespace penarin {

bool ExportTable(Prompts &prompts, const TextTable &table, const QString &startFolder)
{
    const QString path =
        prompts.saveFile(FileRequest{QStringLiteral("名前を付けて保存"),
                                     QStringLiteral("カンマ区切り(*.csv);;タブ区切り(*.txt)"),
                                     QStringLiteral("csv"), startFolder});
    if (path.isEmpty()) {
        return false;
    }
    if (!WriteTextTable(std::filesystem::u8path(path.toStdString()), table)) {
        prompts.message(QStringLiteral("ファイルを保存できません"), MessageIcon::Exclamation,
                        MessageButtons::Ok);
        return false;
    }
    return true;
}

} // namespace penarin
