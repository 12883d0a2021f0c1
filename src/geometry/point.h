// A point of the plane: the one type the geometry files and the drawing share.
#pragma once

struct Point {
    double x, y;
    bool operator==(const Point&) const = default;
};
