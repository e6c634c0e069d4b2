#pragma once

// Results files for the tests, written the way the solver writes them
// (keyword lines and value lines that start with a blank, integers in ten
// columns, reals in the Fortran E14.8 form whose negative values lose their
// leading zero: -.12345678E+01), through the same section list the reader
// follows. Other sections the solver writes stand between them.

#include "aero/apameres.h"

#include <QFile>
#include <QMap>
#include <QStringList>

#include <cmath>

namespace resultwriter {

inline QString fortranReal(double v)
{
    if (v == 0)
        return QStringLiteral("0.00000000E+00");
    int e = int(std::floor(std::log10(std::fabs(v)))) + 1;
    double m = std::fabs(v) / std::pow(10.0, e);
    QString digits = QString::number(m, 'f', 8);
    if (digits.startsWith(QLatin1String("1."))) { // rounded up to 1.0
        ++e;
        digits = QString::number(m / 10, 'f', 8);
    }
    const QString mantissa = v < 0 ? QStringLiteral("-") + digits.mid(1) : digits;
    return QStringLiteral("%1E%2%3").arg(mantissa, e < 0 ? QStringLiteral("-") : QStringLiteral("+"))
        .arg(std::abs(e), 2, 10, QLatin1Char('0'));
}

class Writer
{
public:
    QStringList lines;
    // Sections of the solver the reader skips, written before a keyword.
    QMap<QString, QStringList> before = {
        {"PANEL_NUM", {" APAME - 3D panel method results file", " VERSION 3.1"}},
        {"CASE_NUM", {" AIRSPEED", " 0.11111111E+02"}},
        {"CX", {" WINGSPAN", " 0.10000000E+02"}},
        {"CLIFT", {" CDRAGi", " 0.00000000E+00", " CSIDE", " 0.00000000E+00"}},
        {"NODES", {" FX", " 0.00000000E+00"}},
        {"NORMAL", {" S", " 0.10000000E+01", " FF", " 0.10000000E+01"}},
        {"CP", {" L_VECTOR", " 0.10000000E+01", " CENTER POINTS", " 0.10000000E+01", " VELOCITY", " 0.1E+02"}},
    };
    int caseCount = 0;

    void keyword(const char* k)
    {
        lines += before.value(QLatin1String(k));
        lines += QStringLiteral(" ") + QLatin1String(k);
    }
    void count(const char* k, int n)
    {
        keyword(k);
        lines += QStringLiteral(" %1").arg(n, 10);
    }
    QString reals(const double* v, int n)
    {
        QString s;
        for (int c = 0; c < n; ++c)
            s += QStringLiteral(" ") + fortranReal(v[c]);
        return s;
    }
    void cases(const char* k, int n, const double* alpha, const double* beta)
    {
        count(k, n);
        caseCount = std::min(n, kResultCases);
        lines += reals(alpha, caseCount);
        lines += reals(beta, caseCount);
    }
    void coefficients(const char* k, const double* v)
    {
        keyword(k);
        lines += reals(v, caseCount);
    }
    void nodes(const char* k, int, const QList<QVector3D>& list)
    {
        keyword(k);
        for (const QVector3D& p : list) {
            const double v[3] = {p.x(), p.y(), p.z()};
            lines += reals(v, 3);
        }
    }
    void normals(const char* k, int n, const QList<QVector3D>& list) { nodes(k, n, list); }
    void panels(const char* k, int, const QList<PanelInfo>& list)
    {
        keyword(k);
        for (const PanelInfo& p : list) {
            QString s = QStringLiteral(" %1").arg(p.type, 10);
            for (int c = 0; c < 4; ++c)
                s += QStringLiteral(" %1").arg(p.nodes[c], 10);
            for (int c = 0; c < 4; ++c)
                s += QStringLiteral(" %1").arg(p.neighbours[c], 10);
            lines += s;
        }
    }
    void cp(const char* k, int, int, const QList<ArrDouble>& list)
    {
        keyword(k);
        for (const ArrDouble& a : list)
            lines += reals(a.values, caseCount);
    }
};

inline QStringList resultLines(const ApameRes& r)
{
    Writer w;
    apameresult::resultSections(w, r);
    w.lines += QStringList{" DIPOLE", " 0.00000000E+00", " end"};
    return w.lines;
}

inline bool writeLines(const QString& path, const QStringList& lines)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    f.write(lines.join('\n').toLatin1() + '\n');
    return true;
}

// A consistent results record: a mesh of `strips` strips of `stations`
// panels with a wake panel each, 13 cases with lift and drag rising with
// the case and a nose-down moment.
inline ApameRes sampleResults(int strips = 3, int stations = 4)
{
    ApameRes r;
    const int rowNodes = stations;
    r.nodeNum = (strips + 1) * rowNodes + strips + 1;
    r.panelNumNoWake = strips * stations;
    r.panelNum = r.panelNumNoWake + strips;
    r.caseNum = kResultCases;
    for (int k = 0; k < kResultCases; ++k) {
        r.alpha[k] = k;
        r.cx[k] = 0.01 * k - 0.05;
        r.cz[k] = 0.08 * k + 0.2;
        r.cm[k] = -0.02 * k - 0.05;
        r.cdrag[k] = 0.02 + 0.001 * k * k;
        r.clift[k] = 0.2 + 0.08 * k;
    }
    for (int i = 0; i < r.nodeNum; ++i)
        r.nodes.append(QVector3D(0.25f * (i % rowNodes), -1.0f + 0.5f * (i / rowNodes), 0.01f * i));
    for (int i = 0; i < strips; ++i) {
        for (int j = 0; j < stations; ++j) {
            PanelInfo p;
            p.id = i * stations + j + 1;
            p.type = 1;
            const int next = (j + 1) % stations;
            p.nodes[0] = i * rowNodes + j + 1;
            p.nodes[1] = (i + 1) * rowNodes + j + 1;
            p.nodes[2] = (i + 1) * rowNodes + next + 1;
            p.nodes[3] = i * rowNodes + next + 1;
            p.neighbours[0] = j > 0 ? p.id - 1 : 0;
            r.panels.append(p);
        }
    }
    for (int i = 0; i < strips; ++i) {
        PanelInfo p;
        p.id = r.panelNumNoWake + i + 1;
        p.type = 10;
        p.nodes[0] = (i + 1) * rowNodes + 1;
        p.nodes[1] = i * rowNodes + 1;
        p.nodes[2] = (strips + 1) * rowNodes + i + 1;
        p.nodes[3] = (strips + 1) * rowNodes + i + 2;
        p.neighbours[0] = i * stations + 1;
        p.neighbours[1] = i * stations + stations;
        r.panels.append(p);
    }
    for (int k = 0; k < r.panelNum; ++k)
        r.normals.append(QVector3D(0, k % 2 ? -0.25f : 0.5f, 1));
    for (int k = 0; k < r.panelNumNoWake; ++k) {
        ArrDouble a;
        for (int c = 0; c < kResultCases; ++c)
            a.values[c] = -1.2 + 0.1 * c + 0.01 * k;
        r.cp.append(a);
    }
    return r;
}

} // namespace resultwriter
