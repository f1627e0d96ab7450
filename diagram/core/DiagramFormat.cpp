// The .kstid file, in full:
//
//   <installation_diagram>                               the root (its name is not checked)
//     <inverter id="id4" x="400" y="0">                  a component: one of the tags below
//       <label x="415" y="30" width="120" height="40" text="Inverter&#10;4 kW"/>   its caption
//     </inverter>
//     <connection type="DC" id="id13">                   a cable: "Single", "DC" or "AC"
//       <connectionA connectedItemId="id4" connectedPosX="150" connectedPosY="40" direction="4"/>
//       <connectionB .../>                               its ends; a loose end is not written
//     </connection>
//   </installation_diagram>
//
// Component tags: "ac_isolator", "dc_isolator", "distribution_board", "generation_meter",
// "inverter", "label" (a free note: only its caption shows) and "panel". A caption's position is
// in the scene; a cable end's position is its offset from the component's position, "direction"
// the side it is attached to.
//
// Writing: the topmost item first, components before cables (cables lie below every
// component); attributes in the order above; numbers in the C locale with 17 significant digits,
// so that they read back to the same value.
//
// Reading forgives what it can and keeps everything bounded:
// - unknown elements and attributes are skipped; a missing or unreadable number takes its
//   default (0, a caption 50 wide and 10 high), and so does one beyond Diagram::MaxCoordinate or
//   a negative caption size; an unknown cable type is kind 0, an unreadable direction side 0;
// - characters XML 1.0 cannot hold are dropped from texts and ids as they are read, so that the
//   drawing holds what its file will say;
// - the first item of an id keeps it, components before cables; later items of that id get
//   new numbers, so that every cable end names one component;
// - a cable end attaches only to a component listed before its cable; one naming a missing or
//   later component is loose;
// - what DiagramFileCheck refuses (a document type declaration, deep nesting, too many items)
//   and files above its size limit are not parsed at all.
#include "DiagramFormat.h"

#include "DiagramFileCheck.h"

#include <QDomDocument>
#include <QDomElement>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QXmlStreamWriter>
#include <QtMath>
#include <utility>

namespace {

struct Kind
{
    int type;
    const char* tag;
};
const Kind componentKinds[] = {
    { Diagram::AcIsolatorType, "ac_isolator" },
    { Diagram::DcIsolatorType, "dc_isolator" },
    { Diagram::DistributionBoardType, "distribution_board" },
    { Diagram::GenerationMeterType, "generation_meter" },
    { Diagram::InverterType, "inverter" },
    { Diagram::LabelType, "label" },
    { Diagram::PanelType, "panel" },
};

int typeForTag(const QString& tag)
{
    for (const Kind& kind : componentKinds) {
        if (tag == QLatin1String(kind.tag))
            return kind.type;
    }
    return 0;
}

QString tagForType(int type)
{
    for (const Kind& kind : componentKinds) {
        if (type == kind.type)
            return QLatin1String(kind.tag);
    }
    return QString();
}

QString cableTypeName(int kind)
{
    switch (kind) {
    case Diagram::SingleWire:
        return QStringLiteral("Single");
    case Diagram::DcCable:
        return QStringLiteral("DC");
    case Diagram::AcCable:
        return QStringLiteral("AC");
    default:
        return QString();
    }
}

int cableKind(const QString& name)
{
    if (name == QLatin1String("Single"))
        return Diagram::SingleWire;
    if (name == QLatin1String("DC"))
        return Diagram::DcCable;
    if (name == QLatin1String("AC"))
        return Diagram::AcCable;
    return 0;
}

// Characters XML 1.0 cannot hold never reach a file, so that a saved file always reopens.
QString cleanText(const QString& text)
{
    QString clean;
    clean.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const ushort u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            clean.append(c);
            clean.append(text.at(++i));
            continue;
        }
        if (c.isSurrogate())
            continue;
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\r')
            continue;
        if (u == 0xFFFE || u == 0xFFFF)
            continue;
        clean.append(c);
    }
    return clean;
}

double coordinate(const QDomElement& element, const QString& name, double fallback)
{
    if (!element.hasAttribute(name))
        return fallback;
    bool ok = false;
    const double value = element.attribute(name).toDouble(&ok);
    if (!ok || !qIsFinite(value) || qAbs(value) > Diagram::MaxCoordinate)
        return fallback;
    return value;
}

