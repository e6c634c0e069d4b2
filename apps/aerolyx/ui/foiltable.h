#pragma once

// The analysed airfoil as a text table: its name and the 128 points the
// solver resampled at the uniform circle angles, in four columns of 32.

#include "analysisrecord.h"

#include <QWidget>

namespace aerolyx {

class FoilTable : public QWidget {
    Q_OBJECT
public:
    explicit FoilTable(QWidget* parent = nullptr);

    // Text of point k of the table.
    QString Entry_Text(int k) const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void Foil_Table(QPainter* painter);

    myData* data;
};

} // namespace aerolyx
