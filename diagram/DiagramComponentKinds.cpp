#include "DiagramComponentKinds.h"

#include "DiagramLabel.h"

#include <QCoreApplication>
#include <QPainter>
#include <QtMath>

namespace {

const QPen thinPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);

// A 1 px frame inside rect, on whole pixels so that it stays sharp.
void drawThinFrame(QPainter* painter, const QRectF& rect, const QBrush& fill)
{
    painter->setPen(thinPen);
    painter->setBrush(fill);
    painter->drawRect(rect.adjusted(0.5, 0.5, -0.5, -0.5));
}

} // namespace

AcIsolatorDiagramComponent::AcIsolatorDiagramComponent()
    : DiagramComponent(
        QCoreApplication::translate("DiagramComponent", "AC Isolator", "Installation Diagram object name"),
        QSizeF(55, 55))
{ }

void AcIsolatorDiagramComponent::paintSymbol(QPainter* painter)
{
    drawBox(painter, rect(), Qt::white);
    painter->setPen(thinPen);
    painter->setBrush(Qt::darkGray);
    painter->drawEllipse(QRectF(QPointF(15, 15), QPointF(39, 39)));
}

DcIsolatorDiagramComponent::DcIsolatorDiagramComponent()
    : DiagramComponent(
        QCoreApplication::translate("DiagramComponent", "DC Isolator", "Installation Diagram object name"),
        QSizeF(40, 40))
{ }

void DcIsolatorDiagramComponent::paintSymbol(QPainter* painter)
{
    drawBox(painter, rect(), Qt::white);
    painter->setPen(Qt::NoPen);
    painter->setBrush(Qt::black);
    painter->drawEllipse(QRectF(QPointF(12, 12), QPointF(26, 26)));
}

DistributionBoardDiagramComponent::DistributionBoardDiagramComponent()
    : DiagramComponent(QCoreApplication::translate(
                           "DiagramComponent", "Distribution Board", "Installation Diagram object name"),
        QSizeF(140, 80))
{ }

bool DistributionBoardDiagramComponent::captionPlacement(QPointF* offset, QSizeF* size) const
{
    *offset = QPointF(-135, 0);
    *size = QSizeF();
    return true;
}

void DistributionBoardDiagramComponent::paintSymbol(QPainter* painter)
{
    drawBox(painter, rect(), Qt::darkGray);
    const QRectF strip(10, 10, 120, 30);
    drawThinFrame(painter, strip, Qt::white);
    painter->setRenderHint(QPainter::Antialiasing, false);
    for (int i = 1; i <= 6; ++i) {
        const int x = qRound(10 + i * 120.0 / 7);
        painter->drawLine(QPointF(x, strip.top()), QPointF(x, strip.bottom() - 1));
    }
    painter->setRenderHint(QPainter::Antialiasing, true);
}

GenerationMeterDiagramComponent::GenerationMeterDiagramComponent()
    : DiagramComponent(QCoreApplication::translate(
                           "DiagramComponent", "Generation Meter", "Installation Diagram object name"),
        QSizeF(120, 60))
{ }

bool GenerationMeterDiagramComponent::captionPlacement(QPointF* offset, QSizeF* size) const
{
    *offset = QPointF(-135, 0);
    *size = QSizeF();
    return true;
}

void GenerationMeterDiagramComponent::paintSymbol(QPainter* painter)
{
    drawBox(painter, rect(), Qt::darkGray);
    drawThinFrame(painter, QRectF(15, 0, 90, 30), Qt::white);
}

InverterDiagramComponent::InverterDiagramComponent()
    : DiagramComponent(
        QCoreApplication::translate("DiagramComponent", "Inverter", "Installation Diagram object name"),
        QSizeF(150, 100))
{ }

bool InverterDiagramComponent::captionPlacement(QPointF* offset, QSizeF* size) const
{
    *offset = QPointF(15, 30);
    *size = QSizeF(120, 40);
    return true;
}

void InverterDiagramComponent::paintSymbol(QPainter* painter)
{
    drawBox(painter, rect(), Qt::gray);
}

LabelDiagramComponent::LabelDiagramComponent()
    : DiagramComponent(
        QCoreApplication::translate("DiagramComponent", "Label", "Installation Diagram object name"),
        QSizeF(0, 0))
{
    // Its cable ends must follow it like any other component's.
    setFlags(ItemIsMovable | ItemIsSelectable | ItemHasNoContents | ItemSendsGeometryChanges);
}

bool LabelDiagramComponent::captionPlacement(QPointF* offset, QSizeF* size) const
{
    *offset = QPointF(0, 0);
    *size = QSizeF();
    return true;
}

void LabelDiagramComponent::captionChanged()
{
    setRect(caption() ? QRectF(QPointF(0, 0), caption()->boundingRect().size()) : QRectF());
}

void LabelDiagramComponent::paintSymbol(QPainter*) { }

PanelDiagramComponent::PanelDiagramComponent()
    : DiagramComponent(
        QCoreApplication::translate("DiagramComponent", "PV Panel", "Installation Diagram object name"),
        QSizeF(30, 40))
{ }

bool PanelDiagramComponent::captionPlacement(QPointF*, QSizeF*) const
{
    return false;
}

void PanelDiagramComponent::snap(int cableKind, QPointF& point, int& side, int drawState)
{
    if (cableKind != Diagram::SingleWire) {
        side = Diagram::NoSide;
        return;
    }
    DiagramComponent::snap(cableKind, point, side, drawState);
    const QPointF centre = sceneBoundingRect().center();
    if (side == Diagram::Top || side == Diagram::Bottom)
        point.setX(centre.x());
    else
        point.setY(centre.y());
}

void PanelDiagramComponent::paintSymbol(QPainter* painter)
{
    drawBox(painter, rect(), Qt::gray);
}

DiagramComponent* DiagramComponents::createForType(int type)
{
    switch (type) {
    case Diagram::LabelType:
        return new LabelDiagramComponent;
    case Diagram::InverterType:
        return new InverterDiagramComponent;
    case Diagram::GenerationMeterType:
        return new GenerationMeterDiagramComponent;
    case Diagram::DistributionBoardType:
        return new DistributionBoardDiagramComponent;
    case Diagram::AcIsolatorType:
        return new AcIsolatorDiagramComponent;
    case Diagram::DcIsolatorType:
        return new DcIsolatorDiagramComponent;
    case Diagram::PanelType:
        return new PanelDiagramComponent;
    default:
        return nullptr;
    }
}

QString DiagramComponents::defaultCaption(int type)
{
    switch (type) {
    case Diagram::LabelType:
        return QCoreApplication::translate("DiagramGraphicsScene", "Insert notes here");
    case Diagram::AcIsolatorType:
        return QCoreApplication::translate(
            "DiagramComponent", "AC Isolator", "Installation Diagram object name");
    case Diagram::DcIsolatorType:
        return QCoreApplication::translate(
            "DiagramComponent", "DC Isolator", "Installation Diagram object name");
    case Diagram::DistributionBoardType:
        return QCoreApplication::translate(
            "DiagramComponent", "Distribution Board", "Installation Diagram object name");
    case Diagram::GenerationMeterType:
        return QCoreApplication::translate(
            "DiagramComponent", "Generation Meter", "Installation Diagram object name");
    case Diagram::InverterType:
        return QCoreApplication::translate(
            "DiagramComponent", "Inverter", "Installation Diagram object name");
    default:
        return QString();
    }
}
