#!/usr/bin/env python3
"""Coefficients of the REAL*16 rational approximations.

Each approximation writes a function as a known leading part plus a
correction c(v) * N(v) / D(v), with N a polynomial of degree n and D a monic
polynomial of degree m (its leading 1 is not stored). N and D are fitted in
high precision (mpmath) by iteratively reweighted linear least squares on
Chebyshev-spaced samples of the reduced range:

  * Sanathanan-Koerner passes divide each linearised residual
    N(v) - g(v) D(v) by the previous D(v), so the fit minimises the true
    error of N/D rather than the linearised one;
  * Lawson passes then multiply each sample's weight by its error, which
    drives the least-squares fit towards the minimax (equal-ripple) one.

The error that is minimised is the relative error of the whole function
value, not of N/D alone (the `weight` of each entry converts one into the
other). The best set found is kept.

Some coefficients are fixed in advance (`pins`): the library's tables keep
those exact values, and the fit solves for the others around them. A near
minimax fit of these degrees has a flat family of equally good solutions, so
fixing a few coefficients costs nothing measurable in accuracy.

Every coefficient is stored as a double-double: the nearest double, and the
nearest double to the remainder. The generator re-checks the fit and the
stored (rounded) coefficients on a dense grid and prints their largest
relative errors; it fails if either exceeds 1e-34.

Adding an approximation is one entry in FITS. Usage:

  python3 tools/gen_real16_coefficients.py            # rewrite the header
  python3 tools/gen_real16_coefficients.py --check    # compare, don't write
"""

import argparse
import os
import sys

import mpmath as mp

mp.mp.dps = 100

HEADER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "libf90elem", "elem",
                      "real16", "coefficients.inc")
# Largest relative error allowed, for the fit and for the stored pairs.
FIT_LIMIT = mp.mpf("1e-34")
STORED_LIMIT = mp.mpf("1e-34")


def dd(hi, lo):
    """An exact double-double value from two Python floats."""
    return mp.mpf(hi) + mp.mpf(lo)


