#pragma once
// Plane geometry of the hunters: how far, which way, and a push along a bearing.

#include <cstdint>

// The 15-digit pi that every angle conversion of the game uses.
inline constexpr double kPi = 3.14159265358979;

// Euclidean distance between two points, as the power 0.5 of the sum of squares.
float distance(float x1, float y1, float x2, float y2);

// Whole-degree bearing from point 1 to point 2 in a plane whose second coordinate grows
// downwards: 0 up (smaller y), 90 towards larger x, 180 down, 270 towards smaller x. Always
// 0..359; coinciding points give 0. The truncation together with the 15-digit pi makes the exact
// bearings 180 and 270 come out one low (179, 269), while 90 stays 90.
int32_t heading(float x1, float y1, float x2, float y2);

// Adds `speed` to the velocity (vx, vy; vy upwards positive) along bearing `angle` + 180
// degrees: angle 0 pushes down, 90 left, 180 up, 270 right.
void moveAlong(float angle, float& vx, float& vy, float speed);
