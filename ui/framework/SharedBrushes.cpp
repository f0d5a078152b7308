#include "ui/framework/SharedBrushes.h"

#include "ui/framework/Colors.h"

HBRUSH DarkBrush = nullptr;
HBRUSH LightBrush = nullptr;

SharedBrushes::SharedBrushes()
{
    if (DarkBrush == nullptr)
        DarkBrush = CreateSolidBrush(DarkBackgroundColor);
    if (LightBrush == nullptr)
        LightBrush = CreateSolidBrush(LightBackgroundColor);
}

SharedBrushes::~SharedBrushes()
{
    if (DarkBrush != nullptr) {
        DeleteObject(DarkBrush);
        DarkBrush = nullptr;
    }
    if (LightBrush != nullptr) {
        DeleteObject(LightBrush);
        LightBrush = nullptr;
    }
}
