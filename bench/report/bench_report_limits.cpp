// What small, hostile report files cost to open: time here, peak memory from the process
// (run each case as its own process under a tool that reports the maximum resident size).
//   bench_report_limits make <folder>   writes the three files:
//     four-images.kstatr  four pictures pointing at one 8000 x 8000 entry (a few hundred bytes)
//     declares-200MB.kstatr  a ~200 KB container whose header declares 200 MB (and holds them)
//     long-cells.kstatr   100 KB of text in each of 144 cells of the test table
//     long-values.kstatr  values without spaces in "Tested by", "Test instruments" and a cell
//     svg-20000.kstatr    an SVG picture embedding a 20000 x 20000 PNG as a data: URI
//     svg-8000.kstatr     an SVG picture embedding an 8000 x 8000 PNG, which is drawn scaled down
//   bench_report_limits open <file>     opens the file as a report window, shows it and waits
//                                       until it is laid out; prints the time taken.
//   bench_report_limits pdf <file> <pdf>  writes the report's pages to a PDF file, to look at.
#include "GraphicalReportDocument.h"
#include "KestrovanResources.h"
#include "Prompts.h"
#include "ReportResizableImage.h"
#include "ReportScene.h"

#include <QApplication>
#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QPrinter>
#include <QtEndian>
#include <cstdio>
#include <zlib.h>

namespace {
const char* const Pack = ":res/reports/kstatr_rev3.pak";

// Container bytes as the format lays them down, compressed piece by piece so that a payload of
// hundreds of megabytes never has to be held.
class ContainerWriter
{
public:
    explicit ContainerWriter(quint32 payloadSize)
    {
        m_out.resize(4);
        qToBigEndian(payloadSize, m_out.data());
        deflateInit(&m_zs, Z_DEFAULT_COMPRESSION);
    }
    void entry(const QString& name, const QByteArray& data)
    {
        header(name, quint32(data.size()));
        add(data);
    }
    void header(const QString& name, quint32 dataSize)
    {
        QByteArray bytes;
        QDataStream stream(&bytes, QIODevice::WriteOnly);
        stream.setVersion(QDataStream::Qt_4_3);
        stream << name;
        bytes.resize(bytes.size() + 4);
        qToBigEndian(dataSize, bytes.data() + bytes.size() - 4);
        add(bytes);
    }
    void add(const QByteArray& bytes, int flush = Z_NO_FLUSH)
    {
        QByteArray buffer(1 << 16, '\0');
        m_zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData()));
        m_zs.avail_in = uInt(bytes.size());
        do {
            m_zs.next_out = reinterpret_cast<Bytef*>(buffer.data());
            m_zs.avail_out = uInt(buffer.size());
            deflate(&m_zs, flush);
            m_out.append(buffer.constData(), buffer.size() - int(m_zs.avail_out));
        } while (m_zs.avail_out == 0);
    }
    QByteArray finish()
    {
        add(QByteArray(), Z_FINISH);
        deflateEnd(&m_zs);
        return m_out;
    }

private:
    z_stream m_zs {};
    QByteArray m_out;
};

QByteArray stringBytes(const QString& name)
{
    return QByteArray(4, '\0') + QByteArray(name.size() * 2, '\0');
}

bool write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    const bool ok = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    std::printf("%-60s %9lld bytes\n", qPrintable(path), static_cast<long long>(bytes.size()));
    return ok;
}

QByteArray containerOf(const QList<QPair<QString, QByteArray>>& entries)
{
    quint32 size = 0;
    for (const auto& entry : entries)
        size += quint32(stringBytes(entry.first).size() + 4 + entry.second.size());
    ContainerWriter writer(size);
    for (const auto& entry : entries)
        writer.entry(entry.first, entry.second);
    return writer.finish();
}

