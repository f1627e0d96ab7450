#pragma once

#include "ReportModel.h"

#include <QList>
#include <QString>
#include <memory>

class DocumentContainer;

// clang-format off
// What a report file holds. A report and a pack are both a container whose entry 0 is the XML
// and whose further entries are pictures, named by their suffix:
//
//   <document resPak="pack path">               the report's pack; absent in a pack
//     <page id pageNumber pageType="A4|A3">     pages stand one below the other
//       <svg id x y file dpi/>                  a background drawing of the program's own
//       <text id x y width height resizable>value</text>
//       <checkBox id x y width height resizable boxScale boxPosX boxPosY
//                 checked="true|false">label</checkBox>
//       <table id x y width height numCols numRows>
//         <tableset col|row size/>              a column or a row: its size and its styles
//         <cell col row colspan rowspan height>value</cell>
//       </table>
//       <image index x y width height resizable scale/>   the picture in container entry index
//     </page>
//   </document>
//
// Every item may carry the style attributes editable ("1" or "0"), colour, backgroundColour,
// font, fontSize, fontWeight and padding, which its children inherit (a cell inherits from its
// row, else its column, else its table). A pack holds the whole layout; a report holds the
// values: an element with an id gives its item the value of the element (the text, a check box's
// state, a table's cells by place, a drawing's file), an image element without one adds a
// picture. Elements are read wherever they stand; what nothing reads is left out.
// clang-format on
struct ReportNotice
{
    QString text;
    QString informative;
};

struct ReportReadResult
{
    // None when the file cannot be read; the last notice then says why.
    std::unique_ptr<ReportDocument> document;
    QList<ReportNotice> notices;
};

namespace ReportReader {
// layoutLanguage is the locale name of the user interface, which picks the layout set (see
// ReportPack::layoutPath). path names the file in notices and gives the suffix that picks the
// default pack.
ReportReadResult read(const QString& path, const QString& layoutLanguage);
ReportReadResult read(const QString& path, const DocumentContainer& container, const QString& layoutLanguage);
// The pack a report file names (empty when it names none); false when the file cannot be read.
bool readPackPath(const QString& path, QString* packPath);
} // namespace ReportReader
