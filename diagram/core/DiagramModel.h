#pragma once

#include "DiagramIds.h"
#include "DiagramTypes.h"

#include <QHash>
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

// Which end of a cable.
enum EndName { EndA = 0, EndB = 1 };

// Where a component and its caption lie; an edit that moves one sets both, since a component
// carries its caption along and a note goes where its text goes.
struct Placement
{
    QString id;
    QPointF position;
    QPointF captionPosition; // as it was where the component has no caption
};

// A cable end as it was before an edit let it go.
struct EndRef
{
    QString cableId;
    int end = EndA;
    CableEnd was;
};

// A component taken out of the drawing, with the ends that were attached to it: enough to put
// everything back as it was.
struct RemovedComponent
{
    bool taken = false; // false when the model held no such component
    Component component;
    QVector<EndRef> ends;
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

    // The edits of the drawing. Ids are unique within a model (the reader renumbers twins);
    // an id the model does not hold changes nothing.
    int componentIndex(const QString& id) const;
    int cableIndex(const QString& id) const;
    const Diagram::Component* component(const QString& id) const;
    const Diagram::Cable* cable(const QString& id) const;

    Diagram::Placement placement(const QString& id) const;
    void place(const Diagram::Placement& placement);

    void setCaptionText(const QString& id, const QString& text);
    // The box the drawing lays the caption's text out in.
    void setCaptionSize(const QString& id, const QSizeF& size);
    // Takes the caption away (the component keeps none) and gives it back.
    Diagram::Caption takeCaption(const QString& id);
    void putCaption(const QString& id, const Diagram::Caption& caption);

    void setCableEnd(const QString& cableId, int end, const Diagram::CableEnd& value);

    // A new or returning item lies above all others.
    void addComponent(const Diagram::Component& component);
    void addCable(const Diagram::Cable& cable);
    // Takes a component out; the cable ends attached to it go loose.
    Diagram::RemovedComponent removeComponent(const QString& id);
    void restoreComponent(const Diagram::RemovedComponent& removed);
    Diagram::Cable removeCable(const QString& id);

private:
    Diagram::Component* findComponent(const QString& id);

    // Where each id stands, so that an edit of a large drawing finds its entry at once. The
    // lists are open to the reader and the writer, so an index is checked on use and built
    // again when it has gone stale.
    mutable QHash<QString, int> m_componentIndex;
    mutable QHash<QString, int> m_cableIndex;
};
