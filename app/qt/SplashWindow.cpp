#include "app/qt/SplashWindow.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "app/Version.h"

// The artwork is embedded in the program's library; a static library keeps it only when asked for.
static void InitArtwork() {
    Q_INIT_RESOURCE(quillet);
}

TSplashWindow::TSplashWindow(const QString& path, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    InitArtwork();
    picture.load(path);
    setObjectName("splash");
    setAccessibleName("Quillet");
    setAttribute(Qt::WA_ShowWithoutActivating);
    // The picture's proportions: 180 wide to 153 high.
    const QRect desk = QGuiApplication::primaryScreen()
                           ? QGuiApplication::primaryScreen()->geometry()
                           : QRect(0, 0, 1920, 1080);
    const int width = desk.width() / 4;
    const int height = width * 153 / 180;
    setGeometry(desk.x() + (desk.width() - width) / 2, desk.y() + (desk.height() - height) / 2,
                width, height);
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, &QWidget::close);
}

void TSplashWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    timer.start(ShowMilliseconds);
}

void TSplashWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (picture.isValid()) {
        picture.render(&painter, rect());
        return;
    }
    // Without its picture the window still says what is starting.
    painter.fillRect(rect(), palette().window());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignCenter,
                     QString("Quillet %1").arg(QString::fromStdString(QuilletVersionText())));
}

TSplashWindow* ShowSplash() {
    auto* splash = new TSplashWindow;
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->show();
    return splash;
}
