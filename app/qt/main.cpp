#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QTimer>

#include "app/QuilletConfig.h"
#include "app/Registration.h"
#include "app/Session.h"
#include "app/qt/MainWindow.h"
#include "app/qt/QtUIPort.h"
#include "core/QuilletOptions.h"
#include "plan/TemplateDialogs.h"
#include "platform/Platform.h"

// Builds the program: the ports' Qt adapters, the configuration and its options, the open
// budget's session, the idle hook and the one-minute auto-save timer, then the frame.
int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quillet");
    QApplication::setApplicationVersion(
        QString("%1.%2").arg(QuilletVersionMajor).arg(QuilletVersionMinor));

    RegisterQuilletClasses();
    InstallTemplateApplier();
    TQtUIPort ui;
    TPortInstall<TUIPort> uiInstalled(UI, ui);
    TLinuxPlatform platform;
    TQtScreen screen;
    TConfigFile config(platform, screen);
    TSession session(platform);

    int result = 0;
    {
        TMainWindow window(session, config, TCommandLine::Parse(QApplication::arguments()));
        // The frame has loaded the configuration: the rules read its options from now on.
        SetCurrentOptions(&config.Options());

        // The idle pass runs whenever the event loop is about to wait, in nested loops too
        // (the session keeps it from re-entering itself).
        QObject::connect(QAbstractEventDispatcher::instance(),
                         &QAbstractEventDispatcher::aboutToBlock, &window,
                         [&session] { session.IdlePass(); });
        QTimer minute;
        minute.setInterval(60000);
        QObject::connect(&minute, &QTimer::timeout, &window,
                         [&] { session.AutoSave().Tick(config.Options().autoSaveMinutes); });
        minute.start();

        window.ShowAsConfigured();
        result = QApplication::exec();
        session.Close();
    }
    SetCurrentOptions(nullptr);
    return result;
}
