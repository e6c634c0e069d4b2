#include "apps/aerolyx/ui/foiltable.h"

#include <QPainter>

#include <cmath>

namespace aerolyx {

FoilTable::FoilTable(QWidget* parent)
    : QWidget(parent)
    , data(GetMyData())
{
    repaint();
}

QString FoilTable::Entry_Text(const myData* data, int k)
{
    return QString("%1     %2 ").arg(data->circleX[k], 0, 'f', 5).arg(data->circleY[k], 0, 'f', 5);
}

void FoilTable::Foil_Table(QPainter* painter, const myData* data, double W, double H)
{
    const double leftMargin = W / 24;
    const double lineHeight = std::max(1.0, std::round(H * 0.9 / 32));
    painter->setPen(Qt::blue);
    QFont font = painter->font();
    font.setPixelSize(int(lineHeight));
    font.setWeight(QFont::Normal);
    painter->setFont(font);
    painter->drawText(QPointF(leftMargin, 1 * lineHeight), data->foilName.toUpper());
    painter->drawText(QPointF(leftMargin, 3 * lineHeight), "  X\t   Y\t");
    for (int c = 0; c < 4; ++c) {
        for (int j = 6; j <= 37; ++j) {
            const int k = 32 * c + (j - 6);
            painter->drawText(QPointF(c * W / 4 + leftMargin, j * lineHeight), Entry_Text(data, k));
        }
    }
}

void FoilTable::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Foil_Table(&painter, data, width() - 1, height() - 1);
}

} // namespace aerolyx