double size(const QDomElement& element, const QString& name, double fallback)
{
    const double value = coordinate(element, name, fallback);
    return value < 0 ? fallback : value;
}

QPointF point(const QDomElement& element, const QString& x, const QString& y)
{
    return QPointF(coordinate(element, x, 0.0), coordinate(element, y, 0.0));
}

Diagram::Component readComponent(int type, const QDomElement& element)
{
    Diagram::Component component;
    component.type = type;
    component.id = cleanText(element.attribute(QStringLiteral("id")));
    component.position = point(element, QStringLiteral("x"), QStringLiteral("y"));
    const QDomElement label = element.firstChildElement(QStringLiteral("label"));
    if (!label.isNull()) {
        component.hasCaption = true;
        component.caption.position = point(label, QStringLiteral("x"), QStringLiteral("y"));
        component.caption.size
            = QSizeF(size(label, QStringLiteral("width"), 50.0), size(label, QStringLiteral("height"), 10.0));
        component.caption.text = label.attribute(QStringLiteral("text"));
    }
    return component;
}

// An end's offset as the drawing will hold it: the end is placed at the component's position
// plus the offset, and keeps what that point lies from the component.
Diagram::CableEnd readEnd(const QDomElement& element, const Diagram::Component* component)
{
    Diagram::CableEnd end;
    if (element.isNull() || !component)
        return end;
    const QPointF at = component->position
        + point(element, QStringLiteral("connectedPosX"), QStringLiteral("connectedPosY"));
    end.attached = true;
    end.componentId = component->id;
    end.offset = at - component->position;
    // An unreadable direction is no side: the cable is then drawn straight.
    end.side = element.attribute(QStringLiteral("direction")).toInt();
    return end;
}

QString number(double value)
{
    return QString::number(value, 'g', 17);
}

void writeEnd(QXmlStreamWriter& writer, const QString& tag, const Diagram::CableEnd& end)
{
    if (!end.attached)
        return;
    writer.writeStartElement(tag);
    writer.writeAttribute(QStringLiteral("connectedItemId"), end.componentId);
    writer.writeAttribute(QStringLiteral("connectedPosX"), number(end.offset.x()));
    writer.writeAttribute(QStringLiteral("connectedPosY"), number(end.offset.y()));
    writer.writeAttribute(QStringLiteral("direction"), QString::number(end.side));
    writer.writeEndElement();
}

} // namespace

DiagramFormat::ReadResult DiagramFormat::readFile(const QString& path, DiagramModel* model)
{
    ReadResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.problem = CannotOpen;
        return result;
    }
    if (file.size() > DiagramFileCheck::MaxFileSize) {
        result.problem = TooLarge;
        return result;
    }
    return read(file.read(DiagramFileCheck::MaxFileSize + 1), model);
}

