// Builds an SQLite database from an SQL script: sqlseed <script.sql> <out.db>.
// Statements are separated by a line that holds only "--;" so that a statement
// may itself contain semicolons and blank lines; an existing output is replaced.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Builds an SQLite database from an SQL script."));
    parser.addHelpOption();
    parser.addPositionalArgument(
        QStringLiteral("script.sql"), QStringLiteral("Statements separated by \"--;\" lines."));
    parser.addPositionalArgument(
        QStringLiteral("out.db"), QStringLiteral("The database to write (replaced)."));
    parser.process(app);
    const QStringList args = parser.positionalArguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "%s", qPrintable(parser.helpText()));
        return 2;
    }
    QFile script(args.at(0));
    if (!script.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "sqlseed: cannot read %s\n", qPrintable(args.at(0)));
        return 1;
    }
    const QString text = QString::fromUtf8(script.readAll());
    const QString tmpPath = args.at(1) + QStringLiteral(".tmp");
    QFile::remove(tmpPath);

    int status = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("seed"));
        db.setDatabaseName(tmpPath);
        if (!db.open()) {
            std::fprintf(stderr, "sqlseed: %s\n", qPrintable(db.lastError().text()));
            return 1;
        }
        QSqlQuery query(db);
        db.transaction();
        QString statement;
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (const QString& line : lines) {
            if (line.trimmed() == QLatin1String("--;")) {
                if (!statement.trimmed().isEmpty() && !query.exec(statement.trimmed())) {
                    std::fprintf(stderr, "sqlseed: %s\n  in: %s\n", qPrintable(query.lastError().text()),
                        qPrintable(statement.trimmed()));
                    status = 1;
                    break;
                }
                statement.clear();
            } else if (!line.trimmed().startsWith(QLatin1String("--"))) {
                statement += line + QLatin1Char('\n');
            }
        }
        if (status == 0 && !statement.trimmed().isEmpty() && !query.exec(statement.trimmed())) {
            std::fprintf(stderr, "sqlseed: %s\n", qPrintable(query.lastError().text()));
            status = 1;
        }
        if (status == 0)
            db.commit();
        else
            db.rollback();
        query.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("seed"));
    if (status != 0) {
        QFile::remove(tmpPath);
        return status;
    }
    QFile::remove(args.at(1));
    if (!QFile::rename(tmpPath, args.at(1))) {
        std::fprintf(stderr, "sqlseed: cannot write %s\n", qPrintable(args.at(1)));
        return 1;
    }
    return 0;
}
