#pragma once

#include <windows.h>

// The skin's colours (0x00BBGGRR).
const COLORREF DarkBackgroundColor = 0x707072;   // message box
const COLORREF LightBackgroundColor = 0xE2E2E2;  // settings dialog
const COLORREF BorderDarkGreyColor = 0x404040;
const COLORREF BorderRedColor = 0x0000CF;
