#include "SampleData.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace sample {
namespace {

// splitmix64: the same numbers on every machine.
class CRandom {
public:
    explicit CRandom(unsigned long long nSeed) : m_n(nSeed) {}
    unsigned long long Next() {
        unsigned long long z = (m_n += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    double Unit() { return static_cast<double>(Next() >> 11) / 9007199254740992.0; }
    bool Chance(double p) { return Unit() < p; }
    int Below(int n) { return static_cast<int>(Next() % static_cast<unsigned long long>(n)); }

private:
    unsigned long long m_n;
};

struct stDATE {
    int y, m, d;
};

stDATE AddDays(stDATE t, int n) {
    while (n > 0) {
        if (++t.d > platform::DaysInMonth(t.y, t.m)) {
            t.d = 1;
            if (++t.m > 12) {
                t.m = 1;
                ++t.y;
            }
        }
        --n;
    }
    while (n < 0) {
        if (--t.d < 1) {
            if (--t.m < 1) {
                t.m = 12;
                --t.y;
            }
            t.d = platform::DaysInMonth(t.y, t.m);
        }
        ++n;
    }
    return t;
}

enum UnitKind { MAIN = 0, POWER = 1, PULSE = 2, ANALOG = 3 };

// One circuit's cumulative counters.
struct stCIRCUIT {
    long long nPower = 0;  // hundredths of a kWh, wraps at 10,000,000.00
    long long nCount = 0;  // pulses, wraps at 1,000,000
    double dBase = 1.0;    // load level
};

struct stUNIT {
    int nUnit = 0;  // -1 LX30-A, 0 main, 1..7 expansion
    UnitKind kind = MAIN;
    stCIRCUIT c[2];
    double dPhase = 0;
};

struct stMETER {
    int nNumber = 0;
    bool bLx30 = false;
    std::vector<stUNIT> units;
};

std::string DateText(stDATE t) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d", t.y, t.m, t.d);
    return buf;
}

std::string Kwh(long long n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld.%02lld", n / 100, n % 100);
    return buf;
}

// Consumption of a slot: a day curve with noise, in hundredths of a kWh.
long long Usage(CRandom& rnd, double dBase, int nMinuteOfDay, int nSlotMinutes) {
    double h = nMinuteOfDay / 60.0;
    double curve = 0.4 + 0.6 * std::exp(-((h - 13) * (h - 13)) / 18.0) + 0.2 * std::exp(-((h - 19) * (h - 19)) / 4.0);
    double v = dBase * curve * (0.8 + 0.4 * rnd.Unit()) * nSlotMinutes / 15.0;
    return static_cast<long long>(std::llround(v * 100));
}

int FieldCount(const stUNIT& u) {
    return u.nUnit < 0 ? 13 : u.nUnit == 0 ? 20 : 24;
}

std::string HeaderLines(const stMETER& m, const stUNIT& u) {
    const int n = FieldCount(u);
    std::vector<std::string> names(static_cast<size_t>(n));
    auto dt = [](int code) { return "DT" + std::to_string(code); };
    if (u.nUnit < 0) {
        names[2] = "DT100";
        for (int i = 3; i < 12; ++i) names[static_cast<size_t>(i)] = dt(100 + i - 2);
        names[12] = "DT154";
    } else {
        const int b = 100 * u.nUnit;
        names[2] = dt(b + 120);
        names[3] = dt(b + 122);
        for (int i = 4; i < (u.nUnit == 0 ? 19 : 20); ++i) names[static_cast<size_t>(i)] = dt(b + 124 + 2 * (i - 4));
        if (u.nUnit == 0) {
            names[19] = "DT154";
        } else {
            names[20] = dt(b + 190);
            names[21] = dt(b + 192);
            names[22] = dt(b + 194);
            names[23] = dt(b + 196);
        }
    }
    char line1[96];
    std::snprintf(line1, sizeof line1, "%s,MTR00%02d,unit%d\n", m.bLx30 ? "LX30-A" : "LX50-A", m.nNumber,
                  u.nUnit < 0 ? 0 : u.nUnit);
    std::string s = line1;
    // Lines 2 and 3 (titles and units) leave field 0 empty; line 4 names the columns.
    s += ",Name";
    for (int i = 2; i < n; ++i) s += ",ch" + std::to_string(i);
    s += "\n,Unit";
    for (int i = 2; i < n; ++i) s += (i == 2 || i == 3) ? ",kWh" : ",";
    s += "\n";
    for (int i = 1; i < n; ++i) {
        s += ',';
        s += names[static_cast<size_t>(i)];
    }
    return s + "\n";
}

std::string FileName(const stUNIT& u, const std::string& strMiddle) {
    std::string prefix = u.nUnit < 0 ? "syunji" : "syunji_u" + std::to_string(u.nUnit);
    return prefix + "(" + strMiddle + ").csv";
}

bool WriteText(const std::filesystem::path& path, const std::string& text, std::string& strError) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        strError = "cannot write " + path.string();
        return false;
    }
    return true;
}

