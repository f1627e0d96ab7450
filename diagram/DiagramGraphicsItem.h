#pragma once

#include "DiagramTypes.h"

#include <QGraphicsItem>
#include <QObject>

// The common base of every item a diagram file holds: components, label notes and cables. The
// file itself is read and written through the model (DiagramFormat); items give and take their
// part of it.
class DiagramGraphicsItem : public QObject, public QGraphicsItem
{
    Q_OBJECT
    Q_INTERFACES(QGraphicsItem)
public:
    enum { Type = Diagram::GraphicsItemType };

    explicit DiagramGraphicsItem(QGraphicsItem* parent = nullptr);

    int type() const override { return Type; }

    QString id() const { return m_id; }
    void setId(const QString& id) { m_id = id; }

    // Text used in menus ("Delete %1"); empty in the base.
    virtual QString displayName() const;

signals:
    void modified();

public slots:
    void setModified();

private:
    QString m_id;
};
