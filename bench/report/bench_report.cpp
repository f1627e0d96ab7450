// Report engine timings on a report of 2 pages, 300 fields and a 26 x 8 table: opening it
// (container, pack and scene), saving it and exporting it to PDF. Medians of several runs.
// The fields are 240 text fields and 60 check boxes (which carry their own label) with 20
// section headings per page. A second, heavier report gives every text field a label item of its
// own as well, as a form that draws no labels in its background would.
//   bench_report [--keep <folder>]   keeps the reports, their packs and the PDF for a look.
#include "DocumentContainer.h"
#include "KestrovanResources.h"
#include "Prompts.h"
#include "ReportScene.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPrinter>
#include <QTemporaryDir>
#include <QUndoStack>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
const char* background = R"(<svg xmlns="http://www.w3.org/2000/svg" width="744" height="1053">
  <rect x="30" y="20" width="684" height="36" fill="#1f4e79"/>
  <rect x="30" y="70" width="684" height="950" fill="none" stroke="#1f4e79" stroke-width="0.8"/>
</svg>)";

// 150 fields per page in three columns of labels and boxes; the table on page 1 below them.
QByteArray packXml(const QString& backgroundPath, bool labelPerField)
{
    QString xml = QStringLiteral("<document>\n");
    for (int page = 1; page <= 2; ++page) {
        xml += QStringLiteral("<page id=\"page%1\" pageNumber=\"%1\" font=\"Arial\" fontSize=\"8.5\">\n")
                   .arg(page);
        xml += QStringLiteral("<svg file=\"%1\" dpi=\"90\"/>\n").arg(backgroundPath);
        xml += QStringLiteral("<text x=\"40\" y=\"28\" colour=\"#ffffff\" fontSize=\"14\" fontWeight=\"75\">"
                              "Benchmark report, page %1</text>\n")
                   .arg(page);
        const int rows = page == 1 ? 20 : 50;
        int field = 0;
        for (int column = 0; column < 3; ++column) {
            for (int row = 0; row < rows; ++row) {
                if (field++ >= 150)
                    break;
                const double x = 40 + column * 245;
                const double y = 80 + row * 19.5;
                if (row % 10 == 0 && column < 2)
                    xml += QStringLiteral(
                        "<text x=\"%1\" y=\"%2\" fontSize=\"7\" fontWeight=\"75\">Section %3</text>\n")
                               .arg(x)
                               .arg(y - 8)
                               .arg(row / 10 + 1);
                if (field % 5 == 0) {
                    xml += QStringLiteral(
                        "<checkBox id=\"f%1_%2\" x=\"%3\" y=\"%4\">Check %1.%2</checkBox>\n")
                               .arg(page)
                               .arg(field)
                               .arg(x + 15)
                               .arg(y);
                    continue;
                }
                if (labelPerField)
                    xml += QStringLiteral("<text x=\"%1\" y=\"%2\" fontWeight=\"75\">Field %3.%4</text>\n")
                               .arg(x)
                               .arg(y)
                               .arg(page)
                               .arg(field);
                xml += QStringLiteral("<text id=\"f%1_%2\" x=\"%3\" y=\"%4\" width=\"150\" height=\"17\" "
                                      "editable=\"1\"/>\n")
                           .arg(page)
                           .arg(field)
                           .arg(x + 80)
                           .arg(y);
            }
        }
        if (page == 1) {
            xml += QStringLiteral(
                "<table id=\"results\" x=\"38\" y=\"500\" width=\"716.5\" height=\"520\" numCols=\"8\" "
                "numRows=\"26\" editable=\"1\">\n"
                "<tableset col=\"0\" size=\"100\" editable=\"0\" fontWeight=\"75\"/>\n"
                "<tableset col=\"1\" size=\"100\" editable=\"0\"/>\n"
                "<tableset row=\"0\" backgroundColour=\"#000000\" colour=\"#ffffff\" "
                "fontWeight=\"75\" editable=\"0\"/>\n"
                "<cell col=\"0\" row=\"0\" colspan=\"2\"> STRING</cell>\n");
            for (int c = 2; c < 8; ++c)
                xml += QStringLiteral("<cell col=\"%1\" row=\"0\">%2</cell>\n").arg(c).arg(c - 1);
            for (int r = 1; r < 26; ++r)
                xml += QStringLiteral("<cell col=\"1\" row=\"%1\">Quantity %1</cell>\n").arg(r);
            xml += QStringLiteral("</table>\n");
        }
        xml += QStringLiteral("</page>\n");
    }
    xml += QStringLiteral("</document>\n");
    return xml.toUtf8();
}

