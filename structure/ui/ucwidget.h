#pragma once

// The chart under the diagonal tables: every rib of the half wing as a
// vertical line of 0.35 of its chord on a common base, drawn 1:1 in plan
// units, with the planned diagonals of table D1 (magenta) and D2 (dark red)
// from the height on one rib to the height on the next.

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
