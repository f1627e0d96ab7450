#pragma once

#include "ReportModel.h"
#include "ReportTypes.h"

#include <QColor>
#include <QGraphicsObject>
#include <QString>
#include <QUndoCommand>
#include <memory>

// The base of everything on a report page: the view of one item of the report model. It is built
// from the model item, writes every edit the user makes into it, shows it again when an undo
// command changed it, and reports edits as undo commands.
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
    // Fills a model item with what the item shows; false when the item has nothing of its own to
    // give (a set the table made, a picture not chosen).
    virtual bool toModel(ReportItem& item) const;

    // The model item this item shows. An item made outside a loaded report has one of its own
    // (made on first use from what it shows), which an addition hands to the report's model.
    ReportItem* model();
    // Makes this item the view of a model item that the report's model holds; the model item
    // takes what the view shows, so that a load then save writes what the report always wrote.
    // Tables bind the sets and cells they made from the item's children too.
    virtual void bindModel(ReportItem* item);
    // Hands over the model item of its own (none when the item is bound), which it goes on showing.
    std::unique_ptr<ReportItem> takeOwnModel();
    // Shows again what an undo command changed in the model item.
    virtual void showModel() { }
    // The model item this item is the view of, none before it has one.
    ReportItem* boundModel() const { return m_model; }

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
    // An item the user adds (a picture on a page) or deletes, for the report to do as an undo step.
    void addRequested(AbstractReportItem* item);
    void deleteRequested(AbstractReportItem* item);

protected slots:
    // Writes what the item now shows into its model item, after an edit.
    void storeInModel();

private:
    ReportItem* m_model = nullptr;
    std::unique_ptr<ReportItem> m_ownModel;
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