struct stROW {
    std::string text;
    int nMinute;  // minutes after 00:00 of the file's date (the last row is 1440)
};

void Dash(std::vector<std::string>& f, std::initializer_list<int> fields) {
    for (int i : fields) f[static_cast<size_t>(i)].assign(1, '-');
}

// Advances the counters of a unit through one reading interval and returns the row.
std::string NextRow(CRandom& rnd, stUNIT& u, stDATE date, int nMinute, int nSlotMinutes, bool bClean) {
    stDATE rowDate = nMinute >= 1440 ? AddDays(date, 1) : date;
    const int nClock = nMinute % 1440;
    char tm[16];
    std::snprintf(tm, sizeof tm, "%02d:%02d:00", nClock / 60, nClock % 60);
    std::vector<std::string> f(static_cast<size_t>(FieldCount(u)));
    f[0] = DateText(rowDate);
    f[1] = tm;
    const int nMinuteOfDay = (nMinute - nSlotMinutes + 1440) % 1440;
    auto power = [&](stCIRCUIT& c) {
        c.nPower = (c.nPower + Usage(rnd, c.dBase, nMinuteOfDay, nSlotMinutes)) % 1000000000LL;
        if (!bClean && rnd.Chance(0.003)) return std::string("-");
        if (!bClean && rnd.Chance(0.001)) return std::string("0.00");
        return Kwh(c.nPower);
    };
    auto count = [&](stCIRCUIT& c) {
        c.nCount = (c.nCount + static_cast<long long>(c.dBase * 4 * rnd.Unit() * nSlotMinutes / 15)) % 1000000;
        if (!bClean && rnd.Chance(0.003)) return std::string("-");
        return std::to_string(c.nCount);
    };
    auto analog = [&](int nCircuit) {
        double v = 12 + 10 * std::sin((nMinute / 1440.0 + u.dPhase + nCircuit) * 6.2832) + rnd.Unit() - 5 * nCircuit;
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.3f", v);
        return std::string(buf);
    };
    switch (u.kind) {
        case MAIN:
            if (u.nUnit < 0) {
                f[2] = power(u.c[0]);
                f[12] = count(u.c[1]);
                f[3] = "100.2";  // a voltage-like column that no graph reads
            } else {
                f[2] = power(u.c[0]);
                f[3] = power(u.c[1]);
                f[19] = count(u.c[0]);
            }
            break;
        case POWER:
            f[2] = power(u.c[0]);
            f[3] = power(u.c[1]);
            Dash(f, {20, 21, 22, 23});
            break;
        case PULSE:
            Dash(f, {2, 3, 20, 21});
            f[22] = count(u.c[0]);
            f[23] = count(u.c[1]);
            break;
        case ANALOG:
            Dash(f, {2, 3, 22, 23});
            f[20] = analog(0);
            f[21] = analog(1);
            break;
    }
    std::string s;
    for (size_t i = 0; i < f.size(); ++i) {
        if (i) s += ',';
        s += f[i];
    }
    s += '\n';
    return s;
}

}  // namespace

