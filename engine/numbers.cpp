// The random generator and the number conversions, all exact (the trigonometry is in trig.cpp).
#include <cstdint>
#include <cstdio>
#include <limits>

#include "engine/engine.h"

namespace {

constexpr int32_t kModulus = 2147483647;  // 2^31 - 1
constexpr int32_t kStartState = 4660;
int32_t g_state = kStartState;

// state * 48271 mod (2^31 - 1) without overflow (Schrage's method; 44488 * 48271 + 3399 = 2^31 - 1).
void step() {
    int32_t s = 48271 * (g_state % 44488) - 3399 * (g_state / 44488);
    if (s < 0) s += kModulus;
    g_state = s;
}

}  // namespace

void seed_rnd(int seed) {
    int32_t s = int32_t(uint32_t(seed) & 0x7fffffffu);
    // 0 is the generator's fixed point and 2^31 - 1 is congruent to it: neither may be a state.
    if (s == 0 || s == kModulus) s = kStartState;
    g_state = s;
}

int rnd_state() { return g_state; }

double rnd_unit() {
    step();
    const int32_t s1 = g_state;
    step();
    const int32_t s2 = g_state;
    const double hi = double(s1 & 0x1FFFFFFC);
    const double lo = double(s2 & 0x1FFFFFF8);
    return (hi + lo / 134217728.0) / 536870912.0;
}

double rnd(double a, double b) {
    const double u = rnd_unit();
    if (b > a) return a + u * (b - a);
    return b + u * (a - b);
}

int to_int(double x) {
    // Out of range and NaN give the x86 "integer indefinite" value instead of undefined behaviour.
    if (!(x > -2147483649.0 && x < 2147483648.0)) return std::numeric_limits<int>::min();
    return int(x);
}

std::string int_to_text(int64_t value) { return std::to_string(value); }

std::string float_to_text(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%#.9g", value);
    return buf;
}

int text_to_int(const std::string& text) {
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < n && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    uint32_t base = 10;
    if (i < n && text[i] == '%') {
        base = 2;
        ++i;
    } else if (i < n && text[i] == '$') {
        base = 16;
        ++i;
    }
    // Digits accumulate modulo 2^32, as a 32-bit register would.
    uint32_t value = 0;
    for (; i < n; ++i) {
        const char c = text[i];
        uint32_t d;
        if (c >= '0' && c <= '9') {
            d = uint32_t(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            d = uint32_t(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            d = uint32_t(c - 'A' + 10);
        } else {
            break;
        }
        if (d >= base) break;
        value = value * base + d;
    }
    if (negative) value = 0u - value;
    return int(int32_t(value));
}
