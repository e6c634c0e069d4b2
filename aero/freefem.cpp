#include "aero/freefem.h"

#include "core/parastruct.h"

#include <QFile>

#include <algorithm>

namespace {

constexpr int kSampleStep = 8;   // every eighth outline point
constexpr int kSegmentLength = 4; // samples of the attachment segments
constexpr int kFirstRow = 2;      // line rows "A" .. "D"

QString real(double v)
{
    return QString::number(v, 'f', 6);
}

} // namespace

QString importHoles(const QList<QPolygonF>& holes, double scale, double /*unused*/)
{
    QString R = QStringLiteral(" \n");
    QString M = QStringLiteral("mesh Tstart = buildmesh(airfoil(nn)");
    for (int k = 0; k < holes.size(); ++k) {
        const QPolygonF& hole = holes.at(k);
        const int m = int(hole.size());
        // Too small to be a hole; the next hole keeps its own number.
        if (m <= 3)
            continue;
        QPolygonF W;
        for (int i = m - 1; i >= 0; --i)
            W.append(hole.at(i) / scale);
        R += QStringLiteral("int hn%1 = %2; \n \n").arg(k).arg(m);
        R += QStringLiteral("real[int] hX%1(%2); \n").arg(k).arg(m);
        R += QStringLiteral("real[int] hY%1(%2);  \n \n").arg(k).arg(m);
        for (int i = 0; i < m; ++i) {
            R += QStringLiteral("hX%1[%2] = %3; \n").arg(k).arg(i).arg(real(W.at(i).x()));
            R += QStringLiteral("hY%1[%2] = %3; \n").arg(k).arg(i).arg(real(-W.at(i).y()));
        }
        R += QStringLiteral("hX%1[hn%2-1] = hX%3[0] ; \n").arg(k).arg(k).arg(k);
        R += QStringLiteral("hY%1[hn%2-1] = hY%3[0] ; \n").arg(k).arg(k).arg(k);
        R += QStringLiteral(" border C%1 (t=0, hn%2-1)  { \n").arg(k).arg(k);
        R += QStringLiteral("int i = min(int(t),hX%1.n - 2); \n").arg(k);
        R += QStringLiteral(" real t1 = t - i; \n");
        R += QStringLiteral(" x = hX%1[i]*(1.0 - (t-i)) + hX%2[i+1]*(t-i);  \n").arg(k).arg(k);
        R += QStringLiteral(" y = hY%1[i]*(1.0 - (t-i)) + hY%2[i+1]*(t-i);  \n").arg(k).arg(k);
        R += QStringLiteral("label = i+1; \n");
        R += QStringLiteral("} \n");
        M += QStringLiteral("+ C%1(%2)").arg(k).arg(m - 1);
    }
    R += QStringLiteral(" \n  /// end holes  \n \n");
    R += M + QStringLiteral("); \n ");
    R += QStringLiteral("plot(Tstart,wait=1); \n \n");
    R += QStringLiteral("plot(Tstart,pA(12),pB(12),pC(12),pD(12),wait=1); \n \n");
    return R;
}

