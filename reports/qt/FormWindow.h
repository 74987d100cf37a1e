// The page of the print preview: a white sheet with a shadow, the page played into it, three
// zoom levels by clicking (left in, right out) about the clicked point.
#pragma once

#include <QAbstractScrollArea>
#include <QSizeF>
#include <memory>

class TQtFormPage;

class TFormWindow : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TFormWindow(QWidget* parent = nullptr);

    // The page to show (null: an empty sheet) and the sheet's size in millimetres.
    void SetPage(std::shared_ptr<const TQtFormPage> page, QSizeF sheetMm);
    int ZoomLevel() const { return zoom; }
    // Where the sheet is, in viewport coordinates.
    QRect SheetRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    std::shared_ptr<const TQtFormPage> page;
    QSizeF sheetMm{216, 279};
    int zoom = 0;
    QPointF focus{0.5, 0.5};  // the point of the sheet in the middle of the window, as fractions
    bool placing = false;

    QSize SheetSize(int level) const;
    void UpdateScrollBars();
    void SetZoom(int level, QPoint about);
    void Place();
};
