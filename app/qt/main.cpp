#include <QApplication>

#include "app/QuilletConfig.h"
#include "app/qt/MainWindow.h"
#include "app/qt/QtUIPort.h"
#include "core/ObjectStream.h"
#include "plan/TemplateDialogs.h"
#include "platform/Platform.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quillet");
    QApplication::setApplicationVersion(
        QString("%1.%2").arg(QuilletVersionMajor).arg(QuilletVersionMinor));

    RegisterQuilletClasses();
    InstallTemplateApplier();
    TQtUIPort ui;
    SetUIPort(&ui);
    TLinuxPlatform platform;
    TQtScreen screen;
    TConfigFile config(platform, screen);

    int result = 0;
    {
        TMainWindow window(config, TCommandLine::Parse(QApplication::arguments()));
        window.ShowAsConfigured();
        result = QApplication::exec();
    }
    SetUIPort(nullptr);
    return result;
}
