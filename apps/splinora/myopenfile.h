#pragma once

#include <QDataStream>
#include <QIODevice>
#include <QObject>
#include <QPolygonF>
#include <QString>

#include "apps/splinora/parastruct.h"

namespace splinora {

// The spline fields of the record in the order of the ".spl" layout.
QDataStream& operator<<(QDataStream& out, const ParaStruct& rec);
QDataStream& operator>>(QDataStream& in, ParaStruct& rec);

// Reads one spline from a ".spl" stream (data stream version 12) into
// spline. Returns false, leaving spline untouched, for a short or over-long
// stream, counts beyond the record's capacity, an inconsistent knot count,
// knots that decrease or lie outside [0, 1], control points that are not
// finite or lie far beyond any screen, or openings that are not finite.
bool Read_Spline_Device(QIODevice* dev, SplineFoil* spline);

// Airfoil table, file variant: the path line, then the trailing edge, every
// ninth curve point and the trailing edge again, ending with a single blank.
QString Airfoil_Table_FileText(const QString& path, const QPolygonF& poly);
// Airfoil table, panel variant: title lines, then the trailing edge, every
// point but the first and the trailing edge again.
QString Airfoil_Table_PanelText(const QPolygonF& poly);

// File dialogs and the spline file stream.
class myOpenFile : public QObject
{
    Q_OBJECT
public:
    explicit myOpenFile(QObject* parent);

    QString DialogReadFromFile();
    QString DialogReadSplineFromFile();
    QString DialogWriteToFile();
    QString DialogWriteSplineToFile();
    QString OpenFileName(const QString& title, const QString& filter);

    bool WriteParaStream(const QString& filename);
    bool ReadParaStream(const QString& filename);

    QString mydir;
    ParaStruct* p;
    ParaStruct* outdata;
};

} // namespace splinora
