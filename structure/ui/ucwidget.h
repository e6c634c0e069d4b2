#pragma once

// The chart under the diagonal tables: every rib of the half wing as a
// vertical line of 0.35 of its chord on a common base, with the diagonals
// the generation builds from table D1 (magenta) and D2 (dark red). A
// connection of the plan that builds no diagonal is drawn dashed (the dialog
// writes why under the chart). The chart's content comes from Diagonal_Chart
// (structure/diagchart.h) in plan units; the widget fits it whole into its
// size with the rib numbers (even ones below the base, odd ones above the
// tops).

#include <QList>
#include <QRectF>
#include <QString>
#include <QWidget>

#include "core/viewfit.h"

class ParaStruct;

class UcWidget : public QWidget
{
    Q_OBJECT

public:
    explicit UcWidget(QWidget* parent = nullptr);

    // How the chart's plan units map into the widget at its current size.
    ViewFit chartFit() const;
    // The rib numbers where they are drawn (widget coordinates).
    struct RibLabel {
        QRectF box;
        QString text;
    };
    QList<RibLabel> ribLabels() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const ParaStruct* design;
};