bool WriteSampleData(const stSAMPLEOPTIONS& o, std::string& strError) {
    CRandom rnd(o.nSeed * 0x2545F4914F6CDD1DULL + 7);
    std::vector<stMETER> meters;
    for (int i = 0; i < o.nLx30; ++i) {
        stMETER m;
        m.nNumber = 1 + i;
        m.bLx30 = true;
        stUNIT u;
        u.nUnit = -1;
        u.c[0].nPower = static_cast<long long>(rnd.Below(5000000)) * 100;
        u.c[0].dBase = 0.5 + 2 * rnd.Unit();
        u.c[1].nCount = rnd.Below(900000);
        u.c[1].dBase = 1 + 3 * rnd.Unit();
        m.units.push_back(u);
        meters.push_back(m);
    }
    static const UnitKind kMixed[7] = {POWER, PULSE, ANALOG, POWER, PULSE, POWER, ANALOG};
    for (int i = 0; i < o.nLx50; ++i) {
        stMETER m;
        m.nNumber = 11 + i;
        const int nUnits = o.nUnits >= 0 ? std::min(o.nUnits, 7) : (i * 3) % 8;
        for (int un = 0; un <= nUnits; ++un) {
            stUNIT u;
            u.nUnit = un;
            u.kind = un == 0 ? MAIN : o.bAllPower ? POWER : kMixed[un - 1];
            u.dPhase = rnd.Unit();
            for (stCIRCUIT& c : u.c) {
                c.nPower = static_cast<long long>(rnd.Below(500000)) * 100;
                c.nCount = rnd.Below(900000);
                c.dBase = 0.2 + 1.5 * rnd.Unit();
            }
            m.units.push_back(u);
        }
        // The first LX50-A's main unit wraps within a few days, its pulse counter as well.
        if (i == 0 && !o.bClean) {
            m.units[0].c[0].nPower = 1000000000LL - 5000;
            m.units[0].c[0].nCount = 1000000 - 300;
        }
        meters.push_back(m);
    }

    const stDATE end{o.end.nYear, o.end.nMonth, o.end.nDay};
    const stDATE first = AddDays(end, -o.nDays);
    std::error_code ec;
    for (stMETER& m : meters) {
        char folder[16];
        std::snprintf(folder, sizeof folder, "MTR00%02d", m.nNumber);
        const std::filesystem::path dir = std::filesystem::path(o.strOut) / folder;
        std::filesystem::create_directories(dir, ec);
        if (ec) {
            strError = "cannot create " + dir.string();
            return false;
        }
        for (stUNIT& u : m.units) {
            const int nSlotMinutes = u.nUnit < 0 ? 60 : 15;
            const std::string header = HeaderLines(m, u);
            // Dated files first-day .. end-1: a file dated X holds X 00:15 (LX30-A 01:00) to X+1 00:00.
            for (stDATE x = first; !(x.y == end.y && x.m == end.m && x.d == end.d); x = AddDays(x, 1)) {
                std::vector<stROW> rows;
                for (int nMin = nSlotMinutes; nMin <= 1440; nMin += nSlotMinutes) {
                    std::string row = NextRow(rnd, u, x, nMin, nSlotMinutes, o.bClean);
                    if (!o.bClean && rnd.Chance(0.002)) continue;  // a reading the logger missed
                    rows.push_back({row, nMin});
                }
                char date[8];
                std::snprintf(date, sizeof date, "%02d%02d%02d", x.y % 100, x.m, x.d);
                // Now and then a setting change or power failure splits the day into a second file.
                size_t nSplit = rows.size();
                static const char* const kKinds[3] = {"SET", "MOD", "POW"};
                const char* secondKind = kKinds[rnd.Below(3)];
                if (!o.bClean && rows.size() > 4 && rnd.Chance(0.03))
                    nSplit = 1 + static_cast<size_t>(rnd.Below(static_cast<int>(rows.size()) - 2));
                auto timePart = [&](size_t i) {
                    char buf[16];
                    int nMin = i < rows.size() ? rows[i].nMinute % 1440 : 0;
                    std::snprintf(buf, sizeof buf, "%02d%02d00", nMin / 60, nMin % 60);
                    return std::string(buf);
                };
                std::string text = header;
                for (size_t i = 0; i < nSplit; ++i) text += rows[i].text;
                if (!WriteText(dir / FileName(u, std::string(date) + "_" + timePart(0) + "_TRG"), text, strError))
                    return false;
                if (nSplit < rows.size()) {
                    text = header;
                    for (size_t i = nSplit; i < rows.size(); ++i) text += rows[i].text;
                    if (!WriteText(dir / FileName(u, std::string(date) + "_" + timePart(nSplit) + "_" + secondKind),
                                   text, strError))
                        return false;
                }
            }
            // The end day is still being logged: its readings so far are in the CURRENT file.
            std::string text = header;
            for (int nMin = nSlotMinutes; nMin <= std::min(o.nNowMinutes, 1440); nMin += nSlotMinutes)
                text += NextRow(rnd, u, end, nMin, nSlotMinutes, o.bClean);
            if (!WriteText(dir / FileName(u, "CURRENT"), text, strError)) return false;
        }
    }
    return true;
}

