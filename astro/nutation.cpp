// The IAU 2000B luni-solar nutation series and the equinoxes' complementary terms. Portable.
#include "astro/nutation.h"

#include <cmath>

namespace {

constexpr double kJ2000 = 2451545.0;
constexpr double kDaysPerCentury = 36525.0;
constexpr double kTwoPi = 6.283185307179586476925287;
constexpr double kArcsecondsPerTurn = 1296000.0;
constexpr double kRadiansPerArcsecond = 4.848136811095359935899141e-6;
// The series' coefficients are in tenths of a microarcsecond.
constexpr double kRadiansPerUnit = kRadiansPerArcsecond / 1e7;
// The abridged series stands in for the planetary terms with a fixed offset.
constexpr double kPlanetaryDpsi = -0.135e-3 * kRadiansPerArcsecond;
constexpr double kPlanetaryDeps = 0.388e-3 * kRadiansPerArcsecond;

struct NutationTerm {
  signed char l, lp, f, d, om;  // multiples of the five Delaunay arguments
  double ps, pst, pc;           // longitude: sin, t sin, cos
  double ec, ect, es;           // obliquity: cos, t cos, sin
};

// The 77 luni-solar terms, largest first.
const NutationTerm kTerms[] = {
    {0, 0, 0, 0, 1, -172064161.0, -174666.0, 33386.0, 92052331.0, 9086.0, 15377.0},
    {0, 0, 2, -2, 2, -13170906.0, -1675.0, -13696.0, 5730336.0, -3015.0, -4587.0},
    {0, 0, 2, 0, 2, -2276413.0, -234.0, 2796.0, 978459.0, -485.0, 1374.0},
    {0, 0, 0, 0, 2, 2074554.0, 207.0, -698.0, -897492.0, 470.0, -291.0},
    {0, 1, 0, 0, 0, 1475877.0, -3633.0, 11817.0, 73871.0, -184.0, -1924.0},
    {0, 1, 2, -2, 2, -516821.0, 1226.0, -524.0, 224386.0, -677.0, -174.0},
    {1, 0, 0, 0, 0, 711159.0, 73.0, -872.0, -6750.0, 0.0, 358.0},
    {0, 0, 2, 0, 1, -387298.0, -367.0, 380.0, 200728.0, 18.0, 318.0},
    {1, 0, 2, 0, 2, -301461.0, -36.0, 816.0, 129025.0, -63.0, 367.0},
    {0, -1, 2, -2, 2, 215829.0, -494.0, 111.0, -95929.0, 299.0, 132.0},
    {0, 0, 2, -2, 1, 128227.0, 137.0, 181.0, -68982.0, -9.0, 39.0},
    {-1, 0, 2, 0, 2, 123457.0, 11.0, 19.0, -53311.0, 32.0, -4.0},
    {-1, 0, 0, 2, 0, 156994.0, 10.0, -168.0, -1235.0, 0.0, 82.0},
    {1, 0, 0, 0, 1, 63110.0, 63.0, 27.0, -33228.0, 0.0, -9.0},
    {-1, 0, 0, 0, 1, -57976.0, -63.0, -189.0, 31429.0, 0.0, -75.0},
    {-1, 0, 2, 2, 2, -59641.0, -11.0, 149.0, 25543.0, -11.0, 66.0},
    {1, 0, 2, 0, 1, -51613.0, -42.0, 129.0, 26366.0, 0.0, 78.0},
    {-2, 0, 2, 0, 1, 45893.0, 50.0, 31.0, -24236.0, -10.0, 20.0},
    {0, 0, 0, 2, 0, 63384.0, 11.0, -150.0, -1220.0, 0.0, 29.0},
    {0, 0, 2, 2, 2, -38571.0, -1.0, 158.0, 16452.0, -11.0, 68.0},
    {0, -2, 2, -2, 2, 32481.0, 0.0, 0.0, -13870.0, 0.0, 0.0},
    {-2, 0, 0, 2, 0, -47722.0, 0.0, -18.0, 477.0, 0.0, -25.0},
    {2, 0, 2, 0, 2, -31046.0, -1.0, 131.0, 13238.0, -11.0, 59.0},
    {1, 0, 2, -2, 2, 28593.0, 0.0, -1.0, -12338.0, 10.0, -3.0},
    {-1, 0, 2, 0, 1, 20441.0, 21.0, 10.0, -10758.0, 0.0, -3.0},
    {2, 0, 0, 0, 0, 29243.0, 0.0, -74.0, -609.0, 0.0, 13.0},
    {0, 0, 2, 0, 0, 25887.0, 0.0, -66.0, -550.0, 0.0, 11.0},
    {0, 1, 0, 0, 1, -14053.0, -25.0, 79.0, 8551.0, -2.0, -45.0},
    {-1, 0, 0, 2, 1, 15164.0, 10.0, 11.0, -8001.0, 0.0, -1.0},
    {0, 2, 2, -2, 2, -15794.0, 72.0, -16.0, 6850.0, -42.0, -5.0},
    {0, 0, -2, 2, 0, 21783.0, 0.0, 13.0, -167.0, 0.0, 13.0},
    {1, 0, 0, -2, 1, -12873.0, -10.0, -37.0, 6953.0, 0.0, -14.0},
    {0, -1, 0, 0, 1, -12654.0, 11.0, 63.0, 6415.0, 0.0, 26.0},
    {-1, 0, 2, 2, 1, -10204.0, 0.0, 25.0, 5222.0, 0.0, 15.0},
    {0, 2, 0, 0, 0, 16707.0, -85.0, -10.0, 168.0, -1.0, 10.0},
    {1, 0, 2, 2, 2, -7691.0, 0.0, 44.0, 3268.0, 0.0, 19.0},
    {-2, 0, 2, 0, 0, -11024.0, 0.0, -14.0, 104.0, 0.0, 2.0},
    {0, 1, 2, 0, 2, 7566.0, -21.0, -11.0, -3250.0, 0.0, -5.0},
    {0, 0, 2, 2, 1, -6637.0, -11.0, 25.0, 3353.0, 0.0, 14.0},
    {0, -1, 2, 0, 2, -7141.0, 21.0, 8.0, 3070.0, 0.0, 4.0},
    {0, 0, 0, 2, 1, -6302.0, -11.0, 2.0, 3272.0, 0.0, 4.0},
    {1, 0, 2, -2, 1, 5800.0, 10.0, 2.0, -3045.0, 0.0, -1.0},
    {2, 0, 2, -2, 2, 6443.0, 0.0, -7.0, -2768.0, 0.0, -4.0},
    {-2, 0, 0, 2, 1, -5774.0, -11.0, -15.0, 3041.0, 0.0, -5.0},
    {2, 0, 2, 0, 1, -5350.0, 0.0, 21.0, 2695.0, 0.0, 12.0},
    {0, -1, 2, -2, 1, -4752.0, -11.0, -3.0, 2719.0, 0.0, -3.0},
    {0, 0, 0, -2, 1, -4940.0, -11.0, -21.0, 2720.0, 0.0, -9.0},
    {-1, -1, 0, 2, 0, 7350.0, 0.0, -8.0, -51.0, 0.0, 4.0},
    {2, 0, 0, -2, 1, 4065.0, 0.0, 6.0, -2206.0, 0.0, 1.0},
    {1, 0, 0, 2, 0, 6579.0, 0.0, -24.0, -199.0, 0.0, 2.0},
    {0, 1, 2, -2, 1, 3579.0, 0.0, 5.0, -1900.0, 0.0, 1.0},
    {1, -1, 0, 0, 0, 4725.0, 0.0, -6.0, -41.0, 0.0, 3.0},
    {-2, 0, 2, 0, 2, -3075.0, 0.0, -2.0, 1313.0, 0.0, -1.0},
    {3, 0, 2, 0, 2, -2904.0, 0.0, 15.0, 1233.0, 0.0, 7.0},
    {0, -1, 0, 2, 0, 4348.0, 0.0, -10.0, -81.0, 0.0, 2.0},
    {1, -1, 2, 0, 2, -2878.0, 0.0, 8.0, 1232.0, 0.0, 4.0},
    {0, 0, 0, 1, 0, -4230.0, 0.0, 5.0, -20.0, 0.0, -2.0},
    {-1, -1, 2, 2, 2, -2819.0, 0.0, 7.0, 1207.0, 0.0, 3.0},
    {-1, 0, 2, 0, 0, -4056.0, 0.0, 5.0, 40.0, 0.0, -2.0},
    {0, -1, 2, 2, 2, -2647.0, 0.0, 11.0, 1129.0, 0.0, 5.0},
    {-2, 0, 0, 0, 1, -2294.0, 0.0, -10.0, 1266.0, 0.0, -4.0},
    {1, 1, 2, 0, 2, 2481.0, 0.0, -7.0, -1062.0, 0.0, -3.0},
    {2, 0, 0, 0, 1, 2179.0, 0.0, -2.0, -1129.0, 0.0, -2.0},
    {-1, 1, 0, 1, 0, 3276.0, 0.0, 1.0, -9.0, 0.0, 0.0},
    {1, 1, 0, 0, 0, -3389.0, 0.0, 5.0, 35.0, 0.0, -2.0},
    {1, 0, 2, 0, 0, 3339.0, 0.0, -13.0, -107.0, 0.0, 1.0},
    {-1, 0, 2, -2, 1, -1987.0, 0.0, -6.0, 1073.0, 0.0, -2.0},
    {1, 0, 0, 0, 2, -1981.0, 0.0, 0.0, 854.0, 0.0, 0.0},
    {-1, 0, 0, 1, 0, 4026.0, 0.0, -353.0, -553.0, 0.0, -139.0},
    {0, 0, 2, 1, 2, 1660.0, 0.0, -5.0, -710.0, 0.0, -2.0},
    {-1, 0, 2, 4, 2, -1521.0, 0.0, 9.0, 647.0, 0.0, 4.0},
    {-1, 1, 0, 1, 1, 1314.0, 0.0, 0.0, -700.0, 0.0, 0.0},
    {0, -2, 2, -2, 1, -1283.0, 0.0, 0.0, 672.0, 0.0, 0.0},
    {1, 0, 2, 2, 1, -1331.0, 0.0, 8.0, 663.0, 0.0, 4.0},
    {-2, 0, 2, 2, 2, 1383.0, 0.0, -2.0, -594.0, 0.0, -2.0},
    {-1, 0, 0, 0, 2, 1405.0, 0.0, 4.0, -610.0, 0.0, 2.0},
    {1, 1, 2, -2, 2, 1290.0, 0.0, 0.0, -556.0, 0.0, 0.0},
};
constexpr int kTermCount = static_cast<int>(sizeof kTerms / sizeof kTerms[0]);
static_assert(kTermCount == 77, "the abridged series has 77 luni-solar terms");

// The complementary terms with the Delaunay arguments alone (those that also need the
// planets' longitudes are below a quarter of a microarcsecond): arcseconds, sin and cos.
struct ComplementaryTerm {
  signed char l, lp, f, d, om;
  double s, c;
};
const ComplementaryTerm kComplementary[] = {
    {0, 0, 0, 0, 1, 2640.96e-6, -0.39e-6}, {0, 0, 0, 0, 2, 63.52e-6, -0.02e-6},
    {0, 0, 2, -2, 3, 11.75e-6, 0.01e-6},   {0, 0, 2, -2, 1, 11.21e-6, 0.01e-6},
    {0, 0, 2, -2, 2, -4.55e-6, 0.0},       {0, 0, 2, 0, 3, 2.02e-6, 0.0},
    {0, 0, 2, 0, 1, 1.98e-6, 0.0},         {0, 0, 0, 0, 3, -1.72e-6, 0.0},
    {0, 1, 0, 0, 1, -1.41e-6, -0.01e-6},   {0, 1, 0, 0, -1, -1.26e-6, -0.01e-6},
    {1, 0, 0, 0, -1, -0.63e-6, 0.0},       {1, 0, 0, 0, 1, -0.63e-6, 0.0},
};
// The one term that grows with time: arcseconds per century, times sin(om).
constexpr double kComplementaryRate = -0.87e-6;

struct Delaunay {
  double l, lp, f, d, om;
};

double Centuries(double day, double fraction) {
  return ((day - kJ2000) + fraction) * (1.0 / kDaysPerCentury);
}

// The mean anomalies of the Moon and the Sun, the Moon's argument of latitude, its
// elongation from the Sun and the longitude of its node, in radians.
Delaunay DelaunayArguments(double t) {
  return Delaunay{std::fmod(485868.249036 + 1717915923.2178 * t, kArcsecondsPerTurn),
                  std::fmod(1287104.79305 + 129596581.0481 * t, kArcsecondsPerTurn),
                  std::fmod(335779.526232 + 1739527262.8478 * t, kArcsecondsPerTurn),
                  std::fmod(1072260.70369 + 1602961601.2090 * t, kArcsecondsPerTurn),
                  std::fmod(450160.398036 - 6962890.5431 * t, kArcsecondsPerTurn)};
}

template <typename Term>
double ArgumentOf(const Term &term, const Delaunay &a) {
  const double arcseconds = term.l * a.l + term.lp * a.lp + term.f * a.f + term.d * a.d +
                            term.om * a.om;
  return std::fmod(arcseconds * kRadiansPerArcsecond, kTwoPi);
}

}  // namespace

