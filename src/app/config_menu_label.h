#pragma once

#include <string>
#include <string_view>

// The label of a mapping file in the tray menu: the stem of the path's file
// name ("C:\q\CFG\live.set.json" gives "live.set"; ".json" stays ".json").
// Pure string work, free of the platform.
std::wstring ConfigMenuLabel(std::wstring_view path);
