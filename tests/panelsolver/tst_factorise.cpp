// The solver's block LU factorisation against what it must leave (P A = L U,
// the pivots LAPACK's solver reads) and the thread cap against the load.

#include "apps/panelsolver/factorise.h"

#include <lapacke.h>

#include <QObject>
#include <QTest>

#include <cmath>
#include <random>
#include <vector>

using namespace panelsolver;

class TestFactorise : public QObject {
    Q_OBJECT

private slots:
    // Sizes below, at and across the block width; the solution of A x = b
    // with a known x, through LAPACK's solver on the factors, and the
    // factors themselves against LAPACK's own factorisation.
    void solvesLikeLapack_data()
    {
        QTest::addColumn<int>("n");
        QTest::newRow("one") << 1;
        QTest::newRow("below a block") << 37;
        QTest::newRow("one block") << 256;
        QTest::newRow("across blocks") << 601;
    }
    void solvesLikeLapack()
    {
        QFETCH(int, n);
        std::mt19937 random(n);
        std::uniform_real_distribution<double> value(-1, 1);
        std::vector<double> a(size_t(n) * n), x(n), b(n, 0.0);
        for (double& v : a)
            v = value(random);
        for (double& v : x)
            v = value(random);
        for (int c = 0; c < n; ++c)
            for (int r = 0; r < n; ++r)
                b[r] += a[size_t(c) * n + r] * x[c];
        std::vector<double> mine = a, theirs = a;
        std::vector<int> pivots(n), lapackPivots(n);
        std::vector<int> told;
        QCOMPARE(Factorise_LU(mine.data(), n, pivots.data(), [&told](int p) { told.push_back(p); }), 0);
        QCOMPARE(LAPACKE_dgetrf(LAPACK_COL_MAJOR, n, n, theirs.data(), n, lapackPivots.data()), 0);
        QCOMPARE(pivots, lapackPivots);
        for (size_t k = 0; k < mine.size(); ++k)
            QVERIFY(std::fabs(mine[k] - theirs[k]) < 1e-9);
        QCOMPARE(LAPACKE_dgetrs(LAPACK_COL_MAJOR, 'N', n, 1, mine.data(), n, pivots.data(), b.data(), n), 0);
        for (int k = 0; k < n; ++k)
            QVERIFY2(std::fabs(b[k] - x[k]) < 1e-9, qPrintable(QString::number(b[k] - x[k])));
        // The progress rises to the whole, once per block at most.
        QVERIFY(!told.empty());
        QCOMPARE(told.back(), 100);
        QVERIFY(int(told.size()) <= (n + 255) / 256);
        for (size_t k = 1; k < told.size(); ++k)
            QVERIFY(told[k] > told[k - 1]);
    }

    // A column of zeros in the second block: the first zero pivot, counted
    // from 1, as LAPACK reports it.
    void singularMatrixIsReported()
    {
        const int n = 400;
        std::mt19937 random(7);
        std::uniform_real_distribution<double> value(-1, 1);
        std::vector<double> a(size_t(n) * n);
        for (double& v : a)
            v = value(random);
        for (int r = 0; r < n; ++r)
            a[size_t(300) * n + r] = 0;
        std::vector<double> theirs = a;
        std::vector<int> pivots(n);
        QCOMPARE(Factorise_LU(a.data(), n, pivots.data()), 301);
        QCOMPARE(LAPACKE_dgetrf(LAPACK_COL_MAJOR, n, n, theirs.data(), n, pivots.data()), 301);
    }

    void freeCores_data()
    {
        QTest::addColumn<int>("cores");
        QTest::addColumn<double>("load");
        QTest::addColumn<int>("wanted");
        QTest::addColumn<int>("expected");
        QTest::newRow("idle machine") << 8 << 0.1 << 8 << 8;
        QTest::newRow("fewer wanted") << 8 << 0.1 << 2 << 2;
        QTest::newRow("half busy") << 8 << 3.6 << 8 << 4;
        QTest::newRow("a quarter busy") << 8 << 2.2 << 8 << 6;
        // A busy machine still gives the solver half of its cores: one
        // thread there took three times as long as four.
        QTest::newRow("nearly all busy") << 8 << 7.5 << 8 << 4;
        QTest::newRow("busier than its cores") << 8 << 20.0 << 8 << 4;
        QTest::newRow("odd cores, busy") << 5 << 9.0 << 8 << 3;
        QTest::newRow("busy, fewer wanted than half") << 8 << 20.0 << 2 << 2;
        QTest::newRow("load unknown") << 4 << std::nan("") << 8 << 4;
        QTest::newRow("one core") << 1 << 0.0 << 8 << 1;
        QTest::newRow("one core, busy") << 1 << 6.0 << 8 << 1;
        QTest::newRow("two cores, busy") << 2 << 6.0 << 8 << 1;
    }
    void freeCores()
    {
        QFETCH(int, cores);
        QFETCH(double, load);
        QFETCH(int, wanted);
        QFETCH(int, expected);
        QCOMPARE(Free_Cores(cores, load, wanted), expected);
    }
};

QTEST_GUILESS_MAIN(TestFactorise)
#include "tst_factorise.moc"
