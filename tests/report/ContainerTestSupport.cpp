#include "ContainerTestSupport.h"

#include "DocumentContainer.h"
#include "KestrovanResources.h"
#include "TestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QImage>
#include <QStringList>
#include <QtEndian>
#include <zlib.h>

static void initResourcesOutsideNamespace()
{
    Q_INIT_RESOURCE(reporttestdata);
}

void ReportTestSupport::initTestData()
{
    initResourcesOutsideNamespace();
}

namespace {
void appendLength(QByteArray& out, quint32 length)
{
    char bytes[4];
    qToBigEndian(length, bytes);
    out.append(bytes, 4);
}
} // namespace

QByteArray ReportTestSupport::handMadePayload(const QList<Entry>& entries)
{
    QByteArray payload;
    for (const Entry& entry : entries) {
        appendLength(payload, quint32(entry.first.size() * 2));
        for (const QChar c : entry.first) {
            payload.append(char(c.unicode() >> 8));
            payload.append(char(c.unicode() & 0xFF));
        }
        appendLength(payload, quint32(entry.second.size()));
        payload.append(entry.second);
    }
    return payload;
}

QByteArray ReportTestSupport::compressWithHeader(const QByteArray& payload, quint32 declaredSize)
{
    uLongf bound = compressBound(uLong(payload.size()));
    QByteArray out(int(bound) + 4, '\0');
    qToBigEndian(declaredSize, out.data());
    compress2(reinterpret_cast<Bytef*>(out.data() + 4), &bound,
        reinterpret_cast<const Bytef*>(payload.constData()), uLong(payload.size()), Z_DEFAULT_COMPRESSION);
    out.resize(int(bound) + 4);
    return out;
}

QByteArray ReportTestSupport::handMadeContainer(const QList<Entry>& entries, bool nullName, bool nullData)
{
    QByteArray payload = handMadePayload(entries);
    if (nullName || nullData) {
        if (nullName)
            appendLength(payload, 0xFFFFFFFF);
        else
            appendLength(payload, 0);
        if (nullData)
            appendLength(payload, 0xFFFFFFFF);
        else
            appendLength(payload, 0);
    }
    return compressWithHeader(payload, quint32(payload.size()));
}

bool ReportTestSupport::writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray ReportTestSupport::readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString ReportTestSupport::writeReport(
    const QString& folder, const QString& fileName, const QByteArray& xml, const QList<Entry>& pictures)
{
    QList<Entry> entries { { QStringLiteral("xml"), xml } };
    entries += pictures;
    const QString path = folder + QLatin1Char('/') + fileName;
    writeFile(path, handMadeContainer(entries));
    return path;
}

QDomElement ReportTestSupport::findById(const QDomElement& root, const QString& id)
{
    for (QDomElement e = root.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        if (e.attribute("id") == id)
            return e;
        const QDomElement inner = findById(e, id);
        if (!inner.isNull())
            return inner;
    }
    return QDomElement();
}

namespace {
void appendCanonical(const QDomElement& element, int depth, QString& out)
{
    QStringList attributes;
    const QDomNamedNodeMap map = element.attributes();
    for (int i = 0; i < map.count(); ++i) {
        const QDomAttr attribute = map.item(i).toAttr();
        attributes << attribute.name() + QStringLiteral("=\"") + attribute.value() + QLatin1Char('"');
    }
    attributes.sort();
    out += QString(depth * 2, QLatin1Char(' ')) + QLatin1Char('<') + element.tagName();
    for (const QString& attribute : attributes)
        out += QLatin1Char(' ') + attribute;
    out += QStringLiteral(">\n");
    for (QDomNode node = element.firstChild(); !node.isNull(); node = node.nextSibling()) {
        if (node.isElement()) {
            appendCanonical(node.toElement(), depth + 1, out);
        } else if (node.isText() || node.isCDATASection()) {
            // Escaped so that line ends and tabs inside a value show as what they are.
            QString text = node.toCharacterData().data();
            text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
                .replace(QLatin1Char('\n'), QStringLiteral("\\n"))
                .replace(QLatin1Char('\r'), QStringLiteral("\\r"))
                .replace(QLatin1Char('\t'), QStringLiteral("\\t"));
            out += QString((depth + 1) * 2, QLatin1Char(' ')) + QStringLiteral("text: ") + text
                + QLatin1Char('\n');
        }
    }
}
} // namespace

QString ReportTestSupport::canonicalTree(const QByteArray& xml)
{
    QDomDocument document;
    QString error;
    int line = 0;
    if (!document.setContent(xml, &error, &line))
        return QStringLiteral("not XML: %1 on line %2").arg(error).arg(line);
    QString out;
    appendCanonical(document.documentElement(), 0, out);
    return out;
}

