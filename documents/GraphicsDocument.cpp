#include "GraphicsDocument.h"

#include <QAction>
#include <QScrollArea>
#include <QToolBar>
#include <QWheelEvent>
#include <cstdlib>

void ZoomableGraphicsView::wheelEvent(QWheelEvent* event)
{
    if (event->modifiers() & Qt::ControlModifier) {
        event->ignore();
        return;
    }
    QGraphicsView::wheelEvent(event);
}

GraphicsDocument::GraphicsDocument(const QString& filePath, QWidget* parent)
    : DocumentWithToolbar(filePath, parent)
    , m_view(new ZoomableGraphicsView)
    , m_zoomIn(new QAction(QIcon(QStringLiteral(":res/toolButtons/zoomIn.png")), tr("Zoom In"), this))
    , m_zoomOut(new QAction(QIcon(QStringLiteral(":res/toolButtons/zoomOut.png")), tr("Zoom Out"), this))
{
    scrollArea()->setWidget(m_view);
    scrollArea()->setBackgroundRole(QPalette::Dark);

    m_zoomIn->setObjectName(QStringLiteral("actionZoomIn"));
    m_zoomIn->setToolTip(tr("Zoom In"));
    m_zoomIn->setShortcut(QKeySequence(QStringLiteral("Ctrl++")));
    m_zoomOut->setObjectName(QStringLiteral("actionZoomOut"));
    m_zoomOut->setToolTip(tr("Zoom Out"));
    m_zoomOut->setShortcut(QKeySequence(QStringLiteral("Ctrl+-")));
    for (QAction* action : { m_zoomIn, m_zoomOut })
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(m_zoomIn, &QAction::triggered, this, &GraphicsDocument::zoomIn);
    connect(m_zoomOut, &QAction::triggered, this, &GraphicsDocument::zoomOut);
    toolBar()->addAction(m_zoomIn);
    toolBar()->addAction(m_zoomOut);
    toolBar()->addSeparator();
    // Control+wheel over the page zooms; the view leaves such events alone.
    m_view->viewport()->installEventFilter(this);
    applyZoom();
}

qreal GraphicsDocument::zoomFactor(int level)
{
    static const qreal factors[] = { 1.0, 1.5, 2.0, 3.0, 4.0, 6.0, 8.0, 12.0 };
    const qreal factor = factors[qBound(0, std::abs(level), MaxZoomLevel)];
    return level < 0 ? 1.0 / factor : factor;
}

void GraphicsDocument::zoomIn()
{
    if (m_zoomLevel < MaxZoomLevel) {
        ++m_zoomLevel;
        applyZoom();
    }
}

void GraphicsDocument::zoomOut()
{
    if (m_zoomLevel > -MaxZoomLevel) {
        --m_zoomLevel;
        applyZoom();
    }
}

void GraphicsDocument::applyZoom()
{
    m_zoomIn->setEnabled(m_zoomLevel < MaxZoomLevel);
    m_zoomOut->setEnabled(m_zoomLevel > -MaxZoomLevel);
    const qreal factor = zoomFactor(m_zoomLevel);
    m_view->setTransform(QTransform::fromScale(factor, factor));
}

void GraphicsDocument::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        DocumentWithToolbar::wheelEvent(event);
        return;
    }
    zoomAbout(m_view->viewport()->mapFrom(this, event->position().toPoint()), event->angleDelta().y());
    event->accept();
}

bool GraphicsDocument::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view->viewport() && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            zoomAbout(wheel->position().toPoint(), wheel->angleDelta().y());
            wheel->accept();
            return true;
        }
    }
    return DocumentWithToolbar::eventFilter(watched, event);
}

void GraphicsDocument::zoomAbout(const QPoint& cursor, int wheelDelta)
{
    // The scene point under the cursor stays under the cursor.
    const QPointF scenePoint = m_view->mapToScene(cursor);
    const int width = m_view->viewport()->width();
    const int height = m_view->viewport()->height();

    m_zoomLevel = qBound(-MaxZoomLevel, m_zoomLevel + (wheelDelta > 0 ? 1 : -1), MaxZoomLevel);
    applyZoom();

    const QPoint moved = m_view->mapFromScene(scenePoint);
    const QPoint centre = moved + QPoint(width / 2, height / 2) - cursor;
    m_view->centerOn(m_view->mapToScene(centre));
}