void NutationInLongitudeAndObliquity(double ttDay, double ttFraction, double *dpsi,
                                     double *deps) {
  const double t = Centuries(ttDay, ttFraction);
  const Delaunay a = DelaunayArguments(t);
  double dp = 0.0;
  double de = 0.0;
  // Smallest terms first, so that they are not lost against the largest.
  for (int i = kTermCount - 1; i >= 0; --i) {
    const NutationTerm &term = kTerms[i];
    const double arg = ArgumentOf(term, a);
    const double s = std::sin(arg);
    const double c = std::cos(arg);
    dp += (term.ps + term.pst * t) * s + term.pc * c;
    de += (term.ec + term.ect * t) * c + term.es * s;
  }
  *dpsi = dp * kRadiansPerUnit + kPlanetaryDpsi;
  *deps = de * kRadiansPerUnit + kPlanetaryDeps;
}

double MeanObliquity(double ttDay, double ttFraction) {
  const double t = Centuries(ttDay, ttFraction);
  const double arcseconds =
      84381.406 +
      (-46.836769 + (-0.0001831 + (0.00200340 + (-0.000000576 - 0.0000000434 * t) * t) * t) * t) *
          t;
  return arcseconds * kRadiansPerArcsecond;
}

double EquinoxComplementaryTerms(double ttDay, double ttFraction) {
  const double t = Centuries(ttDay, ttFraction);
  const Delaunay a = DelaunayArguments(t);
  double sum = 0.0;
  const int count = static_cast<int>(sizeof kComplementary / sizeof kComplementary[0]);
  for (int i = count - 1; i >= 0; --i) {
    const double arg = ArgumentOf(kComplementary[i], a);
    sum += kComplementary[i].s * std::sin(arg) + kComplementary[i].c * std::cos(arg);
  }
  sum += kComplementaryRate * t * std::sin(a.om * kRadiansPerArcsecond);
  return sum * kRadiansPerArcsecond;
}
