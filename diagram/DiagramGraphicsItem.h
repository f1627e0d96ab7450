#pragma once

#include "DiagramTypes.h"

#include <QGraphicsItem>
#include <QObject>

class QDomElement;

// The common base of every item a diagram file holds: components, label notes and cables.
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
    // The XML tag of the item; empty in the base (not saved).
    virtual QString elementName() const;
    virtual void save(QDomElement& element) const;
    virtual void load(const QDomElement& element);

    // Among items of one z-value, the one added to the scene later lies on top.
    quint64 stackingSerial() const { return m_stackingSerial; }

signals:
    void modified();

public slots:
    void setModified();

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;

private:
    QString m_id;
    quint64 m_stackingSerial = 0;
};
