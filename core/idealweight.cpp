#include "idealweight.h"

#include "sixbytereal.h"

long double IdealWeight::compute(double height, Sex sex)
{
    const long double divisor = sex == Sex::Man ? 4.0L : 2.0L;
    const long double t = height;
    return (t - 100.0L) - (t - 150.0L) / divisor;
}

QString IdealWeight::resultText(double height, Sex sex)
{
    return SixByteReal::fromLongDouble(compute(height, sex)).toText() + QStringLiteral(" Kg");
}
