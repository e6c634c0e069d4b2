#include "structure/ui/painterfont.h"

#include <QFont>
#include <QPainter>

void setMyFont(int size, bool bold, bool italic, QPainter* painter)
{
    if (!painter)
        return;
    QFont font = painter->font();
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setItalic(italic);
    font.setPointSize(size);
    painter->setFont(font);
}