bool make(const QString& folder)
{
    QDir().mkpath(folder);
    const QString head = QStringLiteral("<document resPak=\"%1\"><page id=\"page1\">").arg(Pack);

    QImage plain(8000, 8000, QImage::Format_Mono);
    plain.fill(1);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    plain.save(&buffer, "PNG");
    QString images = head;
    for (int i = 0; i < 4; ++i)
        images += QStringLiteral("<image index=\"1\" x=\"%1\" y=\"40\" scale=\"0.02\" resizable=\"1\"/>")
                      .arg(60 + 170 * i);
    images += QStringLiteral("</page></document>");
    bool ok
        = write(folder + "/four-images.kstatr", containerOf({ { "xml", images.toUtf8() }, { "png", png } }));

    const quint32 declared = 200u * 1024 * 1024;
    ContainerWriter bomb(declared);
    const quint32 dataSize = declared - quint32(stringBytes("xml").size() + 4);
    bomb.header("xml", dataSize);
    const QByteArray zeros(1 << 20, '\0');
    for (quint32 left = dataSize; left > 0;) {
        const quint32 n = std::min<quint32>(left, quint32(zeros.size()));
        bomb.add(n == quint32(zeros.size()) ? zeros : zeros.left(int(n)));
        left -= n;
    }
    ok = write(folder + "/declares-200MB.kstatr", bomb.finish()) && ok;

    QString cells = head + QStringLiteral("<table id=\"test_table\">");
    const QString text(100 * 1024, QLatin1Char('c'));
    for (int row = 1; row <= 24; ++row) {
        for (int col = 2; col < 8; ++col)
            cells += QStringLiteral("<cell col=\"%1\" row=\"%2\">%3</cell>").arg(col).arg(row).arg(text);
    }
    cells += QStringLiteral("</table></page></document>");
    ok = write(folder + "/long-cells.kstatr", containerOf({ { "xml", cells.toUtf8() } })) && ok;

    const QString values = head
        + QStringLiteral("<text id=\"inspector\">tester@example.com,second.tester@example.com,"
                         "third.person@example.com</text><text id=\"test_instruments\">%1</text>"
                         "<table id=\"test_table\"><cell col=\"2\" row=\"21\">%2</cell></table>"
                         "</page></document>")
              .arg(QString(500, QLatin1Char('x')), QString(200, QLatin1Char('7')));
    ok = write(folder + "/long-values.kstatr", containerOf({ { "xml", values.toUtf8() } })) && ok;

    for (const int side : { 20000, 8000 }) {
        QImage embedded(side, side, QImage::Format_Mono);
        embedded.fill(1);
        QByteArray bytes;
        QBuffer out(&bytes);
        out.open(QIODevice::WriteOnly);
        embedded.save(&out, "PNG");
        const QByteArray svg
            = "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
              "width=\"200\" height=\"200\"><image width=\"200\" height=\"200\" "
              "xlink:href=\"data:image/png;base64,"
            + bytes.toBase64() + "\"/></svg>";
        const QString picture = head
            + QStringLiteral(
                "<image index=\"1\" x=\"60\" y=\"40\" scale=\"1\" resizable=\"1\"/></page></document>");
        ok = write(folder + QStringLiteral("/svg-%1.kstatr").arg(side),
                 containerOf({ { "xml", picture.toUtf8() }, { "svg", svg } }))
            && ok;
    }
    return ok;
}

int open(const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    GraphicalReportDocument doc(path);
    doc.resize(1000, 800);
    doc.show();
    QCoreApplication::processEvents();
    std::printf("%s: %s in %.0f ms\n", qPrintable(QFileInfo(path).fileName()),
        doc.isValid() ? "opened" : "refused", double(timer.nsecsElapsed()) / 1e6);
    return 0;
}
int pdf(const QString& path, const QString& pdfPath)
{
    GraphicalReportDocument doc(path);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    return doc.isValid() && doc.scene()->paint(&printer) ? 0 : 1;
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    initKestrovanResources();
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("make"))
        return make(args.at(2)) ? 0 : 1;
    if (args.size() == 3 && args.at(1) == QLatin1String("open"))
        return open(args.at(2));
    if (args.size() == 4 && args.at(1) == QLatin1String("pdf"))
        return pdf(args.at(2), args.at(3));
    std::fprintf(stderr, "usage: bench_report_limits make <folder> | open <file> | pdf <file> <pdf>\n");
    return 2;
}
