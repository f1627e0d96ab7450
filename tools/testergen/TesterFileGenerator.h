#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// Writes result files as a PV tester exports them, for tests, benchmarks and demonstrations:
// continuity, auto tests, positive- and negative-earth insulation tests and auto tests with an
// IV curve, a few of them failed. Line 1 names the tester, line 2 the columns with "IVCurve"
// last; each data line ends with its curve points, the status number and the line checksum.
struct TesterFileOptions
{
    int rows = 12;
    // ',' with '.' decimals, or ';' with ',' decimals (a decimal-comma locale).
    QChar separator = QLatin1Char(',');
    int curvePoints = 128;
    quint32 seed = 1;
    QString serialNumber = QStringLiteral("PVT1600 SN:10234567");
    int fileVersion = 2;
    QDateTime firstTest = QDateTime(QDate(2026, 6, 15), QTime(9, 30, 0));
    // One in this many results failed (0: none).
    int failEvery = 7;
};

QByteArray generateTesterFile(const TesterFileOptions& options);

// The tester's line checksum: 1 plus every character up to and including the last separator,
// the decimal character counted as '.' and the separator as ','.
quint16 testerLineChecksum(const QByteArray& lineUpToLastSeparator, char separator, char decimal);
