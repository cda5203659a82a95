#include "model/NumberText.h"

#include "model/AntDef.h"
#include "model/EnvDef.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <vector>

namespace {

// Unit tokens of numeric input, in metres.
constexpr double InchMetres = 0.0254;
constexpr double FootMetres = 0.3048;

locale_t ClassicLocale() {
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsOperator(char c) { return c == '+' || c == '-' || c == '*' || c == '/'; }
bool IsSpaceC(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (LowerAscii(s[i]) != prefix[i]) return false;
    return true;
}

// One operand of an expression: its value and the operator that follows it
// (0 when none follows).
struct Item {
    double value;
    char op;
};

// Recursive-descent reader of the input language: operands joined by + - * /,
// parentheses, a sign that belongs to the number (3*-2, 1e-3), blanks dropped.
class ExprReader {
public:
    ExprReader(std::string_view text, bool whole) : s_(text), whole_(whole) {}

    double Run() {
        bool closed = false;
        double v = Sequence(closed);
        // A ")" that closes nothing means the text is not what the user meant.
        if (closed) ok_ = false;
        return v;
    }
    bool Ok() const { return ok_; }

private:
    std::string_view s_;
    // Every operand must be read to its end, and the text must hold one.
    bool whole_ = false;
    std::size_t pos_ = 0;
    bool ok_ = true;

    void SkipBlanks() {
        while (pos_ < s_.size() && IsBlank(s_[pos_])) ++pos_;
    }

    // Reads operands until the text ends or a ")" closes the sequence; a
    // missing ")" at the end of the text is accepted.
    double Sequence(bool& closed) {
        std::vector<Item> items;
        closed = false;
        for (;;) {
            SkipBlanks();
            if (pos_ >= s_.size()) break;
            Item item{0.0, 0};
            bool closes = false;
            if (s_[pos_] == '(') {
                ++pos_;
                bool innerClosed = false;
                item.value = Sequence(innerClosed);
                if (innerClosed) FollowGroup(item, closes);
            } else {
                Token(item, closes);
            }
            items.push_back(item);
            if (closes) {
                closed = true;
                break;
            }
            if (item.op == 0) break;
        }
        return Combine(items);
    }

    // After a group's ")": an operator, a further ")" or the end may follow.
    void FollowGroup(Item& item, bool& closes) {
        SkipBlanks();
        if (pos_ >= s_.size()) return;
        char c = s_[pos_];
        if (IsOperator(c)) {
            item.op = c;
            ++pos_;
        } else if (c == ')') {
            closes = true;
            ++pos_;
        } else {
            // Something stands after a group without an operator: give up.
            ok_ = false;
            pos_ = s_.size();
        }
    }

    // Collects one operand token up to its operator or a ")".
    void Token(Item& item, bool& closes) {
        std::string token;
        while (pos_ < s_.size()) {
            char c = s_[pos_];
            if (IsBlank(c)) {
                ++pos_;
                continue;
            }
            if (c == ')') {
                ++pos_;
                closes = true;
                break;
            }
            if (IsOperator(c) && !token.empty() && token.back() != 'e' && token.back() != 'E') {
                ++pos_;
                item.op = c;
                break;
            }
            token.push_back(c);
            ++pos_;
        }
        item.value = TokenValue(token);
    }

    double TokenValue(const std::string& token) {
        if (token.empty()) {
            if (whole_) ok_ = false;
            return 0.0;
        }
        if (token.size() > ExprMaxTokenLength) {
            ok_ = false;
            return 0.0;
        }
        if (token.size() == 1) {
            switch (LowerAscii(token[0])) {
            case 'r': return JobDef.Wavelength;
            case 'i': return InchMetres;
            case 'f': return FootMetres;
            default: break;
            }
        }
        double v = 0.0;
        std::size_t used = 0;
        if (!ReadLeadingDouble(token, v, &used)) {
            ok_ = false;
            return 0.0;
        }
        if (whole_ && used != token.size()) ok_ = false;
        return v;
    }

    // Conventional precedence: products first, then sums, all left to right.
    // A trailing operator is dropped.
    static double Combine(const std::vector<Item>& items) {
        if (items.empty()) return 0.0;
        double total = 0.0;
        char addOp = '+';
        double term = items[0].value;
        for (std::size_t i = 0; i + 1 < items.size(); ++i) {
            char op = items[i].op;
            double next = items[i + 1].value;
            if (op == '*') {
                term *= next;
            } else if (op == '/') {
                term = (next == 0.0) ? DBL_MAX : term / next;
            } else {
                total = (addOp == '-') ? total - term : total + term;
                addOp = op;
                term = next;
            }
        }
        return (addOp == '-') ? total - term : total + term;
    }
};

bool EvaluateExpr(double& value, std::string_view text, bool whole = false) {
    std::string folded = FoldFullWidth(text, ExprMaxLength);
    ExprReader reader(folded, whole);
    double v = reader.Run();
    bool ok = reader.Ok();
    if (std::isnan(v)) {
        v = 0.0;
        ok = false;
    } else if (std::isinf(v)) {
        v = v > 0 ? DBL_MAX : -DBL_MAX;
        ok = false;
    }
    value = v;
    return ok;
}

// Appends the UTF-8 encoding of a code point below 0x10000.
void AppendFolded(std::string& out, unsigned cp) {
    // U+FF01..U+FF5E mirror ASCII 0x21..0x7E; only the characters of numbers
    // and expressions are folded, every other full-width form reads as a blank.
    if (cp >= 0xFF01 && cp <= 0xFF5E) {
        char c = static_cast<char>(cp - 0xFF01 + 0x21);
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == ',' || c == '+' || c == '-' ||
            c == '*' || c == '/' || c == '(' || c == ')') {
            out.push_back(c);
            return;
        }
    }
    out.push_back(' ');
}

}  // namespace

