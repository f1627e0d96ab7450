#pragma once

#include "DocumentWithToolbar.h"

#include <QGraphicsView>

class QAction;

// A graphics view that leaves Control+wheel to the document that holds it (which zooms).
class ZoomableGraphicsView : public QGraphicsView
{
    Q_OBJECT
public:
    using QGraphicsView::QGraphicsView;

protected:
    void wheelEvent(QWheelEvent* event) override;
};

// A document that shows a graphics scene with zoom levels -7..7.
class GraphicsDocument : public DocumentWithToolbar
{
    Q_OBJECT
public:
    static constexpr int MaxZoomLevel = 7;

    GraphicsDocument(const QString& filePath, QWidget* parent = nullptr);

    ZoomableGraphicsView* view() const { return m_view; }
    int zoomLevel() const { return m_zoomLevel; }
    QAction* zoomInAction() const { return m_zoomIn; }
    QAction* zoomOutAction() const { return m_zoomOut; }

    // The scale of a zoom level: 1, 1.5, 2, 3, 4, 6, 8, 12 upwards, reciprocals downwards.
    static qreal zoomFactor(int level);

public slots:
    void zoomIn();
    void zoomOut();

protected:
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyZoom();
    // One wheel step of zoom about a point of the view's viewport.
    void zoomAbout(const QPoint& viewportPos, int wheelDelta);

    int m_zoomLevel = 0;
    ZoomableGraphicsView* m_view;
    QAction* m_zoomIn;
    QAction* m_zoomOut;
};
