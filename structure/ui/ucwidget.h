#pragma once

// The chart under the diagonal tables: every rib of the half wing as a
// vertical line of 0.35 of its chord on a common base, drawn 1:1 in plan
// units, with the diagonals the generation builds from table D1 (magenta)
// and D2 (dark red). A connection of the plan that builds no diagonal is
// drawn dashed (the dialog writes why under the chart). The chart's content
// comes from Diagonal_Chart (structure/diagchart.h).

#include <QWidget>

class ParaStruct;

class UcWidget : public QWidget
{
    Q_OBJECT

public:
    explicit UcWidget(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ParaStruct* design;
};
