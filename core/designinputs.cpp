#include "core/designinputs.h"

#include "core/userinteraction.h"

#include <QLocale>

#include <algorithm>

#include <cmath>

QString Shortest_Number(double x)
{
    if (std::isnan(x))
        return QStringLiteral("nan");
    if (std::isinf(x))
        return x > 0 ? QStringLiteral("inf") : QStringLiteral("-inf");
    if (x == 0)
        return QStringLiteral("0");
    // The digits come from the exponent form, which never pads them; a value
    // written out in full must not show more digits than those, nor a row of
    // zeros they do not hold.
    const QString exponential = QString::number(x, 'e', QLocale::FloatingPointShortest);
    const int e = exponential.indexOf(QLatin1Char('e'));
    const int exponent = exponential.mid(e + 1).toInt();
    int digits = 0;
    for (const QChar c : exponential.left(e))
        digits += c.isDigit();
    const bool fullOut = exponent >= -5 && (exponent < 6 || exponent < digits);
    if (!fullOut)
        return exponential;
    return QString::number(x, 'f', std::max(0, digits - 1 - exponent));
}

QString Shortest_Number(float x)
{
    if (!std::isfinite(x))
        return Shortest_Number(double(x));
    // The double closest to the float carries digits the float never had
    // (0.1f is 0.100000001490116...): the fewest decimal digits that give
    // the float back.
    for (int digits = 1; digits <= 9; ++digits) {
        const double d = QString::number(double(x), 'e', digits - 1).toDouble();
        if (float(d) == x)
            return Shortest_Number(d);
    }
    return Shortest_Number(double(x));
}

std::optional<double> Number_From_Text(const QString& text)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    // QString::toDouble reads the C locale's numbers whatever the system's
    // language; it takes "nan" and "inf" as numbers, and gives up on a
    // number too large for a double.
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<double> Input_From_Text(const DesignInput& input, const QString& text)
{
    const std::optional<double> v = Number_From_Text(text);
    if (!v || !input.range.holds(*v))
        return std::nullopt;
    return v;
}

QString Input_Range_Text(const DesignInput& input)
{
    QString text = QStringLiteral("from %1 to %2").arg(Shortest_Number(input.range.lo), Shortest_Number(input.range.hi));
    const QString unit = QString::fromUtf8(input.unit);
    if (!unit.isEmpty())
        text += QLatin1Char(' ') + unit;
    return text;
}

QString Input_Refusal_Title(const DesignInput& input)
{
    QString name = QString::fromUtf8(input.name);
    if (!name.isEmpty())
        name[0] = name[0].toUpper();
    return name;
}

QString Input_Refusal_Text(const DesignInput& input, const QString& typed, const QString& kept)
{
    const QString name = QString::fromUtf8(input.name);
    const QString t = typed.trimmed();
    // A pasted column of digits would fill the screen: its start and its size.
    constexpr int kLongest = 24;
    QString what;
    if (t.isEmpty())
        what = QStringLiteral("an empty field is not one");
    else if (t.size() > kLongest)
        what = QStringLiteral("\"%1...\" (%2 characters) is not one").arg(t.left(kLongest - 4)).arg(t.size());
    else
        what = QStringLiteral("\"%1\" is not one").arg(t);
    return QStringLiteral("The %1 takes a number %2 (a decimal comma will do for the point); %3.\nThe %1 keeps %4.")
        .arg(name, Input_Range_Text(input), what, kept.trimmed());
}

void Refuse_Input(const DesignInput& input, const QString& typed, const QString& kept)
{
    User().warning(Input_Refusal_Title(input), Input_Refusal_Text(input, typed, kept));
}
