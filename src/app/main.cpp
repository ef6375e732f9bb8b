#include "platform/qtprompts.h"
#include "season/season.h"
#include "season/settings.h"
#include "ui/main/frmmain.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("penarin"));
    QApplication::setApplicationDisplayName(QStringLiteral("ペナリン"));

    const std::filesystem::path programFolder =
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
    const std::filesystem::path userFolder =
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation).toStdString();

    penarin::Season season;
    penarin::ClearSeason(season);
    penarin::Settings settings;
    penarin::QtPrompts prompts;
    penarin::ProgramFiles files{penarin::settingsFilePath(programFolder,
                                                          penarin::isFolderWritable(programFolder),
                                                          userFolder),
                                programFolder / "Mgcsm.html"};

    penarin::frmMain window(season, settings, prompts, files);
    prompts.setParentWidget(&window);
    window.startUp();
    window.show();
    return QApplication::exec();
}