class Fit:
    """One rational approximation N(v)/D(v) ~ g(v) on [lo, hi].

    num, den: (C++ array name, degree). pins: {("num"|"den", stored index):
    (hi, lo)}; the stored denominator omits the implied leading 1, so
    ("den", 0) is the coefficient of v^(m-1).
    """

    def __init__(self, key, doc, lo, hi, target, weight, num, den, pins, samples=200,
                 lawson=12):
        self.key, self.doc = key, doc
        self.lo, self.hi = mp.mpf(lo), mp.mpf(hi)
        self.target, self.weight = target, weight
        self.num_name, self.n = num
        self.den_name, self.m = den
        self.pins = {k: dd(*v) for k, v in pins.items()}
        self.samples, self.lawson = samples, lawson

    def points(self, count):
        mid, half = (self.lo + self.hi) / 2, (self.hi - self.lo) / 2
        return [mid + half * mp.cos(mp.pi * (2 * i + 1) / (2 * count)) for i in range(count)]

    def unknowns(self):
        return [("num", k) for k in range(self.n + 1)] + [("den", k) for k in range(self.m)]

    def column(self, u, v, g):
        """Coefficient of unknown u in the linearised residual N(v) - g D(v)."""
        kind, k = u
        if kind == "num":
            return v ** (self.n - k)
        return -g * v ** (self.m - 1 - k)

    def polys(self, coef):
        num = [coef[("num", k)] for k in range(self.n + 1)]
        den = [mp.mpf(1)] + [coef[("den", k)] for k in range(self.m)]
        return num, den

    def errors(self, num, den, pts, gv, wv):
        return [w * (mp.polyval(num, v) / mp.polyval(den, v) - g) for v, g, w in zip(pts, gv, wv)]

    def solve(self, pins, passes, lam=None, dprev=None):
        """Fits the unknowns not in `pins`; returns the best set with the
        sample weights and denominators it was found with."""
        pts = self.points(self.samples)
        if not hasattr(self, "_gv"):
            self._gv = [self.target(v) for v in pts]
            self._wv = [self.weight(v) for v in pts]
        gv, wv = self._gv, self._wv
        free = [u for u in self.unknowns() if u not in pins]
        lam = lam or [mp.mpf(1)] * len(pts)
        dprev = dprev or [mp.mpf(1)] * len(pts)
        best = None
        for it in range(passes):
            rows, rhs = [], []
            for i, (v, g) in enumerate(zip(pts, gv)):
                s = wv[i] * mp.sqrt(lam[i]) / dprev[i]
                r = g * v ** self.m
                row = []
                for u in self.unknowns():
                    c = self.column(u, v, g)
                    if u in pins:
                        r -= c * pins[u]
                    else:
                        row.append(c * s)
                rows.append(row)
                rhs.append(r * s)
            coef = dict(pins)
            if free:
                a = mp.matrix(rows)
                x = mp.lu_solve(a.T * a, a.T * mp.matrix(rhs))
                coef.update({u: x[j] for j, u in enumerate(free)})
            num, den = self.polys(coef)
            dnew = [mp.polyval(den, v) for v in pts]
            err = self.errors(num, den, pts, gv, wv)
            worst = max(abs(e) for e in err)
            if best is None or worst < best[0]:
                best = (worst, coef, lam, dnew)
            dprev = dnew
            if it >= 5:  # Sanathanan-Koerner passes done: Lawson reweighting
                lam = [l * abs(e) for l, e in zip(lam, err)]
                total = sum(lam)
                lam = [l / total for l in lam]
        return best[1], best[2], best[3]

    def fit(self):
        """The full fit, then each free coefficient in turn rounded to a
        double-double and fixed, the others refitted around it, so rounding
        errors are absorbed instead of accumulating (the monomial form is
        ill-conditioned: rounding all at once costs the logarithm's small
        branch two decimal digits, 3.5e-34 instead of 1.3e-36)."""
        coef, lam, dprev = self.solve(self.pins, 6 + self.lawson)
        self.fit_error = self.check(coef)
        pins = dict(self.pins)
        # Lowest-degree coefficients first: they weigh most, and the ones
        # fixed last are those the others could least make up for.
        for u in sorted(self.unknowns(), key=lambda u: -u[1]):
            if u in pins:
                continue
            pins[u] = dd(*self.round_pair(coef[u]))
            coef, _, dprev = self.solve(pins, 2, lam, dprev)
        return coef

    @staticmethod
    def round_pair(c):
        hi = float(c)
        return hi, float(c - mp.mpf(hi))

    def rounded(self, coef):
        """Each coefficient as (nearest double, nearest double of the rest)."""
        return {u: self.round_pair(c) for u, c in coef.items()}

    def check(self, coef):
        """Largest relative error of the whole function value."""
        num, den = self.polys(coef)
        pts = self.points(1500) + [self.lo, self.hi]
        pts = [v for v in pts if v != 0]
        err = self.errors(num, den, pts, [self.target(v) for v in pts],
                          [self.weight(v) for v in pts])
        return max(abs(e) for e in err)


def log1p_small(m):
    return (mp.log1p(m) - m + m * m / 2) / m ** 3


def log_ratio(v):
    # s = 2(f - 1)/(f + 1), v = s^2, ln f = 2 atanh(s/2) = s + s v R(v)/S(v)
    s = mp.sqrt(v)
    return (2 * mp.atanh(s / 2) - s) / (s * v)


def tanh_ratio(z):
    x = mp.sqrt(z)
    return (mp.tanh(x) - x) / (x * z)


def atan_ratio(z):
    x = mp.sqrt(z)
    return (mp.atan(x) - x) / (x * z)


SQRTH = mp.sqrt(mp.mpf(1) / 2)
S_MAX = 2 * (1 - SQRTH) / (1 + SQRTH)  # |s| bound of the large-exponent branch

