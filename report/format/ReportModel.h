#pragma once

#include <QByteArray>
#include <QHash>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QVector>
#include <memory>
#include <vector>

// Bits of ReportItemStyle::explicitMask: which style attributes the item's own element set.
namespace ReportStyle {
enum : unsigned {
    Editable = 1,
    Colour = 2,
    BackgroundColour = 4,
    Font = 8,
    FontSize = 16,
    FontWeight = 32,
    Padding = 64,
};
}

namespace ReportGeometry {
// Scene units are pixels at 96 dpi.
constexpr qreal A4Width = 793;
constexpr qreal A4Height = 1123;
constexpr qreal A3Width = 842;
constexpr qreal A3Height = 1190;
constexpr qreal PageGap = 50;
// Coordinates and sizes read from a file are kept within this range, so that a damaged file
// cannot put items out where the scene's index and the text layout break down.
constexpr qreal MaxCoordinate = 100000;
} // namespace ReportGeometry

// What a report file may hold before it counts as damage rather than a form.
namespace ReportLimits {
// Nesting deeper than this, or more items than this (cells included), is damage.
constexpr int MaxDepth = 64;
constexpr int MaxItems = 20000;
constexpr int MaxPageNumber = 500;
constexpr int MaxColumns = 256;
constexpr int MaxRows = 1024;
constexpr int MaxCells = 4096;
constexpr int MaxSpan = 1024;
// A text longer than this in a file is damage.
constexpr int MaxTextLength = 1 << 20;
// No field shows more than this legibly, and a page of such fields must still lay out at once:
// a longer value is cut when it is loaded, and typing and pasting stop there. Counted in
// characters as the user sees them.
constexpr int MaxFieldLength = 2000;
} // namespace ReportLimits

// The style an item draws with: what its element set, the rest inherited from its style parent.
// Colours are kept as the file names them; whoever draws them reads them as colours.
struct ReportItemStyle
{
    unsigned explicitMask = 0;
    bool editable = false;
    QString colour = QStringLiteral("#000000");
    QString backgroundColour = QStringLiteral("#ffffff");
    QString fontFamily = QStringLiteral("Arial");
    qreal fontSize = 8.5;
    int fontWeight = 50;
    qreal padding = 2.0;
};

// One item of a report: a page, a text, a check box, a background drawing, a table with its
// column and row descriptions and cells, or a picture. Items nest as their elements do.
struct ReportItem
{
    enum class Kind { Page, Text, CheckBox, Svg, Table, TableSet, Cell, Image };

    explicit ReportItem(Kind itemKind)
        : kind(itemKind)
    { }

    Kind kind;
    // The item whose element holds this one's; none for the items of the document's root.
    ReportItem* parent = nullptr;
    QString id;
    QPointF pos;
    ReportItemStyle style;

    // Texts, check boxes, cells and pictures: the box, empty when the file gave none. A cell's
    // box is its place on the table's grid.
    bool resizable = false;
    QSizeF size { 0, 0 };
    // Texts, check boxes and cells.
    QString text;
    // Check boxes: the box beside the label.
    bool checked = false;
    qreal boxScale = 1.0;
    QPointF boxPos { -15, 2 };
    // Pages.
    int pageNumber = 1;
    bool a3 = false;
    // Background drawings: a file of the program's own, drawn for a resolution.
    QString file;
    int dpi = 96;
    // Tables: the grid and the size of each column and row. Table sets: the column or the row
    // they describe (-1 for the other) and their size. Cells: their grid place and spans.
    int columns = 0;
    int rows = 0;
    QVector<qreal> columnSizes;
    QVector<qreal> rowSizes;
    int column = -1;
    int row = -1;
    qreal setSize = 0;
    int columnSpan = 1;
    int rowSpan = 1;
    // Made by the table for a grid place that no cell covers; written only with a value.
    bool automatic = false;
    // Pictures: the bytes of the picture file as they came, named by its suffix.
    QString suffix;
    QByteArray data;
    qreal scale = 1.0;

    // Tables first hold their sets and cells, then whatever else their element held.
    std::vector<std::unique_ptr<ReportItem>> children;

    ReportItem* addChild(std::unique_ptr<ReportItem> child);
    // The cell that starts at a grid place of a table, or none.
    ReportItem* cellAt(int column, int row) const;
};

// A report as it is shown: the layout of its pack with the document's values laid over it.
class ReportDocument
{
public:
    // The pack the document names (the English one whichever language laid it out); empty for a
    // report without a layout.
    QString packPath;
    std::vector<std::unique_ptr<ReportItem>> items;

    // The item entered last under an id, or none.
    ReportItem* itemById(const QString& id) const { return m_ids.value(id); }
    void setId(const QString& id, ReportItem* item) { m_ids.insert(id, item); }
    const QHash<QString, ReportItem*>& ids() const { return m_ids; }

private:
    QHash<QString, ReportItem*> m_ids;
};

namespace ReportTextRules {
// The text as a file can hold it: characters that XML 1.0 cannot carry are left out.
QString storableText(const QString& text);
// How many characters the user sees in a text: a letter with its accents, or an emoji with its
// modifiers, is one (a grapheme cluster), however many UTF-16 units it takes.
int visibleLength(const QString& text);
// The first count characters of a text as the user sees them; never cuts one in half.
QString leftVisible(const QString& text, int count);
} // namespace ReportTextRules

// A colour as it is written: "#rrggbb" for every hexadecimal form, black for a damaged or empty
// one; a colour name stays as it is (the scene writes the colour it draws, names resolved).
QString reportColourName(const QString& colour);
