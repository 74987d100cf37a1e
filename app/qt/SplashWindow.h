// The splash window of the start: our picture, borderless, centred on the screen, a quarter of the
// screen wide, closing itself after two seconds.
#pragma once

#include <QSvgRenderer>
#include <QTimer>
#include <QWidget>

class TSplashWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int ShowMilliseconds = 2000;

    explicit TSplashWindow(const QString& picture = ":/splash.svg", QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QSvgRenderer picture;
    QTimer timer;
};

// Shows a splash window that deletes itself when it closes.
TSplashWindow* ShowSplash();
