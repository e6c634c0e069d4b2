#include "structure/diagtables.h"

#include "core/parastruct.h"

#include <algorithm>

namespace {

constexpr int kTop = 100;
// Beyond every rib slot.
constexpr int kNoRib = 1000;

int lastFlag(const ParaStruct* d)
{
    return std::min(d->lastRib, kStructSlots - 1);
}

} // namespace

QString ribs_group_text(int type)
{
    return type == 0 ? QStringLiteral("L") : QStringLiteral("I");
}

int ribs_group_number(const QString& text)
{
    return text.compare(QLatin1String("L"), Qt::CaseInsensitive) == 0 ? 0 : 1;
}

int Diagonal_Height_From_Text(const QString& text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    return ok ? std::clamp(v, 0, kTop) : 0;
}

void Replicate_Diagonal_Table(ParaStruct* d, DiagonalRow* table, int start, int cells, bool withType)
{
    if (!d || !table)
        return;
    if (cells >= 1) {
        const int last = std::min(d->lastRib, kStructSlots);
        // Upwards, reading rows already written: the first `cells` rows
        // from the start repeat to the end.
        for (int k = std::max(start, 0) + cells; k < last; ++k) {
            const DiagonalRow& from = table[k - cells];
            table[k].heightPercent = from.heightPercent;
            table[k].connectNext = from.connectNext;
            if (withType)
                table[k].ribType = from.ribType;
        }
    }
    d->diagMask2 = cells;
    d->diagMask1 = start;
}

QString Bfield_To_Edit(const ParaStruct* d, const bool* flags)
{
    QString text = QStringLiteral("( ");
    bool any = false;
    for (int r = 0; d && flags && r <= lastFlag(d); ++r) {
        if (!flags[r])
            continue;
        text += (any ? QStringLiteral(",%1") : QStringLiteral("%1")).arg(r);
        any = true;
    }
    return text + QLatin1Char(')');
}

void Edit_To_Bfield(const ParaStruct* d, const QString& text, bool* flags)
{
    if (!d || !flags)
        return;
    const int last = lastFlag(d);
    for (int r = 0; r <= last; ++r)
        flags[r] = false;
    // The number read so far; once it passes every rib it stays there, so a
    // long run of digits can neither overflow nor name a rib.
    int number = 0;
    bool digits = false;
    auto closeToken = [&] {
        if (number <= last)
            flags[number] = true;
        number = 0;
        digits = false;
    };
    for (const QChar c : text) {
        if (c == QLatin1Char(',')) {
            closeToken();
        } else if (c == QLatin1Char(')')) {
            if (digits)
                closeToken();
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            number = std::min(number * 10 + (c.unicode() - '0'), kNoRib);
            digits = true;
        }
    }
}
