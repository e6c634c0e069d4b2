#pragma once

// What a user types into the number fields of the editors, for their tables
// of typed texts: the texts no field takes, and what the user must be told
// when a field refuses one.

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTest>

#include "tests/common/scripteduser.h"

// Texts that are no number of any design field: no number at all, or one no
// field's range holds (1e300, a row of 5000 nines).
inline QList<QPair<const char*, QString>> noFieldNumbers()
{
    return {
        {"nan", QStringLiteral("nan")},
        {"inf", QStringLiteral("inf")},
        {"-inf", QStringLiteral("-inf")},
        {"1e300", QStringLiteral("1e300")},
        {"5000 nines", QString(5000, QLatin1Char('9'))},
        {"empty", QString()},
        {"letters", QStringLiteral("abc")},
        {"two commas", QStringLiteral("0,1,2")},
    };
}

// Adds those texts as rows of a table whose first three columns are
// (QString text, bool taken, double value).
inline void addNoFieldNumberRows()
{
    for (const auto& [name, text] : noFieldNumbers())
        QTest::newRow(name) << text << false << 0.0;
}

// Empty when the user was told exactly once that `typed` is no value of
// the field: the message names the range as `range` writes it, quotes the
// text (its start and its length, when long) and the value kept; otherwise
// what is wrong.
inline QString refusalProblem(const ScriptedUser& user, const QString& range, const QString& typed,
                              const QString& kept)
{
    if (user.texts.size() != 1)
        return QStringLiteral("%1 messages: %2").arg(user.texts.size()).arg(user.texts.join(QLatin1String(" | ")));
    const QString text = user.texts.first();
    const QString t = typed.trimmed();
    const QString quoted = t.isEmpty()      ? QStringLiteral("empty")
                         : t.size() > 40    ? QStringLiteral("(%1 characters)").arg(t.size())
                                            : QLatin1Char('"') + t + QLatin1Char('"');
    QStringList missing;
    for (const QString& part : {range, quoted, QStringLiteral("keeps ") + kept.trimmed()})
        if (!text.contains(part))
            missing << part;
    if (text.size() > 400)
        missing << QStringLiteral("a message of readable size");
    return missing.isEmpty() ? QString() : QStringLiteral("\"%1\" lacks %2").arg(text, missing.join(QLatin1String(", ")));
}
