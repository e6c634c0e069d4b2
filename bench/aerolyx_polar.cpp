// Analyses one airfoil file with the flow analyser's computation and prints
// the lift and moment coefficients at the given angles of incidence, the
// number of mapping iterations and the median time of one analysis
// (loading, preparation and the mapping run).
//
//   aerolyx_polar FILE [ANGLE ...] [--runs N]
//   aerolyx_polar --xfoil NACA [ANGLE ...] [--runs N]
//
// With --xfoil, Debian's xfoil makes the file (the NACA section as it saves
// it: 160 points, blunt trailing edge) and its inviscid polar at the same
// angles, printed beside the analyser's.

#include "apps/aerolyx/calc/airfoilprep.h"
#include "apps/aerolyx/calc/flow.h"
#include "tests/common/xfoilrun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

using namespace aerolyx;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int runs = 5;
    const int at = args.indexOf("--runs");
    if (at >= 0 && at + 1 < args.size()) {
        runs = std::max(1, args[at + 1].toInt());
        args.remove(at, 2);
    }
    QString naca;
    const int xf = args.indexOf("--xfoil");
    if (xf >= 0 && xf + 1 < args.size()) {
        naca = args[xf + 1];
        args.remove(xf, 2);
    } else if (args.isEmpty()) {
        std::fprintf(stderr, "usage: aerolyx_polar FILE [ANGLE ...] [--runs N]\n"
                             "       aerolyx_polar --xfoil NACA [ANGLE ...] [--runs N]\n");
        return 2;
    }
    QString path = naca.isEmpty() ? args.takeFirst() : QString();
    std::vector<double> angles;
    for (const QString& a : args)
        angles.push_back(a.toDouble());
    if (angles.empty())
        angles = {-4, 0, 4, 8};

    QTemporaryDir made;
    QList<xfoilrun::PolarPoint> reference;
    if (!naca.isEmpty()) {
        xfoilrun::Session session;
        session.naca = naca;
        session.alphas = QList<double>(angles.begin(), angles.end());
        QString log;
        if (!made.isValid() || !xfoilrun::run(made.path(), session, &log)) {
            std::fprintf(stderr, "xfoil did not make NACA %s\n%s\n", qPrintable(naca), qPrintable(log.right(2000)));
            return 1;
        }
        path = made.filePath(xfoilrun::fileName(session, 160));
        reference = xfoilrun::readPolar(made.filePath(xfoilrun::polarName(session)));
    }

    auto data = std::make_unique<myData>();
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        auto fresh = std::make_unique<myData>();
        QString why;
        QElapsedTimer timer;
        timer.start();
        if (!Load_Airfoil(fresh.get(), path, &why)) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(why));
            return 1;
        }
        times.push_back(timer.nsecsElapsed() / 1e6);
        data = std::move(fresh);
    }
    std::sort(times.begin(), times.end());

    std::printf("%s: %d iterations, zero-lift angle %.3f deg, thickness %s %%\n",
                qPrintable(data->foilName), data->iterationCount,
                data->zeroLiftAngle * 180.0 / M_PI, qPrintable(FindThickness(data->workFoil)));
    if (reference.isEmpty())
        std::printf("%8s %9s %9s\n", "alpha", "CL", "Cm0.25");
    else
        std::printf("%8s %9s %9s %9s %9s\n", "alpha", "CL", "Cm0.25", "xfoil CL", "xfoil Cm");
    for (double alpha : angles) {
        const double cl = f_Clift(data.get(), alpha - data->zeroLiftAngle * 180.0 / M_PI);
        const double cm = f_Moment(data.get(), alpha * M_PI / 180.0 - data->zeroLiftAngle, 0.25);
        std::printf("%8.2f %9.4f %9.4f", alpha, cl, cm);
        for (const xfoilrun::PolarPoint& p : reference)
            if (std::fabs(p.alpha - alpha) < 1e-6)
                std::printf(" %9.4f %9.4f", p.cl, p.cm);
        std::printf("\n");
    }
    // The map itself to the last digit, so that a change meant to leave the
    // results alone can be checked against the program before it.
    double sumA = 0, sumB = 0;
    for (int k = 0; k < kMapCoefs; ++k) {
        sumA += data->mapCoefA[k];
        sumB += data->mapCoefB[k];
    }
    std::printf("map: scale %.17g shift %.17g %.17g coefficient sums %.17g %.17g\n", data->mapScale,
                data->mapShiftX, data->mapShiftY, sumA, sumB);
    std::printf("median analysis time: %.1f ms over %d runs\n", times[times.size() / 2], runs);
    return 0;
}
