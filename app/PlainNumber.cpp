#include "app/PlainNumber.h"

#include <charconv>
#include <cmath>

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

bool ParsePlainDouble(std::string_view text, double& value) {
    std::string_view s = Trim(text);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return false;
    // from_chars reads "inf" and "nan"; a plain number starts with a digit or '.'.
    const std::size_t first = (s.front() == '-') ? 1 : 0;
    if (first >= s.size() || !(std::isdigit(static_cast<unsigned char>(s[first])) || s[first] == '.')) return false;
    double v = 0.0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool ParsePlainInt(std::string_view text, int& value) {
    std::string_view s = Trim(text);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return false;
    int v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, 10);
    if (ec != std::errc() || end != s.data() + s.size()) return false;
    value = v;
    return true;
}

std::string ShortestFloat(double v) {
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
    if (ec != std::errc()) return "0";
    std::string s(buf, end);
    // "1e+20" style exponents as the general format writes them: "1E+20".
    for (char& c : s)
        if (c == 'e') c = 'E';
    return s;
}
