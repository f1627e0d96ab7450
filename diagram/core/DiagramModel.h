#pragma once

#include "DiagramIds.h"
#include "DiagramTypes.h"

#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QVector>

// What an installation diagram holds, without the drawing: its components with their captions,
// its cables with their ends, and the numbering of new ids. The scene shows a model and fills
// one from what is drawn; the file format reads and writes one.
namespace Diagram {

// The text beside a component, in scene coordinates.
struct Caption
{
    QPointF position;
    // The box the text is shown in: its width fixes where the text wraps, its height is the
    // least the box takes.
    QSizeF size;
    QString text; // plain text, one line per line feed
};

struct Component
{
    int type = 0; // one of the component item types
    QString id;
    QPointF position; // top-left corner in the scene
    bool hasCaption = false;
    Caption caption;
};

struct CableEnd
{
    // A loose end is not stored: it stays wherever the cable was drawn until the file is
    // opened again.
    bool attached = false;
    QString componentId;
    QPointF offset; // from the component's position
    int side = NoSide;
};

struct Cable
{
    int kind = 0; // a cable kind, or 0 for one the program does not know
    QString id;
    CableEnd endA;
    CableEnd endB;
};

// Largest coordinate a drawing may use: a file's value beyond it counts as missing, so that no
// file can shrink the printed drawing to a dot.
constexpr double MaxCoordinate = 1.0e7;

} // namespace Diagram

struct DiagramModel
{
    // Both lists run from the topmost item down, the order of the file. Components always lie
    // above cables.
    QVector<Diagram::Component> components;
    QVector<Diagram::Cable> cables;
    // The next number for a new id: after the highest the drawing has held.
    DiagramIdCounter ids;
};
