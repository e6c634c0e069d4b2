#include "apps/aerolyx/ui/outputfiles.h"

#include "apps/aerolyx/calc/flow.h"

#include <QDir>
#include <QFile>
#include <QStringConverter>
#include <QTextStream>

namespace aerolyx {

namespace {

QString Table_Line(double x, double y)
{
    return QString("%1   %2 \t\n").arg(x, 7, 'f', 5).arg(y, 7, 'f', 5);
}

// Plain text, one line feed per line, in the system's encoding.
bool Write_Text(const QString& path, const QString& text)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QTextStream out(&file);
    out.setEncoding(QStringConverter::System);
    out << text;
    out.flush();
    return out.status() == QTextStream::Ok && file.error() == QFile::NoError;
}

} // namespace

QString Airfoil_Table_Text(const myData* data, const QString& path)
{
    QString text = path + " \t\n";
    text += Table_Line(1.0, 0.0);
    for (int i = 1; i < kFoilPoints; i += 2)
        text += Table_Line(data->circleX[i], data->circleY[i]);
    return text;
}

bool Write_Airfoil_Table(const myData* data, const QString& path)
{
    return Write_Text(path, Airfoil_Table_Text(data, path));
}

QString Dcp_Polar_Text(const DcpResults& r)
{
    QString text = QString("%1 %2 \t\n ").arg(QStringLiteral("filename:"), QString(kDcpPolarName));
    const struct {
        const char* label;
        double value;
    } lines[] = {{"Att", r.effAngle},
                 {"C_P", r.cpPosition},
                 {"A_C", r.acPosition},
                 {"C1_P", r.cp1Position},
                 {"C2_P", r.cp2Position}};
    for (const auto& line : lines)
        text += QString("%1 %2 \t\n").arg(QString(line.label), Dcp_Value_Text(line.value));
    return text;
}

bool Write_Dcp_Polar(const QString& dir, const DcpResults& results)
{
    return Write_Text(QDir(dir).filePath(kDcpPolarName), Dcp_Polar_Text(results));
}

} // namespace aerolyx
