#pragma once

#include "DiagramComponent.h"

// The seven kinds of component. Each differs from the others only in its name, size, caption
// place and symbol, so they share one file.

class AcIsolatorDiagramComponent : public DiagramComponent
{
    Q_OBJECT
public:
    enum { Type = Diagram::AcIsolatorType };
    AcIsolatorDiagramComponent();
    int type() const override { return Type; }

protected:
    void paintSymbol(QPainter* painter) override;
};

class DcIsolatorDiagramComponent : public DiagramComponent
{
    Q_OBJECT
public:
    enum { Type = Diagram::DcIsolatorType };
    DcIsolatorDiagramComponent();
    int type() const override { return Type; }

protected:
    void paintSymbol(QPainter* painter) override;
};

class DistributionBoardDiagramComponent : public DiagramComponent
{
    Q_OBJECT
public:
    enum { Type = Diagram::DistributionBoardType };
    DistributionBoardDiagramComponent();
    int type() const override { return Type; }
    bool captionPlacement(QPointF* offset, QSizeF* size) const override;

protected:
    void paintSymbol(QPainter* painter) override;
};

class GenerationMeterDiagramComponent : public DiagramComponent
{
    Q_OBJECT
public:
    enum { Type = Diagram::GenerationMeterType };
    GenerationMeterDiagramComponent();
    int type() const override { return Type; }
    bool captionPlacement(QPointF* offset, QSizeF* size) const override;

protected:
    void paintSymbol(QPainter* painter) override;
};

class InverterDiagramComponent : public DiagramComponent
{
    Q_OBJECT
public:
    enum { Type = Diagram::InverterType };
    InverterDiagramComponent();
    int type() const override { return Type; }
    bool captionPlacement(QPointF* offset, QSizeF* size) const override;

protected:
    void paintSymbol(QPainter* painter) override;
};

// A free note: only its caption shows; the component takes the caption's size.
class LabelDiagramComponent : public DiagramComponent
{
    Q_OBJECT
public:
    enum { Type = Diagram::LabelType };
    LabelDiagramComponent();
    int type() const override { return Type; }
    bool captionPlacement(QPointF* offset, QSizeF* size) const override;
    void captionChanged() override;

protected:
    void paintSymbol(QPainter* painter) override;
};

// Accepts single wires only, at the middle of a side.
class PanelDiagramComponent : public DiagramComponent
{
    Q_OBJECT
public:
    enum { Type = Diagram::PanelType };
    PanelDiagramComponent();
    int type() const override { return Type; }
    bool captionPlacement(QPointF* offset, QSizeF* size) const override;
    void snap(int cableKind, QPointF& point, int& side, int drawState) override;

protected:
    void paintSymbol(QPainter* painter) override;
};

namespace DiagramComponents {
// An empty component of an item type, or null.
DiagramComponent* createForType(int type);
// The caption a new component of a type is offered ("Insert notes here" for a note).
QString defaultCaption(int type);
} // namespace DiagramComponents
