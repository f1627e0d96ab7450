#pragma once

#include "ReportTypes.h"

#include <QColor>
#include <QGraphicsObject>
#include <QString>
#include <QUndoCommand>

class DocumentContainer;
class QDomElement;

// The base of everything on a report page: it knows its XML element, reads and writes the
// common attributes with style inheritance, and reports edits as undo commands.
class AbstractReportItem : public QGraphicsObject
{
    Q_OBJECT
public:
    explicit AbstractReportItem(QGraphicsItem* parent = nullptr);
    ~AbstractReportItem() override;

    virtual bool isTabStop() const { return false; }
    virtual QString tagName() const = 0;
    virtual QString reportId() const { return m_id; }
    // Full mode writes position, explicit styles and id. False leaves the element out.
    virtual bool save(QDomElement& element, bool valuesOnly, DocumentContainer& container);
    // Values mode reads only the id; full mode also the position and the styles. False means the
    // element is damaged beyond use.
    virtual bool load(const QDomElement& element, bool valuesOnly, const DocumentContainer& container);
    virtual AbstractReportItem* styleParent() const;

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

    // A number attribute, or the fallback when it is missing, not a number or out of the range
    // that any report uses.
    static qreal readDouble(const QDomElement& element, const QString& name, qreal fallback,
        qreal limit = ReportGeometry::MaxCoordinate);
    static int readInt(const QDomElement& element, const QString& name, int fallback, bool* ok = nullptr);

signals:
    void modified(bool changed);
    void modified();
    void newCommand(QUndoCommand* cmd);

private:
    void loadStyles(const QDomElement& element);

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
