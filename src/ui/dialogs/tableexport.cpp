#include "ui/dialogs/tableexport.h"

#include "platform/prompts.h"
#include "season/tablewriter.h"

#include <QDir>

#include <filesystem>
#include <string>

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
    std::string reason;
    if (!WriteTextTable(std::filesystem::u8path(path.toStdString()), table, &reason)) {
        prompts.message(QStringLiteral("ファイルを保存できません\r\n%1\r\n%2")
                            .arg(QDir::toNativeSeparators(path), QString::fromStdString(reason)),
                        MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    return true;
}

} // namespace penarin
