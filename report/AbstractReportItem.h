#pragma once

#include "ReportModel.h"
#include "ReportTypes.h"

#include <QColor>
#include <QGraphicsObject>
#include <QString>
#include <QUndoCommand>

// The base of everything on a report page: the view of one item of the report model. It is built
// from the model item, gives back what it shows and the user changed as a model item, and reports
// edits as undo commands.
class AbstractReportItem : public QGraphicsObject
{
    Q_OBJECT
public:
    explicit AbstractReportItem(QGraphicsItem* parent = nullptr);
    ~AbstractReportItem() override;

    virtual bool isTabStop() const { return false; }
    virtual ReportItem::Kind modelKind() const = 0;
    virtual QString reportId() const { return m_id; }
    // Takes position, styles and id (and in the subclasses the rest) from the model item.
    virtual void fromModel(const ReportItem& item);
    // Fills a model item with what the item shows; false leaves the item out of the file.
    virtual bool toModel(ReportItem& item) const;

    QRectF boundingRect() const override { return QRectF(); }
    void paint(QPainter*, const QStyleOptionGraphicsItem*, QWidget*) override { }

    unsigned explicitStyleMask() const { return m_explicitStyleMask; }
    bool isEditable() const { return m_editable; }
    QColor colour() const { return m_colour; }
    QColor backgroundColour() const { return m_backgroundColour; }
    QString fontFamily() const { return m_fontFamily; }
    qreal fontSize() const { return m_fontSize; }
    int fontWeight() const { return m_fontWeight; }
    qreal padding() const { return m_padding; }

    // The tab chain is a doubly linked list: setting a next also sets its previous, and the old
    // partners on both sides are unlinked.
    AbstractReportItem* nextTabStop() const { return m_next; }
    AbstractReportItem* previousTabStop() const { return m_previous; }
    void setNextTabStop(AbstractReportItem* next);

signals:
    void modified(bool changed);
    void modified();
    void newCommand(QUndoCommand* cmd);

private:
    QString m_id;
    unsigned m_explicitStyleMask = 0;
    bool m_editable = false;
    QColor m_colour = Qt::black;
    QColor m_backgroundColour = Qt::white;
    QString m_fontFamily = QStringLiteral("Arial");
    qreal m_fontSize = 8.5;
    int m_fontWeight = 50;
    qreal m_padding = 2.0;
    AbstractReportItem* m_next = nullptr;
    AbstractReportItem* m_previous = nullptr;
};