std::string FoldFullWidth(std::string_view text, std::size_t maxChars) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size() && out.size() < maxChars) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == 0) break;
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        // A multi-byte sequence: decode its code point, a broken one is a blank.
        std::size_t len = (c >= 0xF0) ? 4 : (c >= 0xE0) ? 3 : (c >= 0xC0) ? 2 : 1;
        unsigned cp = 0;
        bool valid = len > 1 && i + len <= text.size();
        if (valid) {
            cp = c & (0x7F >> len);
            for (std::size_t k = 1; k < len; ++k) {
                unsigned char cc = static_cast<unsigned char>(text[i + k]);
                if ((cc & 0xC0) != 0x80) {
                    valid = false;
                    break;
                }
                cp = (cp << 6) | (cc & 0x3F);
            }
        }
        if (valid) {
            AppendFolded(out, cp);
            i += len;
        } else {
            out.push_back(' ');
            ++i;
        }
    }
    return out;
}

bool ReadLeadingDouble(std::string_view text, double& value, std::size_t* used) {
    std::string buf(text.substr(0, 512));
    std::size_t p = 0;
    while (p < buf.size() && IsSpaceC(buf[p])) ++p;
    std::size_t q = p;
    if (q < buf.size() && (buf[q] == '+' || buf[q] == '-')) ++q;
    std::string_view rest = std::string_view(buf).substr(q);
    // Words and hexadecimal forms are not numbers a user types.
    if (StartsWithNoCase(rest, "inf") || StartsWithNoCase(rest, "nan") || StartsWithNoCase(rest, "0x"))
        return false;
    if (rest.empty() || !(std::isdigit(static_cast<unsigned char>(rest[0])) || rest[0] == '.')) return false;
    const char* start = buf.c_str() + p;
    char* end = nullptr;
    errno = 0;
    double v = strtod_l(start, &end, ClassicLocale());
    if (end == start || !std::isfinite(v)) return false;
    value = v;
    if (used) *used = static_cast<std::size_t>(end - buf.c_str());
    return true;
}

bool ReadLeadingInt(std::string_view text, int& value, std::size_t* used) {
    std::size_t p = 0;
    while (p < text.size() && IsSpaceC(text[p])) ++p;
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
        negative = text[p] == '-';
        ++p;
    }
    std::size_t digits = p;
    long long v = 0;
    while (p < text.size() && std::isdigit(static_cast<unsigned char>(text[p]))) {
        v = v * 10 + (text[p] - '0');
        if (v > static_cast<long long>(INT_MAX) + 1) return false;
        ++p;
    }
    if (p == digits) return false;
    if (negative) v = -v;
    if (v > INT_MAX || v < INT_MIN) return false;
    value = static_cast<int>(v);
    if (used) *used = p;
    return true;
}

bool StrToDblExpr(double& value, std::string_view text) { return EvaluateExpr(value, text); }
bool StrToDblExpr(double& value, const char* text) {
    return EvaluateExpr(value, text ? std::string_view(text) : std::string_view());
}

