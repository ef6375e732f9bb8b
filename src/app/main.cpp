#include "platform/qtprompts.h"
#include "season/helpfile.h"
#include "season/season.h"
#include "season/settings.h"
#include "ui/dialogs/qtdialogs.h"
#include "ui/main/frmmain.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTranslator>

#include <cstring>
#include <iostream>

int main(int argc, char **argv)
{
    // Answered before Qt starts, so it works where no display is, as in a
    // terminal on a server or from a package's test.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "penarin " << penarin::ProgramVersion << '\n';
        std::cout.flush();
        return std::cout ? 0 : 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("penarin"));
    QApplication::setApplicationVersion(QString::fromStdString(penarin::ProgramVersion));
    QApplication::setApplicationDisplayName(QStringLiteral("ペナリン"));
    // Ties the window to its launcher entry and icon once installed.
    QGuiApplication::setDesktopFileName(QStringLiteral("jp.penarin.Penarin"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("jp.penarin.Penarin")));

    // The program speaks Japanese whatever the desktop's language, and so do
    // the standard buttons and file dialogs Qt draws for it.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    QTranslator qtTranslations;
    if (qtTranslations.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"),
                            QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTranslations);
    }

    const std::filesystem::path programFolder =
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
    const std::filesystem::path userFolder =
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation).toStdString();

    penarin::Season season;
    penarin::ClearSeason(season);
    penarin::Settings settings;
    penarin::QtPrompts prompts;
    penarin::QtDialogs dialogs(prompts);
    penarin::ProgramFiles files{penarin::settingsFilePath(programFolder,
                                                          penarin::isFolderWritable(programFolder),
                                                          userFolder),
                                penarin::helpFilePath(programFolder)};

    penarin::frmMain window(season, settings, prompts, dialogs, files);
    prompts.setParentWidget(&window);
    // "penarin FILE", as the launcher and the file manager start it.
    const QStringList arguments = QCoreApplication::arguments();
    window.startUp(arguments.size() > 1 ? arguments.at(1) : QString());
    window.show();
    return QApplication::exec();
}
