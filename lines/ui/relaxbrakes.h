#pragma once

// The diagram in the "brake's relaxation" box of the bridle manager: how much
// each brake line is let out along the span, from the brake centre rib and
// the middle and edge relaxation set beside it.

#include <QPainter>
#include <QWidget>

#include "core/parastruct.h"

// Text turned by `angle` degrees with its baseline starting at the point.
void drawVerticalText(QPainter* painter, float angle, QPointF point, const QString& text);

class RelaxBrakes : public QWidget
{
    Q_OBJECT

public:
    explicit RelaxBrakes(QWidget* parent = nullptr);

    double middleRelax() const { return middle; }
    double edgeRelax() const { return edge; }
    int centreRib() const { return centre; }

public slots:
    // Recomputes the design's brake relaxation from its brake settings and
    // shows it.
    void relaxbrakes_Update();
    void PaintRelaxBrakes(QPainter* painter, int w, int h);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ParaStruct* design;
    double middle = 0.0;
    double edge = 0.0;
    int centre = 0;
    double relax[kStructSlots]{};
    int count = 0;
};
