#pragma once

// The analysed airfoil as a text table: its name and the 128 points the
// solver resampled at the uniform circle angles, in four columns of 32.

#include "apps/aerolyx/calc/analysisrecord.h"

#include <QWidget>

namespace aerolyx {

class FoilTable : public QWidget {
    Q_OBJECT
public:
    explicit FoilTable(QWidget* parent = nullptr);

    // Text of point k of the table.
    QString Entry_Text(int k) const { return Entry_Text(data, k); }
    static QString Entry_Text(const myData* data, int k);
    // Draws the table of data into the rectangle (0, 0)-(W, H) of painter's
    // device: the view's drawing, and the printed table.
    static void Foil_Table(QPainter* painter, const myData* data, double W, double H);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    myData* data;
};

} // namespace aerolyx
