#pragma once

#include <QDate>
#include <QRegExp>
#include <QString>

// What the user asked the document search for, as read from the search panel. Every active
// criterion must hold for an entry to be a hit.
struct SearchCriteria
{
    enum DateKind { CreatedDate = 0, ModifiedDate = 1, AccessedDate = 2 };
    enum SizeRule { GreaterThan = 0, LessThan = 1 };

    // Wildcard mask tested against the whole file name ("*" lists everything).
    QString namePattern = QStringLiteral("*");
    bool nameCaseSensitive = false;

    bool dateEnabled = false;
    DateKind dateKind = ModifiedDate;
    QDate dateFrom;
    QDate dateTo;

    bool sizeEnabled = false;
    SizeRule sizeRule = GreaterThan;
    qint64 sizeKB = 0;

    // Wildcard mask tested against the text of each element of a report; empty means no word test.
    QString wordPattern;
    bool wordCaseSensitive = false;

    // The mask of a name typed in the panel: "*" added at both ends where missing, so "site"
    // finds every name containing it and an empty name finds everything.
    static QString nameMask(const QString& typed);
    // The mask of a word or phrase: the same wrapping; empty stays empty (no word test).
    static QString wordMask(const QString& typed);
    // The test of a mask: "*" any run of characters, "?" one character, "[...]" one of a set (a
    // leading "^" negates it). A bracket that opens or closes no set and a backslash stand for
    // themselves, so any name can be typed as it is.
    static QRegExp maskExpression(const QString& mask, Qt::CaseSensitivity caseSensitivity);
};
