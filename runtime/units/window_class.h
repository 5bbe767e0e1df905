#pragma once
// The window classes of the runtime's own windows (the hidden owner, windows,
// labels, tab containers without headers): Unicode classes with the arrow
// cursor and no background brush, since each paints its own background.
#include <windows.h>

namespace quillet {

// Registers the class unless this module already has one of that name; false
// only when registration fails. classStyle: CS_* bits.
bool RegisterPlainWindowClass(const wchar_t* name, UINT classStyle);

// The class style of the units' own windows: redrawn whole on a size change,
// double clicks reported.
constexpr UINT UnitClassStyle = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;

}  // namespace quillet
