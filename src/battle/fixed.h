// 32-bit arithmetic as the original 32-bit machine did it: products and sums that can leave
// the range wrap around (two's complement) instead of being undefined, and a double that
// does not fit an int becomes INT32_MIN, the x86 "integer indefinite".
#pragma once
#include <cstdint>

inline int32_t Wrap32(int64_t n) {
    return static_cast<int32_t>(n);
}  // modulo 2^32 since C++20
inline int32_t Add32(int32_t a, int32_t b) {
    return Wrap32(int64_t(a) + b);
}
inline int32_t Sub32(int32_t a, int32_t b) {
    return Wrap32(int64_t(a) - b);
}
inline int32_t Mul32(int32_t a, int32_t b) {
    return Wrap32(int64_t(a) * b);
}
inline int32_t Neg32(int32_t a) {
    return Wrap32(-int64_t(a));
}
inline int32_t Abs32(int32_t a) {
    return a < 0 ? Neg32(a) : a;
}
// Truncating division; the caller rules out b == 0.
inline int32_t Div32(int32_t a, int32_t b) {
    return b == -1 ? Neg32(a) : a / b;
}

inline int32_t Trunc32(double d) {
    if (!(d > -2147483649.0 && d < 2147483648.0)) return INT32_MIN;
    return static_cast<int32_t>(d);
}