bool ParseSampleArgs(const std::vector<std::string>& args, stSAMPLEOPTIONS& o, std::string& strError) {
    bool bOut = false, bEnd = false;
    auto intArg = [&](const std::string& name, const std::string& v, int lo, int hi, int& out) {
        try {
            size_t n = 0;
            long long x = std::stoll(v, &n);
            if (n != v.size() || x < lo || x > hi) throw 0;
            out = static_cast<int>(x);
            return true;
        } catch (...) {
            strError = "bad value for " + name + ": '" + v + "'";
            return false;
        }
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& v) {
            if (i + 1 >= args.size()) {
                strError = "missing value for " + a;
                return false;
            }
            v = args[++i];
            return true;
        };
        std::string v;
        if (a == "--clean") {
            o.bClean = true;
        } else if (a == "--all-power") {
            o.bAllPower = true;
        } else if (a == "--out") {
            if (!value(v)) return false;
            o.strOut = v;
            bOut = !v.empty();
        } else if (a == "--end") {
            if (!value(v)) return false;
            auto t = platform::ParseLocalTime(v);
            if (v.size() != 10 || !t || t->nYear < 1901) {
                strError = "bad value for --end: '" + v + "'";
                return false;
            }
            o.end = *t;
            bEnd = true;
        } else if (a == "--days") {
            if (!value(v) || !intArg(a, v, 1, 3660, o.nDays)) return false;
        } else if (a == "--seed") {
            int n = 0;
            if (!value(v) || !intArg(a, v, 0, 2147483647, n)) return false;
            o.nSeed = static_cast<unsigned long long>(n);
        } else if (a == "--lx30") {
            if (!value(v) || !intArg(a, v, 0, 10, o.nLx30)) return false;
        } else if (a == "--lx50") {
            if (!value(v) || !intArg(a, v, 0, 89, o.nLx50)) return false;
        } else if (a == "--units") {
            if (!value(v) || !intArg(a, v, 0, 7, o.nUnits)) return false;
        } else if (a == "--now-time") {
            if (!value(v)) return false;
            int h = 0, mi = 0;
            if (v.size() != 5 || v[2] != ':' || !intArg(a, v.substr(0, 2), 0, 24, h) ||
                !intArg(a, v.substr(3, 2), 0, 59, mi) || h * 60 + mi > 1440) {
                strError = "bad value for --now-time: '" + v + "'";
                return false;
            }
            o.nNowMinutes = h * 60 + mi;
        } else {
            strError = "unknown argument: " + a;
            return false;
        }
    }
    if (!bOut) {
        strError = "missing --out";
        return false;
    }
    if (!bEnd) {
        strError = "missing --end";
        return false;
    }
    return true;
}

}  // namespace sample