QList<ReportTestSupport::RoundTripCase> ReportTestSupport::roundTripCases()
{
    initKestrovanResources();
    QList<RoundTripCase> cases;
    auto builtIn = [&](const QString& name, const QString& resource, const QString& fileName,
                       const QString& language = QStringLiteral("en_GB")) {
        DocumentContainer container;
        container.load(resource);
        RoundTripCase roundTrip { name, fileName, container.count() ? container.at(0).data : QByteArray(), {},
            {}, language };
        for (int i = 1; i < container.count(); ++i)
            roundTrip.pictures.append({ container.at(i).name, container.at(i).data });
        cases.append(roundTrip);
    };
    for (const char* suffix : { "kstatr", "kstchk", "kstir", "kstvc" })
        builtIn(QStringLiteral("template-%1").arg(QLatin1String(suffix)),
            QStringLiteral(":res/reports/default.%1").arg(QLatin1String(suffix)),
            QStringLiteral("report.%1").arg(QLatin1String(suffix)));
    builtIn(QStringLiteral("template-kstir-german"), QStringLiteral(":res/reports/default.kstir"),
        QStringLiteral("report.kstir"), QStringLiteral("de_DE"));
    cases.append({ QStringLiteral("pack-kstatr"), QStringLiteral("report.kstatr"), QByteArray("<document/>"),
        {}, {}, QStringLiteral("en_GB") });
    cases.append({ QStringLiteral("pack-kstatr_rev2"), QStringLiteral("report.kstatr"),
        QByteArray("<document resPak=\":res/reports/kstatr_rev2.pak\"/>"), {}, {}, QStringLiteral("en_GB") });

    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    image.save(&png, "PNG");
    const QList<Entry> pictures { { QStringLiteral("png"), png.data() },
        { QStringLiteral("svg"),
            QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"20\" height=\"10\">"
                       "<rect width=\"20\" height=\"10\" fill=\"blue\"/></svg>") } };
    const QDir folder(TestSupport::dataFolder() + QStringLiteral("/report/roundtrip"));
    for (const QString& input : folder.entryList({ QStringLiteral("*.in.xml") }, QDir::Files, QDir::Name)) {
        const QString name = input.chopped(int(qstrlen(".in.xml")));
        const QString suffix = name.section(QLatin1Char('-'), 0, 0);
        const QString layout = folder.filePath(name + QStringLiteral(".layout.xml"));
        cases.append({ name, QStringLiteral("report.") + suffix, readFile(folder.filePath(input)), pictures,
            QFile::exists(layout) ? readFile(layout) : QByteArray(), QStringLiteral("en_GB") });
    }
    return cases;
}

QString ReportTestSupport::writeRoundTripCase(const RoundTripCase& roundTrip, const QString& folder)
{
    QByteArray xml = roundTrip.xml;
    if (!roundTrip.layout.isEmpty()) {
        const QString pack = folder + QStringLiteral("/layout.pak");
        writeFile(pack,
            handMadeContainer(
                QList<Entry> { { QStringLiteral("xml"), roundTrip.layout } } + roundTrip.pictures));
        xml.replace("@pack", pack.toUtf8());
    }
    return writeReport(folder, roundTrip.fileName, xml, roundTrip.pictures);
}

QByteArray ReportTestSupport::goldenForm(const QList<Entry>& saved, const QString& folder)
{
    QStringList names;
    for (int i = 1; i < saved.size(); ++i)
        names << saved.at(i).first;
    QByteArray xml = saved.value(0).second;
    return "<!-- pictures:" + names.join(QLatin1Char(' ')).prepend(QLatin1Char(' ')).toUtf8() + " -->\n"
        + xml.replace((folder + QStringLiteral("/layout.pak")).toUtf8(), "@pack");
}

QList<ReportTestSupport::Entry> ReportTestSupport::goldenPictures(
    const QByteArray& golden, const RoundTripCase& roundTrip)
{
    const QByteArray line = golden.left(golden.indexOf('\n'));
    const QString names
        = QString::fromUtf8(line.mid(int(qstrlen("<!-- pictures:"))).chopped(int(qstrlen(" -->"))));
    QList<Entry> pictures;
    for (const QString& name : names.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        for (const Entry& picture : roundTrip.pictures) {
            if (picture.first == name) {
                pictures.append(picture);
                break;
            }
        }
    }
    return pictures;
}

QString ReportTestSupport::goldenPath(const QString& name)
{
    return TestSupport::dataFolder() + QStringLiteral("/report/roundtrip/") + name
        + QStringLiteral(".saved.xml");
}