int RoundToInt(double v) {
    if (std::isnan(v)) return 0;
    double r = (v >= 0) ? std::trunc(v + 0.5) : std::trunc(v - 0.5);
    if (r >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (r <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(r);
}

bool StrToDblWhole(double& value, std::string_view text) {
    const bool blank = text.find_first_not_of(" \t") == std::string_view::npos;
    return EvaluateExpr(value, text, true) && !blank;
}

bool StrToIntExpr(int& value, std::string_view text) {
    double v = 0.0;
    bool ok = EvaluateExpr(v, text);
    value = RoundToInt(v);
    return ok;
}
bool StrToIntExpr(int& value, const char* text) {
    return StrToIntExpr(value, text ? std::string_view(text) : std::string_view());
}

bool StrToAbsIntExpr(int& value, std::string_view text) {
    double v = 0.0;
    bool ok = EvaluateExpr(v, text);
    value = RoundToInt(std::fabs(v));
    return ok;
}
bool StrToAbsIntExpr(int& value, const char* text) {
    return StrToAbsIntExpr(value, text ? std::string_view(text) : std::string_view());
}

bool IsNegativeZeroText(std::string_view text) {
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string_view::npos || text[i] != '-') return false;
    bool digits = false;
    for (++i; i < text.size() && text[i] != 'e' && text[i] != 'E' && text[i] != ' '; ++i) {
        if (text[i] >= '1' && text[i] <= '9') return false;
        if (text[i] == '0') digits = true;
        else if (text[i] != '.') return false;
    }
    return digits;
}

std::string FormatFixed(double v, int decimals) {
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    if (res.ec != std::errc()) return "0.0";
    std::string text(buf, res.ptr);
    return IsNegativeZeroText(text) ? FormatFixed(0.0, decimals) : text;
}

bool ShowsBelowZero(double v, int decimals) { return v < 0 && FormatFixed(v, decimals).front() == '-'; }

std::string FormatExp(double v, int decimals) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, decimals);
    if (res.ec != std::errc()) return "0.0";
    std::string text(buf, res.ptr);
    return IsNegativeZeroText(text) ? FormatExp(0.0, decimals) : text;
}

std::string FormatDbl(double v, int digits) {
    if (digits > 3) digits = 3;
    if (v == 0.0 || std::isnan(v)) return "0.0";
    // Beyond this the fixed form grows past what the evaluator reads (0/0
    // gives 1.8e308, a 309-digit text): the shortest exact form reads back.
    if (std::fabs(v) >= HugeFixedLimit) {
        char buf[64];
        const auto res = std::to_chars(buf, buf + sizeof buf, v);
        if (res.ec == std::errc()) return std::string(buf, res.ptr);
    }
    std::string text = FormatFixed(v, (digits >= 1) ? digits : 6);
    if (text.find('.') != std::string::npos) {
        while (!text.empty() && text.back() == '0') text.pop_back();
        if (!text.empty() && text.back() == '.') text.push_back('0');
    }
    if (text.empty()) text = "0.0";
    return text;
}

std::string DblToStrE(double v) {
    if (v == 0.0) return "0.0";
    double a = std::fabs(v);
    if (a > 0.0 && a < 0.001) return FormatExp(v, 3);
    return DblToStr(v);
}

std::string ExactNumberText(double v, std::string text) {
    double back = 0;
    if (!std::isfinite(v) || (StrToDblExpr(back, text) && back == v)) return text;
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return res.ec == std::errc() ? std::string(buf, res.ptr) : text;
}

std::string IntOrPairToStr(int32_t v) {
    if (IsSegPair(v)) return std::to_string(SegPairFirst(v)) + "," + std::to_string(SegPairSecond(v));
    return std::to_string(v);
}

bool StrToIntOrPair(int32_t& value, std::string_view text) {
    int first = 0;
    std::size_t used = 0;
    if (!ReadLeadingInt(text, first, &used)) return false;
    int second = 0;
    if (used < text.size() && text[used] == ',' && ReadLeadingInt(text.substr(used + 1), second) && first != 0 &&
        second != 0 && first > second) {
        const long long a = std::llabs(static_cast<long long>(first));
        const long long b = std::llabs(static_cast<long long>(second));
        // A pair holds 15 bits a number; cut to them it would read back as
        // another pair, or as a plain code.
        if (a > SegPairMax || b > SegPairMax) return false;
        value = PackSegPair(static_cast<int>(a), static_cast<int>(b));
        return true;
    }
    // A plain code below the packed range would read back as a pair.
    if (first < SegPairLimit) return false;
    value = first;
    return true;
}

