// Analyses one airfoil file with the flow analyser's computation and prints
// the lift and moment coefficients at the given angles of incidence and the
// median time of one analysis (loading, preparation and the mapping run).
//
//   aerolyx_polar FILE [ANGLE ...] [--runs N]

#include "apps/aerolyx/calc/airfoilprep.h"
#include "apps/aerolyx/calc/flow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

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
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: aerolyx_polar FILE [ANGLE ...] [--runs N]\n");
        return 2;
    }
    const QString path = args.takeFirst();
    std::vector<double> angles;
    for (const QString& a : args)
        angles.push_back(a.toDouble());
    if (angles.empty())
        angles = {-4, 0, 4, 8};

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
    std::printf("%8s %9s %9s\n", "alpha", "CL", "Cm0.25");
    for (double alpha : angles) {
        const double cl = f_Clift(data.get(), alpha - data->zeroLiftAngle * 180.0 / M_PI);
        const double cm = f_Moment(data.get(), alpha * M_PI / 180.0 - data->zeroLiftAngle, 0.25);
        std::printf("%8.2f %9.4f %9.4f\n", alpha, cl, cm);
    }
    std::printf("median analysis time: %.1f ms over %d runs\n", times[times.size() / 2], runs);
    return 0;
}
