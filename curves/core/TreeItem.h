#pragma once

#include "CurveConstants.h"

#include <QColor>
#include <QVariant>
#include <QVector>

namespace IVCurve {

// One node of the curve tree: a folder or a string. It owns its children; its data vector
// holds the values listed by TreeData (the root holds the header texts instead).
class TreeItem
{
public:
    explicit TreeItem(const QVector<QVariant>& data, TreeItem* parent = nullptr);
    ~TreeItem();
    TreeItem(const TreeItem&) = delete;
    TreeItem& operator=(const TreeItem&) = delete;

    TreeItem* parent() const { return m_parent; }
    TreeItem* child(int row) const { return m_children.value(row); }
    int childCount() const { return m_children.size(); }
    // The position among the siblings; 0 for the root.
    int row() const;
    bool isAncestorOf(const TreeItem* item) const;

    QVariant data(int index) const { return m_data.value(index); }
    // The node's curve; 0 for a folder and for a CurveID no curve can have (never wrapped).
    uint curveID() const;
    bool setData(int index, const QVariant& value);
    const QVector<QVariant>& allData() const { return m_data; }
    void setAllData(const QVector<QVariant>& data) { m_data = data; }
    QColor colour() const { return m_colour; }
    void setColour(const QColor& colour) { m_colour = colour; }

    // Inserts blank items with the given number of data values.
    bool insertChildren(int position, int count, int dataCount);
    // Takes ownership of an item and puts it at the position.
    void insertChild(int position, TreeItem* item);
    bool removeChildren(int position, int count);

private:
    TreeItem* m_parent;
    QVector<TreeItem*> m_children;
    QVector<QVariant> m_data;
    QColor m_colour;
};

} // namespace IVCurve
