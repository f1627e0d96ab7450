#pragma once

#include <functional>

class AbstractReportItem;
class DocumentContainer;
class QDomElement;
class QGraphicsItem;

// The picture item lives in its own part of the report library and plugs in here: the loader
// creates pictures of a document through these hooks, and pages offer "Add Image" only when
// they are set. The loader checks an image element's entry index before it calls them.
namespace ReportImageSupport {
struct Hooks
{
    // A new, empty picture item as a child of the parent.
    std::function<AbstractReportItem*(QGraphicsItem* parent)> create;
    // Lets the user choose the picture of a new item; false when nothing was chosen.
    std::function<bool(AbstractReportItem* image)> selectPicture;
};

void setHooks(const Hooks& hooks);
const Hooks& hooks();

// The container entry an image element points at, or -1 when the index names no picture entry
// (entry 0 is the XML).
int entryIndex(const QDomElement& element, const DocumentContainer& container);
} // namespace ReportImageSupport
