// The digits of a real number in the program's fixed and exponent forms, before justification.
// Internal to the number-text unit; callers use RealToText.
#pragma once

// Longest text RealCoreText writes: sign, 100 integer digits, point, 400 decimals, spare.
constexpr int RealCoreCap = 520;

// Writes the unjustified text of x into out and returns its length. decimals >= 0 gives the fixed
// form ("-12.50"), decimals < 0 the exponent form (" 1.250E+01"). Values are clamped to
// 1e-99 <= |x| <= 1e99 or zero, rounded to nearest on their exact binary value with exact
// halves rounded away from zero.
int RealCoreText(int decimals, double x, char (&out)[RealCoreCap]);

// Longest exponent-form text: sign, digit, point, 17 decimals, "E", sign and three exponent digits.
constexpr int RealExponentCap = 25;

// The exponent form alone (decimals < 0) into out, which has room for RealExponentCap characters;
// returns its length. RealCoreText gives the same text.
int RealExponentText(int decimals, double x, char* out);
