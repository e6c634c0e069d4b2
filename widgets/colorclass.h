#ifndef COLORCLASS_H
#define COLORCLASS_H

#include <QColor>

class QIODevice;

// The two display colours of the 3-D views, kept between runs in "colors.ini"
// in the application directory.
class ColorClass
{
public:
    QColor canopyColor;
    QColor backgroundColor;
};

// The one record of the process, created on first use with both colours invalid.
ColorClass* GetColorClass();

// Loads "colors.ini": a missing file keeps the colours, an unreadable one makes
// both invalid.
void ReadColorsStream();
// The colours of a "colors.ini" stream: both when it holds exactly two whole
// colours of specs Qt defines, the canopy colour alone when it ends right
// after it, and otherwise (cut inside a colour, longer, an unknown spec,
// unreadable) both invalid.
ColorClass Read_Colors(QIODevice* device);
// Saves both colours to "colors.ini"; a failed write is silent.
void WriteColorsStream();

#endif
