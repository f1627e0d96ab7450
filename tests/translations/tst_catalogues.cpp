#include "TestSupport.h"

#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

// Every text the programs show has a finished German translation: lupdate is run over the source
// folders into a fresh catalogue and each of its messages is looked up in the committed one.
namespace {

struct Message
{
    QString context;
    QString source;
    QString comment;
    bool finished = true;
    QStringList translations; // one per numerus form, or the single translation
};

QString keyOf(const Message& m)
{
    return m.context + QChar(0x1f) + m.source + QChar(0x1f) + m.comment;
}

bool readCatalogue(const QString& path, QHash<QString, Message>* messages, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    QXmlStreamReader xml(&file);
    QString context;
    Message current;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) {
            if (xml.isEndElement() && xml.name() == QLatin1String("message"))
                messages->insert(keyOf(current), current);
            continue;
        }
        const auto name = xml.name();
        if (name == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (name == QLatin1String("message")) {
            current = Message();
            current.context = context;
        } else if (name == QLatin1String("source")) {
            current.source = xml.readElementText();
        } else if (name == QLatin1String("comment")) {
            current.comment = xml.readElementText();
        } else if (name == QLatin1String("translation")) {
            // "unfinished", and "vanished" or "obsolete" for a text the sources still hold, all mean
            // the catalogue was not brought up to date.
            current.finished = xml.attributes().value(QLatin1String("type")).isEmpty();
            // Plain translations hold text; numerus ones hold <numerusform> children.
            QString text;
            bool numerus = false;
            while (!(xml.isEndElement() && xml.name() == QLatin1String("translation")) && !xml.atEnd()) {
                xml.readNext();
                if (xml.isStartElement() && xml.name() == QLatin1String("numerusform")) {
                    numerus = true;
                    current.translations.append(xml.readElementText());
                } else if (xml.isCharacters() && !numerus) {
                    text += xml.text();
                }
            }
            if (!numerus)
                current.translations.append(text);
        }
    }
    if (xml.hasError()) {
        *error = QStringLiteral("%1 (line %2)").arg(xml.errorString()).arg(xml.lineNumber());
        return false;
    }
    return true;
}