QByteArray documentXml(const QString& packPath)
{
    QString xml = QStringLiteral("<document resPak=\"%1\">\n").arg(packPath);
    for (int page = 1; page <= 2; ++page) {
        xml += QStringLiteral("<page id=\"page%1\">\n").arg(page);
        for (int field = 1; field <= 150; ++field) {
            if (field % 5 == 0)
                xml += QStringLiteral("<checkBox id=\"f%1_%2\" checked=\"true\"/>\n").arg(page).arg(field);
            else
                xml += QStringLiteral("<text id=\"f%1_%2\">Value %1.%2</text>\n").arg(page).arg(field);
        }
        if (page == 1) {
            xml += QStringLiteral("<table id=\"results\">\n");
            for (int r = 1; r < 26; ++r) {
                for (int c = 2; c < 8; ++c)
                    xml += QStringLiteral("<cell col=\"%1\" row=\"%2\">%3</cell>\n")
                               .arg(c)
                               .arg(r)
                               .arg(r * 10.5 + c);
            }
            xml += QStringLiteral("</table>\n");
        }
        xml += QStringLiteral("</page>\n");
    }
    xml += QStringLiteral("</document>\n");
    return xml.toUtf8();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

// Opens, saves and exports one report; prints the medians.
bool measure(const QString& title, const QString& folder, const QString& name, const QByteArray& pack,
    const QByteArray& document)
{
    const QString packPath = folder + QStringLiteral("/%1.pak").arg(name);
    const QString reportPath = folder + QStringLiteral("/%1.kstatr").arg(name);
    DocumentContainer packContainer;
    packContainer.append(QStringLiteral(""), pack);
    DocumentContainer report;
    report.append(QStringLiteral("xml"), document);
    if (!packContainer.save(packPath) || !report.save(reportPath))
        return false;

    const int runs = 15;
    std::vector<double> open, save, pdf;
    int items = 0;
    for (int i = 0; i < runs; ++i) {
        QUndoStack stack;
        ReportScene scene(&stack);
        QElapsedTimer timer;
        timer.start();
        if (!scene.load(reportPath))
            return false;
        open.push_back(timer.nsecsElapsed() / 1e6);
        items = scene.items().size();

        timer.restart();
        if (!scene.save(folder + QStringLiteral("/%1-saved.kstatr").arg(name)))
            return false;
        save.push_back(timer.nsecsElapsed() / 1e6);

        if (i < 5) {
            timer.restart();
            QPrinter printer(QPrinter::HighResolution);
            printer.setPageSize(QPageSize(QPageSize::A4));
            printer.setFullPage(true);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(folder + QStringLiteral("/%1.pdf").arg(name));
            if (!scene.paint(&printer))
                return false;
            pdf.push_back(timer.nsecsElapsed() / 1e6);
        }
    }
    std::printf("%s (%d graphics items)\n", qPrintable(title), items);
    std::printf("  open (container + pack + scene): %6.1f ms (limit 30)\n", median(open));
    std::printf("  save:                            %6.1f ms (limit 15)\n", median(save));
    std::printf("  export to PDF:                   %6.1f ms (limit 500)\n", median(pdf));
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    initKestrovanResources();
    QTemporaryDir temp;
    QString folder = temp.path();
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("--keep")) {
        folder = args.at(2);
        QDir().mkpath(folder);
    }
    const QString backgroundPath = folder + QStringLiteral("/background.svg");
    {
        QFile svg(backgroundPath);
        if (!svg.open(QIODevice::WriteOnly) || svg.write(background) < 0)
            return 1;
    }
    const bool ok = measure(QStringLiteral("Report of 300 fields"), folder, QStringLiteral("bench"),
                        packXml(backgroundPath, false), documentXml(folder + QStringLiteral("/bench.pak")))
        && measure(QStringLiteral("The same with a label item per text field"), folder,
            QStringLiteral("labelled"), packXml(backgroundPath, true),
            documentXml(folder + QStringLiteral("/labelled.pak")));
    return ok ? 0 : 1;
}
