#pragma once

// The project file of a design as a list of its stored values, each with the
// place it is written at (the step of the file and the value's number within
// it) and, where the file description names it, its member path. Two lists
// compared give the values in which two files differ, by name, where a
// comparison of bytes only says that they differ.

#include <QList>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QStringList>
#include <QVector3D>

#include "core/projectsteps.h"

#include <type_traits>

namespace projectfields {

struct Stored {
    int step = 0;
    int number = 0;
    QString name;
    QString value;
};

class Lister
{
public:
    QList<Stored> values;

    template <class T>
    void v(const T& value)
    {
        add(text(value), QString());
    }
    template <class T>
    void v(const T& value, const projectfile::Field& field)
    {
        add(text(value), field.text());
    }
    void polygon(const QPolygonF& p, const projectfile::Field& field)
    {
        QStringList points;
        for (const QPointF& q : p)
            points << text(q);
        add(points.join(QLatin1Char(' ')), field.text());
    }
    bool versionAccepted(const QString&) const { return true; }
    bool stepDone(int done)
    {
        step = done + 1;
        number = 0;
        return true;
    }

private:
    int step = 1;
    int number = 0;

    void add(const QString& value, const QString& name)
    {
        values.append(Stored{step, number++, name, value});
    }
    static QString text(double x) { return QString::number(x, 'g', 17); }
    static QString text(const QPointF& p) { return text(p.x()) + QLatin1Char(',') + text(p.y()); }
    static QString text(const QVector3D& p)
    {
        return text(double(p.x())) + QLatin1Char(',') + text(double(p.y())) + QLatin1Char(',') + text(double(p.z()));
    }
    static QString text(const QPoint& p) { return QString::number(p.x()) + QLatin1Char(',') + QString::number(p.y()); }
    static QString text(const QString& s) { return s; }
    template <class T>
    static std::enable_if_t<std::is_arithmetic_v<T> && !std::is_floating_point_v<T>, QString> text(T x)
    {
        return QString::number(qlonglong(x));
    }
    static QString text(float x) { return text(double(x)); }
};

inline QList<Stored> of(const ParaStruct& design)
{
    Lister lister;
    projectfile::projectSteps(lister, design);
    return lister.values;
}

// The stored values in which two designs' project files differ, one line
// each ("step 23 #5 crossPorts[0].triangles[2].offset: 1.72 -> 1.67"), at
// most `limit` of them.
inline QStringList differences(const QList<Stored>& x, const QList<Stored>& y, int limit = 40)
{
    QStringList out;
    if (x.size() != y.size())
        out << QStringLiteral("%1 stored values against %2").arg(x.size()).arg(y.size());
    for (int k = 0; k < std::min(x.size(), y.size()) && out.size() < limit; ++k)
        if (x[k].value != y[k].value)
            out << QStringLiteral("step %1 #%2 %3: %4 -> %5")
                       .arg(x[k].step)
                       .arg(x[k].number)
                       .arg(x[k].name.isEmpty() ? QStringLiteral("(unnamed)") : x[k].name, x[k].value.left(60),
                            y[k].value.left(60));
    return out;
}
inline QStringList differences(const ParaStruct& a, const ParaStruct& b, int limit = 40)
{
    return differences(of(a), of(b), limit);
}

} // namespace projectfields
