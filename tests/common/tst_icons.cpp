#include "TestSupport.h"
#include "WindowIcon.h"

#include <QDirIterator>
#include <QImage>
#include <QImageReader>

// Icons stay sharp on high-density screens: each picture a window shows as an icon comes at two
// and three times its size, and the window icon at every size a desktop draws.
class TestIcons : public QObject
{
    Q_OBJECT
private slots:
    void init() { TestSupport::resetState(); }
    void iconPicturesHaveScaledVersions_data();
    void iconPicturesHaveScaledVersions();
    void windowIconHasEverySize();
};

void TestIcons::iconPicturesHaveScaledVersions_data()
{
    QTest::addColumn<QString>("picture");
    int count = 0;
    for (const char* folder : { ":/res/toolButtons", ":/res/fileTypes" }) {
        QDirIterator it(QLatin1String(folder), { "*.png" }, QDir::Files);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!path.contains('@')) {
                QTest::newRow(qPrintable(path)) << path;
                ++count;
            }
        }
    }
    for (const char* star :
        { ":/res/images/FavouritesStar32x32.png", ":/res/images/FavouritesStar32x32toggled.png" }) {
        QTest::newRow(star) << QString(star);
        ++count;
    }
    QVERIFY2(count > 30, "the tool buttons and file types are in the resources");
}

void TestIcons::iconPicturesHaveScaledVersions()
{
    QFETCH(QString, picture);
    const QSize size = QImageReader(picture).size();
    QVERIFY(!size.isEmpty());
    for (int factor : { 2, 3 }) {
        QString scaled = picture;
        scaled.insert(scaled.size() - 4, QString("@%1x").arg(factor));
        QCOMPARE(QImageReader(scaled).size(), size * factor);
    }
}

void TestIcons::windowIconHasEverySize()
{
    const QIcon icon = windowIconWithSizes(":res/images/Halvern.ico", ":res/images/windowicon");
    const QList<QSize> sizes = icon.availableSizes();
    for (int side : { 16, 24, 32, 48, 64, 128, 256 }) {
        QVERIFY2(sizes.contains(QSize(side, side)), qPrintable(QString::number(side)));
        // Drawn at that size, not scaled from another.
        QCOMPARE(icon.pixmap(QSize(side, side)).size(), QSize(side, side));
    }
}

KESTROVAN_TEST_MAIN(TestIcons)
#include "tst_icons.moc"