namespace {
bool WavelengthUsable() {
    return JobDef.InWavelengths && std::isfinite(JobDef.Wavelength) && JobDef.Wavelength > 0.0;
}
}  // namespace

double MetreToWave(double metres) { return WavelengthUsable() ? metres / JobDef.Wavelength : metres; }
double WaveToMetre(double waves) { return WavelengthUsable() ? waves * JobDef.Wavelength : waves; }

namespace {

// The double nearest to v's shortest decimal text with the point moved by
// `places`.
double ShiftDecimalPoint(double v, int places) {
    if (!std::isfinite(v) || v == 0.0) return v;
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
    if (res.ec != std::errc()) return v * std::pow(10.0, places);
    std::string text(buf, res.ptr);
    const std::size_t e = text.find('e');
    if (e == std::string::npos) return v * std::pow(10.0, places);
    const long exponent = std::strtol(text.c_str() + e + 1, nullptr, 10) + places;
    text.replace(e + 1, std::string::npos, std::to_string(exponent));
    double out = 0;
    const auto read = std::from_chars(text.data(), text.data() + text.size(), out);
    // Beyond the range of a double the plain product says where it went.
    return read.ec == std::errc() ? out : v * std::pow(10.0, places);
}

}  // namespace

double MmToMetre(double millimetres) { return ShiftDecimalPoint(millimetres, -3); }
double MetreToMm(double metres) { return ShiftDecimalPoint(metres, 3); }
double RadiusToShown(double metres) { return WavelengthUsable() ? metres / JobDef.Wavelength : MetreToMm(metres); }
double ShownToRadius(double shown) { return WavelengthUsable() ? shown * JobDef.Wavelength : MmToMetre(shown); }

double RoundByFactor(double v, double k) {
    if (!std::isfinite(v) || !std::isfinite(k) || k == 0.0) return v;
    double a = std::fabs(v * k);
    // Beyond 2^52 a double has no fraction left to round, and v * k may
    // overflow: the value stays as it is.
    if (!(a < 4503599627370496.0)) return v;
    double f = std::floor(a);
    double r = (a - f <= 0.5) ? f : std::ceil(a);
    double out = r / k;
    return (v < 0) ? -out : out;
}

double RoundTo(double v, int n) { return RoundByFactor(v, std::pow(10.0, n)); }

double RoundAwayTo(double v, int n) {
    if (n >= 6 || !std::isfinite(v)) return v;
    const double scale = std::pow(10.0, n);
    double s = v * scale;
    if (!(std::fabs(s) < 4503599627370496.0)) return v;  // nothing to round, or no room to
    // A typed 1.11 is 111.00000000000001 hundredths in binary: a value within
    // a few units in the last place of a whole step is that step, not a
    // fraction above it.
    const double whole = std::round(s);
    if (std::fabs(s - whole) <= 4.0 * DBL_EPSILON * std::fabs(whole)) s = whole;
    if (std::fabs(s) < 1.0) return 0.0;
    s = (s > 0) ? std::ceil(s) : std::floor(s);
    return s / scale;
}

double NormalizeDbl(double v) {
    if (!std::isfinite(v)) return v;
    double out = v;
    ReadLeadingDouble(FormatFixed(v, 6), out);
    return out;
}

double NiceStep(double v) {
    if (v == 0.0 || !std::isfinite(v)) return v;
    int steps = 0;
    while (std::fabs(v) < 1.0) {
        v *= 10.0;
        ++steps;
    }
    v = std::trunc(v);
    if (v > 5.0) v = 10.0;
    // Dividing keeps 3 -> 0.3 exact where multiplying by 0.1 would not.
    for (int i = 0; i < steps; ++i) v /= 10.0;
    return v;
}

double RoundSignificant(double v) {
    if (v == 0.0 || !std::isfinite(v)) return v;
    double a = std::fabs(v);
    int exponent = 0;
    while (a >= 10.0) {
        a /= 10.0;
        ++exponent;
    }
    while (a < 1.0) {
        a *= 10.0;
        --exponent;
    }
    double m = 10.0;
    for (double candidate : {1.0, 2.0, 4.0, 8.0}) {
        if (candidate >= a) {
            m = candidate;
            break;
        }
    }
    for (; exponent > 0; --exponent) m *= 10.0;
    for (; exponent < 0; ++exponent) m /= 10.0;
    return (v < 0) ? -m : m;
}