FITS = [
    Fit("log_large",
        "ln f = s + s v R(v)/S(v), s = 2(f-1)/(f+1), v = s^2, |s| < 0.3432",
        0, S_MAX ** 2, log_ratio,
        lambda v: mp.sqrt(v) * v / (2 * mp.atanh(mp.sqrt(v) / 2)),
        ("kLogR", 5), ("kLogS", 6),
        {("num", 0): (-0.8828896441624935, 5.3570034242261267e-17),
         ("den", 0): (-118.6359407982898, -4.849602260399295e-15)}),
    Fit("log_small",
        "ln(1+m) = m - m^2/2 + m^3 P(m)/Q(m), m in [sqrt(1/2)-1, sqrt(2)-1)",
        SQRTH - 1, mp.sqrt(2) - 1, log1p_small,
        lambda m: m ** 3 / mp.log1p(m),
        ("kLogP", 12), ("kLogQ", 12),
        {("num", 0): (1.5386122435962543e-06, 6.965303687478101e-23),
         ("num", 12): (13135.72404063446, 8.245493338581239e-13),
         ("den", 0): (48.3920819334816, -2.6071548471316707e-15)}),
    Fit("tanh",
        "tanh x = x + x z P(z)/Q(z), z = x^2, |x| < 0.625",
        0, mp.mpf("0.390625"), tanh_ratio,
        lambda z: z * mp.sqrt(z) / mp.tanh(mp.sqrt(z)),
        ("kTanhP", 5), ("kTanhQ", 5),
        {("num", 0): (-6.505693197948351e-06, -2.714592624438539e-22),
         ("num", 5): (-45513771.46142784, 2.928802841714495e-09),
         ("den", 0): (533.4865598460028, -2.5966871036211963e-14),
         ("den", 4): (136541314.3842835, -8.786408525143483e-09)}),
    Fit("atan",
        "atan x = x + x z P(z)/Q(z), z = x^2, |x| <= tan(pi/8)",
        0, (mp.sqrt(2) - 1) ** 2, atan_ratio,
        lambda z: z * mp.sqrt(z) / mp.atan(mp.sqrt(z)),
        ("kAtanP", 8), ("kAtanQ", 8),
        {("num", 0): (-0.0006635810778635296, -2.6683229001170862e-20),
         ("num", 8): (-688.0597774405941, 3.2200434648706136e-14),
         ("den", 0): (35.66239794444801, -1.4266701033321433e-15),
         ("den", 7): (2064.179332321782, 1.708553377549771e-14)}),
]


def hexd(x):
    return float(x).hex() if x != 0 else "0x0p+0"


def render(results):
    lines = [
        "// Coefficients of the REAL*16 rational approximations, leading",
        "// (highest-degree) coefficient first, each as a (hi, lo) double pair.",
        "// Denominators are monic: their leading 1 is not stored.",
        "//",
        "// Generated by tools/gen_real16_coefficients.py; do not edit.",
        "// Included where DoubleDouble is in scope.",
        "",
    ]
    for fit, pairs, err in results:
        lines.append(f"// {fit.doc}")
        lines.append(f"// largest relative error of the function value: {mp.nstr(fit.fit_error, 3)}"
                     f" fitted, {mp.nstr(err, 3)} with the stored pairs")
        for kind, name, count in (("num", fit.num_name, fit.n + 1), ("den", fit.den_name, fit.m)):
            lines.append(f"inline constexpr DoubleDouble {name}[{count}] = {{")
            for k in range(count):
                hi, lo = pairs[(kind, k)]
                lines.append(f"    {{{hexd(hi)}, {hexd(lo)}}},  // {hi!r:>24} {lo!r}")
            lines.append("};")
        lines.append("")
    return "\n".join(lines)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--check", action="store_true", help="compare with the committed header")
    ap.add_argument("--output", default=HEADER)
    args = ap.parse_args()
    results = []
    ok = True
    for fit in FITS:
        pairs = fit.rounded(fit.fit())
        for u, want in fit.pins.items():
            assert dd(*pairs[u]) == want, f"{fit.key}: pinned {u} not reproduced"
        err = fit.check({u: dd(*p) for u, p in pairs.items()})
        print(f"{fit.key}: largest relative error {mp.nstr(fit.fit_error, 4)} fitted, "
              f"{mp.nstr(err, 4)} stored", file=sys.stderr)
        if fit.fit_error > FIT_LIMIT or err > STORED_LIMIT:
            ok = False
            print(f"{fit.key}: above the limits", file=sys.stderr)
        results.append((fit, pairs, err))
    text = render(results)
    if args.check:
        with open(args.output) as f:
            same = f.read() == text
        print("header up to date" if same else "header differs", file=sys.stderr)
        return 0 if (same and ok) else 1
    if not ok:
        return 1
    os.makedirs(os.path.dirname(args.output), exist_ok=True)
    with open(args.output, "w") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