QString FreeFem_Script(const ParaStruct* design, const QPolygonF& workFoil, const QList<QPolygonF>& holes)
{
    const int n = int(workFoil.size());
    double s = 0;
    for (const QPointF& p : workFoil)
        s = std::max(s, p.x());
    const int nn = n / kSampleStep;
    // A closed border needs at least two samples, and chord 1 needs a chord.
    if (s <= 0 || nn < 2)
        return QString();

    const char* const letters[4] = {"A", "B", "C", "D"};
    QString out = QStringLiteral("///WINGLOFT5 freefem++ input file \n ");
    for (int r = 0; r < 4; ++r) {
        const int index = design->lineIndex[kFirstRow + r][1] / kSampleStep;
        out += QStringLiteral("int l%1 =%2; \n").arg(QLatin1String(letters[r])).arg(index);
    }
    out += QStringLiteral("  \n");
    out += QStringLiteral("int nn =%1; \n").arg(nn);
    out += QStringLiteral("real[int] pX(%1); \n").arg(nn);
    out += QStringLiteral("real[int] pY(%1); \n").arg(nn);
    // Only the samples the arrays hold: with a point count that is no
    // multiple of 8 one more sample would fall beyond them.
    for (int k = 0; k < nn; ++k) {
        const QPointF& p = workFoil.at(k * kSampleStep);
        out += QStringLiteral("pX[%1] = %2; \n").arg(k).arg(real(p.x() / s));
        out += QStringLiteral("pY[%1] = %2; \n").arg(k).arg(real(-p.y() / s));
    }
    out += QStringLiteral("pX[nn-1] = pX[0] ; \n");
    out += QStringLiteral("pY[nn-1] = pY[0] ; \n");
    out += QStringLiteral("int segmLen =%1; \n").arg(kSegmentLength);
    for (int r = 0; r < 4; ++r) {
        const QLatin1String l(letters[r]);
        out += QStringLiteral(" border segm%1(t=0, segmLen)  { x = pX[l%1+t]; y = pY[l%1+t]; label = t;  } \n").arg(l);
    }
    out += QStringLiteral(" \n");
    out += QStringLiteral("///   lines fasten points \n \n");
    for (int r = 0; r < 4; ++r) {
        const QLatin1String l(letters[r]);
        out += QStringLiteral(
                   " border p%1(t=0, 2*pi)  { x = pX[l%1]+0.001*cos(t); y = pY[l%1]+0.05*sin(t); label = t;  } \n")
                   .arg(l);
    }
    out += QStringLiteral(" \n");
    out += QStringLiteral(" border airfoil (t=0, nn-1)  { \n");
    out += QStringLiteral("int i = min(int(t),pX.n - 2); \n");
    out += QStringLiteral(" real t1 = t - i; \n");
    out += QStringLiteral(" x = pX[i]*(1.0 - (t-i)) + pX[i+1]*(t-i); \n");
    out += QStringLiteral("y = pY[i]*(1.0 - (t-i)) + pY[i+1]*(t-i);  \n");
    out += QStringLiteral("label = i+1; \n");
    out += QStringLiteral("} \n");
    out += QStringLiteral(" /// end polygon border \n  \n");
    out += importHoles(holes, s);
    return out;
}

bool WriteFreeFemInput(const ParaStruct* design, const QPolygonF& workFoil, const QList<QPolygonF>& holes,
                       const QString& path)
{
    const QString script = FreeFem_Script(design, workFoil, holes);
    if (script.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return false;
    const QByteArray bytes = script.toLatin1();
    return file.write(bytes) == bytes.size();
}

QString importZukovski()
{
    return QStringLiteral("border a(t=0,2*pi) { x=5*cos(t);  y=5*sin(t); };   \n"
                          "border c(t=0,2*pi) { x=0.8*cos(t)+0.5;  y=0.8*sin(t); }  \n"
                          "mesh Th = buildmesh(c(50)+airfoil(nn)); \n"
                          "mesh Th0  = buildmesh (a(50)+airfoil(nn));  \n"
                          " fespace  Vh0(Th0,P1);\t\n"
                          "Vh0 psi0,psi1,vh0;\t \n"
                          "fespace ZVh(Th,P2);\t \n"
                          "solve Joukowski0(psi0,vh0) =\t\t\n"
                          "int2d (Th0)( dx(psi0)*dx(vh0) + dy(psi0)*dy(vh0) ) \n"
                          "+ on(a,psi0=y-0.1*x)\t\t\n"
                          "+ on(airfoil,psi0=0); \n \n"
                          "solve Joukowski1(psi1,vh0) =\t\t\n"
                          "int2d (Th0)( dx(psi1)*dx(vh0) + dy(psi1)*dy(vh0) )\t \n"
                          "+ on(a,psi1=0)\t\t\n"
                          "+ on(airfoil,psi1=1);  \n  \n"
                          "real beta = psi0(0.99,0.01)+psi0(0.99,-0.01); \n"
                          "beta = -beta / (psi1(0.99,0.01)+ psi1(0.99,-0.01)-2); \n"
                          "Vh0 psi = beta*psi1+psi0;  \n"
                          " ZVh Zpsi=psi;  \n"
                          "ZVh cp = -dx(psi)^2 - dy(psi)^2;  \n");
}

QString InsertString_Integer(const QString& s, int v)
{
    return s + QStringLiteral("  %1 ").arg(v);
}

QString InsertString_Double(const QString& s, double v)
{
    return s + QStringLiteral("  %1 ").arg(real(v));
}
