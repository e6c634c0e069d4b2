// Writes the display colours the program starts with, "colors.ini", into the
// application directory: an orange canopy on a night-blue background.
#include <QCoreApplication>
#include <QFileInfo>

#include "widgets/colorclass.h"
#include "core/parastruct.h"

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    GetGlobClass()->appDir = QFileInfo(QString::fromLocal8Bit(argv[1])).absolutePath();
    GetColorClass()->canopyColor = QColor(255, 150, 50);
    GetColorClass()->backgroundColor = QColor(20, 30, 60);
    WriteColorsStream();
    return QFileInfo::exists(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
