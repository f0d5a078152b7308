#pragma once

#include <windows.h>

// The two background brushes, alive while a SharedBrushes exists; null
// otherwise or when they could not be made.
extern HBRUSH DarkBrush;
extern HBRUSH LightBrush;

// Scope of the background brushes: created on construction unless they exist,
// deleted on destruction unless already gone.
class SharedBrushes {
public:
    SharedBrushes();
    ~SharedBrushes();
    SharedBrushes(const SharedBrushes&) = delete;
    SharedBrushes& operator=(const SharedBrushes&) = delete;
};
