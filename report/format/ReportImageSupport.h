#pragma once

class DocumentContainer;
class QDomElement;

// Pictures of a report travel as container entries after the XML; an image element names its
// entry by index.
namespace ReportImageSupport {
// The container entry an image element points at, or -1 when the index names no picture entry
// (entry 0 is the XML).
int entryIndex(const QDomElement& element, const DocumentContainer& container);
} // namespace ReportImageSupport
