#include "structure/diagchart.h"

#include "core/parastruct.h"
#include "structure/diagonals.h"

#include <algorithm>

namespace {

struct Frame {
    const ParaStruct* d;
    double base;

    QPointF bottom(int i) const { return QPointF(d->ribSpanPos[i], base); }
    QPointF top(int i) const { return QPointF(d->ribSpanPos[i], base - 0.35 * d->chord[i]); }
    QPointF at(int i, int percent) const { return bottom(i) + percent / 100.0 * (top(i) - bottom(i)); }
};

// Skipped rows by reason, in the order the reasons first come: "D1 15, 16".
struct Skips {
    QStringList reasons;
    QList<QStringList> rows;

    void add(const QString& reason, const QString& row)
    {
        qsizetype k = reasons.indexOf(reason);
        if (k < 0) {
            reasons.append(reason);
            rows.append(QStringList());
            k = reasons.size() - 1;
        }
        rows[k].append(row);
    }
};

void addTable(const Frame& f, int last, const DiagonalRow* table, int number, DiagonalChart* chart, Skips* skips)
{
    for (const DiagonalPlanEntry& e : Diagonal_Plan(f.d, table)) {
        if (e.built) {
            chart->built.append({QLineF(f.at(e.start.rib, e.start.heightPercent), f.at(e.end.rib, e.end.heightPercent)),
                                 number});
            continue;
        }
        // Drawn where the plan puts it: from the row's rib to the next.
        const int r = e.start.rib >= 0 && e.start.rib < last ? e.start.rib : e.row;
        if (r + 1 <= last)
            chart->skipped.append(
                {QLineF(f.at(r, e.start.heightPercent), f.at(r + 1, table[r + 1].heightPercent)), number});
        skips->add(e.reason, QStringLiteral("D%1 rib %2").arg(number).arg(e.row));
    }
}

} // namespace

DiagonalChart Diagonal_Chart(const ParaStruct* d)
{
    DiagonalChart chart;
    const int last = std::min(d->lastRib, kRibSlots - 1);
    if (last < 1)
        return chart;
    const Frame f{d, 0};
    for (int i = 0; i <= last; ++i) {
        const bool odd = i % 2 != 0;
        chart.ribNumbers.append({odd ? f.top(i) : f.bottom(i), odd, QString::number(i)});
    }
    for (int i = 0; i < last; ++i) {
        chart.ribLines.append(QLineF(f.top(i), f.bottom(i)));
        chart.ribLines.append(QLineF(f.top(i), f.top(i + 1)));
        chart.ribLines.append(QLineF(f.bottom(i), f.bottom(i + 1)));
    }
    Skips skips;
    addTable(f, last, d->diagTableD1, 1, &chart, &skips);
    addTable(f, last, d->diagTableD2, 2, &chart, &skips);
    for (qsizetype k = 0; k < skips.reasons.size(); ++k)
        chart.notes.append(QStringLiteral("%1 (%2)").arg(skips.reasons.at(k), skips.rows.at(k).join(QStringLiteral(", "))));
    return chart;
}

QStringList Diagonal_Chart_Notes(const ParaStruct* design)
{
    return Diagonal_Chart(design).notes;
}