DiagramFormat::ReadResult DiagramFormat::read(const QByteArray& data, DiagramModel* model)
{
    ReadResult result;
    if (data.size() > DiagramFileCheck::MaxFileSize) {
        result.problem = TooLarge;
        return result;
    }
    const DiagramFileCheck::Result check = DiagramFileCheck::check(data);
    switch (check.problem) {
    case DiagramFileCheck::DocumentType:
        result.problem = DocumentType;
        break;
    case DiagramFileCheck::TooDeep:
        result.problem = TooDeep;
        break;
    case DiagramFileCheck::TooManyItems:
        result.problem = TooManyItems;
        break;
    case DiagramFileCheck::Malformed:
        result.problem = Malformed;
        result.message = check.message;
        break;
    case DiagramFileCheck::None:
        break;
    }
    if (result.problem != None) {
        result.line = check.line;
        result.column = check.column;
        return result;
    }

    QDomDocument document;
    int line = 0;
    int column = 0;
    if (!document.setContent(data, &result.message, &line, &column)) {
        result.problem = Malformed;
        result.line = line;
        result.column = column;
        return result;
    }

    struct Listed
    {
        QDomElement element;
        int index; // place among the root's elements
    };
    DiagramModel read;
    QVector<int> componentIndex;
    QVector<Listed> cables;
    int index = 0;
    const QDomElement root = document.documentElement();
    for (QDomElement element = root.firstChildElement(); !element.isNull();
         element = element.nextSiblingElement(), ++index) {
        const QString tag = element.tagName();
        if (tag == QLatin1String("connection")) {
            Diagram::Cable cable;
            cable.kind = cableKind(element.attribute(QStringLiteral("type")));
            cable.id = cleanText(element.attribute(QStringLiteral("id")));
            read.cables.append(cable);
            cables.append({ element, index });
        } else if (const int type = typeForTag(tag)) {
            read.components.append(readComponent(type, element));
            componentIndex.append(index);
        }
    }

    // The first item of an id keeps it, components before cables: a file lists the topmost item
    // first, the one a cable finds, and a save writes the same order back.
    QVector<QString*> ids;
    for (Diagram::Component& component : read.components)
        ids.append(&component.id);
    for (Diagram::Cable& cable : read.cables)
        ids.append(&cable.id);
    QSet<int> usedNumbers;
    for (const QString* id : qAsConst(ids)) {
        read.ids.note(*id);
        usedNumbers.insert(DiagramIds::number(*id));
    }
    QSet<QString> seen;
    for (QString* id : qAsConst(ids)) {
        const QString original = *id;
        if (seen.contains(original)) {
            *id = read.ids.take([&usedNumbers] { return usedNumbers; });
            usedNumbers.insert(DiagramIds::number(*id));
            result.renumbered = true;
        }
        seen.insert(original);
    }

    QHash<QString, int> byId; // ids are unique now
    for (int i = 0; i < read.components.size(); ++i)
        byId.insert(read.components.at(i).id, i);
    auto find = [&](const QDomElement& end, int before) -> const Diagram::Component* {
        if (end.isNull())
            return nullptr;
        const auto found = byId.constFind(cleanText(end.attribute(QStringLiteral("connectedItemId"))));
        if (found == byId.constEnd() || componentIndex.at(*found) >= before)
            return nullptr;
        return &read.components.at(*found);
    };
    for (int i = 0; i < read.cables.size(); ++i) {
        const QDomElement a = cables.at(i).element.firstChildElement(QStringLiteral("connectionA"));
        const QDomElement b = cables.at(i).element.firstChildElement(QStringLiteral("connectionB"));
        read.cables[i].endA = readEnd(a, find(a, cables.at(i).index));
        read.cables[i].endB = readEnd(b, find(b, cables.at(i).index));
    }

    *model = std::move(read);
    return result;
}

QByteArray DiagramFormat::write(const DiagramModel& model)
{
    QByteArray bytes;
    QXmlStreamWriter writer(&bytes);
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(2);
    writer.writeStartElement(QStringLiteral("installation_diagram"));
    for (const Diagram::Component& component : model.components) {
        writer.writeStartElement(tagForType(component.type));
        writer.writeAttribute(QStringLiteral("id"), component.id);
        writer.writeAttribute(QStringLiteral("x"), number(component.position.x()));
        writer.writeAttribute(QStringLiteral("y"), number(component.position.y()));
        if (component.hasCaption) {
            const Diagram::Caption& caption = component.caption;
            writer.writeStartElement(QStringLiteral("label"));
            writer.writeAttribute(QStringLiteral("x"), number(caption.position.x()));
            writer.writeAttribute(QStringLiteral("y"), number(caption.position.y()));
            writer.writeAttribute(QStringLiteral("width"), number(caption.size.width()));
            writer.writeAttribute(QStringLiteral("height"), number(caption.size.height()));
            writer.writeAttribute(QStringLiteral("text"), cleanText(caption.text));
            writer.writeEndElement();
        }
        writer.writeEndElement();
    }
    for (const Diagram::Cable& cable : model.cables) {
        writer.writeStartElement(QStringLiteral("connection"));
        writer.writeAttribute(QStringLiteral("type"), cableTypeName(cable.kind));
        writer.writeAttribute(QStringLiteral("id"), cable.id);
        writeEnd(writer, QStringLiteral("connectionA"), cable.endA);
        writeEnd(writer, QStringLiteral("connectionB"), cable.endB);
        writer.writeEndElement();
    }
    writer.writeEndElement();
    // The writer opens with a line break when there is no declaration; the file never had one.
    if (bytes.startsWith('\n'))
        bytes.remove(0, 1);
    bytes.append('\n');
    return bytes;
}
