#pragma once

// Numbers that the drawing, its file format and the routing share.
namespace Diagram {

// Item types (QGraphicsItem::type). A component is recognised by the ComponentBit.
enum ItemType {
    GraphicsItemType = 0x10000,
    ComponentType = 0x20000,
    AcIsolatorType = 0x20001,
    DcIsolatorType = 0x20002,
    DistributionBoardType = 0x20003,
    GenerationMeterType = 0x20004,
    InverterType = 0x20005,
    LabelType = 0x20006,
    PanelType = 0x20007,
    ConnectionType = 0x40000, // plus the cable kind
};
constexpr int ComponentBit = 0x20000;

inline bool isComponentType(int type)
{
    return (type & ComponentBit) != 0;
}

// Sides of a component that a cable end attaches to; 0 means not attached.
enum Side { NoSide = 0, Top = 1, Bottom = 2, Right = 4, Left = 8 };

inline bool isValidSide(int side)
{
    return side == Top || side == Bottom || side == Right || side == Left;
}

// Cable kinds.
enum CableKind { SingleWire = 1, DcCable = 2, AcCable = 3 };

// Scene modes.
enum Mode { NormalMode = 0, WireMode = 1 };

// Drawing states of a cable: which end follows the pointer.
enum DrawState { PlacingEndA = 0, PlacingEndB = 1, Placed = 2 };

} // namespace Diagram
