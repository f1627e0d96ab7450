#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>

class QIODevice;

// A tester's results file as a table: line 1 names the instrument (its second field), line 2
// holds the column names, every further line one test result. The curve points ("IVCurve",
// expected last) are not shown.
class CsvResultsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // The tester's codes in the "TestType" column.
    enum TestType : unsigned {
        Continuity = 1,
        AutoTest = 2,
        PositiveEarthInsulation = 4,
        NegativeEarthInsulation = 8,
        AutoTestAndCurve = 16
    };

    // A tester's results file is a few hundred kilobytes; anything near this is not one.
    static constexpr qint64 MaxFileSize = qint64(64) << 20;

    explicit CsvResultsModel(QObject* parent = nullptr);

    // Reads at most MaxFileSize bytes of the device.
    bool load(QIODevice& device);
    // Why the file at path cannot be read as a results file (not a regular file, too large,
    // unreadable), or an empty text when it can.
    static QString fileProblem(const QString& path);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    unsigned testType(const QModelIndex& index) const;
    QString title() const { return m_title; }
    int testTypeColumn() const { return m_testTypeColumn; }
    QChar separator() const { return m_separator; }
    QStringList headers() const { return m_headers; }

    // "," unless the user's locale writes decimals with a comma, then ";".
    static QChar localeSeparator();
    // The words for a test type code ("Continuity", "AutoTest", ...).
    static QString testTypeName(unsigned code);

private:
    void addLine(const QString& line, int lineNumber);

    QString m_title;
    QStringList m_headers;
    QVector<QStringList> m_rows;
    QChar m_separator;
    int m_testTypeColumn = -1;
};