// What a translation must carry over from its source: placeholders, an accelerator and markup.
QStringList markersOf(const QString& text)
{
    static const QRegularExpression marker(
        QStringLiteral(R"(%L?\d+|%n|</?(?:a|b|i|u|p|br|hr|em|strong|span|div|font|html|body|qt|nobr|)"
                       R"(ul|ol|li|table|tr|td|th|h[1-6]|img|pre|code|tt|sub|sup|small|big|center)\b)"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList found;
    auto it = marker.globalMatch(text);
    while (it.hasNext())
        found.append(it.next().captured());
    // A doubled ampersand is a literal one, not an accelerator.
    QString plain = text;
    plain.replace(QLatin1String("&&"), QString());
    if (plain.contains(QLatin1Char('&')))
        found.append(QStringLiteral("accelerator"));
    found.removeDuplicates();
    found.sort();
    return found;
}

// The faults of `committed` against the texts the sources hold now, one line each.
QStringList compare(const QHash<QString, Message>& fresh, const QHash<QString, Message>& committed)
{
    QStringList faults;
    for (const Message& wanted : fresh) {
        const QString where = QStringLiteral("[%1] \"%2\"").arg(wanted.context, wanted.source);
        const auto found = committed.constFind(keyOf(wanted));
        if (found == committed.constEnd()) {
            faults.append(where + QStringLiteral(": missing"));
            continue;
        }
        if (!found->finished) {
            faults.append(where + QStringLiteral(": unfinished"));
            continue;
        }
        if (found->translations.isEmpty()) {
            faults.append(where + QStringLiteral(": no translation"));
            continue;
        }
        for (const QString& translation : found->translations) {
            if (translation.trimmed().isEmpty() && !wanted.source.trimmed().isEmpty())
                faults.append(where + QStringLiteral(": empty translation"));
            else if (markersOf(translation) != markersOf(wanted.source))
                faults.append(where
                    + QStringLiteral(": placeholders, accelerator or markup differ in \"%1\"")
                          .arg(translation));
        }
    }
    faults.sort();
    return faults;
}

QStringList folderList(const char* folders)
{
    return QString::fromUtf8(folders).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

} // namespace

class TestCatalogues : public QObject
{
    Q_OBJECT
private slots:
    void init() { TestSupport::resetState(); }

    void comparisonFindsEveryKindOfFault();
    void everyTextIsTranslated_data();
    void everyTextIsTranslated();
};

void TestCatalogues::comparisonFindsEveryKindOfFault()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("de.ts");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"(<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context><name>A</name>
<message><source>Open</source><translation>Öffnen</translation></message>
<message><source>Save</source><translation type="unfinished">Speichern</translation></message>
<message><source>Delete %1</source><translation>Löschen</translation></message>
<message><source>&amp;Tile</source><translation>Nebeneinander</translation></message>
<message><source>&lt;b&gt;Note&lt;/b&gt;</source><translation>&lt;b&gt;Hinweis&lt;/b&gt;</translation></message>
<message><source>&lt;New Row&gt;</source><translation>&lt;Neue Zeile&gt;</translation></message>
<message><source>Empty</source><translation></translation></message>
<message numerus="yes"><source>%n file(s)</source><translation><numerusform>%n Datei</numerusform><numerusform></numerusform></translation></message>
<message><source>Old</source><translation type="vanished">Alt</translation></message>
</context>
<context><name>B</name>
<message><source>Open</source><translation>Öffnen</translation></message>
</context>
</TS>
)");
    file.close();
    QHash<QString, Message> committed;
    QString error;
    QVERIFY2(readCatalogue(path, &committed, &error), qPrintable(error));
    QCOMPARE(committed.size(), 10);

    auto wanted = [](const QString& context, const QString& source) {
        Message m;
        m.context = context;
        m.source = source;
        return m;
    };
    QHash<QString, Message> fresh;
    for (const Message& m : { wanted("A", "Open"), wanted("A", "Save"), wanted("A", "Delete %1"),
             wanted("A", "&Tile"), wanted("A", "<b>Note</b>"), wanted("A", "<New Row>"), wanted("A", "Empty"),
             wanted("A", "%n file(s)"), wanted("A", "Old"), wanted("B", "Open"), wanted("C", "Open") })
        fresh.insert(keyOf(m), m);

    const QStringList faults = compare(fresh, committed);
    const QStringList expected = {
        "[A] \"%n file(s)\": empty translation",
        "[A] \"&Tile\": placeholders, accelerator or markup differ in \"Nebeneinander\"",
        "[A] \"Delete %1\": placeholders, accelerator or markup differ in \"Löschen\"",
        "[A] \"Empty\": empty translation",
        "[A] \"Old\": unfinished",
        "[A] \"Save\": unfinished",
        "[C] \"Open\": missing",
    };
    QCOMPARE(faults, expected);

    // A file that is not a catalogue is reported, not taken as an empty one.
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("<TS><context><name>A</name><message><source>Open");
    file.close();
    QHash<QString, Message> broken;
    QVERIFY(!readCatalogue(path, &broken, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!readCatalogue(dir.filePath("absent.ts"), &broken, &error));
}

void TestCatalogues::everyTextIsTranslated_data()
{
    QTest::addColumn<QString>("catalogue");
    QTest::addColumn<QStringList>("folders");
    QTest::newRow("Kestrovan") << "translations/kestrovan_de.ts" << folderList(KESTROVAN_TRANSLATED_FOLDERS);
    QTest::newRow("HalvernDataLogger")
        << "DataLogger/translations/halverndatalogger_de.ts" << folderList(LOGGER_TRANSLATED_FOLDERS);
}

void TestCatalogues::everyTextIsTranslated()
{
    QFETCH(QString, catalogue);
    QFETCH(QStringList, folders);
    QVERIFY(!folders.isEmpty());

    QTemporaryDir dir;
    const QString freshPath = dir.filePath("fresh_de.ts");
    QProcess lupdate;
    lupdate.setWorkingDirectory(QStringLiteral(KESTROVAN_SOURCE_DIR));
    lupdate.setProcessChannelMode(QProcess::MergedChannels);
    lupdate.start(QStringLiteral(KESTROVAN_LUPDATE),
        QStringList { "-silent", "-locations", "none" } + folders + QStringList { "-ts", freshPath });
    QVERIFY2(lupdate.waitForFinished(240000), qPrintable(lupdate.errorString()));
    QVERIFY2(lupdate.exitStatus() == QProcess::NormalExit && lupdate.exitCode() == 0,
        lupdate.readAll().constData());

    QHash<QString, Message> fresh;
    QHash<QString, Message> committed;
    QString error;
    QVERIFY2(readCatalogue(freshPath, &fresh, &error), qPrintable(error));
    QVERIFY2(readCatalogue(QStringLiteral(KESTROVAN_SOURCE_DIR "/") + catalogue, &committed, &error),
        qPrintable(error));
    // The programs do have texts; an empty scan means lupdate looked in the wrong place.
    QVERIFY(fresh.size() > 20);

    const QStringList faults = compare(fresh, committed);
    QVERIFY2(faults.isEmpty(),
        qPrintable(QStringLiteral("%1 text(s) without a finished translation in %2 (update it as "
                                  "translations/README.md says):\n")
                       .arg(faults.size())
                       .arg(catalogue)
            + faults.mid(0, 40).join(QLatin1Char('\n'))));
}

KESTROVAN_TEST_MAIN(TestCatalogues)
#include "tst_catalogues.moc"
