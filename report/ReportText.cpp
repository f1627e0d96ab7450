#include "ReportText.h"

#include "AbstractDocument.h"
#include "GraphicsTextItem.h"
#include "MainWindowRef.h"
#include "Prompts.h"
#include "ReportScene.h"
#include "ReportTextCommand.h"

#include <QAction>
#include <QDomElement>
#include <QFontDialog>
#include <QGraphicsSceneContextMenuEvent>
#include <QGraphicsSceneMouseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QTextBoundaryFinder>
#include <QTextDocument>
#include <QWidget>

ReportText::ReportText(QGraphicsItem* parent)
    : ReportResizableItem(false, parent)
    , m_text(new GraphicsTextItem(this))
{
    setFlag(ItemIsFocusable);
    m_text->setTextInteractionFlags(Qt::NoTextInteraction);
}

QAction* ReportText::fontSettingsAction()
{
    // Made on first use: a report holds hundreds of fields and few ever open the menu.
    if (!m_fontSettings) {
        m_fontSettings = new QAction(tr("Font Settings..."), this);
        connect(m_fontSettings, &QAction::triggered, this, &ReportText::chooseFont);
    }
    return m_fontSettings;
}

QString ReportText::plainText() const
{
    return m_text->toPlainText();
}

QString ReportText::ownText(const QDomElement& element)
{
    QString text;
    for (QDomNode node = element.firstChild(); !node.isNull(); node = node.nextSibling()) {
        if (node.isText() || node.isCDATASection())
            text += node.toCharacterData().data();
    }
    return text;
}

qreal ReportText::screenPointSize(qreal points)
{
    qreal dpi = 96;
    if (QWidget* window = currentMainWindow())
        dpi = window->logicalDpiY();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        dpi = screen->logicalDotsPerInchY();
    return dpi > 0 && !qFuzzyCompare(dpi, 96.0) ? points * 96 / dpi : points;
}

Qt::TextInteractionFlags ReportText::idleInteraction() const
{
    return isEditable() ? Qt::TextEditorInteraction : Qt::NoTextInteraction;
}

QString ReportText::storableText(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const ushort c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            result += text.at(i);
            result += text.at(++i);
            continue;
        }
        const bool allowed
            = c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c < 0xD800) || (c >= 0xE000 && c <= 0xFFFD);
        if (allowed)
            result += text.at(i);
    }
    return result;
}

int ReportText::visibleLength(const QString& text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

QString ReportText::leftVisible(const QString& text, int count)
{
    // A character takes at least one unit: a text that short has no more characters.
    if (text.size() <= count)
        return text;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int end = 0;
    for (int i = 0; i < count; ++i) {
        const int next = finder.toNextBoundary();
        if (next < 0)
            break;
        end = next;
    }
    return text.left(end);
}

bool ReportText::load(const QDomElement& element, bool valuesOnly, const DocumentContainer& container)
{
    QString text = ownText(element);
    // No form field holds a book; laying out one would stall the program.
    if (text.size() > MaxTextLength)
        return false;
    const QString kept = leftVisible(text, MaxFieldLength);
    if (kept.size() < text.size()) {
        text = kept;
        if (auto* reportScene = qobject_cast<ReportScene*>(scene()))
            reportScene->noteShortenedValue();
    }
    bool ok = true;
    if (valuesOnly) {
        m_text->replaceText(text);
        ok = ReportResizableItem::load(element, true, container);
        m_text->shrinkToFit();
    } else {
        // Size and font go first, so that the text is laid out once, with both.
        ok = ReportResizableItem::load(element, false, container);
        m_text->setTextInteractionFlags(idleInteraction());
        QFont font(fontFamily());
        font.setPointSizeF(screenPointSize(fontSize()));
        font.setWeight(fontWeight());
        m_text->setDefaultTextColor(colour());
        m_text->setFont(font);
        m_text->setFontPointSize(font.pointSizeF());
        // Most fields of a pack are empty, and so is their new document.
        if (!text.isEmpty() || !m_text->document()->isEmpty())
            m_text->replaceText(text);
        if (m_text->fieldHeight() > 0)
            m_text->shrinkToFit();
    }
    m_loaded = true;
    if (!m_documentConnected) {
        m_documentConnected = true;
        connect(m_text->document(), &QTextDocument::contentsChanged, this,
            QOverload<>::of(&AbstractReportItem::modified));
        connect(m_text->document(), &QTextDocument::undoCommandAdded, this, &ReportText::createUndoCommand);
    }
    return ok;
}

bool ReportText::save(QDomElement& element, bool valuesOnly, DocumentContainer& container)
{
    if (!ReportResizableItem::save(element, valuesOnly, container))
        return false;
    const QString text = storableText(m_text->toPlainText());
    if (!text.isEmpty())
        element.appendChild(element.ownerDocument().createTextNode(text));
    return true;
}

void ReportText::setSize(const QSizeF& size, int handle)
{
    ReportResizableItem::setSize(size, handle);
    m_text->resetScale();
    m_text->setTextWidth(size.width());
    m_text->setFieldSize(size.width(), size.height());
    // A field resized by the user shows its text fitted to the new box; while loading, the
    // fitting waits for the font.
    if (m_loaded && size.height() > 0)
        m_text->shrinkToFit();
}

QFont ReportText::textFont() const
{
    return m_text->font();
}

void ReportText::setTextFont(const QFont& font)
{
    m_text->setFont(font);
    m_text->setFontPointSize(font.pointSizeF());
    if (m_text->fieldHeight() > 0 && !m_text->toPlainText().isEmpty()) {
        m_text->resetScale();
        m_text->setTextWidth(m_text->fieldWidth());
        m_text->shrinkToFit();
    }
}

void ReportText::createUndoCommand()
{
    // Each step the text document records is one step of the report, even one that leaves the
    // text looking the same: undoing the report undoes exactly that step of the text, and the
    // steps before it still line up.
    emit newCommand(new ReportTextCommand(m_text));
}

void ReportText::chooseFont()
{
    DocumentDialogScope dialogs(scene());
    QFontDialog dialog(m_text->font(), currentMainWindow());
    dialog.setWindowTitle(QString());
    if (Prompts::instance().execDialog(&dialog) == QDialog::Accepted)
        setTextFont(dialog.selectedFont());
}

void ReportText::focusInEvent(QFocusEvent* event)
{
    ReportResizableItem::focusInEvent(event);
    if (isEditable())
        m_text->startEditing();
}

void ReportText::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && isEditable())
        m_text->startEditing();
    ReportResizableItem::mousePressEvent(event);
}

void ReportText::contextMenuEvent(QGraphicsSceneContextMenuEvent* event)
{
    if (!isEditable()) {
        event->ignore();
        return;
    }
    QMenu menu;
    menu.addAction(fontSettingsAction());
    menu.exec(event->screenPos());
    event->accept();
}
